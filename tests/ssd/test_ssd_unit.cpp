// The ssdop and ssd handlers in-process (so under the sanitizers) at the
// ends of their transfer buffers and of the disk list: whole two-sector
// manufacturing records, the largest table read, the full event log, and
// more disks than one page holds many times over.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>

#include "../cli/handler_test_support.h"
#include "Functions/handlers.h"

namespace {

// The adapter as start-up would have read it: an SSD adapter with pages of
// four disk records.
void useLaurel()
{
    memset(gAdapterInfo, 0, sizeof gAdapterInfo);
    gCurrentAdapter = 0;
    gAdapterInfo[0].MaxBufferSize = 1;
    gAdapterInfo[0].VenID = 0x1C7D;
    gAdapterInfo[0].DevID = 0x5A2F;
}

std::string ssds(int n, const std::string &korvex = "{}")
{
    std::string pds;
    for (int i = 0; i < n; ++i)
        pds += std::string(i ? "," : "") + "{\"id\":" + std::to_string(i) +
               ",\"ssd\":true,\"size\":1000000,\"korvexSsd\":" + korvex + "}";
    return "{\"adapters\":[{\"Adapter_Info\":{\"MaxBufferSize\":1,\"MaxHD_Ext\":256,\"VenID\":7293,"
           "\"DevID\":23087},\"pds\":[" + pds + "]}]}";
}

TEST(SsdUnit, VolumeInfoReadsEveryModulesWholeRecord)
{
    writeState(ssds(3, "{\"manufacture\":{\"ratio\":50}}"));
    useLaurel();
    std::string out;
    EXPECT_EQ(runHandler(doSsdOp, {"ssdop", "-a", "info"}, out), 0);
    EXPECT_EQ(out, "Write performance:   Maximum (uses 50% of volume capacity)\n"
                   "Data protection:     Unknown\n");
}

TEST(SsdUnit, FindCollectsDisksOfEveryPage)
{
    writeState(ssds(150));
    useLaurel();
    std::string out, expected = "Found 150 Korvex SSD devices: ";
    for (int i = 0; i < 150; ++i)
        expected += std::to_string(i) + " ";
    EXPECT_EQ(runHandler(doSsdDiagnostic, {"ssd", "-a", "find"}, out), 0);
    EXPECT_EQ(out, expected + "\n");
}

TEST(SsdUnit, LargestTransfersStayInTheirBuffers)
{
    std::string events;
    for (int i = 0; i < 30; ++i)
        events += std::string(i ? "," : "") + "{\"id\":" + std::to_string(0xB0000 + i % 17) + "}";
    writeState(ssds(1, "{\"events\":[" + events + "]}"));
    useLaurel();
    std::string out;
    ASSERT_EQ(runHandler(doSsdDiagnostic, {"ssd", "-a", "readLUT", "-c", "64", "-d", "0"}, out), 0);
    // 64 sectors of 128 words, eight a line, and the closing newline.
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 64 * 128 / 8 + 1);
    const std::string last = "1FF8: ED001FF8 ED001FF9 ED001FFA ED001FFB ED001FFC ED001FFD ED001FFE ED001FFF \n\n";
    ASSERT_GE(out.size(), last.size());
    EXPECT_EQ(out.substr(out.size() - last.size()), last);

    ASSERT_EQ(runHandler(doSsdDiagnostic, {"ssd", "-a", "readEvent", "-d", "0"}, out), 0);
    EXPECT_EQ(out.compare(0, 21, "30 events reported.\n\n"), 0);
    size_t shown = 0;
    for (size_t at = out.find("Sequence Number"); at != std::string::npos; at = out.find("Sequence Number", at + 1))
        ++shown;
    EXPECT_EQ(shown, 20u);
    EXPECT_NE(out.find("Sequence Number: 20\n  Host abort command.\n\n"), std::string::npos);
    EXPECT_EQ(out.find("Sequence Number: 21\n"), std::string::npos);

    ASSERT_EQ(runHandler(doSsdDiagnostic, {"ssd", "-a", "comparePhysicalRaw", "-p", "0xA5A5A5A5", "-d", "0"}, out), 0);
    EXPECT_EQ(out, "Data are identical.\n");
}

} // namespace

int main(int argc, char **argv)
{
    return runHandlerTests(argc, argv, "/tmp/ssd-unit-XXXXXX");
}
