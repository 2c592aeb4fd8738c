// The SMART and enclosure-element families: the pass-through commands,
// elements and attributes given by a fixture, and their checks.
#include "sim_fixture.h"

#include "family.h"
#include "model.h"

namespace {

const char kFixture[] = R"({"adapters":[{
    "enclosures":[{"id":0},
                  {"id":3,"elements":[
                      {"type":4,"status":2,"data":{"temperature":45,"OTFailure":1},"thresholds":{"highCritical":80}},
                      {"type":3,"data":[52,18,6]},
                      {"type":3,"id":7,"status":9},
                      {"type":14,"data":[1,2,3,4,5,6,7,8]}]},
                  {"id":4,"elements":[]}],
    "pds":[{"id":0},
           {"id":1,"smartExceeded":true},
           {"id":2,"interface":"sas"},
           {"id":3,"smartOn":false},
           {"id":4,"smart":[{"id":9,"name":"Power_On_Hours","raw":70000,"status":1},
                            {"id":194,"raw":[5,4,3,2,1,0],"flags":34,"current":90,"worst":80,"threshold":10}]}]}]})";

class SmartEnclosure : public SimTest {
protected:
    void SetUp() override
    {
        SimTest::SetUp();
        writeFixture(kFixture);
    }

    // SMART RETURN STATUS of a disk; regs as they come back.
    KX_U8 returnStatus(KX_U16 pd, KX_U8 *regs)
    {
        const KX_U8 sent[KX_ATA_REGISTER_BYTES] = {0xDA, 0, 0, 0x4F, 0xC2, 0xA0, 0xB0};
        std::memcpy(regs, sent, sizeof sent);
        return KX_PassThrough_ATA(0, regs, pd);
    }

    static SCSI_PassThrough ataPassThrough12(KX_U8 features, KX_U8 lbaLow, KX_U8 command)
    {
        SCSI_PassThrough r;
        std::memset(&r, 0, sizeof r);
        const KX_U8 cdb[] = {0xA1, 0x08, 0x0D, features, 0x01, lbaLow, 0x4F, 0xC2, 0x00, command, 0x00, 0x08};
        std::memcpy(r.Cdb, cdb, sizeof cdb);
        r.CdbLength = sizeof cdb;
        return r;
    }

    sim::json diskDoc(unsigned index)
    {
        return sim::json::parse(readState())["adapters"][0]["pds"][index];
    }
};

TEST_F(SmartEnclosure, SmartReturnStatusThroughAtaPassThrough)
{
    KX_U8 regs[KX_ATA_REGISTER_BYTES];
    ASSERT_EQ(returnStatus(0, regs), 0);
    EXPECT_EQ(regs[3], 0x4F);
    EXPECT_EQ(regs[4], 0xC2);
    EXPECT_EQ(regs[6], 0x50);  // status register: ready
    ASSERT_EQ(returnStatus(1, regs), 0);
    EXPECT_EQ(regs[3], 0xF4);
    EXPECT_EQ(regs[4], 0x2C);

    // Refusals leave the registers as they were sent.
    const KX_U8 sent[KX_ATA_REGISTER_BYTES] = {0xDA, 0, 0, 0x4F, 0xC2, 0xA0, 0xB0};
    EXPECT_EQ(returnStatus(2, regs), 19);  // SAS: not an ATA device
    EXPECT_EQ(std::memcmp(regs, sent, sizeof sent), 0);
    EXPECT_EQ(returnStatus(3, regs), 19);  // SMART switched off
    EXPECT_EQ(returnStatus(9, regs), 9);
    std::memcpy(regs, sent, sizeof sent);
    regs[3] = 0;  // no SMART signature
    EXPECT_EQ(KX_PassThrough_ATA(0, regs, 0), 7);
    std::memcpy(regs, sent, sizeof sent);
    regs[6] = 0xEC;  // IDENTIFY needs a data buffer the image has not got
    EXPECT_EQ(KX_PassThrough_ATA(0, regs, 0), 19);
    regs[6] = 0xB0;
    regs[0] = 0xD0;  // SMART READ DATA likewise
    EXPECT_EQ(KX_PassThrough_ATA(0, regs, 0), 19);
    EXPECT_EQ(std::memcmp(regs + 1, sent + 1, sizeof sent - 1), 0);
    EXPECT_EQ(KX_PassThrough_ATA(0, nullptr, 0), 7);
}

