// Events, faults, VD deletion and background activities of the model.
#include "sim_fixture.h"

#include <algorithm>
#include <ctime>

#include <sys/wait.h>

#include "record_json.h"

namespace {

std::vector<Event> drain(KX_U8 adapter = 0)
{
    std::vector<Event> all;
    for (;;) {
        Event buf[50];
        KX_U8 n = 0;
        EXPECT_EQ(KX_EVT_GetEvent(adapter, 50, &n, buf), 0);
        all.insert(all.end(), buf, buf + n);
        if (n < 50)
            return all;
    }
}

int64_t nowMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

class Events : public SimTest {};

TEST_F(Events, FixtureEventsComeFirstAndSequenceOnlyGrows)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0}],"vds":[{"id":0,"name":"v","raid":0,"pds":[0]}],
        "events":[{"Event":{"Class":1,"Code":26,"DeviceID":3,"Params":[40,0,0,0],"Severity":2,"SequenceNo":40}},
                  {"Event":{"Class":2,"Code":1,"DeviceID":0}}]}]})");
    // Part of one drain, then the rest with the model's own event in between.
    Event one[1];
    KX_U8 n = 0;
    ASSERT_EQ(KX_EVT_GetEvent(0, 1, &n, one), 0);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(one[0].SequenceNo, 40u);
    EXPECT_EQ(one[0].Code, 26);
    EXPECT_EQ(one[0].Params[0], 40u);
    ASSERT_EQ(KX_LD_Delete(0, 0, 1), 0);
    std::vector<Event> rest = drain();
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].SequenceNo, 41u);  // the second fixture event got the next number
    EXPECT_EQ(rest[0].Class, 2);
    EXPECT_EQ(rest[1].SequenceNo, 42u);
    EXPECT_EQ(rest[1].Class, 1);
    EXPECT_EQ(rest[1].Code, 3);
    EXPECT_TRUE(drain().empty());

    // A flush empties the queue but the numbers go on.
    Adapter_Config_V2 cfg;
    KX_U8 count = 0;
    ASSERT_EQ(KX_Adapter_GetConfig(0, &count, &cfg), 0);
    cfg.AlarmOn = !cfg.AlarmOn;
    ASSERT_EQ(KX_Adapter_SetConfig(0, &cfg), 0);
    ASSERT_EQ(KX_EVT_FlushEvent(0), 0);
    EXPECT_TRUE(drain().empty());
    cfg.AlarmOn = !cfg.AlarmOn;
    ASSERT_EQ(KX_Adapter_SetConfig(0, &cfg), 0);
    std::vector<Event> after = drain();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].SequenceNo, 44u);
    EXPECT_EQ(after[0].Class, 0);
}

TEST_F(Events, DefaultControllerAnnouncesItself)
{
    std::vector<Event> ev = drain();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].Class, 0);
    EXPECT_EQ(ev[0].Code, 9);
    EXPECT_GT(ev[0].SenseDataLength, 0);
    KX_U8 count = 0;
    Adapter_Info info;
    ASSERT_EQ(KX_Adapter_GetInfo(0, &count, &info), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(ev[0].SenseData), ev[0].SenseDataLength),
              textOf(info.SerialNo, 20));
}

TEST_F(Events, GetEventKeepsToItsMaximum)
{
    writeFixture(R"({"adapters":[{"events":[{"Event":{}},{"Event":{}},{"Event":{}}]}]})");
    Event buf[3];
    std::memset(buf, 0xAB, sizeof buf);
    KX_U8 n = 9;
    ASSERT_EQ(KX_EVT_GetEvent(0, 2, &n, buf), 0);
    EXPECT_EQ(n, 2);
    const unsigned char *raw = reinterpret_cast<const unsigned char *>(&buf[2]);
    EXPECT_TRUE(std::all_of(raw, raw + sizeof(Event), [](unsigned char c) { return c == 0xAB; }));
    EXPECT_LT(buf[0].SequenceNo, buf[1].SequenceNo);
    ASSERT_EQ(KX_EVT_GetEvent(0, 0, &n, buf), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(drain().size(), 1u);
}

class Faults : public SimTest {};

TEST_F(Faults, FaultedOperationReturnsItsStatusAndDoesNothing)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0}],"vds":[{"id":0,"pds":[0]}],
        "faults":{"KX_PD_GetHDInfo_Ext":19,"KX_LD_Delete":58,"KX_EVT_GetEvent":1},
        "events":[{"Event":{"Code":5}}]}]})");
    ListBuffer<HD_Info> buf(4);
    EXPECT_EQ(KX_PD_GetHDInfo_Ext(0, buf.as<HD_Info_Request>()), 19);
    EXPECT_EQ(buf.header()->numReturned, 0);
    EXPECT_TRUE(buf.guardIntact(0));
    EXPECT_EQ(KX_PD_GetHDInfo(0, buf.as<HD_Info_Request>()), 0);  // the older call still works
    EXPECT_EQ(buf.header()->numReturned, 1);

    EXPECT_EQ(KX_LD_Delete(0, 0, 1), 58);
    ListBuffer<LD_Info> vd(2);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    EXPECT_EQ(vd.header()->numReturned, 1);  // still there

    Event ev[4];
    KX_U8 n = 7;
    EXPECT_EQ(KX_EVT_GetEvent(0, 4, &n, ev), 1);
    EXPECT_EQ(n, 7);  // untouched
}

