// Several processes on one state file: no change is lost, and a process
// killed in the middle of a write leaves a readable state.
#include "sim_fixture.h"

#include <csignal>
#include <random>

#include <sys/wait.h>

#include "model.h"

namespace {

class Processes : public SimTest {};

pid_t spawn(void (*work)(int), int arg)
{
    pid_t pid = fork();
    if (pid == 0) {
        work(arg);
        _exit(0);
    }
    return pid;
}

bool exitedCleanly(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void rescanMany(int n)
{
    for (int i = 0; i < n; ++i)
        if (KX_API_RescanAdapter() != 0)
            _exit(2);
}

void deleteVd(int vd)
{
    // Interleave with the other process's changes.
    for (int i = 0; i < 50; ++i)
        KX_API_RescanAdapter();
    if (KX_LD_Delete(0, static_cast<KX_U16>(vd), 1) != 0)
        _exit(3);
}

TEST_F(Processes, ConcurrentChangesAreNotLost)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0},{"id":1}],
        "vds":[{"id":0,"name":"a","raid":0,"pds":[0]},{"id":1,"name":"b","raid":0,"pds":[1]}]}]})");
    ASSERT_EQ(KX_API_Initialize(), 0);  // the parent has the state cached
    pid_t a = spawn(rescanMany, 150);
    pid_t b = spawn(rescanMany, 150);
    pid_t c = spawn(deleteVd, 0);
    pid_t d = spawn(deleteVd, 1);
    EXPECT_TRUE(exitedCleanly(a));
    EXPECT_TRUE(exitedCleanly(b));
    EXPECT_TRUE(exitedCleanly(c));
    EXPECT_TRUE(exitedCleanly(d));
    EXPECT_EQ(KX_API_GetRescanCount(0), 400);
    ListBuffer<LD_Info> vd(4);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    EXPECT_EQ(vd.header()->numReturned, 0);
    Event ev[8];
    KX_U8 n = 0;
    ASSERT_EQ(KX_EVT_GetEvent(0, 8, &n, ev), 0);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(ev[0].Code, 3);
    EXPECT_EQ(ev[1].Code, 3);
    EXPECT_NE(ev[0].DeviceID, ev[1].DeviceID);
    EXPECT_LT(ev[0].SequenceNo, ev[1].SequenceNo);
}

void rescanForever(int)
{
    for (;;)
        KX_API_RescanAdapter();
}

TEST_F(Processes, KilledWriterLeavesReadableState)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    std::mt19937 rng(12345);
    unsigned last = 0;
    for (int round = 0; round < 12; ++round) {
        pid_t w = spawn(rescanForever, 0);
        // Let the writer get going (it is slow to start under the
        // sanitizers), then kill it at a random point of its writes.
        for (int wait = 0; wait < 500; ++wait) {
            sim::State probe;
            std::string e;
            if (sim::loadStateFile(m_path, probe, e) && probe.adapters.size() == 1 &&
                probe.adapters[0].rescanCount > last)
                break;
            usleep(10000);
        }
        usleep(rng() % 20000);
        kill(w, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(w, &status, 0), w);
        ASSERT_TRUE(WIFSIGNALED(status));
        // The file itself is whole, whatever the writer was doing.
        sim::State s;
        std::string err;
        ASSERT_TRUE(sim::loadStateFile(m_path, s, err)) << err;
        ASSERT_EQ(s.adapters.size(), 1u);
        EXPECT_GE(s.adapters[0].rescanCount, last);
        testing::internal::CaptureStderr();
        EXPECT_EQ(KX_API_Initialize(), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        unsigned now = KX_API_GetRescanCount(0);
        EXPECT_EQ(now, s.adapters[0].rescanCount);
        last = now;
    }
    EXPECT_GT(last, 0u);
}

TEST_F(Processes, LeftoverTemporaryFileIsHarmless)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    ASSERT_EQ(KX_API_RescanAdapter(), 0);
    {
        std::ofstream half(m_path + ".tmp", std::ios::binary);
        half << "{\"adapters\":[{\"pds\":[";  // what a killed writer leaves
    }
    ASSERT_EQ(KX_API_Initialize(), 0);
    EXPECT_EQ(KX_API_GetRescanCount(0), 1);
    ASSERT_EQ(KX_API_RescanAdapter(), 0);
    sim::State s;
    std::string err;
    ASSERT_TRUE(sim::loadStateFile(m_path, s, err)) << err;
    EXPECT_EQ(s.adapters[0].rescanCount, 2);
}

TEST_F(Processes, ChangeByAnotherProcessIsSeen)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    ListBuffer<LD_Info> vd(4);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    ASSERT_EQ(vd.header()->numReturned, 1);
    pid_t p = spawn(deleteVd, 0);
    ASSERT_TRUE(exitedCleanly(p));
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    EXPECT_EQ(vd.header()->numReturned, 0);
}

}  // namespace
