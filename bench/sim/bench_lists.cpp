// Cost of a list call through the library, as the shell and the web module
// make hundreds of them per screen.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "arraycore.h"

namespace {

struct StateDir {
    std::string dir, path;
    StateDir()
    {
        char tmpl[] = "/tmp/arraycore-bench.XXXXXX";
        dir = mkdtemp(tmpl);
        path = dir + "/state.json";
        std::ofstream out(path);
        out << "{\"adapters\":[{\"Adapter_Info\":{\"MaxHD_Ext\":256},\"pds\":[";
        for (int i = 0; i < 128; ++i)
            out << (i ? "," : "") << "{\"id\":" << i << "}";
        out << "]}]}";
        out.close();
        setenv("ARRAYCORE_SIM_STATE", path.c_str(), 1);
    }
    ~StateDir()
    {
        for (const char *suffix : {"", ".lock", ".tmp"})
            unlink((path + suffix).c_str());
        rmdir(dir.c_str());
    }
};

StateDir &stateDir()
{
    static StateDir d;
    return d;
}

struct Buffer {
    std::vector<unsigned char> bytes;
    Buffer() : bytes(sizeof(RequestHeader) + 128 * sizeof(HD_Info)) {}
    HD_Info_Request *request()
    {
        auto *r = reinterpret_cast<HD_Info_Request *>(bytes.data());
        std::memset(&r->header, 0, sizeof r->header);
        r->header.requestType = KX_REQUEST_BY_INDEX;
        r->header.numRequested = 128;
        return r;
    }
};

void BM_ListUnchanged(benchmark::State &state)
{
    stateDir();
    if (KX_API_Initialize() != 0) {
        state.SkipWithError("KX_API_Initialize failed");
        return;
    }
    Buffer buf;
    for (auto _ : state) {
        HD_Info_Request *req = buf.request();
        KX_U8 st = KX_PD_GetHDInfo_Ext(0, req);
        benchmark::DoNotOptimize(st);
        if (st != 0 || req->header.numReturned != 128) {
            state.SkipWithError("list call failed");
            return;
        }
    }
}
BENCHMARK(BM_ListUnchanged)->Unit(benchmark::kMicrosecond);

// Another process changes the state before every call, so each call has
// to read and parse the state file again.
void BM_ListAfterOtherProcessChanged(benchmark::State &state)
{
    stateDir();
    if (KX_API_Initialize() != 0) {
        state.SkipWithError("KX_API_Initialize failed");
        return;
    }
    Buffer buf;
    for (auto _ : state) {
        state.PauseTiming();
        pid_t pid = fork();
        if (pid == 0) {
            KX_API_RescanAdapter();
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        state.ResumeTiming();
        KX_U8 st = KX_PD_GetHDInfo_Ext(0, buf.request());
        benchmark::DoNotOptimize(st);
        if (st != 0) {
            state.SkipWithError("list call failed");
            return;
        }
    }
}
BENCHMARK(BM_ListAfterOtherProcessChanged)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
