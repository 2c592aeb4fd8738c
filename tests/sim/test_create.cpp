// Creating VDs from disks or in arrays, and arrays from disks.
#include "sim_fixture.h"

namespace {

Create_LD_Param ldParam(uint8_t raid, std::vector<uint16_t> pds, uint64_t size = 0)
{
    Create_LD_Param p;
    std::memset(&p, 0, sizeof p);
    p.RaidMode = raid;
    p.HDCount = static_cast<KX_U8>(pds.size());
    for (size_t i = 0; i < pds.size(); ++i)
        p.HDIDs[i] = pds[i];
    p.StripeBlockSize = 64;
    p.SectorCoefficient = 1;
    p.LDID = 0xFFFF;
    std::memcpy(p.Name, "new", 3);
    p.Size = kxU64Make(size);  // MB
    p.ReservedForApp = size ? 1 : 0;
    return p;
}

const char kV1[] = R"({"adapters":[{"Adapter_Info":{"MaxDiskGroup":0,"LogicalDriverMode":19},
    "pds":[{"id":0,"size":2000000},{"id":1,"size":2000000},{"id":2,"size":2000000},
           {"id":3,"size":2000000,"spare":"global"},{"id":4,"size":2000000}]}]})";

class Create : public SimTest {};

TEST_F(Create, VdFromDisksTakesTheirSpace)
{
    writeFixture(kV1);
    Create_LD_Param p = ldParam(5, {0, 1, 2});
    ASSERT_EQ(KX_LD_Create(0, &p), 0);
    EXPECT_EQ(p.LDID, 0);
    EXPECT_EQ(kxU64Value(p.Size), 4000000u);
    ListBuffer<LD_Info> vd(2);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    ASSERT_EQ(vd.header()->numReturned, 1);
    EXPECT_EQ(textOf(vd.at(0).Name, 16), "new");
    EXPECT_EQ(vd.at(0).RaidMode, 5);
    EXPECT_EQ(vd.at(0).BlkCount, 3);
    EXPECT_EQ(kxU64Value(vd.at(0).Size), 4000000u);
    EXPECT_EQ(vd.at(0).BGAStatus, 1);  // quick initialisation runs
    ListBuffer<HD_FreeSpaceInfo> fs(8);
    ASSERT_EQ(KX_PD_GetFreeSpaceInfo(0, fs.as<HD_FreeSpaceInfo_Request>()), 0);
    EXPECT_EQ(kxU64Value(fs.at(0).Size), 0u);
    EXPECT_EQ(kxU64Value(fs.at(4).Size), 2000000u);
    std::vector<Event> ev = drainEvents();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].Code, 2);   // created
    EXPECT_EQ(ev[1].Code, 40);  // fast initialization started

    Create_LD_Param again = ldParam(5, {0, 1, 2});
    EXPECT_EQ(KX_LD_Create(0, &again), 4);  // no room left
    Create_LD_Param small = ldParam(0, {4}, 500);
    ASSERT_EQ(KX_LD_Create(0, &small), 0);
    EXPECT_EQ(small.LDID, 1);
    EXPECT_EQ(kxU64Value(small.Size), 512000u);  // asked in MB, answered in KiB
    Create_LD_Param used = ldParam(0, {4}, 500);
    used.LDID = 1;
    EXPECT_EQ(KX_LD_Create(0, &used), 8);  // that ID is taken
}

