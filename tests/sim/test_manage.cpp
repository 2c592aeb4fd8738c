// Settings, spares, disk status, rebuild and the other operations that
// change single objects.
#include "sim_fixture.h"

#include <unistd.h>

namespace {

HD_RAID_Status raidStatus(uint16_t pd)
{
    return readById<HD_RAID_Status>(KX_PD_GetHDRaidStatus, pd);
}

LD_Info vdInfo(uint16_t vd)
{
    return readById<LD_Info>(KX_LD_GetInfo, vd);
}

class Manage : public SimTest {};

TEST_F(Manage, SparesFollowTheirRules)
{
    ASSERT_EQ(KX_API_Initialize(), 0);  // default: array 0 on PDs 0-3, PD 4 global spare, PD 5 free SSD
    drainEvents();
    EXPECT_EQ(KX_PD_FreeHD2GlobalSpare(0, 0), 56);  // a member
    EXPECT_EQ(KX_PD_FreeHD2GlobalSpare(0, 4), 54);  // already a spare
    EXPECT_EQ(KX_PD_FreeHD2DGSpare(0, 5, 0), 77);   // the SSD is smaller than the members
    EXPECT_EQ(KX_PD_FreeHD2DGSpare(0, 5, 3), 17);
    EXPECT_EQ(KX_PD_Spare2FreeHD(0, 5), 53);        // not a spare
    ASSERT_EQ(KX_PD_Spare2FreeHD(0, 4), 0);
    EXPECT_EQ(raidStatus(4).Status, 0x01);
    ASSERT_EQ(KX_PD_FreeHD2DGSpare(0, 4, 0), 0);
    EXPECT_EQ(raidStatus(4).Status, 0x40);
    EXPECT_EQ(raidStatus(4).DGID, 0);
    ASSERT_EQ(KX_PD_FreeHD2GlobalSpare(0, 5), 0);
    EXPECT_EQ(raidStatus(5).Status, 0x04);
    std::vector<Event> ev = drainEvents();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].Code, 10);
    EXPECT_EQ(ev[1].Code, 9);
    EXPECT_EQ(ev[2].Code, 9);
    EXPECT_EQ(ev[2].DeviceID, 5);
}

TEST_F(Manage, FailedMemberDegradesAndRebuildRestores)
{
    // Automatic rebuild off: the rebuild is started by hand.
    writeFixture(R"({"adapters":[{"bgaSpeed":0.001,"Adapter_Config_V2":{"AutoRebuildOn":0},
        "pds":[{"id":0},{"id":1},{"id":2},{"id":3,"spare":"global"}],
        "vds":[{"id":0,"raid":1,"pds":[0,1],"size":1000}]}]})");
    drainEvents();
    ASSERT_EQ(KX_PD_SetHDStatus(0, 1, 1), 0);
    EXPECT_EQ(vdInfo(0).Status, 1);
    EXPECT_EQ(raidStatus(1).Status & 0x08, 0x08);
    std::vector<Event> ev = drainEvents();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].Class, 2);
    EXPECT_EQ(ev[0].Code, 2);  // set down
    EXPECT_EQ(ev[1].Class, 1);
    EXPECT_EQ(ev[1].Code, 4);  // degraded

    EXPECT_EQ(KX_LD_StartRebuild(0, 0, 0), 56);  // a member of it
    ASSERT_EQ(KX_LD_StartRebuild(0, 0, 3), 0);   // the spare takes over
    LD_Info v = vdInfo(0);
    EXPECT_EQ(v.Status, 1);  // still degraded while rebuilding
    EXPECT_EQ(v.BGAStatus, 1);
    ListBuffer<Block_Info> blk(1);
    blk.header()->requestType = KX_REQUEST_BY_ID;
    blk.header()->startingIndexOrId = v.BlockIDs[1];
    ASSERT_EQ(KX_BLK_GetInfo(0, blk.as<Block_Info_Request>()), 0);
    EXPECT_EQ(blk.at(0).HDID, 3);
    EXPECT_EQ(kxU64Value(blk.at(0).Size), 1000u);
    EXPECT_EQ(raidStatus(3).Status, 0x02);  // no spare any more, a member
    EXPECT_EQ(KX_LD_StartRebuild(0, 0, 2), 61);

    EXPECT_EQ(KX_LD_BGAControl(0, 0, 2), 0);
    ListBuffer<LD_Status> st(1);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).Bga, 1);
    EXPECT_EQ(st.at(0).BgaState, 3);
    ev = drainEvents();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].Class, 2);
    EXPECT_EQ(ev[0].Code, 10);  // no spare any more
    EXPECT_EQ(ev[0].DeviceID, 3);
    EXPECT_EQ(ev[1].Code, 70);  // rebuild started
    EXPECT_EQ(ev[2].Code, 72);  // paused
}

