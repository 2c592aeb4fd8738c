// The state file shared by every process that uses the library.
//
// One exclusive flock on "<state>.lock" serialises all calls of all
// processes. The lock file also holds a generation counter that every
// writer bumps, so a call on an unchanged state costs one pread and one
// stat; the parsed model is kept in the process between calls. Changes are
// written to "<state>.tmp", synced and renamed over the state file, so a
// process killed at any point leaves either the old or the new state.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model.h"
#include "operations.h"

namespace sim {

namespace {

struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = -1;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;
    bool operator==(const FileId &o) const
    {
        return dev == o.dev && ino == o.ino && size == o.size && mtimeNs == o.mtimeNs && ctimeNs == o.ctimeNs;
    }
};

FileId fileId(const struct stat &st)
{
    FileId f;
    f.dev = st.st_dev;
    f.ino = st.st_ino;
    f.size = st.st_size;
    f.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    f.ctimeNs = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return f;
}

struct Store {
    std::string path;
    int lockFd = -1;
    pid_t lockPid = 0;
    bool loaded = false;
    FileId id;
    uint64_t generation = 0;
    State state;
    // A bad state file is reported once, not on every call.
    bool badKnown = false;
    FileId badId;
    uint64_t badGeneration = 0;
};

Store g;

}  // namespace

std::recursive_mutex &sessionMutex()
{
    static std::recursive_mutex m;
    return m;
}

