// Updating a 1 MiB BIOS image on the simulated controller (32 pages, each
// one call into the controller library, then the whole image checked and
// kept) against copying the same file with cp. Both start one process, so
// the difference is what the paged transfer and the image check add.
#include <benchmark/benchmark.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string gDir;
const size_t kImageBytes = 1 << 20;

void put16(std::vector<uint8_t> &b, size_t at, uint16_t v)
{
    b[at] = v & 0xFF;
    b[at + 1] = v >> 8;
}

void put32(std::vector<uint8_t> &b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = (v >> (8 * i)) & 0xFF;
}

// A BIOS image in the simulated controller's format: a 64-byte header and
// a payload that fills the file to exactly 1 MiB.
void writeImage(const std::string &path)
{
    std::vector<uint8_t> b(kImageBytes, 0);
    const uint32_t payload = kImageBytes - 64;
    uint32_t sum = 0;
    for (size_t i = 64; i < b.size(); ++i) {
        b[i] = static_cast<uint8_t>(i * 31 + 7);
        sum += b[i];
    }
    memcpy(b.data(), "KXIM", 4);
    put16(b, 4, 1);
    b[6] = 2;
    put16(b, 8, 7);
    put16(b, 10, 1);
    put16(b, 14, 33);
    put16(b, 16, 0x1F3C);
    put16(b, 20, 0x1F3C);
    put16(b, 22, 0x00C3);
    put32(b, 24, payload);
    put32(b, 28, sum);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(b.data()), b.size());
}

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

void BM_CopyImage(benchmark::State &state)
{
    for (auto _ : state)
        runOnce(state, {"/bin/cp", gDir + "/bios.img", gDir + "/copy.img"});
    state.SetBytesProcessed(state.iterations() * kImageBytes);
}

void BM_FlashUpdateImage(benchmark::State &state)
{
    for (auto _ : state)
        runOnce(state, {ARRAYCTL_BINARY, "flash", "-a", "update", "-f", gDir + "/bios.img", "-t", "bios"});
    state.SetBytesProcessed(state.iterations() * kImageBytes);
}

} // namespace

BENCHMARK(BM_CopyImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FlashUpdateImage)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    char dir[] = "/tmp/arrayctl-flash-bench-XXXXXX";
    if (!mkdtemp(dir))
        return 2;
    gDir = dir;
    writeImage(gDir + "/bios.img");
    std::ofstream(gDir + "/clock") << "UTC=true\n";
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