TEST_F(Manage, RebuildCompletesWithTime)
{
    writeFixture(R"({"adapters":[{"bgaSpeed":100000,
        "pds":[{"id":0},{"id":1,"state":"offline"},{"id":2}],
        "vds":[{"id":0,"raid":5,"blocks":[0,1,2]},{"id":1,"raid":0,"pds":[2],"size":10}],
        "blocks":[{"id":0,"pd":0,"size":100},{"id":1,"pd":1,"size":100},{"id":2,"pd":0,"start":100,"size":100}]}]})");
    ASSERT_EQ(vdInfo(0).Status, 1);
    ASSERT_EQ(KX_LD_StartRebuild(0, 0, 2), 56);  // PD 2 carries VD 1
    ASSERT_EQ(KX_LD_Delete(0, 1, 1), 0);
    ASSERT_EQ(KX_LD_StartRebuild(0, 0, 2), 0);
    usleep(20000);
    LD_Info v = vdInfo(0);
    EXPECT_EQ(v.Status, 0);
    EXPECT_EQ(v.BGAStatus, 0);
    std::vector<Event> ev = drainEvents();
    ASSERT_GE(ev.size(), 2u);
    EXPECT_EQ(ev.back().Code, 75);  // rebuild completed
}

TEST_F(Manage, ActivitiesStartOnlyWhereTheyApply)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0},{"id":1},{"id":2},{"id":3}],
        "vds":[{"id":0,"raid":0,"pds":[0]},{"id":1,"raid":1,"pds":[1,2]}]}]})");
    drainEvents();
    EXPECT_EQ(KX_LD_StartConsistencyCheck(0, 0, 1), 87);  // RAID0 has nothing to check
    ASSERT_EQ(KX_LD_StartConsistencyCheck(0, 1, 0), 0);
    EXPECT_EQ(KX_LD_StartINIT(0, 1, 2), 61);
    ListBuffer<LD_Status> st(2);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(1).Bga, 2);
    ASSERT_EQ(KX_LD_StartINIT(0, 0, 1), 0);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).Bga, 64);
    EXPECT_EQ(KX_PD_StartMediaPatrol(0, 3), 53);  // free disk
    ASSERT_EQ(KX_PD_StartMediaPatrol(0, 1), 0);
    EXPECT_EQ(KX_PD_StartMediaPatrol(0, 1), 63);
    EXPECT_EQ(raidStatus(1).Status & 0x20, 0x20);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(1).BgaExt & 0x02, 0x02);
    std::vector<Event> ev = drainEvents();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].Code, 20);  // check started
    EXPECT_EQ(ev[1].Code, 60);  // foreground initialization started
    EXPECT_EQ(ev[2].Class, 2);
    EXPECT_EQ(ev[2].Code, 17);  // media patrol started
}

TEST_F(Manage, SettingsWinOverFixtureValues)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0,"HD_Config":{"WriteCacheOn":1}}],
        "vds":[{"id":0,"raid":0,"pds":[0],"name":"old","LD_Config":{"Name":"fixture"}}]}]})");
    drainEvents();
    HD_Config c = {};
    c.WriteCacheOn = 0;
    c.SMARTOn = 1;
    ASSERT_EQ(KX_PD_SetConfig(0, 0, &c), 0);
    ListBuffer<HD_Config> hc(1);
    ASSERT_EQ(KX_PD_GetConfig(0, hc.as<HD_Config_Request>()), 0);
    EXPECT_EQ(hc.at(0).WriteCacheOn, 0);
    LD_Config lc = {};
    std::memcpy(lc.Name, "sixteen-chars-xx", 16);  // a full field has no NUL
    lc.CacheMode = 1;
    ASSERT_EQ(KX_LD_SetConfig(0, 0, &lc), 0);
    ListBuffer<LD_Config> cfg(1);
    ASSERT_EQ(KX_LD_GetConfig(0, cfg.as<LD_Config_Request>()), 0);
    EXPECT_EQ(textOf(cfg.at(0).Name, 16), "sixteen-chars-xx");
    EXPECT_EQ(cfg.at(0).CacheMode, 1);
    EXPECT_EQ(textOf(vdInfo(0).Name, 16), "sixteen-chars-xx");
    EXPECT_EQ(KX_LD_SetConfig(0, 7, &lc), 59);
    EXPECT_EQ(KX_PD_SetConfig(0, 0, nullptr), 7);
    std::vector<Event> ev = drainEvents();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].Code, 16);  // PD cache mode
    EXPECT_EQ(ev[1].Code, 6);   // VD cache mode
}

