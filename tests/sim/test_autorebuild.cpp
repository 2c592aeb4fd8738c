// The controller's own rebuild: a member fails and a spare that fits takes
// its place, where the adapter's (and the VD's) automatic rebuild is on.
#include "sim_fixture.h"

#include <unistd.h>

#include <utility>

namespace {

// The queued events as (class, code), oldest first.
std::vector<std::pair<int, int>> eventCodes()
{
    std::vector<std::pair<int, int>> all;
    for (const Event &e : drainEvents())
        all.emplace_back(int(e.Class), int(e.Code));
    return all;
}

uint8_t pdStatus(uint16_t pd)
{
    return readById<HD_RAID_Status>(KX_PD_GetHDRaidStatus, pd).Status;
}

LD_Status vdStatus(uint16_t vd)
{
    return readById<LD_Status>(KX_LD_GetStatus, vd);
}

DG_Info arrayInfo(uint16_t dg)
{
    return readById<DG_Info>(KX_DG_GetInfo, dg);
}

std::vector<uint16_t> arrayDisks(const DG_Info &g)
{
    std::vector<uint16_t> out;
    for (unsigned i = 0; i < g.PDCount; ++i)
        out.push_back(g.PDIDs[i]);
    return out;
}

// A RAID1 VD on an adapter without arrays; three global spares: PD 2 too
// small for the member, PD 3 an SSD, PD 4 fits. A full rebuild rate and
// bgaSpeed 200 let a rebuild run for half a second.
std::string vdFixture(const char *adapterConfig, const char *vdKeys)
{
    return std::string(R"({"adapters":[{"Adapter_Info":{"MaxDiskGroup":0},"bgaSpeed":200,
        "Adapter_Config_V2":{"RebuildRate":250)") +
           adapterConfig + R"(},
        "pds":[{"id":0},{"id":1},{"id":2,"size":500,"spare":"global"},
               {"id":3,"ssd":true,"spare":"global"},{"id":4,"spare":"global"}],
        "vds":[{"id":0,"raid":1,"pds":[0,1],"size":1000,"initialized":true)" +
           vdKeys + "}]}]}";
}

class AutoRebuild : public SimTest {};

TEST_F(AutoRebuild, FailedMemberRebuildsOntoASpareThatFits)
{
    writeFixture(vdFixture("", ""));
    drainEvents();
    ASSERT_EQ(KX_PD_SetHDStatus(0, 1, 1), 0);
    LD_Status st = vdStatus(0);
    EXPECT_EQ(st.Status, 1);  // degraded while it rebuilds
    EXPECT_EQ(st.Bga, 1);
    EXPECT_EQ(st.BgaState, 1);
    EXPECT_EQ(pdStatus(4), 0x02);  // the spare that fits is a member
    EXPECT_EQ(pdStatus(2), 0x04);  // too small: still a spare
    EXPECT_EQ(pdStatus(3), 0x04);  // another kind: still a spare
    // Set down, degraded, the spare given up, the rebuild started.
    const std::vector<std::pair<int, int>> started = {{2, 2}, {1, 4}, {2, 10}, {1, 70}};
    EXPECT_EQ(eventCodes(), started);

    usleep(700000);
    st = vdStatus(0);
    EXPECT_EQ(st.Bga, 0);
    EXPECT_EQ(st.Status, 15);  // functional again
    const std::vector<std::pair<int, int>> completed = {{1, 75}};
    EXPECT_EQ(eventCodes(), completed);
}

TEST_F(AutoRebuild, OffOnTheAdapterOrTheVdTheVdStaysDegraded)
{
    for (const auto &fixture : {vdFixture(R"(,"AutoRebuildOn":0)", ""), vdFixture("", R"(,"autoRebuild":false)")}) {
        SCOPED_TRACE(fixture);
        writeFixture(fixture);
        drainEvents();
        ASSERT_EQ(KX_PD_SetHDStatus(0, 1, 1), 0);
        LD_Status st = vdStatus(0);
        EXPECT_EQ(st.Status, 1);
        EXPECT_EQ(st.Bga, 0);
        EXPECT_EQ(pdStatus(4), 0x04);
        const std::vector<std::pair<int, int>> failed = {{2, 2}, {1, 4}};
        EXPECT_EQ(eventCodes(), failed);
    }
}

TEST_F(AutoRebuild, ArraysTakeTheirOwnOrGlobalSparesOnly)
{
    // Array 0: RAID5 on PDs 0-2 with VD 0; array 1: RAID1 on PDs 3-4 with
    // VD 1; PD 5 is a spare of array 1. A pulled disk counts as failed.
    writeFixture(R"({"adapters":[{"bgaSpeed":0.001,
        "pds":[{"id":0},{"id":1},{"id":2},{"id":3},{"id":4},{"id":5,"spare":1},{"id":6}],
        "arrays":[{"id":0,"raid":5,"pds":[0,1,2]},{"id":1,"raid":1,"pds":[3,4]}],
        "vds":[{"id":0,"array":0,"raid":5,"pds":[0,1,2],"size":2000},
               {"id":1,"array":1,"raid":1,"pds":[3,4],"size":1000}]}]})");
    ASSERT_EQ(KX_PD_SetHDStatus(0, 1, 1), 0);
    DG_Info g0 = arrayInfo(0);
    EXPECT_EQ(g0.Status, 1);
    EXPECT_EQ(g0.BgaType, 0);
    EXPECT_EQ(pdStatus(5), 0x40);  // array 1's spare is not array 0's

    ASSERT_EQ(KX_PD_FreeHD2GlobalSpare(0, 6), 0);
    ASSERT_EQ(KX_PD_SetHDStatus(0, 3, 1), 0);
    DG_Info g1 = arrayInfo(1);
    EXPECT_EQ(g1.BgaType, 1);
    EXPECT_EQ(arrayDisks(g1), (std::vector<uint16_t>{5, 4}));  // its own spare first
    EXPECT_EQ(pdStatus(6), 0x04);
    // Array 0 rebuilds when another of its members is lost, onto the
    // global spare: with its VD, whose block moves to the new disk.
    drainEvents();
    ASSERT_EQ(KX_PD_SetHDStatus(0, 1, 0), 0);
    ASSERT_EQ(KX_PD_WipeHDMDD(0, 1, 1), 0);
    g0 = arrayInfo(0);
    EXPECT_EQ(g0.BgaType, 1);
    EXPECT_EQ(arrayDisks(g0), (std::vector<uint16_t>{0, 6, 2}));
    EXPECT_EQ(pdStatus(6), 0x02);
    // Back online, degraded by the wipe, the spare given up, the rebuild
    // started.
    const std::vector<std::pair<int, int>> events = {{2, 1}, {1, 1}, {1, 4}, {2, 10}, {1, 70}};
    std::vector<std::pair<int, int>> got = eventCodes();
    ASSERT_GE(got.size(), events.size());
    got.resize(events.size());
    EXPECT_EQ(got, events);
}

}  // namespace
