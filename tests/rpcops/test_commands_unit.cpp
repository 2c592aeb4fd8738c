// The command and set operators in process, over fixtures of the simulated
// controller: the rules behind their one-line answers (what is stopped
// before a delete, which RAID level and disks a quick create takes, how a
// Tandem volume is named and sized), and that settings requests change
// only what they name.
#include "rpc_fixture.h"

#include <string>

namespace {

// One adapter: its extra keys (records, lists) inside {"adapters": [{...}]}.
std::string adapter(const std::string &keys)
{
    return "{\"adapters\": [{\"bgaSpeed\": 0, " + keys + "}]}";
}

std::string disks(int n, int firstSSD = -1)
{
    std::string out = "\"pds\": [";
    for (int i = 0; i < n; ++i)
        out += std::string(i ? ", " : "") + "{\"id\": " + std::to_string(i) + (i >= firstSSD && firstSSD >= 0 ? ", \"ssd\": true" : "") + "}";
    return out + "]";
}

std::string request(const std::string &name, const std::string &params)
{
    return "<" + name + "><AdapterID>0</AdapterID>" + params + "</" + name + ">";
}

std::string list(const std::string &name, int start, int count)
{
    return request(name, "<requestType>1</requestType><startingIndexOrId>" + std::to_string(start) +
                             "</startingIndexOrId><numRequested>" + std::to_string(count) + "</numRequested>");
}

std::string byId(const std::string &name, int id)
{
    return request(name, "<requestType>2</requestType><startingIndexOrId>" + std::to_string(id) +
                             "</startingIndexOrId><numRequested>1</numRequested>");
}

class Commands : public RpcFixture {
protected:
    std::string retval(const std::string &name, const std::string &params)
    {
        return memberOf(issue(request(name, params)), "RetVal");
    }
    std::string vd(int id, const std::string &member) { return memberOf(issue(byId("KX_LD_GetInfo", id)), member); }
};

TEST_F(Commands, MissingAdapterNumberReachesNoController)
{
    // Every call these requests could make fails with 19; one that reached
    // the controller would answer that instead of 6.
    load("{\"adapters\": [{\"faults\": {\"KX_LD_BGAControl\": 19, \"KX_PD_FreeHD2DGSpare\": 19, \"KX_LD_Create\": 19,"
         " \"KX_LD_GetConfig\": 19, \"KX_Adapter_GetConfig\": 19, \"KX_Adapter_GetInfo\": 19,"
         " \"KX_DG_GetInfo\": 19, \"KX_CreateOrModify_DG\": 19, \"KX_Tandem_GetFreeSize\": 19,"
         " \"KX_LD_GetStatus\": 19, \"KX_PD_GetHDRaidStatus\": 19, \"KX_LocateArrayDevice\": 19}}]}");
    const char *const requests[] = {
        "<KX_LD_BGAControl><LD_ID>0</LD_ID><Actions>2</Actions></KX_LD_BGAControl>",
        "<KX_PD_FreeHD2DGSpare><HD_ID>4</HD_ID><DG_ID>0</DG_ID></KX_PD_FreeHD2DGSpare>",
        "<KX_LocateArrayDevice><deviceType>1</deviceType><deviceId>1</deviceId><ledStatus>1</ledStatus>"
        "</KX_LocateArrayDevice>",
        "<KX_LD_Create><HDCount>1</HDCount><HDIDs>5</HDIDs></KX_LD_Create>",
        "<KX_LD_SetConfig><LDID>0</LDID><CacheMode>1</CacheMode></KX_LD_SetConfig>",
        "<KX_Adapter_SetConfig><BGARate>9</BGARate></KX_Adapter_SetConfig>",
        "<KX_LD_Delete><LD_ID>0</LD_ID></KX_LD_Delete>",
        "<KX_LD_QuickCreate><Type>1</Type></KX_LD_QuickCreate>",
        "<KX_TandemHDD_Create><SSDCount>1</SSDCount><HDCount>1</HDCount><RaidMode>10</RaidMode></KX_TandemHDD_Create>",
    };
    for (const char *r : requests) {
        SCOPED_TRACE(r);
        EXPECT_EQ("6", memberOf(issue(r), "RetVal"));
    }
    // The answering structs and scalars need an adapter too.
    std::string out = issue("<KX_DG_Create><PDCount>1</PDCount></KX_DG_Create>");
    EXPECT_EQ("<KX_DG_Create type=\"function\"><RetVal type=\"U8\">6</RetVal></KX_DG_Create>\n", out);
    out = issue("<KX_TandemHDD_GetMaxSize><ID>5</ID></KX_TandemHDD_GetMaxSize>");
    EXPECT_EQ("<KX_TandemHDD_GetMaxSize type=\"function\"><RetVal type=\"U8\">6</RetVal></KX_TandemHDD_GetMaxSize>\n",
              out);
    EXPECT_EQ("19", retval("KX_LD_BGAControl", "<LD_ID>0</LD_ID><Actions>2</Actions>"));
}

TEST_F(Commands, DeleteStopsAnActivityFirstButNeverOfOfflineOrForeignVDs)
{
    // The simulated controller refuses (61) to delete a VD whose activity
    // runs, so a delete that succeeds had the activity stopped first.
    const std::string init = "\"bga\": {\"type\": 64, \"state\": \"running\", \"percent\": 10}";
    load(adapter(disks(4) + ", \"vds\": [{\"id\": 0, \"pds\": [0], \"raid\": 0, " + init + "},"
                            " {\"id\": 1, \"pds\": [1], \"raid\": 0, \"status\": 4, " + init + "},"
                            " {\"id\": 2, \"pds\": [2], \"raid\": 0, \"status\": 6, " + init + "},"
                            " {\"id\": 3, \"pds\": [3], \"raid\": 0, " + init + "}]"));
    EXPECT_EQ("0", retval("KX_LD_Delete", "<LD_ID>0</LD_ID><deleteMBR>0</deleteMBR>"));
    EXPECT_EQ("61", retval("KX_LD_Delete", "<LD_ID>1</LD_ID>"));
    EXPECT_EQ("61", retval("KX_LD_Delete", "<LD_ID>2</LD_ID>"));
    EXPECT_EQ("0", retval("KX_Tandem_Delete", "<Tandem_ID>3</Tandem_ID><deleteMBR>0</deleteMBR>"));
    EXPECT_EQ("2", memberOf(issue(list("KX_LD_GetInfo", 0, 9)), "numReturned"));
    // No VD 9 to read first: the delete is still asked and fails on its own.
    EXPECT_EQ("59", retval("KX_LD_Delete", "<LD_ID>9</LD_ID>"));
}

TEST_F(Commands, VDAndArraySettingsChangeOnlyWhatTheRequestNames)
{
    load(adapter(disks(6) + ", \"arrays\": [{\"id\": 0, \"name\": \"array0\", \"raid\": 5, \"pds\": [0, 1, 2]}],"
                            " \"vds\": [{\"id\": 0, \"name\": \"data\", \"array\": 0, \"size\": 1048576},"
                            " {\"id\": 1, \"name\": \"logs\", \"pds\": [3], \"raid\": 0}]"));
    // The cache alone: the name stays.
    EXPECT_EQ("0", retval("KX_LD_SetConfig", "<LDID>0</LDID><CacheMode>1</CacheMode>"));
    std::string config = issue(byId("KX_LD_GetConfig", 0));
    EXPECT_EQ("data", memberOf(config, "Name"));
    EXPECT_EQ("1", memberOf(config, "CacheMode"));
    // A shorter name leaves nothing of the old one; an absent LDID is the
    // previous request's VD, read afresh.
    EXPECT_EQ("0", retval("KX_LD_SetConfig", "<Name>x</Name>"));
    config = issue(byId("KX_LD_GetConfig", 0));
    EXPECT_EQ("x", memberOf(config, "Name"));
    EXPECT_EQ("1", memberOf(config, "CacheMode"));
    // Another VD's settings start from its own record, not the last one's.
    EXPECT_EQ("0", retval("KX_LD_SetConfig", "<LDID>1</LDID><AutoRebuildOn>0</AutoRebuildOn>"));
    config = issue(byId("KX_LD_GetConfig", 1));
    EXPECT_EQ("logs", memberOf(config, "Name"));
    EXPECT_EQ("0", memberOf(config, "CacheMode"));
    EXPECT_EQ("0", memberOf(config, "AutoRebuildOn"));

    EXPECT_EQ("0", retval("KX_DG_SetConfig", "<DGID>0</DGID><WriteCacheOn>0</WriteCacheOn>"));
    config = issue(byId("KX_DG_GetConfig", 0));
    EXPECT_EQ("array0", memberOf(config, "Name"));
    EXPECT_EQ("0", memberOf(config, "WriteCacheOn"));

    EXPECT_EQ("0", retval("KX_PD_SetConfig", "<HDID>4</HDID><WriteCacheOn>0</WriteCacheOn>"));
    config = issue(byId("KX_PD_GetConfig", 4));
    EXPECT_EQ("0", memberOf(config, "WriteCacheOn"));
    EXPECT_EQ("1", memberOf(config, "SMARTOn"));

    // The old spelling of the adapter parameter reads the record too.
    EXPECT_EQ("0", memberOf(issue("<KX_LD_SetConfig><Adpter_ID>0</Adpter_ID><LDID>1</LDID><CacheMode>1</CacheMode>"
                                  "</KX_LD_SetConfig>"),
                            "RetVal"));
    config = issue(byId("KX_LD_GetConfig", 1));
    EXPECT_EQ("1", memberOf(config, "CacheMode"));
    EXPECT_EQ("logs", memberOf(config, "Name"));
}

TEST_F(Commands, ASettingsRecordThatCannotBeReadIsNotWritten)
{
    const std::string fixture = "{\"adapters\": [{\"bgaSpeed\": 0, " + disks(2) +
                                ", \"vds\": [{\"id\": 0, \"name\": \"data\", \"pds\": [0, 1], \"raid\": 1}],"
                                " \"faults\": {\"KX_LD_GetConfig\": 20, \"KX_Adapter_GetConfig\": 20}}]}";
    load(fixture);
    EXPECT_EQ("20", retval("KX_LD_SetConfig", "<LDID>0</LDID><CacheMode>1</CacheMode>"));
    EXPECT_EQ("20", retval("KX_Adapter_SetConfig", "<BGARate>9</BGARate>"));
    // Nothing was stored: the controller's state is the fixture as loaded.
    EXPECT_EQ(fixture, readWhole(file("state.json")));
    EXPECT_EQ("data", vd(0, "Name"));
}

TEST_F(Commands, AdapterSettingsKeepWhatTheGUIDoesNotShow)
{
    load(adapter("\"Adapter_Config_V2\": {\"v_atapi_disable\": 1, \"sgpio_enable\": 1,"
                 " \"rawimg_update_disabled\": 1, \"port_phy_ctrl\": [1, 2, 3, 4, 5, 6, 7, 8]}"));
    EXPECT_EQ("0", retval("KX_Adapter_SetConfig", "<BGARate>20</BGARate><AlarmOn>0</AlarmOn>"));
    std::string out = issue(request("KX_Adapter_GetConfig", ""));
    EXPECT_EQ("20", memberOf(out, "BGARate"));
    EXPECT_EQ("0", memberOf(out, "AlarmOn"));
    EXPECT_EQ("125", memberOf(out, "RebuildRate"));  // 50 % on the 0-250 scale
    EXPECT_EQ("1", memberOf(out, "v_atapi_disable"));
    EXPECT_EQ("1 2 3 4 5 6 7 8", memberOf(out, "port_phy_ctrl"));
    std::string state = readWhole(file("state.json"));
    EXPECT_NE(std::string::npos, state.find("\"rawimg_update_disabled\": 1"));
    EXPECT_NE(std::string::npos, state.find("\"sgpio_enable\": 1"));
}

TEST_F(Commands, QuickCreateTakesTheMostDemandingLevelTheFreeDisksMake)
{
    // Modes 0, 1 and 5; VD 0 holds disk 0, so disks 1-5 are the free ones,
    // and the new VD must not ask for ID 0.
    const std::string modes = "\"Adapter_Info\": {\"LogicalDriverMode\": 19, \"MaxDiskGroup\": 0}, ";
    load(adapter(modes + disks(6) + ", \"vds\": [{\"id\": 0, \"pds\": [0], \"raid\": 0}]"));
    EXPECT_EQ("0", retval("KX_LD_QuickCreate", "<Type>1</Type>"));
    EXPECT_EQ("5", vd(1, "RaidMode"));
    EXPECT_EQ("5", vd(1, "HDCount"));
    EXPECT_EQ("NEW_VD", vd(1, "Name"));
    EXPECT_EQ("64", vd(1, "StripeBlockSize"));
    EXPECT_EQ("4", vd(1, "CacheMode"));

    // Two free disks (0 and 3; 1 is offline, 2 a spare): RAID1.
    load(adapter(modes + "\"pds\": [{\"id\": 0}, {\"id\": 1, \"state\": \"offline\"}, {\"id\": 2, \"spare\": \"global\"},"
                         " {\"id\": 3}]"));
    EXPECT_EQ("0", retval("KX_LD_QuickCreate", "<Type>1</Type>"));
    EXPECT_EQ("1", vd(0, "RaidMode"));
    EXPECT_EQ("2", vd(0, "HDCount"));

    // Four free disks on an adapter without RAID5: RAID1 of the first two.
    load(adapter("\"Adapter_Info\": {\"LogicalDriverMode\": 3, \"MaxDiskGroup\": 0}, " + disks(4)));
    EXPECT_EQ("0", retval("KX_LD_QuickCreate", "<Type>1</Type>"));
    EXPECT_EQ("1", vd(0, "RaidMode"));
    EXPECT_EQ("2", vd(0, "HDCount"));
    // Type 0: RAID0 of the rest.
    EXPECT_EQ("0", retval("KX_LD_QuickCreate", "<Type>0</Type>"));
    EXPECT_EQ("0", vd(1, "RaidMode"));
    EXPECT_EQ("2", vd(1, "HDCount"));
}

TEST_F(Commands, QuickTandemTakesTheLargestSSDAndHardDisk)
{
    // Tandem levels offered; VD 0 on disk 0. SSDs 4 (small) and 5 (large),
    // hard disks 1 (small), 2 and 3 (equal, larger: the first wins).
    const std::string modes = "\"Adapter_Info\": {\"LogicalDriverMode\": 3603, \"MaxDiskGroup\": 0, "
                              "\"AdvancedFeatures\": 16384}, ";
    const std::string pds = "\"pds\": [{\"id\": 0}, {\"id\": 1, \"size\": 1000000}, {\"id\": 2, \"size\": 3000000},"
                            " {\"id\": 3, \"size\": 3000000}, {\"id\": 4, \"ssd\": true, \"size\": 200000},"
                            " {\"id\": 5, \"ssd\": true, \"size\": 400000}]";
    load(adapter(modes + pds + ", \"vds\": [{\"id\": 0, \"pds\": [0], \"raid\": 0}]"));
    EXPECT_EQ("0", retval("KX_LD_QuickCreate", "<Type>2</Type><TandemMode>12</TandemMode>"));
    EXPECT_EQ("Tandem", vd(1, "Name"));
    EXPECT_EQ("12", vd(1, "RaidMode"));
    EXPECT_EQ("1", vd(1, "CacheMode"));  // AdvancedFeatures bit 14
    EXPECT_EQ("90", memberOf(issue(byId("KX_LD_GetConfig", 1)), "TandemWaterMark"));
    std::string blocks = issue(list("KX_BLK_GetInfo", 0, 9));
    EXPECT_EQ("3", memberOf(blocks, "numReturned"));
    // Member order: the SSD first.
    std::string first = issue(byId("KX_BLK_GetInfo", 1)), second = issue(byId("KX_BLK_GetInfo", 2));
    EXPECT_EQ("5", memberOf(first, "HDID"));
    EXPECT_EQ("2", memberOf(second, "HDID"));

    // An operating system on the hard disk: the safe level, whatever asked.
    load(adapter(modes + "\"pds\": [{\"id\": 0, \"os\": true}, {\"id\": 1, \"ssd\": true}]"));
    EXPECT_EQ("0", retval("KX_LD_QuickCreate", "<Type>2</Type><TandemMode>10</TandemMode>"));
    EXPECT_EQ("11", vd(0, "RaidMode"));

    // No SSD: nothing is created (28), nor from SSDs alone (152).
    load(adapter(modes + disks(3)));
    EXPECT_EQ("28", retval("KX_LD_QuickCreate", "<Type>2</Type><TandemMode>10</TandemMode>"));
    load(adapter(modes + disks(3, 0)));
    EXPECT_EQ("152", retval("KX_LD_QuickCreate", "<Type>2</Type><TandemMode>10</TandemMode>"));
    EXPECT_EQ("0", memberOf(issue(list("KX_LD_GetInfo", 0, 9)), "numReturned"));
}

TEST_F(Commands, TandemCreateChecksItsRequestAndNamesByTheVDCount)
{
    const std::string modes = "\"Adapter_Info\": {\"LogicalDriverMode\": 3584, \"MaxDiskGroup\": 0}, ";
    // Every call fails with 19: an answer of 1 was given before any.
    load("{\"adapters\": [{" + modes + disks(4, 3) +
         ", \"faults\": {\"KX_Adapter_GetInfo\": 19, \"KX_LD_GetInfo\": 19, \"KX_LD_Create\": 19}}]}");
    const std::string members = "<SSDCount>1</SSDCount><SSDIDs>3</SSDIDs><HDCount>1</HDCount><HDIDs>0</HDIDs>";
    EXPECT_EQ("1", retval("KX_TandemHDD_Create", members + "<RaidMode>9</RaidMode>"));
    EXPECT_EQ("1", retval("KX_TandemHDD_Create", members + "<RaidMode>11</RaidMode><KeepData>3</KeepData>"));
    EXPECT_EQ("1", retval("KX_TandemHDD_Create", "<SSDCount>0</SSDCount><HDCount>1</HDCount><RaidMode>10</RaidMode>"));
    EXPECT_EQ("1", retval("KX_TandemHDD_Create", "<SSDCount>100</SSDCount><HDCount>29</HDCount><RaidMode>10</RaidMode>"));
    EXPECT_EQ("19", retval("KX_TandemHDD_Create", members + "<RaidMode>10</RaidMode>"));

    // Two VDs already: the third volume is Tandem_2. KeepData chooses the
    // initialisation: 0 none, 1 fast, 2 background.
    std::string vds = ", \"vds\": [{\"id\": 0, \"pds\": [0], \"raid\": 0}, {\"id\": 1, \"pds\": [1], \"raid\": 0}]";
    load(adapter(modes + disks(8, 5) + vds));
    EXPECT_EQ("0", retval("KX_TandemHDD_Create", "<SSDCount>1</SSDCount><SSDIDs>5</SSDIDs><HDCount>1</HDCount>"
                                                 "<HDIDs>2</HDIDs><RaidMode>11</RaidMode><KeepData>0</KeepData>"
                                                 "<TandemWaterMark>70</TandemWaterMark>"));
    EXPECT_EQ("Tandem_2", vd(2, "Name"));
    EXPECT_EQ("11", vd(2, "RaidMode"));
    EXPECT_EQ("70", memberOf(issue(byId("KX_LD_GetConfig", 2)), "TandemWaterMark"));
    EXPECT_EQ("0", memberOf(issue(byId("KX_LD_GetStatus", 2)), "Bga"));
    EXPECT_EQ("0", retval("KX_TandemHDD_Create", "<SSDCount>1</SSDCount><SSDIDs>6</SSDIDs><HDCount>1</HDCount>"
                                                 "<HDIDs>3</HDIDs><RaidMode>12</RaidMode><KeepData>1</KeepData>"));
    EXPECT_EQ("Tandem_3", vd(3, "Name"));
    EXPECT_EQ("8", memberOf(issue(byId("KX_LD_GetStatus", 3)), "Bga"));
    EXPECT_EQ("0", retval("KX_TandemHDD_Create", "<SSDCount>1</SSDCount><SSDIDs>7</SSDIDs><HDCount>1</HDCount>"
                                                 "<HDIDs>4</HDIDs><RaidMode>11</RaidMode><KeepData>2</KeepData>"));
    EXPECT_EQ("16", memberOf(issue(byId("KX_LD_GetStatus", 4)), "Bga"));

    // Five VDs, more than one page of four: the count pages on.
    vds = ", \"vds\": [";
    for (int i = 0; i < 5; ++i)
        vds += std::string(i ? ", " : "") + "{\"id\": " + std::to_string(i) + ", \"pds\": [" + std::to_string(i) +
               "], \"raid\": 0}";
    load(adapter(modes + disks(7, 6) + vds + "]"));
    EXPECT_EQ("0", retval("KX_TandemHDD_Create", "<SSDCount>1</SSDCount><SSDIDs>6</SSDIDs><HDCount>1</HDCount>"
                                                 "<HDIDs>5</HDIDs><RaidMode>10</RaidMode>"));
    EXPECT_EQ("Tandem_5", vd(5, "Name"));
}

TEST_F(Commands, LargestTandemSizeIsHalfTheRoomButNeverMoreThanTheDisk)
{
    load(adapter("\"Adapter_Info\": {\"LogicalDriverMode\": 3584, \"MaxDiskGroup\": 0}, "
                 "\"pds\": [{\"id\": 0, \"size\": 1000000}, {\"id\": 1, \"size\": 1000000}],"
                 " \"blocks\": [{\"id\": 0, \"pd\": 0, \"vd\": 0, \"start\": 0, \"size\": 400000},"
                 " {\"id\": 1, \"pd\": 1, \"vd\": 0, \"start\": 0, \"size\": 1000000}],"
                 " \"vds\": [{\"id\": 0, \"raid\": 0}]"));
    std::string out = issue(request("KX_TandemHDD_GetMaxSize", "<ID>0</ID>"));
    EXPECT_EQ("<KX_TandemHDD_GetMaxSize type=\"function\"><RetVal type=\"U8\">0</RetVal><TandemFreeSize type=\"U64\">"
              "<![CDATA[300000]]></TandemFreeSize></KX_TandemHDD_GetMaxSize>\n",
              out);
    // No room at all: the whole disk is offered.
    EXPECT_EQ("1000000", memberOf(issue(request("KX_TandemHDD_GetMaxSize", "<ID>1</ID>")), "TandemFreeSize"));
    EXPECT_EQ("9", memberOf(issue(request("KX_TandemHDD_GetMaxSize", "<ID>7</ID>")), "RetVal"));
}

TEST_F(Commands, DiskGroupFunctions)
{
    load(adapter(disks(8) + ", \"arrays\": [{\"id\": 0, \"name\": \"array0\", \"raid\": 5, \"stripe\": 128,"
                            " \"pds\": [0, 1, 2]}]"));
    // The controller chooses the new array's ID, whatever the request says.
    std::string out = issue(request("KX_DG_Create", "<DGID>5</DGID><Name>mirror</Name><RaidMode>1</RaidMode>"
                                                    "<PDCount>2</PDCount><PDIDs>3 4</PDIDs>"));
    EXPECT_EQ("<KX_DG_Create type=\"function\"><RetVal type=\"U8\">0</RetVal><CreateOrModifyDGParam "
              "type=\"struct  CreateOrModify_DG_Param\"><DGID><![CDATA[1]]></DGID></CreateOrModifyDGParam>"
              "</KX_DG_Create>\n",
              out);
    EXPECT_EQ("mirror", memberOf(issue(byId("KX_DG_GetConfig", 1)), "Name"));

    // Sizing: the same level and disk count changes nothing (153); an
    // unknown array fails on its read.
    out = issue(request("KX_DG_GetSizeOnly", "<DGID>0</DGID><RaidMode>5</RaidMode><PDCount>3</PDCount>"
                                             "<PDIDs>0 1 2</PDIDs>"));
    EXPECT_EQ("153", memberOf(out, "RetVal"));
    EXPECT_EQ(1, countOf(out, "CreateOrModify_DG_Param"));
    EXPECT_EQ("17", retval("KX_DG_GetSizeOnly", "<DGID>6</DGID><RaidMode>5</RaidMode><PDCount>3</PDCount>"));

    // A VD in the array's free slot takes the array's layout; a stripe
    // size of 0 asks for the array's too.
    EXPECT_EQ("0", retval("KX_LD_Create_OnDG", "<DGID>0</DGID><Name>inside</Name><RaidMode>0</RaidMode>"
                                               "<StripeBlockSize>0</StripeBlockSize><VDID>9</VDID>"));
    EXPECT_EQ("5", vd(0, "RaidMode"));
    EXPECT_EQ("128", vd(0, "StripeBlockSize"));
    EXPECT_EQ("inside", vd(0, "Name"));
    EXPECT_EQ("0", vd(0, "DGID"));
}

} // namespace