TEST_F(Create, VdRequestsAreChecked)
{
    writeFixture(kV1);
    Create_LD_Param p = ldParam(1, {0, 1, 2});
    EXPECT_EQ(KX_LD_Create(0, &p), 57);  // RAID1 takes two disks
    p = ldParam(6, {0, 1, 2, 4});
    EXPECT_EQ(KX_LD_Create(0, &p), 14);  // not offered by this adapter
    p = ldParam(0, {0, 3});
    EXPECT_EQ(KX_LD_Create(0, &p), 54);  // a spare
    p = ldParam(0, {0, 9});
    EXPECT_EQ(KX_LD_Create(0, &p), 55);
    p = ldParam(0, {0, 0});
    EXPECT_EQ(KX_LD_Create(0, &p), 7);
    p = ldParam(0, {});
    EXPECT_EQ(KX_LD_Create(0, &p), 152);
    p = ldParam(0, {0}, 3000);
    EXPECT_EQ(KX_LD_Create(0, &p), 4);  // larger than the disk
    EXPECT_EQ(kxU64Value(p.Size), 2000000u);  // what there is
    EXPECT_EQ(KX_LD_Create(0, nullptr), 7);
    ListBuffer<LD_Info> vd(2);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    EXPECT_EQ(vd.header()->numReturned, 0);
    EXPECT_TRUE(drainEvents().empty());
}

TEST_F(Create, GigabyteRoundingRoundsDown)
{
    writeFixture(kV1);
    Create_LD_Param p = ldParam(0, {0, 1});
    p.RoundingScheme = 1;
    p.InitializationOption = 3;
    ASSERT_EQ(KX_LD_Create(0, &p), 0);
    EXPECT_EQ(kxU64Value(p.Size), 3u * 1048576u);
    ListBuffer<LD_Status> st(1);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).Bga, 0);  // no initialisation asked for
}

CreateOrModify_DG_Param dgParam(uint8_t raid, std::vector<uint16_t> pds)
{
    CreateOrModify_DG_Param p;
    std::memset(&p, 0, sizeof p);
    p.DGID = 0xFFFF;
    p.RaidMode = raid;
    p.StripeBlockSize = 64;
    p.PDCount = static_cast<KX_U8>(pds.size());
    for (size_t i = 0; i < pds.size(); ++i)
        p.PDIDs[i] = pds[i];
    std::memcpy(p.Name, "dg", 2);
    return p;
}

TEST_F(Create, ArraysAndVdsInTheirSlots)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0,"size":3000000},{"id":1,"size":2000000},{"id":2,"size":2000000}]}]})");
    CreateOrModify_DG_Param g = dgParam(1, {1, 2});
    ASSERT_EQ(KX_CreateOrModify_DG(0, &g, 1), 0);
    EXPECT_EQ(kxU64Value(g.Size), 2000000u);
    ListBuffer<DG_Info> dg(2);
    ASSERT_EQ(KX_DG_GetInfo(0, dg.as<DG_Info_Request>()), 0);
    EXPECT_EQ(dg.header()->numReturned, 0);  // only computed
    g.Size = kxU64Make(0);  // the answer was KiB; a request is MB
    ASSERT_EQ(KX_CreateOrModify_DG(0, &g, 0), 0);
    EXPECT_EQ(g.DGID, 0);
    CreateOrModify_DG_Param again = dgParam(0, {1});
    EXPECT_EQ(KX_CreateOrModify_DG(0, &again, 0), 56);  // already a member

    CreateOrModify_VD_Param v;
    std::memset(&v, 0, sizeof v);
    v.VDID = 0xFFFF;
    v.DGID = 0;
    v.DGSlotNum = 0;
    v.Size = kxU64Make(2000);  // MB
    std::memcpy(v.Name, "slot", 4);
    EXPECT_EQ(KX_CreateOrModify_VD(0, &v), 4);
    EXPECT_EQ(kxU64Value(v.Size), 2000000u);  // what is available, KiB
    v.Size = kxU64Make(500);
    ASSERT_EQ(KX_CreateOrModify_VD(0, &v), 0);
    EXPECT_EQ(v.VDID, 0);
    v.VDID = 0xFFFF;
    v.DGSlotNum = 1;
    v.Size = kxU64Make(0);  // the rest
    ASSERT_EQ(KX_CreateOrModify_VD(0, &v), 0);
    EXPECT_EQ(v.VDID, 1);
    EXPECT_EQ(kxU64Value(v.Size), 1488000u);
    ASSERT_EQ(KX_DG_GetInfo(0, dg.as<DG_Info_Request>()), 0);
    ASSERT_EQ(dg.header()->numReturned, 1);
    EXPECT_EQ(dg.at(0).VDSlotCount, 2);
    EXPECT_EQ(dg.at(0).VDIDs[0], 0);
    EXPECT_EQ(dg.at(0).VDIDs[1], 1);
    EXPECT_EQ(kxU64Value(dg.at(0).RemainingManagedSpace), 0u);
    v.VDID = 0xFFFF;
    v.DGSlotNum = 2;
    EXPECT_EQ(KX_CreateOrModify_VD(0, &v), 4);  // full
    v.DGSlotNum = 3;
    EXPECT_EQ(KX_CreateOrModify_VD(0, &v), 7);  // not a slot of the array
    std::vector<Event> ev = drainEvents();
    ASSERT_GE(ev.size(), 1u);
    EXPECT_EQ(ev[0].Class, 13);
    EXPECT_EQ(ev[0].Code, 0);  // array created
}

