// Time of "arrayctl create" on an array-based adapter with 128 disks
// against "arrayctl ver" in the same run, each a fresh process over the
// same simulated controller:
//   - a VD in the free slot of an array over all 128 disks (target: at
//     most twice the time of "ver");
//   - an array from all 128 disks, which checks every disk one by one
//     (reported for comparison).
// Every create starts from a fresh copy of its fixture, written before the
// clock starts. The simulated controller commits each change with fsync,
// which on a disk-backed /tmp costs more than the whole command and
// measures the machine's disk, not arrayctl; so unless TMPDIR says
// otherwise the fixtures live in /dev/shm (set TMPDIR=/tmp to include it).
// Rounds are interleaved so that a slow moment of the machine falls on all
// alike; the median of each is compared.
//
// Usage: bench_create [rounds]   (default 30). Exit status 1 when the
// target is missed.
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "golden_driver.h"

namespace {

const unsigned kDisks = 128;

// One array-based adapter with kDisks disks; with inArray, array 0 is a
// RAID5 over all of them with its VD slot still free.
std::string fixture(bool inArray)
{
    nlohmann::json pds = nlohmann::json::array(), members = nlohmann::json::array();
    for (unsigned i = 0; i < kDisks; ++i) {
        pds.push_back({{"id", i}, {"size", 976762584ULL}});
        members.push_back(i);
    }
    nlohmann::json adapter = {
        {"Adapter_Info",
         {{"MaxDiskGroup", 8}, {"MaxHD", 255}, {"MaxHD_Ext", 256}, {"MaxLogicalDrive", 64},
          {"MaxVDPerDG", 4}, {"MaxTotalBlocks_V2", 1024}, {"DevID", 0x9200}}},
        {"bgaSpeed", 0},
        {"pds", pds}};
    if (inArray)
        adapter["arrays"] = {{{"id", 0}, {"name", "all"}, {"raid", 5}, {"pds", members}}};
    return nlohmann::json({{"adapters", {adapter}}}).dump(1);
}

struct Times {
    std::vector<double> wall, cpu;
};

double childCpuMs()
{
    struct rusage ru;
    getrusage(RUSAGE_CHILDREN, &ru);
    return (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
}

// Wall time and CPU time (user + system) of one process. expected: the
// command's output after the start-up lines ("": not checked).
void run(Times &t, const std::string &dir, const std::string &state, const std::vector<std::string> &args,
         const std::string &expected)
{
    writeFile(dir + "/state.json", state);
    const double c0 = childCpuMs();
    auto t0 = std::chrono::steady_clock::now();
    GoldenRun r = runArrayctl(dir, args);
    auto t1 = std::chrono::steady_clock::now();
    const double c1 = childCpuMs();
    if (r.exitStatus != 0 || (!expected.empty() && r.out != startupPrelude() + expected)) {
        fprintf(stderr, "unexpected result of arrayctl %s (exit %d):\n%s", args[0].c_str(), r.exitStatus,
                r.out.c_str());
        exit(2);
    }
    t.wall.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    t.cpu.push_back(c1 - c0);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? atoi(argv[1]) : 30;
    if (rounds < 1) {
        fprintf(stderr, "usage: bench_create [rounds]\n");
        return 2;
    }
    struct stat shm;
    if (!getenv("TMPDIR") && stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode))
        setenv("TMPDIR", "/dev/shm", 1);
    ScratchDir vdDir, arrayDir;
    const std::string vdState = fixture(true), freeState = fixture(false);
    std::string all;
    for (unsigned i = 0; i < kDisks; ++i)
        all += (i ? "," : "") + std::to_string(i);
    const std::vector<std::string> vdArgs = {"create", "-a", "0"};
    const std::vector<std::string> arrayArgs = {"create", "-o", "array", "-r", "5", "-d", all};
    const std::string vdOut = "Create VD 0 successfully.\n", arrayOut = "Create array 0 successfully.\n";

    // One untimed run each, so that first-touch costs fall outside.
    Times warm, ver, vd, array;
    run(warm, vdDir.path(), vdState, vdArgs, vdOut);
    run(warm, arrayDir.path(), freeState, arrayArgs, arrayOut);

    for (int i = 0; i < rounds; ++i) {
        run(ver, vdDir.path(), vdState, {"ver"}, "");
        run(vd, vdDir.path(), vdState, vdArgs, vdOut);
        run(array, arrayDir.path(), freeState, arrayArgs, arrayOut);
    }
    const double v = median(ver.wall), c = median(vd.wall), a = median(array.wall);
    printf("rounds: %d (median per process: wall time, CPU time), state files in %s\n", rounds,
           getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp");
    printf("arrayctl ver                               %8.2f ms  %6.2f ms CPU\n", v, median(ver.cpu));
    printf("arrayctl create -a 0 (array of 128 disks)  %8.2f ms  %6.2f ms CPU  %.2fx ver\n", c, median(vd.cpu),
           c / v);
    printf("arrayctl create -o array (128 disks)       %8.2f ms  %6.2f ms CPU  %.2fx ver\n", a,
           median(array.cpu), a / v);
    const bool ok = c <= 2 * v;
    printf("target (VD create at most 2x ver, wall time): %s\n", ok ? "met" : "MISSED");
    return ok ? 0 : 1;
}
