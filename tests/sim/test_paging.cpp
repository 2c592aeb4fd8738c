// Paging of the list operations: type 1 from an index, type 2 by ID, never
// more than numRequested records.
#include "sim_fixture.h"

namespace {

std::string manyDisks(unsigned n)
{
    std::string s = "{\"adapters\":[{\"Adapter_Info\":{\"MaxHD_Ext\":512},\"pds\":[";
    for (unsigned i = 0; i < n; ++i) {
        if (i)
            s += ",";
        s += "{\"id\":" + std::to_string(i) + "}";
    }
    return s + "]}]}";
}

class Paging : public SimTest {};

TEST_F(Paging, ListThatFitsEndsAtOnce)
{
    ASSERT_EQ(KX_API_Initialize(), 0);  // writes the default controller
    ListBuffer<HD_Info> buf(128);
    ASSERT_EQ(KX_PD_GetHDInfo_Ext(0, buf.as<HD_Info_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 6);
    EXPECT_EQ(buf.header()->nextStartingIndex, KX_END_OF_LIST);
    for (uint16_t i = 0; i < 6; ++i)
        EXPECT_EQ(buf.at(i).Link.Self.DevID, i);
    EXPECT_TRUE(buf.guardIntact(6));
}

TEST_F(Paging, ThreeHundredDisksOverSeveralPages)
{
    writeFixture(manyDisks(300));
    ASSERT_EQ(KX_API_Initialize(), 0);
    ListBuffer<HD_Info> buf(128);
    std::vector<uint16_t> seen, counts, nexts;
    uint16_t start = 0;
    for (int call = 0; call < 10; ++call) {
        buf.clearRecords();
        buf.header()->startingIndexOrId = start;
        ASSERT_EQ(KX_PD_GetHDInfo(0, buf.as<HD_Info_Request>()), 0);
        uint16_t n = buf.header()->numReturned;
        ASSERT_LE(n, 128);
        EXPECT_TRUE(buf.guardIntact(128));
        for (uint16_t i = 0; i < n; ++i)
            seen.push_back(buf.at(i).Link.Self.DevID);
        counts.push_back(n);
        nexts.push_back(buf.header()->nextStartingIndex);
        if (buf.header()->nextStartingIndex == KX_END_OF_LIST)
            break;
        start = buf.header()->nextStartingIndex;
    }
    EXPECT_EQ(counts, (std::vector<uint16_t>{128, 128, 44}));
    EXPECT_EQ(nexts, (std::vector<uint16_t>{128, 256, KX_END_OF_LIST}));
    ASSERT_EQ(seen.size(), 300u);
    for (uint16_t i = 0; i < 300; ++i)
        EXPECT_EQ(seen[i], i);
}

TEST_F(Paging, ExactlyFullPageStillEnds)
{
    writeFixture(manyDisks(128));
    ListBuffer<HD_Config> buf(128);
    ASSERT_EQ(KX_PD_GetConfig(0, buf.as<HD_Config_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 128);
    EXPECT_EQ(buf.header()->nextStartingIndex, KX_END_OF_LIST);
}

TEST_F(Paging, NeverMoreThanRequested)
{
    writeFixture(manyDisks(10));
    ListBuffer<HD_RAID_Status> buf(3);
    ASSERT_EQ(KX_PD_GetHDRaidStatus(0, buf.as<HD_RAID_Status_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 3);
    EXPECT_EQ(buf.header()->nextStartingIndex, 3);
    EXPECT_TRUE(buf.guardIntact(3));
}

TEST_F(Paging, ByIdReturnsThatObject)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    ListBuffer<LD_Info> buf(1);
    buf.header()->requestType = KX_REQUEST_BY_ID;
    buf.header()->startingIndexOrId = 0;
    ASSERT_EQ(KX_LD_GetInfo(0, buf.as<LD_Info_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 1);
    EXPECT_EQ(buf.header()->nextStartingIndex, KX_END_OF_LIST);
    EXPECT_EQ(buf.at(0).ID, 0);
    EXPECT_EQ(textOf(buf.at(0).Name, 16), "data");
}

TEST_F(Paging, ByIdForMissingObjectFailsWithoutRecord)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    // One buffer large enough for any record; each call gets a missing ID.
    ListBuffer<DG_Info> buf(1);
    auto prep = [&](uint16_t id) {
        buf.clearRecords();
        buf.header()->requestType = KX_REQUEST_BY_ID;
        buf.header()->startingIndexOrId = id;
        buf.header()->numRequested = 1;
        buf.header()->numReturned = 77;
    };
    prep(42);
    EXPECT_NE(KX_PD_GetHDInfo_Ext(0, buf.as<HD_Info_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 0);
    EXPECT_TRUE(buf.guardIntact(0));
    prep(9);
    EXPECT_NE(KX_LD_GetInfo(0, buf.as<LD_Info_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 0);
    EXPECT_TRUE(buf.guardIntact(0));
    prep(5);
    EXPECT_NE(KX_DG_GetInfo(0, buf.as<DG_Info_Request>()), 0);
    EXPECT_TRUE(buf.guardIntact(0));
    prep(900);
    EXPECT_NE(KX_BLK_GetInfo(0, buf.as<Block_Info_Request>()), 0);
    EXPECT_TRUE(buf.guardIntact(0));
    prep(3);
    EXPECT_NE(KX_PD_GetExpanderInfo(0, buf.as<Exp_Info_Request>()), 0);
    EXPECT_TRUE(buf.guardIntact(0));
    prep(0);
    EXPECT_NE(KX_PD_GetPMInfo(0, buf.as<PM_Info_Request>()), 0);  // the default has no PM
    EXPECT_TRUE(buf.guardIntact(0));
}

TEST_F(Paging, StartBeyondTheEndIsEmpty)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    ListBuffer<Block_Info> buf(16);
    buf.header()->startingIndexOrId = 100;
    ASSERT_EQ(KX_BLK_GetInfo(0, buf.as<Block_Info_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 0);
    EXPECT_EQ(buf.header()->nextStartingIndex, KX_END_OF_LIST);
    EXPECT_TRUE(buf.guardIntact(0));
}

TEST_F(Paging, RequestsWithoutRoomOrOfUnknownTypeAreRefused)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    ListBuffer<HD_Info> buf(4);
    buf.header()->numRequested = 0;
    EXPECT_NE(KX_PD_GetHDInfo(0, buf.as<HD_Info_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 0);
    EXPECT_EQ(buf.header()->nextStartingIndex, KX_END_OF_LIST);
    EXPECT_TRUE(buf.guardIntact(0));
    buf.header()->numRequested = 4;
    buf.header()->requestType = 3;
    EXPECT_NE(KX_PD_GetHDInfo(0, buf.as<HD_Info_Request>()), 0);
    EXPECT_TRUE(buf.guardIntact(0));
    EXPECT_NE(KX_PD_GetHDInfo(0, nullptr), 0);
}

TEST_F(Paging, UnknownAdapterIsRefused)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    ListBuffer<HD_Info> buf(4);
    EXPECT_EQ(KX_PD_GetHDInfo(1, buf.as<HD_Info_Request>()), 13);
    EXPECT_EQ(KX_PD_GetHDInfo(0xFF, buf.as<HD_Info_Request>()), 13);
    EXPECT_TRUE(buf.guardIntact(0));
}

TEST_F(Paging, PulledDiskLeavesTheLists)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0},{"id":1,"state":"missing"},{"id":2}],
        "blocks":[{"id":0,"pd":1,"vd":0},{"id":1,"pd":2,"vd":0}],
        "vds":[{"id":0,"raid":1,"blocks":[0,1]}]}]})");
    ListBuffer<HD_Info> pds(8);
    ASSERT_EQ(KX_PD_GetHDInfo_Ext(0, pds.as<HD_Info_Request>()), 0);
    ASSERT_EQ(pds.header()->numReturned, 2);
    EXPECT_EQ(pds.at(0).Link.Self.DevID, 0);
    EXPECT_EQ(pds.at(1).Link.Self.DevID, 2);
    ListBuffer<LD_Info> vds(1);
    ASSERT_EQ(KX_LD_GetInfo(0, vds.as<LD_Info_Request>()), 0);
    EXPECT_EQ(vds.at(0).BlockIDs[0], 0xFFFF);  // its block is gone with the disk
    EXPECT_EQ(vds.at(0).BlockIDs[1], 1);
    EXPECT_EQ(vds.at(0).Status, 1);  // degraded
}

}  // namespace
