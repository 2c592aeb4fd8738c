// Golden output of "arrayctl info" and "arrayctl status", byte for byte,
// over fixtures of the simulated controller. Each golden file holds the
// commands run against one fixture (golden/<name>.json) and the output
// expected of each.
#include <gtest/gtest.h>

#include "golden_driver.h"

#ifndef INFO_GOLDEN_DIR
#error "INFO_GOLDEN_DIR must name the folder of the golden files"
#endif

namespace {

void runGolden(const std::string &name)
{
    const std::string base = std::string(INFO_GOLDEN_DIR) + "/" + name;
    const std::string fixture = readFile(base + ".json");
    const std::vector<GoldenCommand> cmds = parseGolden(readFile(base + ".golden"));
    ASSERT_FALSE(fixture.empty()) << base << ".json";
    ASSERT_FALSE(cmds.empty()) << base << ".golden";
    for (const GoldenCommand &c : cmds) {
        // A fresh copy for every command: the simulated controller writes
        // its state back, and no command may see another one's traces.
        ScratchDir dir;
        writeFile(dir.path() + "/state.json", fixtureFor(fixture, c));
        GoldenRun r = runArrayctl(dir.path(), c.args);
        std::string line;
        for (const std::string &a : c.args)
            line += a + " ";
        SCOPED_TRACE(name + ".golden:" + std::to_string(c.line) + ": " + line);
        EXPECT_EQ(r.exitStatus, c.exitStatus) << "stderr: " << r.err;
        EXPECT_EQ(r.out, startupPrelude() + c.expected) << "stderr: " << r.err;
    }
}

TEST(InfoGolden, AdaptersV1AndV2) { runGolden("hba"); }
TEST(InfoGolden, DisksEveryTypeParentAndActivity) { runGolden("pd"); }
TEST(InfoGolden, DisksFromTheOlderRecord) { runGolden("pdold"); }
TEST(InfoGolden, VirtualDisksEveryStatusActivityAndTandem) { runGolden("vd"); }
TEST(InfoGolden, ArraysBlocksSparesPortMultipliersExpandersSmart) { runGolden("v2"); }
TEST(InfoGolden, BatteryEveryPhraseAndSensor) { runGolden("bbu"); }
TEST(InfoGolden, NotFoundUnsupportedAndOptionErrors) { runGolden("empty"); }

} // namespace
