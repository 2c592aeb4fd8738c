#include "php_driver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <signal.h>
#include <stdexcept>
#include <sys/ipc.h>
#include <sys/sem.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    return ::remove(path);
}

const char kWorkerScript[] =
    "$in = fopen('php://stdin', 'r');"
    "while (($line = fgets($in)) !== false) {"
    "  $line = rtrim($line, \"\\n\");"
    "  if ($line === 'quit') break;"
    "  $r = 'untouched';"
    "  $rc = arrayrpc($line, $r);"
    "  echo 'rc=', $rc, ' ', $r, \"\\nEND\\n\";"
    "}";

std::vector<char *> cStrings(std::vector<std::string> &v)
{
    std::vector<char *> out;
    for (std::string &s : v)
        out.push_back(&s[0]);
    out.push_back(nullptr);
    return out;
}

std::vector<std::string> phpArgs(const std::string &code, const std::vector<std::string> &extra)
{
    std::vector<std::string> args = {ARRAYRPC_PHP, "-n", "-d", std::string("extension=") + ARRAYRPC_MODULE};
    args.insert(args.end(), extra.begin(), extra.end());
    if (!code.empty()) {
        args.push_back("-r");
        args.push_back(code);
    }
    return args;
}

// Starts args with the test's environment; the pipes' other ends are
// returned (-1 where not wanted).
pid_t spawn(const TempDir &dir, std::vector<std::string> args, int *in, int *out, int *err)
{
    int pin[2], pout[2], perr[2];
    if (pipe(pin) || pipe(pout) || pipe(perr))
        throw std::runtime_error("pipe");
    std::vector<std::string> env = phpEnvironment(dir);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pin[0], 0);
        dup2(pout[1], 1);
        dup2(perr[1], 2);
        for (int fd : {pin[0], pin[1], pout[0], pout[1], perr[0], perr[1]})
            close(fd);
        std::vector<char *> argv = cStrings(args);
        std::vector<char *> envp = cStrings(env);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(pin[0]);
    close(pout[1]);
    close(perr[1]);
    *in = pin[1];
    *out = pout[0];
    *err = perr[0];
    return pid;
}

} // namespace

TempDir::TempDir()
{
    char pattern[] = "/tmp/phpdll-test-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp");
    m_path = pattern;
}

TempDir::~TempDir()
{
    // The module leaves its semaphore set behind on purpose (a worker may
    // hold it); a test's private registry goes with the test.
    key_t shmKey = ftok(file("kxbackend.pids").c_str(), 1);
    if (shmKey != -1) {
        int id = shmget(shmKey, 0, 0);
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
    }
    key_t semKey = ftok(file("kxbackend.lock").c_str(), 97);
    if (semKey != -1) {
        int id = semget(semKey, 0, 0);
        if (id >= 0)
            semctl(id, 0, IPC_RMID);
    }
    nftw(m_path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void TempDir::write(const std::string &name, const std::string &content) const
{
    FILE *f = std::fopen(file(name).c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + name);
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

std::vector<std::string> phpEnvironment(const TempDir &dir)
{
    std::vector<std::string> env = {
        "PATH=/usr/bin:/bin",
        "HOME=" + dir.path(),
        "TZ=UTC",
        "ARRAYCORE_SIM_STATE=" + dir.file("state.json"),
        "ARRAYRPC_IPC_DIR=" + dir.path(),
        "ARRAY_DB_DIR=" + dir.path(),
    };
    return env;
}

PhpResult runPhp(const TempDir &dir, const std::string &code, const std::vector<std::string> &extraArgs)
{
    int in, out, err;
    pid_t pid = spawn(dir, phpArgs(code, extraArgs), &in, &out, &err);
    close(in);
    PhpResult result;
    struct pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, 30000) <= 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buf[4096];
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            } else {
                (i == 0 ? result.out : result.err).append(buf, static_cast<size_t>(n));
            }
        }
    }
    for (int i = 0; i < 2; ++i)
        if (fds[i].fd >= 0) {
            kill(pid, SIGKILL);
            close(fds[i].fd);
        }
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

PhpWorker::PhpWorker(const TempDir &dir) : m_pid(-1), m_in(-1), m_out(-1)
{
    int err;
    m_pid = spawn(dir, phpArgs(kWorkerScript, {}), &m_in, &m_out, &err);
    close(err); // perror lines of the registry are not looked at here
}

PhpWorker::~PhpWorker()
{
    quit();
}

std::string PhpWorker::readUntil(const std::string &marker)
{
    for (;;) {
        std::string::size_type at = 0;
        while (at <= m_buffer.size()) {
            std::string::size_type end = m_buffer.find('\n', at);
            if (end == std::string::npos)
                break;
            if (m_buffer.compare(at, end - at, marker) == 0) {
                std::string before = m_buffer.substr(0, at);
                m_buffer.erase(0, end + 1);
                return before;
            }
            at = end + 1;
        }
        struct pollfd fd = {m_out, POLLIN, 0};
        if (poll(&fd, 1, 30000) <= 0)
            break;
        char buf[4096];
        ssize_t n = read(m_out, buf, sizeof buf);
        if (n <= 0)
            break;
        m_buffer.append(buf, static_cast<size_t>(n));
    }
    std::string rest;
    rest.swap(m_buffer);
    return rest;
}

std::string PhpWorker::request(const std::string &xml)
{
    std::string line = xml + "\n";
    if (write(m_in, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        return std::string();
    return readUntil("END");
}

void PhpWorker::quit()
{
    if (m_pid <= 0)
        return;
    const char bye[] = "quit\n";
    if (write(m_in, bye, sizeof bye - 1) < 0) {
        // already gone
    }
    close(m_in);
    readUntil("\x01never");
    close(m_out);
    int status;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
}

std::vector<int> readRegistry(const TempDir &dir)
{
    key_t key = ftok(dir.file("kxbackend.pids").c_str(), 1);
    if (key == -1)
        return {};
    int id = shmget(key, 2048, 0);
    if (id < 0)
        return {};
    void *addr = shmat(id, nullptr, SHM_RDONLY);
    if (addr == reinterpret_cast<void *>(-1))
        return {};
    std::vector<int> table(static_cast<int *>(addr), static_cast<int *>(addr) + 512);
    shmdt(addr);
    return table;
}
