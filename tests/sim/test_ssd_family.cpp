// The SSD family through the C API: what the diagnostic call refuses, the
// CRC check of a manufacturing record written, a record that only its
// bytes describe surviving a write back and a re-read, and fixture errors.
#include "sim_fixture.h"

#include "fam_ssd.h"
#include "model.h"

namespace {

class SsdFamily : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        writeFixture(R"({"adapters": [{"pds": [{"id": 0, "ssd": true, "korvexSsd": {}}, {"id": 1}]}]})");
    }

    // A diagnostic call with a buffer of `sectors` sectors.
    KX_U8 call(KX_U16 disk, KX_U8 code, KX_U8 dir, KX_U16 sectors, std::vector<KX_U8> &buf, KX_U32 number = 0)
    {
        buf.resize(KX_SSD_HEADER_BYTES + sectors * KX_SSD_SECTOR_BYTES);
        KX_U8 done = 0;
        return KX_SSD_Diagnostic(0, disk, code, dir, number, sectors, buf.data(), &done);
    }
};

TEST_F(SsdFamily, RefusesWrongTransfersAndOtherDisks)
{
    std::vector<KX_U8> buf;
    EXPECT_EQ(call(0, 246, KX_SSD_READ, 1, buf), 7);     // the record has two sectors
    EXPECT_EQ(call(0, 246, KX_SSD_WRITE, 2, buf), 7);    // and is written with 245
    EXPECT_EQ(call(0, 235, KX_SSD_READ, 65, buf), 7);    // table reads: 1 to 64 sectors
    EXPECT_EQ(call(0, 17, KX_SSD_NO_DATA, 0, buf, 91), 5);
    EXPECT_EQ(call(0, 99, KX_SSD_READ, 1, buf), 19);
    EXPECT_EQ(call(1, 255, KX_SSD_READ, 1, buf), 19);    // not one of the maker's
    EXPECT_EQ(call(7, 255, KX_SSD_READ, 1, buf), 9);
    EXPECT_EQ(KX_Download_SSD_Microcode(0, 0, (m_dir + "/none").c_str()), 165);
    EXPECT_EQ(KX_Download_SSD_Microcode(0, 0, m_path.c_str()), 166);
}

TEST_F(SsdFamily, RecordWrittenWithItsCrcSurvivesAReRead)
{
    std::vector<KX_U8> buf;
    ASSERT_EQ(call(0, 246, KX_SSD_READ, 2, buf), 0);
    KX_U8 *rec = buf.data() + KX_SSD_HEADER_BYTES;
    // The default record carries a valid CRC.
    KX_U32 crc;
    memcpy(&crc, rec, 4);
    EXPECT_EQ(crc, sim::mfgCrc(rec));

    rec[500] = 0x5A;  // a byte no field describes
    EXPECT_EQ(call(0, 245, KX_SSD_WRITE, 2, buf), 163);  // stale CRC: refused
    crc = sim::mfgCrc(rec);
    memcpy(rec, &crc, 4);
    ASSERT_EQ(call(0, 245, KX_SSD_WRITE, 2, buf), 0);

    // Written back as bytes; a fresh load of that state reads them again.
    EXPECT_NE(readState().find("\"hex\""), std::string::npos);
    writeFixture(readState());
    std::vector<KX_U8> again;
    ASSERT_EQ(call(0, 246, KX_SSD_READ, 2, again), 0);
    EXPECT_EQ(0, memcmp(again.data() + KX_SSD_HEADER_BYTES, rec, sim::kMfgBytes));
}

TEST_F(SsdFamily, FixtureErrorsNameThePlace)
{
    const char *cases[][2] = {
        {R"({"adapters": [{"pds": [{"id": 0, "korvexSsd": {"modle": "x"}}]}]})", "korvexSsd.modle: unknown key"},
        {R"({"adapters": [{"pds": [{"id": 0, "korvexSsd": {"manufacture": {"hex": "00"}}}]}]})",
         "manufacture.hex: expected 1024 bytes"},
        {R"({"adapters": [{"pds": [{"id": 0, "korvexSsd": {"firmware": "123456789"}}]}]})",
         "firmware: longer than 8 bytes"},
        {R"({"adapters": [{"pds": [{"id": 0}], "vds": [{"id": 0, "raid": 0, "pds": [0], "tandemTable": {}}]}]})",
         "tandemTable: the VD is not a Tandem VD"},
    };
    for (const auto &c : cases) {
        writeFixture(c[0]);
        sim::State s;
        std::string error;
        EXPECT_FALSE(sim::loadStateFile(m_path, s, error)) << c[1];
        EXPECT_NE(error.find(c[1]), std::string::npos) << error;
    }
}

}  // namespace