// A counted fault strikes the n-th call of its operation only, or (onward)
// that call and every later one; the calls of other operations do not count.
TEST_F(Faults, CountedFaultStrikesTheNthCallOnceOrOnward)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0}],"vds":[{"id":0,"pds":[0]}],
        "faults":{"KX_PD_GetHDInfo_Ext":{"status":19,"call":2},
                  "KX_LD_GetInfo":{"status":58,"call":2,"onward":true}}}]})");
    ListBuffer<HD_Info> pd(2);
    ListBuffer<LD_Info> vd(2);
    std::vector<int> pdAnswers, vdAnswers;
    for (int i = 0; i < 3; ++i) {
        pdAnswers.push_back(KX_PD_GetHDInfo_Ext(0, pd.as<HD_Info_Request>()));
        vdAnswers.push_back(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()));
    }
    EXPECT_EQ(pdAnswers, (std::vector<int>{0, 19, 0}));
    EXPECT_EQ(vdAnswers, (std::vector<int>{0, 58, 58}));
    // The counts are written back with the entries.
    const sim::json doc = sim::json::parse(readState());
    EXPECT_EQ(doc["adapters"][0]["faults"]["KX_PD_GetHDInfo_Ext"]["made"], 3);
    EXPECT_EQ(doc["adapters"][0]["faults"]["KX_LD_GetInfo"]["onward"], true);
}

// "*" counts the calls of every operation: the first n go through, the
// next fails, once; an adapter's entry also counts calls without adapter.
TEST_F(Faults, AnyOperationFailsAfterNCalls)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0}],"faults":{"*":{"status":4,"call":4}}}]})");
    ListBuffer<HD_Info> pd(2);
    ListBuffer<HD_Config> cfg(2);
    EXPECT_EQ(KX_Adapter_GetCount(), 1);
    EXPECT_EQ(KX_PD_GetHDInfo_Ext(0, pd.as<HD_Info_Request>()), 0);
    EXPECT_EQ(KX_PD_GetConfig(0, cfg.as<HD_Config_Request>()), 0);
    EXPECT_EQ(KX_PD_GetHDInfo_Ext(0, pd.as<HD_Info_Request>()), 4);
    EXPECT_EQ(KX_PD_GetConfig(0, cfg.as<HD_Config_Request>()), 0);
    EXPECT_EQ(KX_API_RescanAdapter(), 0);
}

// Every call re-reads the state file, so a count must survive the process
// that made the call, also a faulted call that ends without a change.
TEST_F(Faults, CountsPersistAcrossProcesses)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0}],"faults":{"KX_PD_GetHDInfo_Ext":{"status":19,"call":2}}}]})");
    std::vector<int> answers;
    for (int i = 0; i < 3; ++i) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ListBuffer<HD_Info> pd(2);
            _exit(KX_PD_GetHDInfo_Ext(0, pd.as<HD_Info_Request>()));
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        answers.push_back(WEXITSTATUS(status));
    }
    EXPECT_EQ(answers, (std::vector<int>{0, 19, 0}));
    EXPECT_EQ(sim::json::parse(readState())["adapters"][0]["faults"]["KX_PD_GetHDInfo_Ext"]["made"], 3);
}

TEST_F(Faults, TopLevelFaultsCoverOperationsWithoutAdapter)
{
    writeFixture(R"({"adapters":[{}],"faults":{"KX_API_RescanAdapter":20}})");
    EXPECT_EQ(KX_API_RescanAdapter(), 20);
    EXPECT_EQ(KX_API_GetRescanCount(0), 0);
    EXPECT_EQ(KX_Adapter_GetCount(), 1);
}

class VdDelete : public SimTest {};

