// arraystat: one snapshot of every RAID adapter as JSON or in the
// Prometheus text format, for monitoring; the SMART pass that feeds it; and
// the check plugin over the same snapshot.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "check.h"
#include "atomic_file.h"
#include "render.h"

namespace {

#ifndef ARRAYSTAT_SMART_CACHE
#define ARRAYSTAT_SMART_CACHE "/var/cache/arraystat/smart.json"
#endif

const char kUsage[] =
    "usage: arraystat --json|--prometheus [--adapter N] [--object KIND] [--output FILE]\n"
    "                 [--smart-cache FILE]\n"
    "       arraystat --smart [--adapter N] [--output FILE]\n"
    "       arraystat --check [-w RANGE] [-c RANGE] [--smart-max-age SECONDS]\n"
    "                 [-t SECONDS] [--adapter N] [--smart-cache FILE]\n"
    "\n"
    "  --json             one JSON document of every adapter and everything under it\n"
    "  --prometheus       the same snapshot in the Prometheus text exposition format\n"
    "  --smart            read the SMART attributes of every SATA disk (slow on real\n"
    "                     controllers: run it on its own timer) and write them as the\n"
    "                     SMART cache that the other modes read\n"
    "  --check            one status line with performance data for Nagios, Icinga,\n"
    "                     Naemon and Checkmk; exit 0 OK, 1 WARNING, 2 CRITICAL,\n"
    "                     3 UNKNOWN (also when called as check_arraysuite)\n"
    "  --adapter N        only adapter N (0 is the first)\n"
    "  --object KIND      only one kind of object: hba, bbu, pd, spare, array, vd,\n"
    "                     enc, exp or events\n"
    "  --output FILE      write FILE atomically (a temporary file in the same\n"
    "                     directory, then renamed) instead of standard output\n"
    "  --smart-cache FILE the SMART cache to read (default " ARRAYSTAT_SMART_CACHE "),\n"
    "                     or none\n"
    "  -w, --warning RANGE   disk temperature in Celsius that makes --check\n"
    "                     WARNING (default 50: outside 0..50)\n"
    "  -c, --critical RANGE  the same for CRITICAL (default 60)\n"
    "  --smart-max-age SECONDS  SMART data older than this makes --check WARNING\n"
    "                     (default 3600)\n"
    "  -t, --timeout SECONDS  --check gives up with UNKNOWN after this long\n"
    "                     (default 30)\n"
    "  --help             this text\n"
    "\n"
    "A controller call that fails is reported in the document (an \"errors\" entry,\n"
    "or an array_scrape_error sample) and the snapshot goes on; the exit status is 0\n"
    "whenever the document was written, 1 when it could not be written, 2 for a\n"
    "usage error. --check exits 3 (UNKNOWN) for a usage error and whenever a\n"
    "controller call failed, unless something it could read is CRITICAL.\n";

bool gCheck = false;

int usage(const char *problem)
{
    if (gCheck) {
        // A plugin's usage error is UNKNOWN, said on its one line.
        std::printf("ARRAY UNKNOWN - %s\n", problem);
        return 3;
    }
    std::fprintf(stderr, "arraystat: %s\n%s", problem, kUsage);
    return 2;
}

// What --check says when the controller does not answer in time; built
// before the alarm is set, written by the signal handler.
char gTimeoutLine[128];

extern "C" void onAlarm(int)
{
    ssize_t n = ::write(STDOUT_FILENO, gTimeoutLine, std::strlen(gTimeoutLine));
    (void)n;
    ::_exit(3);
}

bool parseSeconds(const char *text, double &out)
{
    char *end = nullptr;
    errno = 0;
    double v = std::strtod(text, &end);
    if (!*text || *end || errno || !(v > 0) || v > 86400 * 365)
        return false;
    out = v;
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
    enum { NONE, JSON, PROMETHEUS, SMART, CHECK } format = NONE;
    const char *slash = std::strrchr(argv[0], '/');
    if (std::strcmp(slash ? slash + 1 : argv[0], "check_arraysuite") == 0)
        format = CHECK;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--check") == 0)
            format = CHECK;
    gCheck = format == CHECK;
    arraystat::Scope scope;
    arraystat::CheckOptions checkOptions;
    arraystat::parseRange("50", checkOptions.warning);
    arraystat::parseRange("60", checkOptions.critical);
    double timeout = 30;
    checkOptions.smartMaxAge = 3600;
    std::string output;
    std::string smartCache = ARRAYSTAT_SMART_CACHE;
    bool objectGiven = false;
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
        } else if (arg == "--json" || arg == "--prometheus" || arg == "--smart" || arg == "--check") {
            const auto want = arg == "--json" ? JSON : arg == "--prometheus" ? PROMETHEUS : arg == "--smart" ? SMART : CHECK;
            if (format != NONE && format != want)
                return usage("--json, --prometheus, --smart and --check exclude each other");
            format = want;
        } else if (arg == "--adapter") {
            const char *v = value("--adapter");
            if (!v)
                return gCheck ? 3 : 2;
            if (!parseAdapter(v, scope.adapter))
                return usage((std::string("invalid adapter number ") + v).c_str());
        } else if (arg == "--object") {
            const char *v = value("--object");
            if (!v)
                return gCheck ? 3 : 2;
            static const char *kinds[] = {"hba", "bbu", "pd", "spare", "array", "vd", "enc", "exp", "events"};
            bool known = false;
            for (const char *k : kinds)
                known = known || std::strcmp(v, k) == 0;
            if (!known)
                return usage((std::string("unknown object ") + v).c_str());
            scope.object = v;
            objectGiven = true;
        } else if (arg == "--output") {
            const char *v = value("--output");
            if (!v)
                return gCheck ? 3 : 2;
            if (!*v)
                return usage("--output needs a file name");
            output = v;
        } else if (arg == "--smart-cache") {
            const char *v = value("--smart-cache");
            if (!v)
                return gCheck ? 3 : 2;
            if (!*v)
                return usage("--smart-cache needs a file name");
            smartCache = v;
        } else if (arg == "-w" || arg == "--warning" || arg == "-c" || arg == "--critical") {
            const bool warn = arg == "-w" || arg == "--warning";
            const char *v = value(arg.c_str());
            if (!v)
                return gCheck ? 3 : 2;
            if (!arraystat::parseRange(v, warn ? checkOptions.warning : checkOptions.critical))
                return usage((std::string("invalid range ") + v + " for " + arg).c_str());
        } else if (arg == "--smart-max-age") {
            const char *v = value("--smart-max-age");
            if (!v)
                return gCheck ? 3 : 2;
            if (!parseSeconds(v, checkOptions.smartMaxAge))
                return usage((std::string("invalid number of seconds ") + v).c_str());
        } else if (arg == "-t" || arg == "--timeout") {
            const char *v = value(arg.c_str());
            if (!v)
                return gCheck ? 3 : 2;
            if (!parseSeconds(v, timeout))
                return usage((std::string("invalid number of seconds ") + v).c_str());
        } else {
            return usage(("unknown argument " + arg).c_str());
        }
    }
    if (format == NONE)
        return usage("say --json, --prometheus, --smart or --check");
    if (format == CHECK && (objectGiven || !output.empty()))
        return usage("--check takes neither --object nor --output");
    if (format == SMART && objectGiven)
        return usage("--smart reads disks only: no --object");

    if (format == CHECK) {
        std::snprintf(gTimeoutLine, sizeof gTimeoutLine,
                      "ARRAY UNKNOWN - no answer from the controller within %g seconds\n", timeout);
        struct sigaction sa;
        std::memset(&sa, 0, sizeof sa);
        sa.sa_handler = onAlarm;
        ::sigaction(SIGALRM, &sa, nullptr);
        struct itimerval it;
        std::memset(&it, 0, sizeof it);
        it.it_value.tv_sec = static_cast<time_t>(timeout);
        it.it_value.tv_usec = static_cast<suseconds_t>((timeout - static_cast<double>(it.it_value.tv_sec)) * 1e6);
        ::setitimer(ITIMER_REAL, &it, nullptr);
    }

    const KX_U8 init = KX_API_Initialize();
    std::string text;
    if (format == SMART) {
        arraystat::SmartPass pass;
        if (init != 0) {
            pass.takenAt = static_cast<int64_t>(::time(nullptr));
            pass.errors.push_back({-1, arraystat::CallError{"KX_API_Initialize", init, -1}});
        } else {
            pass = arraystat::collectSmart(scope.adapter);
            KX_API_Finalize();
        }
        text = arraystat::renderSmartCache(pass);
    } else {
        arraystat::Snapshot snap;
        if (init != 0) {
            snap.takenAt = static_cast<int64_t>(::time(nullptr));
            snap.errors.push_back(arraystat::CallError{"KX_API_Initialize", init, -1});
        } else {
            snap = arraystat::collect(scope);
            KX_API_Finalize();
        }
        if (smartCache != "none" && scope.wants("pd")) {
            const auto t0 = std::chrono::steady_clock::now();
            arraystat::SmartLoad load = arraystat::loadSmartCache(smartCache);
            arraystat::attachSmart(snap, std::move(load),
                                   std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }
        if (format == CHECK) {
            const arraystat::CheckResult r = arraystat::evaluate(snap, checkOptions);
            // The verdict is written whole or not at all: past this point a
            // timeout would cut it.
            struct itimerval off;
            std::memset(&off, 0, sizeof off);
            ::setitimer(ITIMER_REAL, &off, nullptr);
            if (!writeAll(STDOUT_FILENO, r.output))
                return 3;
            return r.state;
        }
        text = format == JSON ? arraystat::renderJson(snap) : arraystat::renderPrometheus(snap);
    }
    if (!output.empty())
        return writeFileAtomically(output, text, "arraystat") ? 0 : 1;
    if (!writeAll(STDOUT_FILENO, text)) {
        std::fprintf(stderr, "arraystat: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