namespace {

void closeLock()
{
    if (g.lockFd >= 0 && g.lockPid == getpid())
        close(g.lockFd);
    g.lockFd = -1;
}

bool makeParents(const std::string &path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    std::string dir = path.substr(0, slash);
    struct stat st;
    if (stat(dir.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (!makeParents(dir))
        return false;
    return mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST;
}

void report(const std::string &path, const std::string &problem)
{
    std::fprintf(stderr, "arraycore-sim: %s: %s\n", path.c_str(), problem.c_str());
}

uint64_t readGeneration()
{
    uint64_t gen = 0;
    if (pread(g.lockFd, &gen, sizeof gen, 0) != static_cast<ssize_t>(sizeof gen))
        gen = 0;
    return gen;
}

bool writeAll(int fd, const std::string &data)
{
    size_t off = 0;
    while (off < data.size()) {
        ssize_t n = write(fd, data.data() + off, data.size() - off);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        off += static_cast<size_t>(n);
    }
    return true;
}

// Writes `text` to `path` atomically and durably.
bool atomicWrite(const std::string &path, const std::string &text, std::string &error)
{
    std::string tmp = path + ".tmp";
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = std::string("cannot create ") + tmp + ": " + std::strerror(errno);
        return false;
    }
    // The web server's workers, the daemon and an administrator's shell may
    // run under different accounts; root replacing the state must not take
    // it away from the account that owned it.
    struct stat old;
    if (stat(path.c_str(), &old) == 0) {
        if (geteuid() == 0 && fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Best effort: the mode below still says who may read it.
        }
        fchmod(fd, old.st_mode & 07777);
    }
    bool ok = writeAll(fd, text) && fsync(fd) == 0;
    int saved = errno;
    close(fd);
    if (!ok) {
        unlink(tmp.c_str());
        error = std::string("cannot write ") + tmp + ": " + std::strerror(saved);
        return false;
    }
    if (rename(tmp.c_str(), path.c_str()) != 0) {
        error = std::string("cannot rename to ") + path + ": " + std::strerror(errno);
        unlink(tmp.c_str());
        return false;
    }
    size_t slash = path.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

bool readFile(const std::string &path, std::string &text, struct stat &st, std::string &error)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    if (fstat(fd, &st) != 0) {
        error = std::strerror(errno);
        close(fd);
        return false;
    }
    text.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = std::strerror(errno);
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        text.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}

bool parseState(const std::string &text, int64_t anchorMs, State &out, std::string &error)
{
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::parse_error &e) {
        error = std::string("malformed JSON: ") + e.what();
        return false;
    }
    try {
        return stateFromJson(doc, anchorMs, out, error);
    } catch (const std::exception &e) {
        // A value of a type the reader did not expect; still the file's fault.
        error = std::string("bad value: ") + e.what();
        return false;
    }
}

bool saveLocked(const State &s, std::string &error)
{
    std::string text;
    try {
        // Names set through the API may hold any bytes; never fail on them.
        text = stateToJson(s).dump(1, ' ', false, json::error_handler_t::replace) + "\n";
    } catch (const std::exception &e) {
        error = std::string("cannot write the state: ") + e.what();
        return false;
    }
    if (!atomicWrite(g.path, text, error))
        return false;
    uint64_t gen = readGeneration() + 1;
    if (pwrite(g.lockFd, &gen, sizeof gen, 0) != static_cast<ssize_t>(sizeof gen)) {
        error = std::string("cannot update ") + g.path + ".lock: " + std::strerror(errno);
        return false;
    }
    struct stat st;
    if (stat(g.path.c_str(), &st) == 0)
        g.id = fileId(st);
    g.generation = gen;
    return true;
}

// Brings g.state up to date with the file. Called with the lock held.
uint8_t refreshLocked(bool announce)
{
    uint64_t gen = readGeneration();
    struct stat st;
    if (stat(g.path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            report(g.path, std::strerror(errno));
            g.loaded = false;
            return KX_ST_FAILED;
        }
        State d = defaultState(nowMs());
        std::string error;
        g.state = std::move(d);
        g.loaded = true;
        if (!saveLocked(g.state, error)) {
            report(g.path, error);
            g.loaded = false;
            return KX_ST_FAILED;
        }
        return KX_ST_OK;
    }
    FileId id = fileId(st);
    if (g.loaded && gen == g.generation && id == g.id)
        return KX_ST_OK;
    if (!announce && g.badKnown && gen == g.badGeneration && id == g.badId)
        return KX_ST_FAILED;

    std::string text, error;
    if (!readFile(g.path, text, st, error)) {
        report(g.path, error);
        g.loaded = false;
        return KX_ST_FAILED;
    }
    id = fileId(st);
    int64_t anchor = int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    State s;
    if (!parseState(text, anchor, s, error)) {
        report(g.path, error);
        g.loaded = false;
        g.badKnown = true;
        g.badId = id;
        g.badGeneration = gen;
        return KX_ST_FAILED;
    }
    g.state = std::move(s);
    g.loaded = true;
    g.id = id;
    g.generation = gen;
    g.badKnown = false;
    return KX_ST_OK;
}

// Opens the lock file for the current state path (again after a fork: an
// inherited descriptor would share the parent's lock).
bool openLock()
{
    std::string path = statePath();
    if (path != g.path) {
        closeLock();
        g.path = path;
        g.loaded = false;
        g.badKnown = false;
    }
    if (g.lockFd >= 0 && g.lockPid == getpid())
        return true;
    g.lockFd = -1;
    g.loaded = false;
    if (!makeParents(g.path)) {
        report(g.path, std::string("cannot create its directory: ") + std::strerror(errno));
        return false;
    }
    std::string lock = g.path + ".lock";
    g.lockFd = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (g.lockFd < 0) {
        report(lock, std::strerror(errno));
        return false;
    }
    g.lockPid = getpid();
    return true;
}

bool lockFile()
{
    while (flock(g.lockFd, LOCK_EX) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

void unlockFile()
{
    flock(g.lockFd, LOCK_UN);
}

}  // namespace

std::string statePath()
{
    const char *env = std::getenv("ARRAYCORE_SIM_STATE");
    if (env && *env)
        return env;
    return "/var/lib/arraycore-sim/state.json";
}

Session::Session(const char *op, int adapter) : m_guard(sessionMutex()), m_adapter(adapter)
{
    try {
        open(op, adapter);
    } catch (...) {
        m_status = KX_ST_FAILED;
    }
}

void Session::open(const char *op, int adapter)
{
    m_now = nowMs();
    if (!openLock() || !lockFile()) {
        m_status = KX_ST_FAILED;
        return;
    }
    m_locked = true;
    bool announce = std::strcmp(op, "KX_API_Initialize") == 0;
    m_status = refreshLocked(announce);
    if (m_status != KX_ST_OK)
        return;
    if (advance(g.state, m_now))
        m_dirty = true;

    State &s = g.state;
    std::map<std::string, Fault> *faults = &s.faults;
    if (adapter >= 0 && adapter != 0xFF) {
        if (static_cast<size_t>(adapter) >= s.adapters.size()) {
            m_status = KX_ST_BAD_ADAPTER;
            return;
        }
        faults = &s.adapters[adapter].faults;
    }
    // The entry of an operation: the call's own map, else for a call
    // without an adapter adapter 0's.
    auto entry = [&](const char *name) -> Fault * {
        auto it = faults->find(name);
        if (it != faults->end())
            return &it->second;
        if ((adapter < 0 || adapter == 0xFF) && !s.adapters.empty()) {
            auto it0 = s.adapters[0].faults.find(name);
            if (it0 != s.adapters[0].faults.end())
                return &it0->second;
        }
        return nullptr;
    };
    Fault *own = entry(op);
    Fault *any = entry(kAnyOperation);
    if (any && !isOperationName(op))
        any = nullptr;  // the control program's own look at the state
    bool counted = false;
    auto fails = [&](Fault *f) {
        if (!f)
            return false;
        if (!f->counted())
            return true;
        if (f->made < UINT32_MAX)
            ++f->made;
        counted = true;
        return f->onward ? f->made >= f->call : f->made == f->call;
    };
    const bool ownFails = fails(own);
    const bool anyFails = fails(any);
    if (counted) {
        // Stored at once: a faulted call, or one that answers early,
        // ends without finish().
        std::string error;
        if (!saveLocked(g.state, error)) {
            report(g.path, error);
            g.loaded = false;
            m_status = KX_ST_FAILED;
            return;
        }
        m_dirty = false;
    }
    if (ownFails || anyFails) {
        m_faulted = true;
        m_status = ownFails ? own->status : any->status;
    }
}

Session::~Session()
{
    if (m_finished)
        return;
    // Left without finish(): an early answer or an exception part way
    // through a change. Nothing half-done is stored; the file is read
    // again by the next call.
    if (m_dirty)
        g.loaded = false;
    if (m_locked)
        unlockFile();
}

State &Session::state()
{
    return g.state;
}

Adapter &Session::adapter()
{
    return g.state.adapters[static_cast<size_t>(m_adapter)];
}

uint8_t Session::finish(uint8_t status)
{
    if (m_finished)
        return status;
    m_finished = true;
    if (m_locked) {
        if (m_dirty && g.loaded) {
            std::string error;
            if (!saveLocked(g.state, error)) {
                report(g.path, error);
                // What is in memory was not stored: read the file again next time.
                g.loaded = false;
                status = KX_ST_FAILED;
            }
        }
        unlockFile();
        m_locked = false;
    }
    return status;
}

bool loadStateFile(const std::string &path, State &out, std::string &error)
{
    std::string text;
    struct stat st;
    if (!readFile(path, text, st, error))
        return false;
    int64_t anchor = int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return parseState(text, anchor, out, error);
}

bool replaceState(const State &s, std::string &error)
{
    std::lock_guard<std::recursive_mutex> guard(sessionMutex());
    if (!openLock() || !lockFile()) {
        error = "cannot lock the state";
        return false;
    }
    g.state = s;
    g.loaded = true;
    bool ok = saveLocked(g.state, error);
    if (!ok)
        g.loaded = false;
    unlockFile();
    return ok;
}

}  // namespace sim
