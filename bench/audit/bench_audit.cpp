// What the audit record costs a change: `arrayctl set` (a disk's write
// cache switched off and on again, each run a change) by the installed
// program, which writes one record to a log socket served here, and by the
// same program linked without the audit wrappers, which writes none;
// interleaved rounds, medians side by side. Usage: bench_audit [rounds].
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

double now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

double runOnce(const char *binary, const char *cache, const std::vector<std::string> &env)
{
    const double t0 = now();
    pid_t pid = fork();
    if (pid == 0) {
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        for (const std::string &e : env)
            putenv(const_cast<char *>(e.c_str()));
        execl(binary, binary, "set", "-o", "pd", "-i", "1", cache, static_cast<char *>(nullptr));
        _exit(127);
    }
    int st = 0;
    waitpid(pid, &st, 0);
    if (!WIFEXITED(st) || WEXITSTATUS(st) != 0) {
        fprintf(stderr, "%s set %s failed\n", binary, cache);
        exit(1);
    }
    return now() - t0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? atoi(argv[1]) : 40;
    const char *base = getenv("TMPDIR");
    std::string dir = std::string(base && *base ? base : "/dev/shm") + "/bench-audit-XXXXXX";
    if (!mkdtemp(&dir[0]))
        return 1;
    std::filesystem::copy_file(FIXTURE, dir + "/state.json");
    const std::string sock = dir + "/log.sock";
    int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", sock.c_str());
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0)
        return 1;
    std::atomic<long> records{0};
    std::thread reader([&] {
        char buf[8192];
        while (recv(fd, buf, sizeof buf, 0) > 0)
            ++records;
    });
    const std::vector<std::string> env = {"ARRAYCORE_SIM_STATE=" + dir + "/state.json", "ARRAY_DB_DIR=" + dir,
                                          "ARRAY_SG_DEVICE=" + dir + "/none", "ARRAY_SG_WAIT=0",
                                          "ARRAY_AUDIT_SOCKET=" + sock, "ARRAY_CLOCK_FILE=" + dir + "/clock"};
    std::vector<double> audited, plain;
    for (int i = 0; i < rounds; ++i) {
        // Each run undoes the one before, so every run is a change.
        audited.push_back(runOnce(ARRAYCTL_BINARY, "--cacheoff", env));
        plain.push_back(runOnce(ARRAYCTL_UNAUDITED, "--cacheon", env));
    }
    shutdown(fd, SHUT_RDWR);
    // recv does not wake on shutdown of an unconnected datagram socket:
    // one last datagram of our own ends the reader.
    int waker = socket(AF_UNIX, SOCK_DGRAM, 0);
    sendto(waker, "", 0, 0, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    close(waker);
    reader.join();
    close(fd);
    std::filesystem::remove_all(dir);
    const double a = median(audited), p = median(plain);
    printf("state in %s, %d rounds each, %ld audit records received\n", base && *base ? base : "/dev/shm", rounds,
           records.load());
    printf("arrayctl set with its audit record:   %8.3f ms (median)\n", a * 1e3);
    printf("arrayctl set without audit wrappers: %8.3f ms (median)\n", p * 1e3);
    printf("the record costs %.3f ms, %.1f%% of the change (target: at most 10%%)\n", (a - p) * 1e3,
           100.0 * (a - p) / p);
    return 0;
}
