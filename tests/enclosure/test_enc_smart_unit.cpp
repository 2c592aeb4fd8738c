// The enc and smart handlers in-process (so under the sanitizers) at the
// edges of their fixed buffers: more enclosures than the ID list holds,
// more elements than the one-byte count, more attributes than the table.
#include <gtest/gtest.h>
#include <string>

#include "../cli/handler_test_support.h"
#include "Functions/handlers.h"

namespace {

size_t count(const std::string &text, const std::string &what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

void useAdapter(KX_U16 maxBufferSize)
{
    memset(gAdapterInfo, 0, sizeof gAdapterInfo);
    gCurrentAdapter = 0;
    gAdapterInfo[0].MaxBufferSize = maxBufferSize;
}

TEST(EncUnit, ConfigurationOfFortyEnclosuresThroughTheIdList)
{
    std::string encs;
    for (int i = 0; i < 40; ++i)
        encs += std::string(i ? "," : "") + "{\"id\":" + std::to_string(3 * i) +
                ",\"elements\":[{\"type\":18,\"thresholds\":{\"highCritical\":" + std::to_string(i) + "}}]}";
    writeState("{\"adapters\":[{\"Adapter_Info\":{\"MaxBufferSize\":64},\"enclosures\":[" + encs + "]}]}");
    for (KX_U16 kib : {64, 0}) {  // one page of 40, or pages of 32
        useAdapter(kib);
        std::string out;
        EXPECT_EQ(runHandler(doEnclosure, {"enc", "-o", "elecfg"}, out), 0);
        std::string expected;
        for (int i = 0; i < 40; ++i)
            expected += "EnclosureID:" + std::to_string(3 * i) + "\nVoltage Sensor 0\nstatus : OK\n"
                        "  high critical threshold: " + std::to_string(10 * i) + " mini-volts\n"
                        "  high warning threshold: 100 mini-volts\n  low critical threshold: 150 mini-volts\n"
                        "  low warning threshold: 100 mini-volts\n\n";
        EXPECT_EQ(out, expected) << kib << " KiB";
    }
}

TEST(EncUnit, ElementCountIsOneByte)
{
    std::string els;
    for (int i = 0; i < 255; ++i)
        els += std::string(i ? "," : "") + "{\"type\":5,\"id\":" + std::to_string(i) + ",\"data\":[1]}";
    writeState("{\"adapters\":[{\"enclosures\":[{\"id\":0,\"elements\":[" + els + "]},{\"id\":1}]}]}");
    useAdapter(64);
    std::string out;
    EXPECT_EQ(runHandler(doEnclosure, {"enc", "-o", "ele", "-i", "0"}, out), 0);
    EXPECT_EQ(count(out, "EnclosureID:0\n"), 255u);
    EXPECT_NE(out.find("Door Lock 254\nstatus : OK\n  unlocked: yes\n\n"), std::string::npos);
    // Every enclosure: 255 + 10 elements, of which the controller returns
    // the 255 a one-byte count can tell.
    EXPECT_EQ(runHandler(doEnclosure, {"enc", "-o", "ele"}, out), 0);
    EXPECT_EQ(count(out, "EnclosureID:"), 255u);
    EXPECT_EQ(runHandler(doEnclosure, {"enc", "-o", "elecfg", "-t", "dor", "-e", "254"}, out), 1);
    EXPECT_EQ(out, "EnclosureID:0\nDoor Lock 254\nstatus : OK\n  high critical threshold: 0\n"
                   "  high warning threshold: 0\n  low critical threshold: 0\n  low warning threshold: 0\n\n"
                   "Invalid element ID 254\n");
}

TEST(SmartUnit, TableHoldsThirtyAttributesAndFullNames)
{
    std::string attrs;
    for (int i = 0; i < 35; ++i)
        attrs += std::string(i ? "," : "") + "{\"id\":" + std::to_string(i + 1) +
                 ",\"name\":\"ATTRIBUTE_NAME_OF_32_CHARACTERS" + std::to_string(i % 10) + "\"}";
    writeState("{\"adapters\":[{\"pds\":[{\"id\":0,\"smart\":[" + attrs + "]}]}]}");
    useAdapter(64);
    std::string out;
    EXPECT_EQ(runHandler(doSmart, {"smart", "-p", "0"}, out), 0);
    EXPECT_EQ(count(out, "\tOK\n"), 30u);
    EXPECT_NE(out.find("\n1E\tATTRIBUTE_NAME_OF_32_CHARACTERS9\t100\t100\t0       \t000000000000\tOK\n\n"),
              std::string::npos)
        << out;
}

} // namespace

int main(int argc, char **argv)
{
    return runHandlerTests(argc, argv, "/tmp/enc-smart-unit-XXXXXX");
}