TEST_F(Manage, ArrayDeleteNeedsAnEmptyArray)
{
    ASSERT_EQ(KX_API_Initialize(), 0);
    drainEvents();
    ASSERT_EQ(KX_PD_Spare2FreeHD(0, 4), 0);
    ASSERT_EQ(KX_PD_FreeHD2DGSpare(0, 4, 0), 0);
    EXPECT_EQ(KX_DG_Delete(0, 0), 76);
    ASSERT_EQ(KX_LD_Delete(0, 0, 1), 0);
    ASSERT_EQ(KX_DG_Delete(0, 0), 0);
    EXPECT_EQ(KX_DG_Delete(0, 0), 17);
    EXPECT_EQ(raidStatus(4).Status, 0x01);  // its spare is free again
    EXPECT_EQ(raidStatus(0).Status, 0x01);
    std::vector<Event> ev = drainEvents();
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev.back().Class, 13);
    EXPECT_EQ(ev.back().Code, 1);
}

TEST_F(Manage, PartitionTablesLocateAndImport)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0,"partitioned":true},{"id":1},{"id":2,"os":true}],
        "vds":[{"id":0,"raid":0,"pds":[1],"status":7}]}]})");
    HD_MBR_Info m = {};
    m.HDCount = 3;
    m.HDIDs[0] = 0;
    m.HDIDs[1] = 1;
    m.HDIDs[2] = 2;
    ASSERT_EQ(KX_PD_GetMBRInfo(0, &m), 0);
    EXPECT_EQ(m.hasMBR[0], 1);
    EXPECT_EQ(m.hasMBR[1], 0);
    EXPECT_EQ(m.hasMBR[2], 1);
    m.HDIDs[1] = 9;
    EXPECT_EQ(KX_PD_GetMBRInfo(0, &m), 9);

    ASSERT_EQ(KX_LocateArrayDevice(0, 1, 1, 1), 0);
    ListBuffer<HD_Info> pd(1);
    pd.header()->requestType = KX_REQUEST_BY_ID;
    pd.header()->startingIndexOrId = 1;
    ASSERT_EQ(KX_PD_GetHDInfo_Ext(0, pd.as<HD_Info_Request>()), 0);
    EXPECT_EQ(pd.at(0).LocateLEDStatus, 1);
    EXPECT_EQ(KX_LocateArrayDevice(0, 2, 1, 1), 7);

    EXPECT_EQ(vdInfo(0).Status, 7);
    ASSERT_EQ(KX_LD_Import(0, 0), 0);
    EXPECT_EQ(vdInfo(0).Status, 0);
    EXPECT_EQ(KX_LD_Import(0, 0), 80);
}

}  // namespace

TEST_F(Manage, DiskStatusCodesRefuseWhatWouldTakeAVdOffline)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0},{"id":1},{"id":2,"spare":"global"}],
        "vds":[{"id":0,"raid":0,"pds":[0],"size":1000}]}]})");
    drainEvents();
    EXPECT_EQ(KX_PD_SetHDStatus(0, 0, 3), 7);
    EXPECT_EQ(KX_PD_SetHDStatus(0, 0, 1), 83);  // the RAID0 VD would go offline
    EXPECT_EQ(KX_PD_SetHDStatus(0, 2, 1), 83);  // a spare
    EXPECT_EQ(vdInfo(0).Status, 0);
    EXPECT_TRUE(drainEvents().empty());
    ASSERT_EQ(KX_PD_SetHDStatus(0, 0, 2), 0);  // forced
    EXPECT_EQ(vdInfo(0).Status, 4);
    ASSERT_EQ(KX_PD_SetHDStatus(0, 1, 1), 0);  // a free disk
    ASSERT_EQ(KX_PD_SetHDStatus(0, 0, 0), 0);  // back online
    EXPECT_EQ(vdInfo(0).Status, 0);
    EXPECT_EQ(raidStatus(1).Status & 0x08, 0x08);
}

