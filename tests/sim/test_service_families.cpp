// NVSRAM, flash bytes, registers and OS device names: values from a
// fixture, what the operations keep, the state written back, and fixture
// values refused with the place named.
#include "sim_fixture.h"

#include <nlohmann/json.hpp>

namespace {

class ServiceFamilies : public SimTest {};

TEST_F(ServiceFamilies, BytesAndRegistersAreKeptAndWrittenBackAsRuns)
{
    writeFixture(R"({"adapters":[{
        "nvsram": {"data": [{"offset": 16, "hex": "0102"}, {"offset": 20, "hex": "0A0b"}]},
        "flashBytes": {"size": 64},
        "registers": [{"type": "mailbox", "address": 1, "value": 9}]}]})");
    ASSERT_EQ(KX_API_Initialize(), 0);

    // A write that covers the gap between the two runs joins all three.
    DBG_NVSRAM t;
    std::memset(&t, 0, sizeof t);
    t.Offset = 17;
    t.NumBytes = 4;
    std::memset(t.Data, 0xEE, 4);
    ASSERT_EQ(KX_Flash_NVSRAM(0, KX_NVSRAM_WRITE, &t), 0);
    EXPECT_EQ(t.ReturnedCount, 4);
    std::memset(&t, 0, sizeof t);
    t.Offset = 14;
    t.NumBytes = 10;
    ASSERT_EQ(KX_Flash_NVSRAM(0, KX_NVSRAM_READ, &t), 0);
    const std::vector<int> want = {0, 0, 1, 0xEE, 0xEE, 0xEE, 0xEE, 0x0B, 0, 0};
    EXPECT_EQ(std::vector<int>(t.Data, t.Data + 10), want);
    t.NumBytes = 0;
    EXPECT_EQ(KX_Flash_NVSRAM(0, KX_NVSRAM_READ, &t), 7);
    t.NumBytes = 257;
    EXPECT_EQ(KX_Flash_NVSRAM(0, KX_NVSRAM_READ, &t), 7);
    t.NumBytes = 2;
    t.Offset = 32767;
    EXPECT_EQ(KX_Flash_NVSRAM(0, KX_NVSRAM_READ, &t), 5);
    EXPECT_EQ(KX_Flash_NVSRAM(0, 2, &t), 7);

    // Flash bytes never written read as erased flash.
    KX_U8 bytes[8] = {0};
    ASSERT_EQ(KX_Flash_Byte(0, KX_NVSRAM_WRITE, 60, 2, (KX_U8 *)"\x12\x34"), 0);
    ASSERT_EQ(KX_Flash_Byte(0, KX_NVSRAM_READ, 58, 6, bytes), 0);
    EXPECT_EQ(std::vector<int>(bytes, bytes + 6), (std::vector<int>{0xFF, 0xFF, 0x12, 0x34, 0xFF, 0xFF}));
    EXPECT_EQ(KX_Flash_Byte(0, KX_NVSRAM_READ, 60, 5, bytes), 5);
    EXPECT_EQ(KX_Flash_Byte(0, KX_NVSRAM_READ, 0xFFFFFFFF, 2, bytes), 5);

    Adapter_Register_Value reg;
    std::memset(&reg, 0, sizeof reg);
    ASSERT_EQ(KX_Adapter_Read_Register(0, KX_REGISTER_MAILBOX, 1, &reg), 0);
    EXPECT_EQ(reg.value, 9u);
    reg.value = 0xCAFE;
    ASSERT_EQ(KX_Adapter_Write_Register(0, KX_REGISTER_INTERNAL, 0xFFFF, &reg), 0);
    EXPECT_EQ(KX_Adapter_Write_Register(0, KX_REGISTER_INTERNAL, 0x10000, &reg), 5);
    EXPECT_EQ(KX_Adapter_Write_Register(0, 255, 0, &reg), 7);

    const nlohmann::json a = nlohmann::json::parse(readState())["adapters"][0];
    EXPECT_EQ(a["nvsram"].dump(), R"({"data":[{"hex":"01eeeeeeee0b","offset":16}],"size":32768})");
    EXPECT_EQ(a["flashBytes"].dump(), R"({"data":[{"hex":"1234","offset":60}],"size":64})");
    EXPECT_EQ(a["registers"].dump(),
              R"([{"address":1,"type":"mailbox","value":9},{"address":65535,"type":"internal","value":51966}])");
}

