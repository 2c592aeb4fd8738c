// arraystat: one snapshot of every RAID adapter as JSON or in the
// Prometheus text format, for monitoring.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "render.h"

namespace {

const char kUsage[] =
    "usage: arraystat --json|--prometheus [--adapter N] [--object KIND] [--output FILE]\n"
    "\n"
    "  --json             one JSON document of every adapter and everything under it\n"
    "  --prometheus       the same snapshot in the Prometheus text exposition format\n"
    "  --adapter N        only adapter N (0 is the first)\n"
    "  --object KIND      only one kind of object: hba, bbu, pd, spare, array, vd,\n"
    "                     enc, exp or events\n"
    "  --output FILE      write FILE atomically (a temporary file in the same\n"
    "                     directory, then renamed) instead of standard output\n"
    "  --help             this text\n"
    "\n"
    "A controller call that fails is reported in the document (an \"errors\" entry,\n"
    "or an array_scrape_error sample) and the snapshot goes on; the exit status is 0\n"
    "whenever the document was written, 1 when it could not be written, 2 for a\n"
    "usage error.\n";

int usage(const char *problem)
{
    std::fprintf(stderr, "arraystat: %s\n%s", problem, kUsage);
    return 2;
}

bool writeAll(int fd, const std::string &text)
{
    const char *p = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Readers (node_exporter's textfile collector) see the old file or the new
// one, never a part: the text goes to a temporary file in the same
// directory, is synced, and replaces the old file by rename.
bool writeFileAtomically(const std::string &path, const std::string &text)
{
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string tmp = dir + "/." + base + ".XXXXXX";
    int fd = ::mkstemp(&tmp[0]);
    if (fd < 0) {
        std::fprintf(stderr, "arraystat: cannot create a temporary file in %s: %s\n", dir.c_str(), std::strerror(errno));
        return false;
    }
    bool ok = ::fchmod(fd, 0644) == 0 && writeAll(fd, text) && ::fsync(fd) == 0;
    const int err = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0)
        ok = false;
    if (!ok) {
        std::fprintf(stderr, "arraystat: cannot write %s: %s\n", path.c_str(), std::strerror(errno ? errno : err));
        ::unlink(tmp.c_str());
        return false;
    }
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool parseAdapter(const char *text, int &out)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (*end || errno || v < 0 || v > 255)
        return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    enum { NONE, JSON, PROMETHEUS } format = NONE;
    arraystat::Scope scope;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char *name) -> const char * {
            if (i + 1 >= argc) {
                usage((std::string(name) + " needs a value").c_str());
                return nullptr;
            }
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--json" || arg == "--prometheus") {
            const auto want = arg == "--json" ? JSON : PROMETHEUS;
            if (format != NONE && format != want)
                return usage("--json and --prometheus exclude each other");
            format = want;
        } else if (arg == "--adapter") {
            const char *v = value("--adapter");
            if (!v)
                return 2;
            if (!parseAdapter(v, scope.adapter))
                return usage((std::string("invalid adapter number ") + v).c_str());
        } else if (arg == "--object") {
            const char *v = value("--object");
            if (!v)
                return 2;
            static const char *kinds[] = {"hba", "bbu", "pd", "spare", "array", "vd", "enc", "exp", "events"};
            bool known = false;
            for (const char *k : kinds)
                known = known || std::strcmp(v, k) == 0;
            if (!known)
                return usage((std::string("unknown object ") + v).c_str());
            scope.object = v;
        } else if (arg == "--output") {
            const char *v = value("--output");
            if (!v)
                return 2;
            if (!*v)
                return usage("--output needs a file name");
            output = v;
        } else {
            return usage(("unknown argument " + arg).c_str());
        }
    }
    if (format == NONE)
        return usage("say --json or --prometheus");

    arraystat::Snapshot snap;
    const KX_U8 init = KX_API_Initialize();
    if (init != 0) {
        snap.takenAt = static_cast<int64_t>(::time(nullptr));
        snap.errors.push_back(arraystat::CallError{"KX_API_Initialize", init, -1});
    } else {
        snap = arraystat::collect(scope);
        KX_API_Finalize();
    }
    const std::string text = format == JSON ? arraystat::renderJson(snap) : arraystat::renderPrometheus(snap);
    if (!output.empty())
        return writeFileAtomically(output, text) ? 0 : 1;
    if (!writeAll(STDOUT_FILENO, text)) {
        std::fprintf(stderr, "arraystat: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