TEST_F(Manage, AdapterRatesSerialBatteryActionsAndVdLinks)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0,"ssd":true},{"id":1},{"id":2},{"id":3,"spare":"global"}],
        "vds":[{"id":0,"raid":12,"pds":[0,1],"size":1000},{"id":1,"raid":0,"pds":[2],"size":1000}]}]})");
    drainEvents();
    Adapter_Config_V2 cfg;
    KX_U8 count = 0;
    ASSERT_EQ(KX_Adapter_GetConfig(0, &count, &cfg), 0);
    EXPECT_EQ(cfg.RebuildRate, 125);
    cfg.RebuildRate = 251;
    EXPECT_EQ(KX_Adapter_SetConfig(0, &cfg), 5);
    cfg.RebuildRate = 250;
    std::memcpy(cfg.SerialNo, "12345678901234567890", 20);  // a full field has no NUL
    std::memset(cfg.ModelNumber, 0, sizeof cfg.ModelNumber);  // empty: the adapter's own stays
    ASSERT_EQ(KX_Adapter_SetConfig(0, &cfg), 0);
    Adapter_Config_V2 back;
    ASSERT_EQ(KX_Adapter_GetConfig(0, &count, &back), 0);
    EXPECT_EQ(back.RebuildRate, 250);
    EXPECT_EQ(textOf(back.ModelNumber, 20), "KX-9200-8i SIM");
    Adapter_Info info;
    ASSERT_EQ(KX_Adapter_GetInfo(0, &count, &info), 0);
    EXPECT_EQ(textOf(info.SerialNo, 20), "12345678901234567890");
    std::vector<Event> ev = drainEvents();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].Code, 24);
    EXPECT_EQ(ev[0].Params[0], 100u);  // in percent, as the event text shows it

    // Battery: 0 relearn, 1 charge, 2 discharge, 3 stop.
    BBU_Info bbu;
    EXPECT_EQ(KX_BBU_ChangePower(0, 4), 7);
    ASSERT_EQ(KX_BBU_ChangePower(0, 0), 0);
    ASSERT_EQ(KX_BBU_ChangePower(0, 2), 0);
    ASSERT_EQ(KX_BBU_GetInfo(0, &bbu), 0);
    EXPECT_EQ(bbu.status & 0x34u, 0x30u);  // relearn, discharging, not charging
    ASSERT_EQ(KX_BBU_ChangePower(0, 3), 0);
    ASSERT_EQ(KX_BBU_GetInfo(0, &bbu), 0);
    EXPECT_EQ(bbu.status & 0x8034u, 0x8000u);
    ev = drainEvents();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].Code, 6);
    EXPECT_EQ(ev[1].Code, 16);
    EXPECT_EQ(ev[2].Code, 31);

    // The hard disk of a Tandem VD: its own member, or by 0xFFFF the
    // Tandem VD the disk belongs to.
    LD_Config lc = {};
    lc.TandemRebuildMode = 1;
    ASSERT_EQ(KX_LD_SetConfig(0, 0, &lc), 0);
    ListBuffer<LD_Config> lcb(1);
    ASSERT_EQ(KX_LD_GetConfig(0, lcb.as<LD_Config_Request>()), 0);
    EXPECT_EQ(lcb.at(0).TandemRebuildMode, 1);
    VDHDD_Link link = {};
    link.VDID = 0xFFFF;
    link.HDID = 1;
    EXPECT_EQ(KX_VDHDD_AddLink(0, &link), 0);
    link.HDID = 2;
    EXPECT_EQ(KX_VDHDD_AddLink(0, &link), 8);   // no Tandem VD on it
    link.VDID = 0;
    EXPECT_EQ(KX_VDHDD_AddLink(0, &link), 56);  // VD 1's disk
    link.HDID = 3;
    EXPECT_EQ(KX_VDHDD_AddLink(0, &link), 54);
    link.HDID = 0;
    EXPECT_EQ(KX_VDHDD_AddLink(0, &link), 7);   // the SSD itself
    link.VDID = 1;
    link.HDID = 1;
    EXPECT_EQ(KX_VDHDD_AddLink(0, &link), 6);   // not a Tandem VD
    link.VDID = 5;
    EXPECT_EQ(KX_VDHDD_AddLink(0, &link), 59);
}