TEST_F(SmartEnclosure, SelfTestsThroughScsiPassThrough)
{
    SCSI_PassThrough r = ataPassThrough12(0xD4, 1, 0xB0);
    ASSERT_EQ(KX_PassThrough_SCSI(0, 0, &r), 0);
    EXPECT_EQ(r.ScsiStatus, 0);
    EXPECT_EQ(r.SenseLength, 0);
    EXPECT_EQ(diskDoc(0)["selfTest"], "short");
    r = ataPassThrough12(0xD4, 2, 0xB0);
    ASSERT_EQ(KX_PassThrough_SCSI(0, 0, &r), 0);
    EXPECT_EQ(diskDoc(0)["selfTest"], "extended");
    r = ataPassThrough12(0xD4, 0x7F, 0xB0);  // abort
    ASSERT_EQ(KX_PassThrough_SCSI(0, 0, &r), 0);
    EXPECT_FALSE(diskDoc(0).contains("selfTest"));

    // The 16-byte form with CK_COND returns the registers in the sense.
    SCSI_PassThrough s;
    std::memset(&s, 0, sizeof s);
    const KX_U8 cdb16[] = {0x85, 0x06, 0x2C, 0, 0xDA, 0, 0, 0, 0, 0, 0x4F, 0, 0xC2, 0xA0, 0xB0, 0};
    std::memcpy(s.Cdb, cdb16, sizeof cdb16);
    s.CdbLength = 16;
    ASSERT_EQ(KX_PassThrough_SCSI(0, 1, &s), 0);
    EXPECT_EQ(s.Sense[0], 0x72);
    EXPECT_EQ(s.Sense[8], 0x09);
    EXPECT_EQ(s.Sense[8 + 9], 0xF4);
    EXPECT_EQ(s.Sense[8 + 11], 0x2C);

    // Unsupported commands: a clear status and the sense a disk gives.
    SCSI_PassThrough inquiry;
    std::memset(&inquiry, 0, sizeof inquiry);
    inquiry.Cdb[0] = 0x12;
    inquiry.CdbLength = 6;
    EXPECT_EQ(KX_PassThrough_SCSI(0, 0, &inquiry), 19);
    EXPECT_EQ(inquiry.ScsiStatus, 2);
    EXPECT_EQ(inquiry.Sense[2], 5);
    EXPECT_EQ(inquiry.Sense[12], 0x20);
    r = ataPassThrough12(0xD4, 1, 0xB0);
    r.DataLength = 512;
    EXPECT_EQ(KX_PassThrough_SCSI(0, 0, &r), 7);
    r = ataPassThrough12(0xD4, 9, 0xB0);  // no such self-test
    EXPECT_EQ(KX_PassThrough_SCSI(0, 0, &r), 19);
    EXPECT_EQ(r.Sense[12], 0x24);
    r = ataPassThrough12(0xD4, 1, 0xB0);
    EXPECT_EQ(KX_PassThrough_SCSI(0, 3, &r), 19);
    EXPECT_EQ(KX_PassThrough_SCSI(0, 9, &r), 9);
    EXPECT_EQ(KX_PassThrough_SCSI(0, 0, nullptr), 7);
    std::memset(&r, 0, sizeof r);  // TEST UNIT READY, also on a SAS disk
    r.CdbLength = 6;
    EXPECT_EQ(KX_PassThrough_SCSI(0, 2, &r), 0);
    EXPECT_EQ(diskDoc(3).contains("selfTest"), false);
}

