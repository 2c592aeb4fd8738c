// The information, adapter and battery operators in process, over fixtures
// of the simulated controller: the rules that the golden responses do not
// reach (a missing adapter reaching no controller call, the derived
// adapter values, bounded text fields, the remembered SMART failure, the
// element layouts, the default cache settings).
#include "rpc_fixture.h"

#include <string>

#include "Parser/ValuesMap.h"
#include "kx_records.h"

void kxElementValues(const EncElementType_Info &r, KX_U16 enclosure, ValuesMap &out);
std::string kxSmartRawValue(const KX_U8 raw[6]);

namespace {

std::string adapterJson(const std::string &info, const std::string &more = "")
{
    return "{\"adapters\": [{\"Adapter_Info\": {" + info + "}" + (more.empty() ? "" : ", " + more) + "}]}";
}

class Operators : public RpcFixture {};

TEST_F(Operators, MissingAdapterNumberReachesNoController)
{
    // Every call these requests could make fails with 19; a request that
    // reached the controller would report that instead of 6.
    load(adapterJson("\"MaxBufferSize\": 0",
                     "\"faults\": {\"KX_PD_GetHDInfo_Ext\": 19, \"KX_PD_GetHDInfo\": 19, \"KX_BBU_GetInfo\": 19,"
                     " \"KX_LD_GetMaxSize\": 19, \"KX_PD_GET_SMART_INFO\": 19, \"KX_ENC_GetElementInfo\": 19,"
                     " \"KX_BBU_SetThreshold\": 19, \"KX_Adapter_GetInfo\": 19, \"KX_Flash_Bin\": 19}"));
    const char *const requests[] = {
        "<KX_PD_GetHDInfo><requestType>1</requestType><numRequested>3</numRequested></KX_PD_GetHDInfo>",
        "<KX_BBU_GetInfo/>", "<KX_LD_GetMaxSize><HDCount>1</HDCount></KX_LD_GetMaxSize>",
        "<KX_PD_GET_SMART_INFO><HD_ID>0</HD_ID></KX_PD_GET_SMART_INFO>",
        "<KX_ENC_GetElementInfo><ENC_ID>0</ENC_ID></KX_ENC_GetElementInfo>",
        "<KX_BBU_SetThreshold><tempUpperBound>50</tempUpperBound></KX_BBU_SetThreshold>",
        "<KX_Adapter_GetInfo/>", "<KX_LD_GetDefaultPara/>",
        "<KX_Flash_Option><filepath>/nonexistent</filepath><Actions>240</Actions></KX_Flash_Option>",
    };
    for (const char *r : requests) {
        SCOPED_TRACE(r);
        std::string out = issue(r);
        EXPECT_EQ("6", memberOf(out, "RetVal"));
        EXPECT_EQ(0, countOf(out, "HD_Info"));
        EXPECT_EQ("<absent>", memberOf(out, "numReturned"));
    }
    // With the adapter named, the same requests do reach it.
    EXPECT_EQ("19", memberOf(issue("<KX_BBU_GetInfo><AdapterID>0</AdapterID></KX_BBU_GetInfo>"), "RetVal"));
}

TEST_F(Operators, AdapterIDWinsOverTheOldSpelling)
{
    load("{\"adapters\": [{\"pds\": [{\"id\": 0}]}, {\"pds\": [{\"id\": 0}, {\"id\": 1}, {\"id\": 2}]}]}");
    std::string out = issue("<KX_PD_GetHDRaidStatus><Adpter_ID>0</Adpter_ID><AdapterID>1</AdapterID>"
                            "<requestType>1</requestType><startingIndexOrId>0</startingIndexOrId>"
                            "<numRequested>9</numRequested></KX_PD_GetHDRaidStatus>");
    EXPECT_EQ("3", memberOf(out, "numReturned"));
    // Both spellings are echoed as they came.
    EXPECT_EQ("0", memberOf(out, "Adpter_ID"));
    out = issue("<KX_PD_GetHDRaidStatus><Adpter_ID>0</Adpter_ID><requestType>1</requestType>"
                "<startingIndexOrId>0</startingIndexOrId><numRequested>9</numRequested></KX_PD_GetHDRaidStatus>");
    EXPECT_EQ("1", memberOf(out, "numReturned"));
}

TEST_F(Operators, AdapterRecordsAreNormalisedAndBounded)
{
    load("{\"adapters\": [{\"Adapter_Info\": {\"StripeSizeSupported\": 0, \"AdvancedFeatures\": 0, \"PortCount\": 0,"
         " \"LogicalDriverMode\": 0, \"MaxTandemHdd\": 0, \"MaxHD\": 9, \"MaxHD_Ext\": 40, \"Features\": 1}},"
         " {\"Adapter_Info\": {\"StripeSizeSupported\": 128, \"AdvancedFeatures\": 16777218, \"PortCount\": 200,"
         " \"Features\": 17}}]}");
    std::string out = issue("<KX_Adapter_GetInfo><AdapterID>0</AdapterID></KX_Adapter_GetInfo>");
    EXPECT_EQ("1", memberOf(out, "Count"));
    // No stripe sizes and no AdvancedFeatures bit 1: the basic 15.
    EXPECT_EQ("15", memberOf(out, "StripeSizeSupported"));
    EXPECT_EQ("0", memberOf(out, "MaxTandemHdd"));  // no Tandem mode: stays 0
    EXPECT_EQ("40", memberOf(out, "MaxHD_Ext"));
    EXPECT_EQ(std::string::npos, out.find("PortSasAddress"));
    EXPECT_EQ("1", memberOf(out, "SpareSupport"));
    EXPECT_EQ("0", memberOf(out, "MediaPatrolSupport"));

    out = issue("<KX_Adapter_GetInfo><AdapterID>1</AdapterID></KX_Adapter_GetInfo>");
    // Low 7 bits 0 (128) with bit 1 set: 127. Bit 24 takes spares away,
    // and media patrol with them.
    EXPECT_EQ("127", memberOf(out, "StripeSizeSupported"));
    EXPECT_EQ("0", memberOf(out, "SpareSupport"));
    EXPECT_EQ("0", memberOf(out, "MediaPatrolSupport"));
    EXPECT_EQ("1", memberOf(out, "BGASupport"));
    // 200 ports claimed, room for 16 in the record.
    int ports = 0;
    for (int p = 0; p < 200; ++p)
        ports += countOf(out, "PortSasAddress" + std::to_string(p));
    EXPECT_EQ(16, ports);
    EXPECT_EQ(0, countOf(out, "PortSasAddress16"));

    // All adapters at once.
    out = issue("<KX_Adapter_GetInfo><AdapterID>255</AdapterID></KX_Adapter_GetInfo>");
    EXPECT_EQ("2", memberOf(out, "Count"));
    EXPECT_EQ(2, countOf(out, "AdapterInfo"));
    // The version sub-structs come first, before the members in name order.
    EXPECT_EQ(0u, out.find("<KX_Adapter_GetInfo type=\"function\"><RetVal type=\"U8\">0</RetVal><Count type=\"U8\">"
                           "<![CDATA[2]]></Count><AdapterInfo type=\"struct  Adapter_Info\"><DriverVersion "));
    EXPECT_LT(out.find("<BootLoaderVersion "), out.find("<AdvancedFeatures>"));
}

TEST_F(Operators, BatteryAbsentAndThresholdsInOrder)
{
    load(adapterJson("\"MaxBufferSize\": 0", "\"bbu\": false"));
    std::string out = issue("<KX_BBU_GetInfo><AdapterID>0</AdapterID></KX_BBU_GetInfo>");
    EXPECT_EQ("<KX_BBU_GetInfo type=\"function\"><RetVal type=\"U8\">0</RetVal></KX_BBU_GetInfo>\n", out);

    load(adapterJson("\"MaxBufferSize\": 0", "\"BBU_Info\": {\"volt_lowerbound\": 7000, \"volt_upperbound\": 9000,"
                                             " \"temp_lowerbound\": 0, \"temp_upperbound\": 60}"));
    // Temperature bounds the battery refuses (lower above upper): the
    // voltage bounds of the same request are not sent.
    out = issue("<KX_BBU_SetThreshold><AdapterID>0</AdapterID><tempLowerBound>70</tempLowerBound>"
                "<tempUpperBound>50</tempUpperBound><volLowerBound>6000</volLowerBound>"
                "<volUpperBound>9500</volUpperBound></KX_BBU_SetThreshold>");
    EXPECT_EQ("7", memberOf(out, "RetVal"));
    out = issue("<KX_BBU_GetInfo><AdapterID>0</AdapterID></KX_BBU_GetInfo>");
    EXPECT_EQ("7000", memberOf(out, "volt_lowerbound"));
    EXPECT_EQ("60", memberOf(out, "temp_upperbound"));
    // Fields keep the previous request's values: only the temperature
    // bounds are given now, the voltage bounds of the last request apply.
    out = issue("<KX_BBU_SetThreshold><AdapterID>0</AdapterID><tempLowerBound>5</tempLowerBound>"
                "<tempUpperBound>50</tempUpperBound></KX_BBU_SetThreshold>");
    EXPECT_EQ("0", memberOf(out, "RetVal"));
    out = issue("<KX_BBU_GetInfo><AdapterID>0</AdapterID></KX_BBU_GetInfo>");
    EXPECT_EQ("6000", memberOf(out, "volt_lowerbound"));
    EXPECT_EQ("9500", memberOf(out, "volt_upperbound"));
    EXPECT_EQ("50", memberOf(out, "temp_upperbound"));
}

TEST_F(Operators, SmartFailureIsRememberedUntilAnotherDiskFails)
{
    load(adapterJson("\"MaxBufferSize\": 0", "\"pds\": [{\"id\": 0}, {\"id\": 1}, {\"id\": 5, \"smartOn\": false}]"));
    const std::string disk7 = "<KX_PD_GET_SMART_INFO><AdapterID>0</AdapterID><HD_ID>7</HD_ID></KX_PD_GET_SMART_INFO>";
    EXPECT_EQ("9", memberOf(issue(disk7), "RetVal"));   // no such disk
    EXPECT_EQ("31", memberOf(issue(disk7), "RetVal"));  // not asked again
    std::string ok = issue("<KX_PD_GET_SMART_INFO><AdapterID>0</AdapterID><HD_ID>1</HD_ID></KX_PD_GET_SMART_INFO>");
    EXPECT_EQ("0", memberOf(ok, "RetVal"));
    EXPECT_EQ(6, countOf(ok, "SMARTInfo"));
    EXPECT_EQ("31", memberOf(issue(disk7), "RetVal"));  // a success clears nothing
    // Another disk fails: now that one is remembered, and disk 7 is tried.
    EXPECT_EQ("19", memberOf(issue("<KX_PD_GET_SMART_INFO><AdapterID>0</AdapterID><HD_ID>5</HD_ID></KX_PD_GET_SMART_INFO>"),
                             "RetVal"));
    EXPECT_EQ("9", memberOf(issue(disk7), "RetVal"));
    // No attribute structs after a failure.
    EXPECT_EQ(0, countOf(issue(disk7), "SMARTInfo"));
}

TEST(SmartRawValue, AllSixBytesInTwelveHexDigits)
{
    const KX_U8 small[6] = {0x58, 0x15, 0, 0, 0, 0};
    EXPECT_EQ("000000001558", kxSmartRawValue(small));
    // Hours beyond 65535 keep their high bytes.
    const KX_U8 large[6] = {0x58, 0x15, 0x01, 0, 0, 0xAB};
    EXPECT_EQ("AB0000011558", kxSmartRawValue(large));
}

TEST(EnclosureElements, MembersFollowTheElementType)
{
    EncElementType_Info r;
    std::memset(&r, 0, sizeof r);
    r.enclosureID = 9;
    r.type = 18;
    r.status = 2;
    r.elementID = 4;
    r.element.raw[0] = 0x34;  // voltage, low byte first
    r.element.raw[1] = 0x12;
    r.element.raw[2] = 0x0A;  // under warning and critical over-voltage
    ValuesMap m;
    kxElementValues(r, 3, m);
    EXPECT_EQ("3", m["EnclosureID"]);  // the enclosure asked for
    EXPECT_EQ("4660", m["Voltage"]);
    EXPECT_EQ("0", m["WarnOver"]);
    EXPECT_EQ("1", m["WarnUnder"]);
    EXPECT_EQ("0", m["CritOver"]);
    EXPECT_EQ("1", m["CritUnder"]);
    EXPECT_EQ(9u, m.size());

    r.type = 2;
    r.element.raw[0] = 0x1D;  // bits 0, 2, 3, 4
    m.clear();
    kxElementValues(r, 3, m);
    EXPECT_EQ("1", m["DCOverVoltage"]);
    EXPECT_EQ("0", m["DCUnderVoltage"]);
    EXPECT_EQ("1", m["DCOverCurrent"]);
    EXPECT_EQ("1", m["HotSwap"]);
    EXPECT_EQ("1", m["TempWarn"]);

    // A kind without members of its own: the four common ones only.
    r.type = 7;
    m.clear();
    kxElementValues(r, 3, m);
    EXPECT_EQ(4u, m.size());
    EXPECT_EQ("7", m["Type"]);
    EXPECT_EQ("2", m["Status"]);
    EXPECT_EQ("4", m["ElementID"]);
}

TEST_F(Operators, ElementsOfEveryEnclosureNameTheirOwn)
{
    load(adapterJson("\"MaxBufferSize\": 0", "\"enclosures\": [{\"id\": 0}, {\"id\": 2}]"));
    std::string out = issue("<KX_ENC_GetElementInfo><AdapterID>0</AdapterID><ENC_ID>255</ENC_ID></KX_ENC_GetElementInfo>");
    EXPECT_EQ(20, countOf(out, "EncElementType_Info"));
    EXPECT_EQ(10, countOf(out, "EnclosureID><![CDATA[2]]></EnclosureID"));
    out = issue("<KX_ENC_GetElementConfig><AdapterID>0</AdapterID><ENC_ID>7</ENC_ID></KX_ENC_GetElementConfig>");
    EXPECT_EQ("15", memberOf(out, "RetVal"));
    EXPECT_EQ(0, countOf(out, "EncElement_Config"));
}

TEST_F(Operators, DefaultCacheSettingsFollowTheAdapter)
{
    load(adapterJson("\"AdvancedFeatures\": 8"));
    std::string out = issue("<KX_LD_GetDefaultPara><AdapterID>0</AdapterID></KX_LD_GetDefaultPara>");
    EXPECT_EQ("0", memberOf(out, "RetVal"));  // the controller's status, not a count
    EXPECT_EQ("0", memberOf(out, "WriteCache"));
    EXPECT_EQ("4", memberOf(out, "ReadCache"));
    load(adapterJson("\"AdvancedFeatures\": 49160"));  // bits 3, 14 and 15
    out = issue("<KX_LD_GetDefaultPara><AdapterID>0</AdapterID></KX_LD_GetDefaultPara>");
    EXPECT_EQ("1", memberOf(out, "WriteCache"));
    EXPECT_EQ("0", memberOf(out, "ReadCache"));
    // A failing read keeps the values of the previous request.
    load(adapterJson("\"AdvancedFeatures\": 8", "\"faults\": {\"KX_Adapter_GetInfo\": 13}"));
    out = issue("<KX_LD_GetDefaultPara><AdapterID>0</AdapterID></KX_LD_GetDefaultPara>");
    EXPECT_EQ("13", memberOf(out, "RetVal"));
    EXPECT_EQ("1", memberOf(out, "WriteCache"));
    EXPECT_EQ("0", memberOf(out, "ReadCache"));
}

TEST_F(Operators, TextFieldsStopAtTheirWidth)
{
    load(adapterJson("\"MaxBufferSize\": 0",
                     "\"expanders\": [{\"id\": 0, \"Exp_Info\": {\"VendorID\": \"ABCDEFGHI\", \"ProductRev\": \"12345\"}}],"
                     " \"enclosures\": [{\"id\": 0, \"Enclosure_Info\": {\"VendorID\": \"VENDOR789\","
                     " \"LogicalID\": \"123456789\"}}]"));
    std::string out = issue("<KX_PD_GetExpanderInfo><AdapterID>0</AdapterID><requestType>1</requestType>"
                            "<startingIndexOrId>0</startingIndexOrId><numRequested>1</numRequested></KX_PD_GetExpanderInfo>");
    EXPECT_EQ("ABCDEFGH", memberOf(out, "VendorID"));
    EXPECT_EQ("1234", memberOf(out, "ProductRev"));
    out = issue("<KX_ENC_GetEnclosureInfo><AdapterID>0</AdapterID><requestType>1</requestType>"
                "<startingIndexOrId>0</startingIndexOrId><numRequested>1</numRequested></KX_ENC_GetEnclosureInfo>");
    EXPECT_EQ("VENDOR78", memberOf(out, "VendorID"));
    EXPECT_EQ("12345678", memberOf(out, "LogicalID"));
}

TEST_F(Operators, ConsecutiveListRequestsAreIndependent)
{
    load(adapterJson("\"MaxBufferSize\": 1", "\"pds\": [{\"id\": 0}, {\"id\": 1}, {\"id\": 2}, {\"id\": 3},"
                                             " {\"id\": 4}, {\"id\": 5}]"));
    std::string first = issue("<KX_PD_GetHDInfo><AdapterID>0</AdapterID><requestType>1</requestType>"
                              "<startingIndexOrId>0</startingIndexOrId><numRequested>6</numRequested>"
                              "<Note>a</Note></KX_PD_GetHDInfo>");
    // Four disk records fit a 1 KiB buffer: two calls.
    EXPECT_EQ(6, countOf(first, "HD_Info"));
    EXPECT_EQ(6, countOf(first, "Link"));
    EXPECT_EQ("65535", memberOf(first, "nextStartingIndex"));
    std::string second = issue("<KX_PD_GetHDInfo><AdapterID>0</AdapterID><requestType>2</requestType>"
                               "<startingIndexOrId>4</startingIndexOrId><numRequested>1</numRequested></KX_PD_GetHDInfo>");
    EXPECT_EQ(1, countOf(second, "HD_Info"));
    EXPECT_EQ(1, countOf(second, "Link"));
    EXPECT_EQ("<absent>", memberOf(second, "Note"));
    EXPECT_EQ("4", memberOf(second.substr(second.find("<Self ")), "DevID"));
}

} // namespace
