// Golden output of "arrayctl event" and "arrayctl message", byte for byte,
// over fixtures of the simulated controller's event queue
// (golden/<name>.json, commands and expected output in golden/<name>.golden).
#include <gtest/gtest.h>

#include "golden_driver.h"

#ifndef EVENT_GOLDEN_DIR
#error "EVENT_GOLDEN_DIR must name the folder of the golden files"
#endif

namespace {

void runGolden(const std::string &name)
{
    const std::string base = std::string(EVENT_GOLDEN_DIR) + "/" + name;
    const std::string fixture = readFile(base + ".json");
    const std::vector<GoldenCommand> cmds = parseGolden(readFile(base + ".golden"));
    ASSERT_FALSE(fixture.empty()) << base << ".json";
    ASSERT_FALSE(cmds.empty()) << base << ".golden";
    for (const GoldenCommand &c : cmds) {
        // `event` drains the queue: every command starts from the fixture.
        ScratchDir dir;
        writeFile(dir.path() + "/state.json", fixtureFor(fixture, c));
        GoldenRun r = runArrayctl(dir.path(), c.args);
        SCOPED_TRACE(name + ".golden:" + std::to_string(c.line));
        EXPECT_EQ(r.exitStatus, c.exitStatus) << "stderr: " << r.err;
        EXPECT_EQ(r.out, startupPrelude() + c.expected) << "stderr: " << r.err;
    }
}

TEST(EventGolden, QueueNewestFirstDownToTheSequenceLimit) { runGolden("queue"); }
TEST(EventGolden, SerialSenseLineAndFallbackTexts) { runGolden("texts"); }
TEST(EventGolden, EmptyQueuePrintsNothing) { runGolden("empty"); }

TEST(EventGolden, EventDrainsTheQueueMessageLeavesIt)
{
    ScratchDir dir;
    writeFile(dir.path() + "/state.json", readFile(std::string(EVENT_GOLDEN_DIR) + "/texts.json"));
    GoldenRun first = runArrayctl(dir.path(), {"message"});
    GoldenRun again = runArrayctl(dir.path(), {"message"});
    EXPECT_EQ(first.out, again.out);
    EXPECT_NE(first.out, startupPrelude());
    runArrayctl(dir.path(), {"event"});
    GoldenRun after = runArrayctl(dir.path(), {"message"});
    EXPECT_EQ(after.out, startupPrelude());
}

} // namespace
