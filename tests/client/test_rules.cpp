// The client library's rules: the parsers of numbers and disk lists, the
// disk-count rules of each place a layout is made, the RAID level table.
#include <gtest/gtest.h>

#include <string>

#include "layout_rules.h"
#include "parse.h"

using client::LayoutRules;

namespace {

TEST(ClientParse, DecimalsAreDigitsOnlyWithinTheirLimit)
{
    unsigned long long v = 7;
    EXPECT_TRUE(client::parseDecimal("0", 0ull, v));
    EXPECT_EQ(v, 0u);
    EXPECT_TRUE(client::parseDecimal("18446744073709551615", ~0ull, v));
    EXPECT_EQ(v, ~0ull);
    v = 7;
    for (const char *bad : {"", "18446744073709551616", "1a", "-1", " 1", "+1"})
        EXPECT_FALSE(client::parseDecimal(bad, ~0ull, v)) << bad;
    EXPECT_FALSE(client::parseDecimal("256", 255ull, v));
    EXPECT_FALSE(client::parseDecimal("1", 0ull, v)) << "a digit above a limit below 10";
    EXPECT_EQ(v, 7u) << "a refused text leaves the value alone";

    unsigned long id = 0;
    EXPECT_TRUE(client::parseDecimalOrHex("0x00000000FFFFFFFF", ~0ul, id)) << "leading zeros do not count";
    EXPECT_EQ(id, 0xFFFFFFFFul);
    EXPECT_TRUE(client::parseDecimalOrHex("0XaB", ~0ul, id));
    EXPECT_EQ(id, 0xABul);
    for (const char *bad : {"0x", "0x1FFFFFFFF", "0xg", "x1", ""})
        EXPECT_FALSE(client::parseDecimalOrHex(bad, ~0ul, id)) << bad;
    EXPECT_FALSE(client::parseDecimalOrHex("0x100", 0xFFul, id));
}

TEST(ClientParse, DiskListsUnderBothRules)
{
    KX_U16 ids[KX_MAX_PD_LIST];
    int n = -1;
    std::string bad;
    const client::PdListRules strict{false, false}, lenient{true, true};

    EXPECT_TRUE(client::parsePdList("", strict, ids, n, bad));
    EXPECT_EQ(n, 0);
    ASSERT_TRUE(client::parsePdList("3,1x,3", strict, ids, n, bad));
    ASSERT_EQ(n, 3);
    EXPECT_EQ(ids[1], 1) << "an item's value is its leading digits";
    ASSERT_TRUE(client::parsePdList("3,,1,3,", lenient, ids, n, bad));
    ASSERT_EQ(n, 2) << "empty items skipped, repeats dropped";
    for (const char *text : {"1,,2", "1,", ",1"})
        EXPECT_FALSE(client::parsePdList(text, strict, ids, n, bad)) << text;

    EXPECT_FALSE(client::parsePdList("5,65540", lenient, ids, n, bad)) << "no ID beyond 16 bits";
    EXPECT_EQ(bad, "65540");
    EXPECT_FALSE(client::parsePdList("1,x2", lenient, ids, n, bad));
    EXPECT_EQ(bad, "x2");

    std::string many, fits;
    for (int i = 0; i <= KX_MAX_PD_LIST; ++i)
        many += std::to_string(i) + ",";
    EXPECT_FALSE(client::parsePdList(many.c_str(), lenient, ids, n, bad)) << "129 disks";
    for (int i = 0; i < 3 * KX_MAX_PD_LIST; ++i)
        fits += std::to_string(i % KX_MAX_PD_LIST) + ",";
    EXPECT_TRUE(client::parsePdList(fits.c_str(), lenient, ids, n, bad)) << "repeats do not count";
    EXPECT_EQ(n, KX_MAX_PD_LIST);
}

// Each rule set's smallest layouts, its parity defaults and one refusal
// text: the places that make layouts differ exactly there.
TEST(ClientLayout, DiskCountsOfEachRuleSet)
{
    struct Case {
        LayoutRules rules;
        unsigned raid;
        int n, parityIn, parityOut;
        const char *message; // nullptr: fits
    } cases[] = {
        {LayoutRules::CreateVd, KX_RAID0, 1, -1, -1, "RAID0 needs at least 2 PD.\n"},
        {LayoutRules::MigrateVd, KX_RAID0, 1, 3, 0, nullptr},
        {LayoutRules::CreateArray, KX_RAID1, 3, -1, -1, "RAID1 needs exactly 2 PDs.\n"},
        {LayoutRules::MigrateArray, KX_RAID10, 4, 2, 0, nullptr},
        {LayoutRules::CreateVd, KX_RAID1E, 4, -1, -1, "RAID1E needs at least 3 or more odd number of PDs.\n"},
        {LayoutRules::CreateVd, KX_RAID6, 3, -1, 2, nullptr},
        {LayoutRules::CreateVd, KX_RAID6, 4, 3, 3, "Number of parity disks should be at least 2 and less than 2.\n"},
        {LayoutRules::CreateArray, KX_RAID6, 3, -1, -1, "RAID6 needs least 4 or more number of PDs.\n"},
        {LayoutRules::CreateArray, KX_RAID6, 4, 2, 2, nullptr},
        {LayoutRules::CreateArray, KX_RAID60, 8, 6, 6, "Number of parity disks for RAID60 should be even and between 4 & 4\n"},
        {LayoutRules::MigrateVd, KX_RAID6, 3, 3, 3, "Number of parity disks should be at least 2 and less than 3.\n"},
        {LayoutRules::MigrateArray, KX_RAID6, 5, 5, 5, "Number of parity disks should be at between 2 and 4.\n"},
        {LayoutRules::MigrateArray, KX_RAID60, 6, -1, -1, "RAID60 needs least 8 or more even number of PDs.\n"},
        {LayoutRules::MigrateVd, KX_RAID60, 6, 6, 6, "# of parity disks (6) should be less than # of total disks (6).\n"},
        {LayoutRules::CreateVd, KX_RAID_JBOD, 1, -1, -1, nullptr},
    };
    for (const Case &c : cases) {
        int parity = c.parityIn;
        std::string message;
        const bool fits = client::checkDiskCount(c.rules, c.raid, c.n, parity, 2, message);
        const std::string where = "rules " + std::to_string(int(c.rules)) + " raid " + std::to_string(c.raid);
        EXPECT_EQ(fits, c.message == nullptr) << where;
        EXPECT_EQ(message, c.message ? c.message : "") << where;
        EXPECT_EQ(parity, c.parityOut) << where;
    }
}

TEST(ClientLayout, LevelTableStripesAndRanks)
{
    // Each code has one bit and no two codes share one.
    unsigned seen = 0;
    for (const KxRaidLevel &l : kKxRaidLevels) {
        EXPECT_EQ(kxRaidModeBit(l.code), l.modeBit);
        EXPECT_EQ(seen & (1u << l.modeBit), 0u) << l.shortName;
        seen |= 1u << l.modeBit;
    }
    EXPECT_EQ(kxRaidModeBit(2), -1);
    EXPECT_TRUE(kxRaidOffered(0x0010, KX_RAID5));
    EXPECT_FALSE(kxRaidOffered(0x0010, KX_RAID6));
    EXPECT_TRUE(kxIsTandemRaid(KX_RAID_TANDEM_HYBRID));
    EXPECT_EQ(KX_LDM_TANDEM_CS, (1u << kxRaidModeBit(KX_RAID_TANDEM_CAPACITY)) | (1u << kxRaidModeBit(KX_RAID_TANDEM_SAFE)));

    EXPECT_TRUE(client::stripeAllowed(15, 48));
    EXPECT_FALSE(client::stripeAllowed(15, 256));
    EXPECT_FALSE(client::stripeAllowed(0xFFFF, 0)) << "0 passes every mask";
    EXPECT_FALSE(client::stripeAllowed(0xFFFF, 65536)) << "beyond the mask's 12 bits";
    EXPECT_EQ(client::defaultStripeMask(KX_ADV_STRIPE_1024), 127);
    EXPECT_EQ(client::redundancyRank(KX_RAID1E), 1);
    EXPECT_EQ(client::redundancyRank(KX_RAID60), 6);
}

} // namespace