TEST_F(Create, PackageIsAllOrNothing)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0,"size":2000000},{"id":1,"size":2000000}]}]})");
    Create_PackageVD_Param p;
    std::memset(&p, 0, sizeof p);
    p.dg = dgParam(1, {0, 1});
    p.vd.VDID = 0xFFFF;
    p.vd.Size = kxU64Make(5000);  // MB, too large: nothing is made
    EXPECT_EQ(KX_Create_PackageVD(0, &p), 4);
    EXPECT_EQ(p.dg.DGID, 0xFFFF);
    EXPECT_EQ(kxU64Value(p.dg.Size), 2000000u);  // both halves tell what is available
    EXPECT_EQ(kxU64Value(p.vd.Size), 2000000u);
    ListBuffer<DG_Info> dg(2);
    ASSERT_EQ(KX_DG_GetInfo(0, dg.as<DG_Info_Request>()), 0);
    EXPECT_EQ(dg.header()->numReturned, 0);
    EXPECT_TRUE(drainEvents().empty());
    p.dg = dgParam(1, {0, 1});
    p.vd.VDID = 0xFFFF;
    p.vd.Size = kxU64Make(0);
    ASSERT_EQ(KX_Create_PackageVD(0, &p), 0);
    EXPECT_EQ(p.dg.DGID, 0);
    EXPECT_EQ(p.vd.VDID, 0);
    ListBuffer<LD_Info> vd(2);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    ASSERT_EQ(vd.header()->numReturned, 1);
    EXPECT_EQ(vd.at(0).DGID, 0);
    EXPECT_EQ(kxU64Value(vd.at(0).Size), 2000000u);
}

TEST_F(Create, SizeOnAdaptersThatSizeVdsThemselves)
{
    // Above device 0x6300 a size is kept only when the caller insists.
    writeFixture(kV1);
    Create_LD_Param p = ldParam(0, {0}, 100);
    p.ReservedForApp = 0;
    ASSERT_EQ(KX_LD_Create(0, &p), 0);
    EXPECT_EQ(kxU64Value(p.Size), 2000000u);
    p = ldParam(0, {1}, 100);
    ASSERT_EQ(KX_LD_Create(0, &p), 0);
    EXPECT_EQ(kxU64Value(p.Size), 102400u);
    writeFixture(R"({"adapters":[{"Adapter_Info":{"MaxDiskGroup":0,"DevID":25344},"pds":[{"id":0,"size":2000000}]}]})");
    p = ldParam(0, {0}, 100);
    p.ReservedForApp = 0;
    ASSERT_EQ(KX_LD_Create(0, &p), 0);
    EXPECT_EQ(kxU64Value(p.Size), 102400u);
}

