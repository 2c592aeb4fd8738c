// smart with "-output": the whole report, attribute table included, goes
// to the file and nothing to the screen. The expected report is the one
// the golden file holds for the same command on the screen.
#include <gtest/gtest.h>

#include "golden_driver.h"

#ifndef SMART_GOLDEN_DIR
#error "SMART_GOLDEN_DIR must name the folder of the golden files"
#endif

namespace {

TEST(SmartOutput, TheAttributeTableGoesToTheOutputFile)
{
    const std::string base = std::string(SMART_GOLDEN_DIR) + "/smart";
    std::string expected;
    for (const GoldenCommand &c : parseGolden(readFile(base + ".golden")))
        if (c.args == std::vector<std::string>{"smart", "-p", "1"})
            expected = c.expected;
    ASSERT_NE(expected.find("\nSmart Info\n"), std::string::npos);

    ScratchDir dir;
    writeFile(dir.path() + "/state.json", readFile(base + ".json"));
    const std::string file = dir.path() + "/report.txt";
    GoldenRun r = runArrayctl(dir.path(), {"smart", "-p", "1", "-output", file});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(file), startupPrelude() + expected);
}

} // namespace