TEST_F(SmartEnclosure, AttributesGivenByTheFixture)
{
    ListBuffer<SMART_INFO> buf(30);
    ASSERT_EQ(KX_PD_GET_SMART_INFO(0, 4, buf.as<SMART_INFO_Request>()), 0);
    ASSERT_EQ(buf.header()->numReturned, 2);
    EXPECT_EQ(buf.at(0).Id, 9);
    EXPECT_EQ(textOf(buf.at(0).AttributeName, 32), "Power_On_Hours");
    EXPECT_EQ(buf.at(0).StatusFlags1, 0x0F);
    EXPECT_EQ(buf.at(0).StatusFlags2, 1);
    const KX_U8 raw70000[6] = {0x70, 0x11, 0x01, 0, 0, 0};
    EXPECT_EQ(std::memcmp(buf.at(0).RawValue, raw70000, 6), 0);
    EXPECT_EQ(buf.at(1).StatusFlags1, 34);
    EXPECT_EQ(buf.at(1).CurrentValue, 90);
    EXPECT_EQ(buf.at(1).WorstValue, 80);
    EXPECT_EQ(buf.at(1).ThresholdValue, 10);
    EXPECT_EQ(buf.at(1).RawValue[0], 5);
    EXPECT_EQ(buf.at(1).RawValue[4], 1);
    EXPECT_TRUE(buf.guardIntact(2));
    // Other disks keep the modelled six.
    ASSERT_EQ(KX_PD_GET_SMART_INFO(0, 1, buf.as<SMART_INFO_Request>()), 0);
    EXPECT_EQ(buf.header()->numReturned, 6);
    EXPECT_EQ(buf.at(1).CurrentValue, 20);
}

TEST_F(SmartEnclosure, ElementsGivenByTheFixture)
{
    EncElementType_Info e[16];
    KX_U8 n = 16;
    ASSERT_EQ(KX_ENC_GetElementInfo(0, 3, e, &n), 0);
    ASSERT_EQ(n, 4);
    EXPECT_EQ(e[0].type, 4);
    EXPECT_EQ(e[0].status, 2);
    EXPECT_EQ(e[0].element.raw[0], 45);
    EXPECT_EQ(e[0].element.raw[1], 1);
    // Element IDs count within their type unless given.
    EXPECT_EQ(e[1].elementID, 0);
    EXPECT_EQ(e[1].element.cooling.curSpeed, 0x1234);
    EXPECT_EQ(e[1].element.cooling.curSpeedcode, 6);
    EXPECT_EQ(e[2].elementID, 7);
    EXPECT_EQ(e[2].status, 9);
    EXPECT_EQ(e[3].element.raw[7], 8);

    EncElement_Config c[16];
    n = 16;
    ASSERT_EQ(KX_ENC_GetElementConfig(0, 3, c, &n), 0);
    ASSERT_EQ(n, 4);
    EXPECT_EQ(c[0].highCriticalThreshold, 80);
    EXPECT_EQ(c[0].highWarningThreshold, 60);  // the type's default
    EXPECT_EQ(c[1].highCriticalThreshold, 0);

    n = 16;
    ASSERT_EQ(KX_ENC_GetElementInfo(0, 4, e, &n), 0);
    EXPECT_EQ(n, 0);
    // All enclosures: 10 modelled + 4 + 0, cut to the room given.
    EncElementType_Info all[20];
    n = 12;
    ASSERT_EQ(KX_ENC_GetElementInfo(0, 0xFF, all, &n), 0);
    EXPECT_EQ(n, 12);
    EXPECT_EQ(all[10].enclosureID, 3);
    n = 20;
    ASSERT_EQ(KX_ENC_GetElementInfo(0, 0xFF, all, &n), 0);
    EXPECT_EQ(n, 14);
    n = 4;
    EXPECT_EQ(KX_ENC_GetElementConfig(0, 7, c, &n), 15);
}