TEST_F(VdDelete, FreesBlocksUpdatesArrayAndQueuesEvent)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    drain();
    ListBuffer<LD_Info> vd(4);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    ASSERT_EQ(vd.header()->numReturned, 1);
    ASSERT_EQ(vd.at(0).BlkCount, 4);

    ASSERT_EQ(KX_LD_Delete(0, 0, 1), 0);

    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    EXPECT_EQ(vd.header()->numReturned, 0);
    ListBuffer<Block_Info> blk(16);
    ASSERT_EQ(KX_BLK_GetInfo(0, blk.as<Block_Info_Request>()), 0);
    ASSERT_EQ(blk.header()->numReturned, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(blk.at(i).Flags, 1) << i;  // free
        EXPECT_EQ(blk.at(i).LDID, 255) << i;
    }
    ListBuffer<HD_FreeSpaceInfo> fs(8);
    ASSERT_EQ(KX_PD_GetFreeSpaceInfo(0, fs.as<HD_FreeSpaceInfo_Request>()), 0);
    ListBuffer<HD_Info> pd(8);
    ASSERT_EQ(KX_PD_GetHDInfo_Ext(0, pd.as<HD_Info_Request>()), 0);
    EXPECT_EQ(kxU64Value(fs.at(0).Size), kxU64Value(pd.at(0).Size));
    ListBuffer<DG_Info> dg(1);
    ASSERT_EQ(KX_DG_GetInfo(0, dg.as<DG_Info_Request>()), 0);
    EXPECT_EQ(dg.at(0).VDSlotCount, 1);
    EXPECT_EQ(dg.at(0).VDIDs[0], 0xFFFF);
    EXPECT_EQ(kxU64Value(dg.at(0).RemainingManagedSpace), kxU64Value(dg.at(0).TotalManagedSpace));

    std::vector<Event> ev = drain();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].Class, 1);
    EXPECT_EQ(ev[0].Code, 3);
    EXPECT_EQ(ev[0].DeviceID, 0);
    char name[17] = {};
    std::memcpy(name, ev[0].Params, 16);
    EXPECT_STREQ(name, "data");

    EXPECT_EQ(KX_LD_Delete(0, 0, 1), 59);  // gone
    EXPECT_TRUE(drain().empty());
}

TEST_F(VdDelete, RunningActivityNeedsStopAndOsIsProtected)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0},{"id":1}],
        "vds":[{"id":0,"pds":[0],"raid":0,"bga":{"type":2,"state":"running","percent":10}},
               {"id":1,"pds":[1],"raid":0,"os":true}]}]})");
    EXPECT_EQ(KX_LD_Delete(0, 0, 0), 61);
    EXPECT_EQ(KX_LD_Delete(0, 1, 1), 158);
    EXPECT_EQ(KX_LD_Delete(0, 0, 1), 0);
    KX_U16 ids[1] = {1};
    EXPECT_EQ(KX_DiskHasOS(0, 0, 1, ids), 158);
    EXPECT_EQ(KX_DiskHasOS(0, 1, 1, ids), 158);  // PD 1 holds that VD
    ids[0] = 0;
    EXPECT_EQ(KX_DiskHasOS(0, 1, 1, ids), 0);
    EXPECT_NE(KX_DiskHasOS(0, 0, 1, ids), 0);  // VD 0 is gone
}

class Activities : public SimTest {};