TEST_F(ServiceFamilies, OsNamesFollowWhatTheOsSees)
{
    writeFixture(R"({"adapters":[{"Adapter_Info": {"MaxDiskGroup": 0},
        "pds": [{"id": 0}, {"id": 1}, {"id": 2, "osName": "boot"}, {"id": 3, "state": "missing"}],
        "vds": [{"id": 4, "pds": [0], "size": 1024, "status": 12}]}]})");
    ASSERT_EQ(KX_API_Initialize(), 0);
    Tandem_Magic r[2];
    std::memset(r, 0, sizeof r);
    r[0].ID = 1;
    r[1].ID = 2;
    ASSERT_EQ(KX_Tandem_GetHDMagic(0, 2, r), 0);
    EXPECT_EQ(textOf(r[0].Magic, 24), "/dev/sda");
    EXPECT_EQ(textOf(r[1].Magic, 24), "boot");
    // A refused request leaves every record as it was.
    r[1].ID = 3;
    EXPECT_EQ(KX_Tandem_GetHDMagic(0, 2, r), 9);
    EXPECT_EQ(textOf(r[0].Magic, 24), "/dev/sda");

    r[0].ID = 4;
    ASSERT_EQ(KX_Tandem_GetVDMagic(0, 1, r), 0);
    EXPECT_EQ(textOf(r[0].Magic, 24), "");
    // "plugin conflicted" is reported too; then the VD comes first.
    ASSERT_EQ(KX_LD_Report(0, 4), 0);
    ASSERT_EQ(KX_Tandem_GetVDMagic(0, 1, r), 0);
    EXPECT_EQ(textOf(r[0].Magic, 24), "/dev/sda");
    r[0].ID = 1;
    ASSERT_EQ(KX_Tandem_GetHDMagic(0, 1, r), 0);
    EXPECT_EQ(textOf(r[0].Magic, 24), "/dev/sdb");
    EXPECT_EQ(KX_LD_Report(0, 4), 86);
    EXPECT_EQ(KX_LD_Report(0, 5), 59);
    EXPECT_NE(readState().find(R"("osName": "boot")"), std::string::npos);
}

TEST_F(ServiceFamilies, BadValuesAreRefusedWithTheirPlace)
{
    const std::pair<const char *, const char *> cases[] = {
        {R"({"adapters":[{"nvsram":{"data":[{"offset":0,"hex":"123"}]}}]})", "nvsram.data[0].hex: an odd number"},
        {R"({"adapters":[{"nvsram":{"data":[{"offset":0,"hex":"zz"}]}}]})", "not a hexadecimal digit"},
        {R"({"adapters":[{"nvsram":{"size":2,"data":[{"offset":1,"hex":"0102"}]}}]})", "runs past the end"},
        {R"({"adapters":[{"flashBytes":{"bytes":[]}}]})", "flashBytes.bytes: unknown key"},
        {R"({"adapters":[{"registers":[{"type":"io","address":0}]}]})", "unknown register type 'io'"},
        {R"({"adapters":[{"registers":[{"type":"mailbox","address":2}]}]})", "registers[0].address: value 2"},
        {R"({"adapters":[{"pds":[{"id":0,"osName":"0123456789012345678901234"}]}]})",
         "pds[0].osName: longer than 24 bytes"},
    };
    for (const auto &c : cases) {
        writeFixture(c.first);
        testing::internal::CaptureStderr();
        EXPECT_NE(KX_API_Initialize(), 0) << c.first;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(c.second), std::string::npos) << err;
        KX_API_Finalize();
    }
}

}  // namespace
