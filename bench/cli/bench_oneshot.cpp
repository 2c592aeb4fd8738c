// Wall time of one-shot arrayctl commands on the simulated controller,
// with the SCSI generic probe's wait set to 0, next to the cost of
// starting a trivial process, so that what arrayctl adds can be read off.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string gDir;

void runOnce(benchmark::State &state, const std::vector<std::string> &argv)
{
    std::vector<char *> a;
    for (const auto &s : argv)
        a.push_back(const_cast<char *>(s.c_str()));
    a.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        execv(a[0], a.data());
        _exit(127);
    }
    int st = 0;
    waitpid(pid, &st, 0);
    if (!WIFEXITED(st) || WEXITSTATUS(st) != 0)
        state.SkipWithError("command failed");
}

void BM_ProcessStart(benchmark::State &state)
{
    for (auto _ : state)
        runOnce(state, {"/bin/true"});
}

void BM_ArrayctlVer(benchmark::State &state)
{
    for (auto _ : state)
        runOnce(state, {ARRAYCTL_BINARY, "ver"});
}

void BM_ArrayctlHelp(benchmark::State &state)
{
    for (auto _ : state)
        runOnce(state, {ARRAYCTL_BINARY, "help"});
}

// Element status of eight enclosures of ten elements each: one element
// call and 80 printed elements on top of start-up.
void BM_ArrayctlEncEle(benchmark::State &state)
{
    for (auto _ : state)
        runOnce(state, {ARRAYCTL_BINARY, "enc", "-o", "ele"});
}

} // namespace

BENCHMARK(BM_ProcessStart)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArrayctlVer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArrayctlHelp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArrayctlEncEle)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    char dir[] = "/tmp/arrayctl-bench-XXXXXX";
    if (!mkdtemp(dir))
        return 2;
    gDir = dir;
    std::ofstream(gDir + "/clock") << "UTC=true\n";
    // Eight enclosures with the simulator's ten elements each.
    std::ofstream(gDir + "/state.json") << R"({"adapters":[{"enclosures":[{"id":0},{"id":1},{"id":2},{"id":3},)"
                                           R"({"id":4},{"id":5},{"id":6},{"id":7}]}]})";
    setenv("ARRAYCORE_SIM_STATE", (gDir + "/state.json").c_str(), 1);
    setenv("ARRAY_CLOCK_FILE", (gDir + "/clock").c_str(), 1);
    setenv("ARRAY_SG_DEVICE", (gDir + "/sg0").c_str(), 1);
    setenv("ARRAY_SG_WAIT", "0", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(gDir, ec);
    return 0;
}
