// Room for a Tandem volume, Tandem volumes needing an SSD, and the size of
// an existing array after a change of its disks.
#include "sim_fixture.h"

namespace {

const char kTandem[] = R"({"adapters":[{"Adapter_Info":{"MaxDiskGroup":0,"LogicalDriverMode":3584},
    "pds":[{"id":0,"size":2000000},{"id":1,"size":2000000},{"id":2,"size":1000000,"ssd":true}],
    "blocks":[{"id":0,"pd":0,"vd":0,"start":500000,"size":300000}],
    "vds":[{"id":0,"raid":0}]}]})";

class TandemAndResize : public SimTest {};

TEST_F(TandemAndResize, FreeSizeIsTheLargestUnusedExtent)
{
    writeFixture(kTandem);
    Tandem_FreeSize_Info info;
    std::memset(&info, 0, sizeof info);
    ASSERT_EQ(KX_Tandem_GetFreeSize(0, &info), 0);
    EXPECT_EQ(kxU64Value(info.FreeSize), 1200000u);  // after the block, not the 500000 before it
    info.HDID = 1;
    ASSERT_EQ(KX_Tandem_GetFreeSize(0, &info), 0);
    EXPECT_EQ(kxU64Value(info.FreeSize), 2000000u);
    info.HDID = 7;
    EXPECT_EQ(KX_Tandem_GetFreeSize(0, &info), 9);
    EXPECT_EQ(KX_Tandem_GetFreeSize(0, nullptr), 7);
    writeFixture(R"({"adapters":[{"pds":[{"id":0}]}]})");  // no Tandem levels
    info.HDID = 0;
    EXPECT_EQ(KX_Tandem_GetFreeSize(0, &info), 19);
}

TEST_F(TandemAndResize, ATandemVolumeNeedsAnSSDMember)
{
    writeFixture(kTandem);
    Create_LD_Param p;
    std::memset(&p, 0, sizeof p);
    p.RaidMode = 10;
    p.HDCount = 2;
    p.HDIDs[0] = 0;
    p.HDIDs[1] = 1;
    p.LDID = 0xFFFF;
    EXPECT_EQ(KX_LD_Create(0, &p), 28);
    p.HDIDs[0] = 2;
    EXPECT_EQ(KX_LD_Create(0, &p), 0);
    EXPECT_EQ(p.LDID, 1);
}

CreateOrModify_DG_Param dg(uint16_t id, uint8_t raid, std::vector<uint16_t> pds)
{
    CreateOrModify_DG_Param p;
    std::memset(&p, 0, sizeof p);
    p.DGID = id;
    p.RaidMode = raid;
    p.PDCount = static_cast<KX_U8>(pds.size());
    for (size_t i = 0; i < pds.size(); ++i)
        p.PDIDs[i] = pds[i];
    return p;
}

TEST_F(TandemAndResize, SizingAChangeOfAnExistingArray)
{
    writeFixture(R"({"adapters":[{"pds":[{"id":0,"size":1000000},{"id":1,"size":1000000},{"id":2,"size":1000000},
        {"id":3,"size":3000000},{"id":4},{"id":5,"spare":"global"}],
        "arrays":[{"id":0,"raid":5,"pds":[0,1,2]},{"id":1,"raid":0,"pds":[4]}]}]})");
    std::string before = readState();
    CreateOrModify_DG_Param p = dg(0, 5, {0, 1, 2, 3});
    ASSERT_EQ(KX_CreateOrModify_DG(0, &p, 1), 0);
    EXPECT_EQ(kxU64Value(p.Size), 3000000u);  // the smallest member times three data disks
    p = dg(0, 0, {0, 1, 2});  // less safe than RAID5: no migration makes it
    EXPECT_EQ(KX_CreateOrModify_DG(0, &p, 1), 70);
    p = dg(0, 5, {0, 1, 2, 4});  // a disk of array 1
    EXPECT_EQ(KX_CreateOrModify_DG(0, &p, 1), 56);
    p = dg(0, 5, {0, 1, 2, 5});  // a spare
    EXPECT_EQ(KX_CreateOrModify_DG(0, &p, 1), 54);
    p = dg(0, 5, {0, 1, 1});
    EXPECT_EQ(KX_CreateOrModify_DG(0, &p, 1), 7);
    // Sizing changes nothing; making an array under a taken ID is refused.
    EXPECT_EQ(before, readState());
    p = dg(0, 5, {0, 1, 2, 3});
    EXPECT_EQ(KX_CreateOrModify_DG(0, &p, 0), 56);
}

}  // namespace