TEST_F(Create, ArraySizeAndInitialisationTakeEffect)
{
    writeFixture(R"({"adapters":[{"bgaSpeed":0,"pds":[{"id":0,"size":2000000},{"id":1,"size":2000000},{"id":2,"size":2000000}]}]})");
    CreateOrModify_DG_Param g = dgParam(5, {0, 1, 2});
    g.Size = kxU64Make(5000);
    EXPECT_EQ(KX_CreateOrModify_DG(0, &g, 1), 4);
    EXPECT_EQ(kxU64Value(g.Size), 4000000u);
    g.Size = kxU64Make(1000);
    g.InitializationOption = 2;
    ASSERT_EQ(KX_CreateOrModify_DG(0, &g, 0), 0);
    ListBuffer<DG_Info> dg(1);
    ASSERT_EQ(KX_DG_GetInfo(0, dg.as<DG_Info_Request>()), 0);
    EXPECT_EQ(kxU64Value(dg.at(0).TotalManagedSpace), 1024000u);
    EXPECT_EQ(kxU64Value(dg.at(0).SmallestAvailablePDSize), 512000u);
    EXPECT_EQ(dg.at(0).BgaType, 16);  // background initialisation
    EXPECT_EQ(dg.at(0).BgaState, 1);

    CreateOrModify_VD_Param v;
    std::memset(&v, 0, sizeof v);
    v.VDID = 0xFFFF;
    v.DGSlotNum = 255;  // the library chooses
    v.StripeBlockSize = 128;
    v.InitializationOption = 3;
    ASSERT_EQ(KX_CreateOrModify_VD(0, &v), 0);
    EXPECT_EQ(kxU64Value(v.Size), 1024000u);  // all the array has
    ListBuffer<LD_Info> vd(1);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    EXPECT_EQ(vd.at(0).StripeBlockSize, 128);
    ListBuffer<LD_Status> st(1);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).Bga, 0);
}

TEST_F(Create, AutomaticConfigurationTakesOnlyWhollyFreeDisks)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0,"size":2000000},{"id":1,"size":2000000},
        {"id":2,"size":2000000,"partitioned":true},{"id":3,"spare":"global"},{"id":4,"size":2000000},
        {"id":5,"state":"offline"},{"id":6,"os":true},{"id":7,"size":2000000}]}]})");
    EXPECT_EQ(KX_LD_DG_QuickCreate(0, 2), 7);
    ASSERT_EQ(KX_LD_DG_QuickCreate(0, 1), 0);
    ListBuffer<DG_Info> dg(2);
    ASSERT_EQ(KX_DG_GetInfo(0, dg.as<DG_Info_Request>()), 0);
    ASSERT_EQ(dg.header()->numReturned, 1);
    EXPECT_EQ(textOf(dg.at(0).Name, 16), "DG_R5_1");
    EXPECT_EQ(dg.at(0).RaidMode, 5);
    ASSERT_EQ(dg.at(0).PDCount, 4);
    EXPECT_EQ(dg.at(0).PDIDs[2], 4);
    EXPECT_EQ(dg.at(0).PDIDs[3], 7);
    ListBuffer<LD_Info> vd(2);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    ASSERT_EQ(vd.header()->numReturned, 1);
    EXPECT_EQ(textOf(vd.at(0).Name, 16), "VD_R5_1");
    EXPECT_EQ(kxU64Value(vd.at(0).Size), 6000000u);
    EXPECT_EQ(KX_LD_DG_QuickCreate(0, 0), 152);  // nothing free is left

    writeFixture(R"({"adapters":[{"pds":[{"id":0},{"id":1}]}]})");
    ASSERT_EQ(KX_LD_DG_QuickCreate(0, 1), 0);
    ASSERT_EQ(KX_DG_GetInfo(0, dg.as<DG_Info_Request>()), 0);
    EXPECT_EQ(textOf(dg.at(0).Name, 16), "DG_R1_1");
    writeFixture(R"({"adapters":[{"pds":[{"id":0}]}]})");
    EXPECT_EQ(KX_LD_DG_QuickCreate(0, 1), 57);
    ASSERT_EQ(KX_LD_DG_QuickCreate(0, 0), 0);
    writeFixture(kV1);
    EXPECT_EQ(KX_LD_DG_QuickCreate(0, 0), 19);  // no arrays on this adapter
}

}  // namespace
