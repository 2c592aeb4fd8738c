// A rescan that finds more adapters than the tool's table holds, in
// process: this test's own adapter operations stand in front of the
// controller library's, so the count can exceed what any state file gives.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <string>

#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "Public/globals.h"
#include "kx_api.h"

namespace {

int gAdaptersPresent = 20;
int gHighestAsked = -1;

} // namespace

extern "C" {

KX_U8 KX_API_RescanAdapter(void) { return 0; }

KX_U8 KX_Adapter_GetCount(void) { return static_cast<KX_U8>(gAdaptersPresent); }

KX_U8 KX_Adapter_GetInfo(KX_U8 adapter, KX_U8 *count, Adapter_Info *info)
{
    if (adapter > gHighestAsked)
        gHighestAsked = adapter;
    memset(info, 0, sizeof *info);
    info->MaxDiskGroup = adapter == 0 ? 8 : 0;
    info->SlotNumber = adapter;
    *count = 1;
    return 0;
}

} // extern "C"

TEST(RescanTable, MoreAdaptersThanTheTableHoldsAreLeftOut)
{
    FILE *out = tmpfile();
    ASSERT_NE(out, nullptr);
    FILE *old = stream;
    stream = out;
    gCurrentAdapter = 3;
    memset(&gAdapterInfo[15], 0xAB, sizeof gAdapterInfo[15]);
    cmd_struct row = {"rescan", 7, doRescan, "", ""};
    char a0[] = "rescan", a1[] = "-a", a2[] = "scan";
    char *argv[] = {a0, a1, a2, nullptr};
    const int rc = doRescan(3, argv, &row);
    stream = old;
    std::string text(4096, '\0');
    rewind(out);
    text.resize(fread(&text[0], 1, text.size(), out));
    fclose(out);

    EXPECT_EQ(rc, 0);
    EXPECT_EQ(text, "\nScan Adapter is returned successfully.\nCLI supports 16 adapters!\n"
                    "Total number of adapters: 16\nCurrent default adapter ID for CLI commands: 0\n");
    EXPECT_EQ(gHighestAsked, 15);
    EXPECT_EQ(gNumAdaptersFound, 16);
    EXPECT_EQ(gCurrentAdapter, 0);
    EXPECT_EQ(gAdapterInfo[15].SlotNumber, 15); /* reloaded, not left from before */
    EXPECT_EQ(arrayBasedRaid, 1);               /* adapter 0's tables */
}