TEST_F(Activities, ProgressFollowsTheClockAndTheRate)
{
    int64_t since = nowMs() - 20000;
    writeFixture(std::string(R"({"adapters":[{"Adapter_Config_V2":{"SyncRate":125,"RebuildRate":250},
        "pds":[{"id":0},{"id":1},{"id":2,"bga":{"type":1,"state":"running","percent":0,"since":)") +
                 std::to_string(since) + R"(}}],
        "vds":[{"id":0,"raid":0,"pds":[0],"bga":{"type":2,"state":"running","percent":10,"since":)" +
                 std::to_string(since) + R"(}},
               {"id":1,"raid":0,"pds":[1],"bga":{"type":1,"state":"paused","percent":33,"since":)" +
                 std::to_string(since) + R"(}}]}]})");
    ListBuffer<LD_Status> st(4);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    ASSERT_EQ(st.header()->numReturned, 2);
    // 20 s at 1 %/s scaled by a rate of 125 of 250: 10 % more.
    EXPECT_GE(st.at(0).BgaPercentage, 19);
    EXPECT_LE(st.at(0).BgaPercentage, 21);
    EXPECT_EQ(st.at(0).Bga, 2);
    EXPECT_EQ(st.at(0).BgaState, 1);
    EXPECT_EQ(st.at(1).BgaPercentage, 33);  // paused
    EXPECT_EQ(st.at(1).BgaState, 3);
    ListBuffer<HD_BGA_Status> pb(4);
    ASSERT_EQ(KX_PD_GetBGAStatus(0, pb.as<HD_BGA_Status_Request>()), 0);
    EXPECT_EQ(pb.at(2).Bga, 1);
    EXPECT_EQ(pb.at(2).BgaStatus, 1);
    EXPECT_GE(pb.at(2).Percentage, 5);  // media patrol rate 75 of 250
    EXPECT_LE(pb.at(2).Percentage, 7);
    ListBuffer<HD_RAID_Status> rs(4);
    ASSERT_EQ(KX_PD_GetHDRaidStatus(0, rs.as<HD_RAID_Status_Request>()), 0);
    EXPECT_TRUE(rs.at(2).Status & 0x20);
}

TEST_F(Activities, CompletionChangesTheModelOnceAndQueuesEvents)
{
    int64_t since = nowMs() - 1000000;
    writeFixture(std::string(R"({"adapters":[{"pds":[{"id":0},{"id":1}],
        "vds":[{"id":0,"raid":1,"pds":[0,1],"bga":{"type":8,"state":"running","percent":90,"since":)") +
                 std::to_string(since) + R"(},"LD_Status":{"BgaPercentage":90}}]}]})");
    ListBuffer<LD_Status> st(2);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).Bga, 0);
    EXPECT_EQ(st.at(0).BgaState, 0);
    EXPECT_EQ(st.at(0).BgaPercentage, 0);  // the fixture's value described the finished activity
    EXPECT_EQ(st.at(0).Status, 15);        // functional and initialized
    std::vector<Event> ev = drain();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].Class, 1);
    EXPECT_EQ(ev[0].Code, 45);  // fast initialization completed
    EXPECT_EQ(ev[0].DeviceID, 0);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_TRUE(drain().empty());
}

}  // namespace

namespace {

class Control : public SimTest {};

TEST_F(Control, PauseResumeStopFollowTheStateMachine)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0}],
        "vds":[{"id":0,"raid":0,"pds":[0],"bga":{"type":2,"state":"running","percent":30}}]}]})");
    drain();
    ASSERT_EQ(KX_LD_BGAControl(0, 0, 2), 0);  // pause
    ListBuffer<LD_Status> st(1);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).BgaState, 3);
    uint16_t frozen = st.at(0).BgaPercentage;
    EXPECT_GE(frozen, 30);
    EXPECT_EQ(KX_LD_BGAControl(0, 0, 2), 153);  // not running any more
    ASSERT_EQ(KX_LD_BGAControl(0, 0, 3), 0);    // resume
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).BgaState, 1);
    EXPECT_GE(st.at(0).BgaPercentage, frozen);
    ASSERT_EQ(KX_LD_BGAControl(0, 0, 4), 0);    // stop
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).Bga, 0);
    EXPECT_EQ(st.at(0).BgaState, 0);
    EXPECT_EQ(KX_LD_BGAControl(0, 0, 4), 153);
    EXPECT_EQ(KX_LD_BGAControl(0, 0, 7), 0);    // nothing left to stop is fine
    EXPECT_EQ(KX_LD_BGAControl(0, 0, 9), 153);
    EXPECT_EQ(KX_LD_BGAControl(0, 5, 2), 59);
    std::vector<Event> ev = drain();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].Code, 22);  // consistency check paused
    EXPECT_EQ(ev[1].Code, 23);  // resumed
    EXPECT_EQ(ev[2].Code, 24);  // aborted
}

TEST_F(Control, PauseAllPausesEveryRunningActivity)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0,"bga":{"type":1,"state":"running"}},{"id":1}],
        "vds":[{"id":0,"raid":0,"pds":[1],"bga":{"type":16,"state":"running"}}]}]})");
    drain();
    ASSERT_EQ(KX_LD_PauseAll(0), 0);
    ListBuffer<LD_Status> st(1);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).BgaState, 3);
    ListBuffer<HD_BGA_Status> pb(2);
    ASSERT_EQ(KX_PD_GetBGAStatus(0, pb.as<HD_BGA_Status_Request>()), 0);
    EXPECT_EQ(pb.at(0).BgaStatus, 3);
    EXPECT_EQ(drain().size(), 2u);
    EXPECT_EQ(KX_LD_PauseAll(3), 13);
}

TEST_F(Control, UnmodelledOperationsSayNotSupportedUnlessFaulted)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0}],"faults":{"KX_LD_Import":80}}]})");
    EXPECT_EQ(KX_PHY_Status(0, 0, nullptr), 19);
    EXPECT_EQ(KX_LD_Import(0, 0), 80);
    EXPECT_EQ(KX_PHY_Status(4, 0, nullptr), 13);
}

}  // namespace
