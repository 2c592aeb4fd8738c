// Time of "arrayctl info -o pd" over 128 disks and "arrayctl info -o vd"
// over 210 VDs against "arrayctl ver" in the same run, each a fresh
// process over the same simulated controller. Target: each listing at most
// twice the time of "ver". Rounds are interleaved so that a slow moment of
// the machine falls on all three alike; the median of each is compared.
//
// Usage: bench_info [rounds]   (default 30). Exit status 1 when a target
// is missed.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "big_fixtures.h"
#include "golden_driver.h"

namespace {

double runMs(const std::string &dir, const std::vector<std::string> &args, const std::string &expected)
{
    auto t0 = std::chrono::steady_clock::now();
    GoldenRun r = runArrayctl(dir, args);
    auto t1 = std::chrono::steady_clock::now();
    if (r.exitStatus != 0 || (!expected.empty() && r.out != startupPrelude() + expected)) {
        fprintf(stderr, "unexpected result of arrayctl %s (exit %d)\n", args[0].c_str(), r.exitStatus);
        exit(2);
    }
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
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
    ScratchDir pdDir, vdDir;
    writeFile(pdDir.path() + "/state.json", manyDisksFixture(128, 64));
    writeFile(vdDir.path() + "/state.json", manyVdsFixture(210, 64));
    const std::string pdOut = manyDisksListing(128), vdOut = manyVdsListing(210);

    // One untimed run each: the library writes the state file back once.
    runMs(pdDir.path(), {"info", "-o", "pd"}, pdOut);
    runMs(vdDir.path(), {"info", "-o", "vd"}, vdOut);

    std::vector<double> ver, pd, vd;
    for (int i = 0; i < rounds; ++i) {
        ver.push_back(runMs(pdDir.path(), {"ver"}, ""));
        pd.push_back(runMs(pdDir.path(), {"info", "-o", "pd"}, pdOut));
        vd.push_back(runMs(vdDir.path(), {"info", "-o", "vd"}, vdOut));
    }
    const double v = median(ver), p = median(pd), d = median(vd);
    printf("rounds: %d (median wall time per process)\n", rounds);
    printf("arrayctl ver                    %8.2f ms\n", v);
    printf("arrayctl info -o pd (128 disks) %8.2f ms  %.2fx ver\n", p, p / v);
    printf("arrayctl info -o vd (210 VDs)   %8.2f ms  %.2fx ver\n", d, d / v);
    const bool ok = p <= 2 * v && d <= 2 * v;
    printf("target (each at most 2x ver): %s\n", ok ? "met" : "MISSED");
    return ok ? 0 : 1;
}
