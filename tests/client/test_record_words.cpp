// In-process checks of the value texts and bit rules behind info/status.
#include <gtest/gtest.h>

#include <string.h>

#include "paging.h"
#include "record_words.h"

namespace {

template <typename T> T zeroed()
{
    T r;
    memset(&r, 0, sizeof r);
    return r;
}

TEST(InfoPaging, RecordsPerPageFollowsBufferSizeAndDefaults)
{
    EXPECT_EQ(client::recordsPerPage(64, sizeof(LD_Info), 32), 210u);
    EXPECT_EQ(client::recordsPerPage(0, sizeof(LD_Info), 32), 32u);
    EXPECT_EQ(client::recordsPerPage(64, sizeof(HD_Info), 128), (65536u - 16) / 248);
    EXPECT_EQ(client::recordsPerPage(1, sizeof(DG_Info), 64), 1u);
    // A page larger than numRequested can hold is capped, not wrapped
    // around to a small (or zero) count.
    EXPECT_EQ(client::recordsPerPage(0xFFFF, sizeof(HD_SMART_Status), 128), 0xFFFFu);
    EXPECT_EQ(client::recordsPerPage(1024, sizeof(HD_RAID_Status), 128), 0xFFFFu);
}

TEST(InfoWords, BgaTypeStateAndVdWords)
{
    EXPECT_STREQ(infoBgaTypeWord(1), "rebuilding");
    EXPECT_STREQ(infoBgaTypeWord(4), "synchronizing");
    EXPECT_STREQ(infoBgaTypeWord(64), "initializing");
    EXPECT_STREQ(infoBgaTypeWord(32), "migration");
    EXPECT_STREQ(infoBgaTypeWord(128), "copy back");
    EXPECT_STREQ(infoBgaTypeWord(3), "unknown bga action");
    EXPECT_EQ(infoBgaStateWord(1), nullptr);
    EXPECT_STREQ(infoBgaStateWord(4), "auto paused");
    EXPECT_EQ(infoBgaStateWord(6), nullptr);
    EXPECT_STREQ(infoVdBgaStatusWord(5), "interrupted");
    EXPECT_STREQ(infoVdBgaStatusWord(0), "N/A");
    EXPECT_STREQ(infoVdStatusWord(3), "unknown");
    EXPECT_STREQ(infoVdStatusWord(8), "not importable foreign");
    EXPECT_STREQ(infoVdStatusWord(15), "functional and initialized");
    EXPECT_TRUE(kxIsTandemRaid(11));
    EXPECT_FALSE(kxIsTandemRaid(16));
}

TEST(InfoText, FixedWidthFieldsAreBoundedAndMasked)
{
    KX_U8 full[20];
    memset(full, 'A', sizeof full);  // no terminating NUL at all
    EXPECT_EQ(infoFieldText(full, sizeof full, false, true), std::string(20, 'A'));
    KX_U8 odd[20] = {'S', 'N', 0x01, 0xC8, '9', 0};
    EXPECT_EQ(infoFieldText(odd, sizeof odd, false, true), "SN??9");
    KX_U8 blanks[40] = {' ', ' ', 'W', 'D', ' ', 'X'};
    EXPECT_EQ(infoFieldText(blanks, sizeof blanks, true, false), "WD X");
    KX_U8 allBlank[4] = {' ', ' ', ' ', ' '};
    EXPECT_EQ(infoFieldText(allBlank, sizeof allBlank, true, false), "");
    KX_U8 sas[8] = {0x50, 0x0a, 0x0b, 0xc0, 0xff, 0x00, 0x12, 0x3e};
    EXPECT_EQ(infoSasAddress(sas), "500A0BC0FF00123E");
}

TEST(InfoAdapter, RevisionVersionsAndWordLists)
{
    EXPECT_EQ(infoChipRevision(0xa1), "A1");
    EXPECT_EQ(infoChipRevision(0x1b), "1b");
    EXPECT_EQ(infoChipRevision(0), "0");
    EXPECT_EQ(infoVersion(4, 1, 0, 16), "4.1.0.0016");
    EXPECT_STREQ(infoPcieSpeed(3), "8Gb/s");
    EXPECT_STREQ(infoPcieSpeed(4), "Unknown");
    EXPECT_EQ(infoPortTypes(0x7), "SATA PATA SAS ");
    EXPECT_EQ(infoPortTypes(0x4), "SAS ");
    // Output order is not bit order: RAID5/6 come before RAID10, JBOD
    // after RAID60.
    EXPECT_EQ(infoRaidModes(0x01F7), "RAID0 RAID1 RAID5 RAID6 RAID10 RAID50 RAID60 JBOD ");
    EXPECT_EQ(infoRaidModes(0x0E00), "hc(tandem capacity) hs(tandem safe) hybrid(tandem hybrid) ");
    EXPECT_EQ(infoFeatureWords(0x81), "rebuild,only same type hd for create");
    EXPECT_EQ(infoFeatureWords(0), "");
}

TEST(InfoAdapter, AdvancedFeatureWordsHonourInvertedAndJointBits)
{
    // Bits 14..19 all set: none of the "clear means supported" words.
    const KX_U32 noneInverted = 0x000FC000;
    EXPECT_EQ(infoAdvancedFeatureWords(noneInverted, 0, 0), "");
    EXPECT_EQ(infoAdvancedFeatureWords(0, 0, 0),
              "vd write cache,vd read cache,smart,rounding,hd set free,hd write cache");
    // Bit 11 yields two words, around "crypto".
    EXPECT_EQ(infoAdvancedFeatureWords(noneInverted | 0x1800, 0, 0),
              "phy control by port,crypto,sata phy ctrl");
    // "set spare" needs bit 24 clear and rebuild (Features bit 0) present.
    EXPECT_EQ(infoAdvancedFeatureWords(noneInverted, 0x1, 0), "set spare");
    EXPECT_EQ(infoAdvancedFeatureWords(noneInverted | (1u << 24), 0x1, 0), "");
    // Bit 31 gives two words unless the adapter cannot flash at all.
    EXPECT_EQ(infoAdvancedFeatureWords(noneInverted | 0x80000000u, 0, 0), "flash predata,raw update");
    EXPECT_EQ(infoAdvancedFeatureWords(noneInverted | 0x80000000u, 0, 0x8), "");
    EXPECT_EQ(infoAdvancedFeature2Words(0x1), "flash twice");
    EXPECT_EQ(infoAdvancedFeature2Words(0xB), "vd_da group,flash not support");
}

TEST(InfoAdapter, StripeSizesDefaultByBigStripe)
{
    EXPECT_EQ(infoStripeSizes(0, 0), "16K 32K 64K 128K ");
    EXPECT_EQ(infoStripeSizes(0, 0x2), "16K 32K 64K 128K 256K 512K 1024K ");
    EXPECT_EQ(infoStripeSizes(0x44, 0), "64K 1024K ");
    EXPECT_EQ(infoStripeSizes(0x80, 0), "");  // only bits beyond 1024K
}

TEST(InfoPd, KindFromExtendedAndOlderRecord)
{
    HD_Info hd = zeroed<HD_Info>();
    hd.ConnectionType = 0x06;  // SAS
    InfoPdKind k = infoPdKind(hd, true);
    EXPECT_TRUE(k.sas);
    EXPECT_FALSE(k.pata);
    EXPECT_TRUE(k.diskDevice);
    hd.ConnectionType = 0x09;
    hd.DeviceType = 5;
    k = infoPdKind(hd, true);
    EXPECT_TRUE(k.pata);
    EXPECT_TRUE(k.notDisk);
    EXPECT_FALSE(k.diskDevice);
    // The older record: only HDType counts, the extended fields are ignored.
    hd.HDType = 0x04;
    k = infoPdKind(hd, false);
    EXPECT_TRUE(k.sas);
    EXPECT_FALSE(k.notDisk);
    EXPECT_TRUE(k.diskDevice);
    hd.HDType = 0x02;
    EXPECT_TRUE(infoPdKind(hd, false).pata);
    hd.HDType = 0x11;  // SATA tape: no size, no free space query
    k = infoPdKind(hd, false);
    EXPECT_FALSE(k.notDisk);
    EXPECT_FALSE(k.diskDevice);
}

TEST(InfoPd, LinkedAtEachParentType)
{
    HD_Info hd = zeroed<HD_Info>();
    hd.Link.Parent.DevID = 7;
    hd.Link.Parent.PhyID[0] = 3;
    hd.Link.Self.EnclosureID = 2;
    hd.Link.Parent.DevType = 255;
    EXPECT_EQ(infoLinkedAt(hd), "HBA port 3");
    hd.Link.Parent.DevType = 3;
    EXPECT_EQ(infoLinkedAt(hd), "Expander 7, port 3");
    hd.Link.Parent.DevType = 2;
    EXPECT_EQ(infoLinkedAt(hd), "PM 7, port 3");
    hd.Link.Parent.DevType = 12;
    EXPECT_EQ(infoLinkedAt(hd), "enclosure 2, HBA port 3");
    hd.Link.Parent.DevType = 9;
    EXPECT_EQ(infoLinkedAt(hd), "unknown device, type 9, id 7, port 3");
}

TEST(InfoPd, SpeedsLedOsAndBgaLine)
{
    EXPECT_EQ(infoSupportedSpeeds((1u << 2) | (1u << 3) | (1u << 7)), "1.5 3 6 Gb/s");
    EXPECT_EQ(infoSupportedSpeeds(1u << 10), "12 Gb/s");
    EXPECT_EQ(infoSupportedSpeeds(0x1), "");
    EXPECT_STREQ(infoDriveSpeed(4), "12 Gb/s");
    EXPECT_STREQ(infoDriveSpeed(0), "unknown");

    HD_Info hd = zeroed<HD_Info>();
    EXPECT_FALSE(infoLocateLedShown(hd));
    hd.Link.Parent.DevType = 11;
    EXPECT_TRUE(infoLocateLedShown(hd));
    hd.Link.Parent.DevType = 255;
    hd.ConnectionType = 0x20;
    EXPECT_TRUE(infoLocateLedShown(hd));

    EXPECT_STREQ(infoPdRunningOs(159), "yes");
    EXPECT_STREQ(infoVdRunningOs(159), "unknown");
    EXPECT_STREQ(infoVdRunningOs(0), "no");

    HD_BGA_Status b = zeroed<HD_BGA_Status>();
    std::string label, value;
    b.Bga = 1;
    b.BgaStatus = 1;
    b.Percentage = 40;
    ASSERT_TRUE(infoPdBgaLine(b, label, value));
    EXPECT_EQ(label, "Media patrol: ");
    EXPECT_EQ(value, "running, 40% done");
    b.Percentage = 255;
    ASSERT_TRUE(infoPdBgaLine(b, label, value));
    EXPECT_EQ(value, " Percentage is 255% ,Invalid,suggest updating PD LD or RCT");
    b.Percentage = 101;
    ASSERT_TRUE(infoPdBgaLine(b, label, value));
    EXPECT_EQ(value, "Invalid Percentage  101% ");
    b.Bga = 2;
    b.BgaStatus = 3;
    b.Percentage = 12;
    ASSERT_TRUE(infoPdBgaLine(b, label, value));
    EXPECT_EQ(label, "Data scrub: ");
    EXPECT_EQ(value, "paused at 12%");
    b.BgaStatus = 9;
    ASSERT_TRUE(infoPdBgaLine(b, label, value));
    EXPECT_EQ(value, "unknown BGA status 9");
    b.BgaStatus = 0;
    EXPECT_FALSE(infoPdBgaLine(b, label, value));
    b.BgaStatus = 1;
    b.Bga = 3;
    EXPECT_FALSE(infoPdBgaLine(b, label, value));
}

TEST(InfoPd, HdBlockIdsBoundedAndScanned)
{
    HD_Block_Info hb = zeroed<HD_Block_Info>();
    for (int i = 0; i < 16; ++i)
        hb.BlockIDs[i] = 255;
    hb.BlockIDs[2] = 4;
    hb.BlockIDs[9] = 0;
    EXPECT_EQ(infoHdBlockIds(hb), (std::vector<KX_U16>{4, 0}));
    hb.BlkCount = 200;  // more than the record can hold
    EXPECT_EQ(infoHdBlockIds(hb).size(), 16u);
    hb.BlkCount = 3;
    EXPECT_EQ(infoHdBlockIds(hb), (std::vector<KX_U16>{255, 255, 4}));
}

KX_U8 lookupTimesTen(KX_U16 block, KX_U16 &hd)
{
    if (block == 99)
        return 12;
    hd = (KX_U16)(block * 10);
    return 0;
}

TEST(InfoVd, PdRaidSetupGroupsMissingAndFailedBlocks)
{
    LD_Info ld = zeroed<LD_Info>();
    ld.RaidMode = 16;  // RAID10: pairs
    ld.HDCount = 4;
    ld.BlkCount = 4;
    KX_U16 ids[4] = {1, 2, 0xFFFF, 99};
    for (int i = 0; i < 4; ++i)
        ld.BlockIDs[i] = ids[i];
    EXPECT_EQ(infoPdRaidSetup(ld, lookupTimesTen), "10 20 | * ? ");
    EXPECT_EQ(infoVdBlockIds(ld), "1 2 65535 99 ");

    ld.RaidMode = 80;  // RAID50 of 6 disks: two groups of 3
    ld.HDCount = 6;
    ld.BlkCount = 6;
    for (int i = 0; i < 6; ++i)
        ld.BlockIDs[i] = (KX_U16)(i + 1);
    EXPECT_EQ(infoPdRaidSetup(ld, lookupTimesTen), "10 20 30 | 40 50 60 ");

    // Too few disks for the level: no separator, and no division by zero.
    ld.HDCount = 1;
    EXPECT_EQ(infoPdRaidSetup(ld, lookupTimesTen), "10 20 30 40 50 60 ");
}

TEST(InfoVd, BlkCountZeroScansSixteenAndHugeCountsStayInside)
{
    LD_Info ld = zeroed<LD_Info>();
    ld.RaidMode = 1;
    ld.HDCount = 2;
    for (int i = 0; i < 16; ++i)
        ld.BlockIDs[i] = 255;
    ld.BlockIDs[0] = 3;
    ld.BlockIDs[1] = 5;
    EXPECT_EQ(infoVdBlockIds(ld), "3 5 ");
    EXPECT_EQ(infoPdRaidSetup(ld, lookupTimesTen),
              "30 50 | * * | * * | * * | * * | * * | * * | * * ");

    ld.BlkCount = 255;  // beyond the 128 entries of BlockIDs
    EXPECT_EQ(infoVdBlockSlots(ld), 128u);
    int calls = 0;
    infoPdRaidSetup(ld, [&calls](KX_U16, KX_U16 &hd) -> KX_U8 { ++calls; hd = 0; return 0; });
    EXPECT_LE(calls, 128);
}

TEST(InfoVd, ProgressTandemCacheAndTime)
{
    LD_Status st = zeroed<LD_Status>();
    st.Bga = 2;
    st.BgaState = 1;
    st.BgaPercentage = 40;
    EXPECT_EQ(infoVdProgress(st), "synchronizing is 40% done");
    st.BgaState = 2;
    EXPECT_EQ(infoVdProgress(st), "synchronizing is aborted");
    st.BgaState = 4;
    EXPECT_EQ(infoVdProgress(st), "synchronizing is auto paused at 40%");
    st.BgaState = 5;
    EXPECT_EQ(infoVdProgress(st), "synchronizing is interrupted");
    st.BgaState = 0;
    EXPECT_EQ(infoVdProgress(st), "");

    LD_Info ld = zeroed<LD_Info>();
    ld.Status = 1;
    st.Bga = 1;
    EXPECT_STREQ(infoTandemStatusWord(ld, st), "initializing");
    st.Bga = 8;
    EXPECT_STREQ(infoTandemStatusWord(ld, st), "unknown");
    ld.Status = 14;
    EXPECT_STREQ(infoTandemStatusWord(ld, st), "using table");

    EXPECT_STREQ(infoCacheMode(0x04), "On ");
    EXPECT_STREQ(infoCacheMode(0x05), "Off ");
    EXPECT_STREQ(infoCacheMode(0x02), "");

    // 2001-09-09 01:46:40 UTC = 1000000000 = 15258 * 65536 + 51712
    ld.time_hi = 15258;
    ld.time_low = 51712;
    EXPECT_EQ(infoLastWriteTime(ld), "Sun Sep  9 01:46:40 2001\n");
    ld.time_hi = 0xFFFF;  // the largest stamp the record holds, past 2038
    ld.time_low = 0xFFFF;
    EXPECT_EQ(infoLastWriteTime(ld), "Sun Feb  7 06:28:15 2106\n");
}

TEST(InfoArrayBlockSpare, Words)
{
    DG_Info dg = zeroed<DG_Info>();
    dg.BgaType = 1;
    dg.BgaState = 1;
    EXPECT_EQ(infoArrayBga(dg), "rebuilding");
    dg.BgaState = 3;
    EXPECT_EQ(infoArrayBga(dg), "rebuilding paused");
    dg.BgaState = 0;
    EXPECT_EQ(infoArrayBga(dg), "none");
    EXPECT_STREQ(infoArrayStatus(1), "At least one PD is missing from this array");
    EXPECT_STREQ(infoArrayStatus(7), "offline");
    EXPECT_STREQ(infoBlockStatus(0x3), "assigned");
    EXPECT_STREQ(infoBlockStatus(0x1), "free");
    EXPECT_STREQ(infoBlockStatus(0x0), "invalid");

    HD_RAID_Status rs = zeroed<HD_RAID_Status>();
    rs.DGID = 2;
    rs.Status = 0x40;
    EXPECT_EQ(infoSpareStatus(rs), "dedicated spare to array 2");
    rs.Status = 0x44;
    EXPECT_EQ(infoSpareStatus(rs), "global spare");
    rs.Status = 0x4C;
    EXPECT_EQ(infoSpareStatus(rs), "offline");
    rs.Status = 0x80;
    EXPECT_EQ(infoSpareStatus(rs), "foreign disk");
    rs.Status = 0x02;
    EXPECT_EQ(infoSpareStatus(rs), "none spare");
}

TEST(InfoBbu, StatusPhrasesInOrderWithoutTrailingComma)
{
    BBU_Info b = zeroed<BBU_Info>();
    b.status = 0x2 | 0x4;
    b.time_to_full = 30;
    EXPECT_EQ(infoBbuStatus(b), "low battery, charging and 30 minutes to full");
    // Discharging is listed before charging even though its bit is higher.
    b.status = 0x4 | 0x10 | 0x8000;
    b.time_to_empty = 7;
    EXPECT_EQ(infoBbuStatus(b),
              "discharging and 7 minutes to empty, charging and 30 minutes to full, power stop all");
    b.status = 0x1;
    EXPECT_EQ(infoBbuStatus(b), "OK");
    b.status = 0x1 | 0x8;
    EXPECT_EQ(infoBbuStatus(b), "full charged");
    b.status = 0x10000;
    EXPECT_EQ(infoBbuStatus(b), "Unknow");
    EXPECT_EQ(infoBbuSensors(0x7), "temperature voltage Ecapacity");
    EXPECT_EQ(infoBbuSensors(0x2), "voltage ");
    EXPECT_EQ(infoBbuSensors(0), "N/A");
}

} // namespace