TEST_F(SmartEnclosure, GivenStateIsWrittenBackAsGiven)
{
    SCSI_PassThrough r = ataPassThrough12(0xD4, 1, 0xB0);
    ASSERT_EQ(KX_PassThrough_SCSI(0, 4, &r), 0);  // writes the state back
    sim::json fixture = sim::json::parse(kFixture)["adapters"][0];
    sim::json state = sim::json::parse(readState())["adapters"][0];
    EXPECT_EQ(state["enclosures"][1]["elements"], fixture["enclosures"][1]["elements"]);
    EXPECT_EQ(state["enclosures"][2]["elements"], sim::json::array());
    EXPECT_FALSE(state["enclosures"][0].contains("elements"));
    EXPECT_EQ(state["pds"][4]["smart"], fixture["pds"][4]["smart"]);
    EXPECT_EQ(state["pds"][4]["selfTest"], "short");
    EXPECT_FALSE(state["pds"][0].contains("smart"));
}

TEST_F(SmartEnclosure, BadKeysAreRefusedWithTheirPlace)
{
    const std::pair<const char *, const char *> cases[] = {
        {R"({"adapters":[{"enclosures":[{"id":0,"elements":[{"status":1}]}]}]})",
         "adapters[0].enclosures[0].elements[0]: an element needs a \"type\""},
        {R"({"adapters":[{"enclosures":[{"id":0,"elements":[{"type":4,"colour":1}]}]}]})",
         "elements[0].colour: unknown key of an enclosure element"},
        {R"({"adapters":[{"enclosures":[{"id":0,"elements":[{"type":4,"data":[1,2,3,4,5,6,7,8,9]}]}]}]})",
         "elements[0].data: at most 8 bytes"},
        {R"({"adapters":[{"enclosures":[{"id":0,"elements":[{"type":9,"data":{"x":1}}]}]}]})",
         "element type 9 has no record"},
        {R"({"adapters":[{"enclosures":[{"id":0,"elements":[{"type":4,"data":{"OTFailure":2}}]}]}]})",
         "elements[0].data.OTFailure"},
        {R"({"adapters":[{"enclosures":[{"id":0,"elements":[{"type":4,"thresholds":{"high":1}}]}]}]})",
         "thresholds.high: unknown threshold"},
        {R"({"adapters":[{"enclosures":[{"id":0,"elements":{}}]}]})", "expected a list of elements"},
        {R"({"adapters":[{"pds":[{"id":0,"smart":[{"name":"x"}]}]}]})", "pds[0].smart[0]: a SMART attribute needs an \"id\""},
        {R"({"adapters":[{"pds":[{"id":0,"smart":[{"id":1,"name":"123456789012345678901234567890123"}]}]}]})",
         "smart[0].name: longer than 32 characters"},
        {R"({"adapters":[{"pds":[{"id":0,"smart":[{"id":1,"raw":281474976710656}]}]}]})", "smart[0].raw: value"},
        {R"({"adapters":[{"pds":[{"id":0,"smart":[{"id":1,"raw":[1,2,3,4,5,6,7]}]}]}]})", "smart[0].raw: at most 6 bytes"},
        {R"({"adapters":[{"pds":[{"id":0,"smart":[{"id":1,"worst":256}]}]}]})", "smart[0].worst: value 256"},
        {R"({"adapters":[{"pds":[{"id":0,"selfTest":"long"}]}]})", "pds[0].selfTest: expected"},
    };
    for (const auto &c : cases) {
        sim::State s;
        std::string err;
        EXPECT_FALSE(sim::stateFromJson(sim::json::parse(c.first), 0, s, err)) << c.first;
        EXPECT_NE(err.find(c.second), std::string::npos) << err;
    }
    std::string many = R"({"adapters":[{"enclosures":[{"id":0,"elements":[)";
    for (int i = 0; i < 256; ++i)
        many += std::string(i ? "," : "") + R"({"type":2})";
    many += "]}]}]}";
    sim::State s;
    std::string err;
    EXPECT_FALSE(sim::stateFromJson(sim::json::parse(many), 0, s, err));
    EXPECT_NE(err.find("at most 255 elements"), std::string::npos) << err;
}

}  // namespace
