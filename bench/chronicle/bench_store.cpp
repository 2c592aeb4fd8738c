// Event store benchmarks, over the scripted controller of the store tests
// and a private data directory under $TMPDIR (default /tmp):
//   BM_CaptureBurst1000     one capture pass storing a 1000-event burst;
//                           counters: events/s and syncs per event
//   BM_GetEventNewest25 /   25 events from the end / the start of a full
//   BM_GetEventOldest25     store of 50000 events
//   BM_IdleCapture /        a capture pass with nothing to store, against
//   BM_EmptyCall            a call that does nothing
#include "AdapterFileData.h"
#include "EventFileData.h"
#include "EventHeaderFileData.h"
#include "KXFileStream.h"
#include "EventStore.h"
#include "fake_controller.h"
#include "qta_api.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string makeDir()
{
    const char *base = std::getenv("TMPDIR");
    std::string t = std::string(base && *base ? base : "/tmp") + "/chronicle-bench-XXXXXX";
    std::vector<char> buf(t.begin(), t.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        std::abort();
    setenv("ARRAY_DB_DIR", buf.data(), 1);
    return buf.data();
}

void removeDir(const std::string &dir)
{
    std::string cmd = "rm -rf '" + dir + "'";
    if (std::system(cmd.c_str()) != 0)
        std::abort();
}

void BM_CaptureBurst1000(benchmark::State &state)
{
    const std::string dir = makeDir();
    fake::reset();
    fake::addAdapter("BENCH");
    KX_U32 next = 1;
    uint64_t events = 0, syncs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Keep the log away from its restart.
        if (next > 45000) {
            QTA_ClearFile();
            next = 1;
        }
        fake::queueEvents(0, next, 1000);
        next += 1000;
        const uint64_t before = KXFileStream::syncCount();
        state.ResumeTiming();
        QTA_APIEventToFile();
        state.PauseTiming();
        syncs += KXFileStream::syncCount() - before;
        events += 1000;
        state.ResumeTiming();
    }
    state.counters["events_per_s"] = benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate);
    state.counters["syncs_per_event"] = static_cast<double>(syncs) / static_cast<double>(events ? events : 1);
    removeDir(dir);
}
BENCHMARK(BM_CaptureBurst1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A full store written in one go: header counting 50000 events, every slot
// holding one.
std::string gFullDir;

void buildFullStore()
{
    if (!gFullDir.empty())
        return;
    gFullDir = makeDir();
    EventHeaderFileData h;
    h.getEventHeader().End = 50000;
    h.getEventHeader().NumberOfEvent = 50000;
    std::vector<unsigned char> file(512 + 192u * 50000u, 0);
    for (KX_U32 s = 0; s < 50000; ++s) {
        Event e = fake::makeEvent(s + 1);
        ServiceEvent se;
        std::memset(&se, 0, sizeof se);
        se.kxevent = e;
        unsigned char *slot = file.data() + 512 + 192u * s;
        slot[0] = slot[1] = 1;
        std::memcpy(slot + 8, &se, sizeof se);
    }
    unsigned char img[EventHeaderFileData::RECORD_SIZE];
    h.image(img);
    std::memcpy(file.data(), img, sizeof img);
    std::ofstream out(gFullDir + "/ar_kx_raid.ev", std::ios::binary);
    out.write(reinterpret_cast<const char *>(file.data()), static_cast<std::streamsize>(file.size()));
}

// Readers take the store's shared lock; the Unlocked variants read the
// same way without it, so that one run shows what the lock costs.
void readPage(benchmark::State &state, KX_U32 start, bool locked = true)
{
    buildFullStore();
    setenv("ARRAY_DB_DIR", gFullDir.c_str(), 1);
    ServiceEvent page[25];
    for (auto _ : state) {
        KX_U32 count = 25;
        if (locked)
            QTA_GetEvent(start, &count, page);
        else
            chronicle::getEventsUnlocked(start, &count, page);
        if (count != 25)
            state.SkipWithError("short page");
        benchmark::DoNotOptimize(page);
    }
}

void BM_GetEventNewest25(benchmark::State &state) { readPage(state, 50000 - 25); }
void BM_GetEventOldest25(benchmark::State &state) { readPage(state, 0); }
void BM_GetEventNewest25Unlocked(benchmark::State &state) { readPage(state, 50000 - 25, false); }
BENCHMARK(BM_GetEventNewest25)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetEventNewest25Unlocked)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetEventOldest25)->Unit(benchmark::kMicrosecond);

void changeStatus(benchmark::State &state, bool locked)
{
    buildFullStore();
    setenv("ARRAY_DB_DIR", gFullDir.c_str(), 1);
    Event_ChangeCounters c;
    for (auto _ : state) {
        if (locked)
            QTA_GetEventChangeStatus(&c);
        else
            chronicle::getChangeStatusUnlocked(&c);
        benchmark::DoNotOptimize(c);
    }
}
void BM_ChangeStatus(benchmark::State &state) { changeStatus(state, true); }
void BM_ChangeStatusUnlocked(benchmark::State &state) { changeStatus(state, false); }
BENCHMARK(BM_ChangeStatus)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChangeStatusUnlocked)->Unit(benchmark::kMicrosecond);

void BM_IdleCapture(benchmark::State &state)
{
    const std::string dir = makeDir();
    fake::reset();
    fake::addAdapter("BENCH");
    fake::queueEvents(0, 1, 10);
    QTA_APIEventToFile();
    const uint64_t before = KXFileStream::syncCount();
    for (auto _ : state)
        QTA_APIEventToFile();
    state.counters["syncs"] = static_cast<double>(KXFileStream::syncCount() - before);
    removeDir(dir);
}
BENCHMARK(BM_IdleCapture)->Unit(benchmark::kMicrosecond);

extern "C" __attribute__((noinline)) void emptyCall() { benchmark::ClobberMemory(); }

void BM_EmptyCall(benchmark::State &state)
{
    for (auto _ : state)
        emptyCall();
}
BENCHMARK(BM_EmptyCall);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!gFullDir.empty())
        removeDir(gFullDir);
    return 0;
}
