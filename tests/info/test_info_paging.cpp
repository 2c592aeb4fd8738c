// Paging of the info and status lists through the real arrayctl: how many
// records each page asks for (from MaxBufferSize, or the default when it is
// 0), where each page starts, request type 2 for one object, and that lists
// longer than one page come out whole.
#include <gtest/gtest.h>

#include <sstream>

#include "big_fixtures.h"
#include "golden_driver.h"

#ifndef INFO_CALL_LOG_LIB
#error "INFO_CALL_LOG_LIB must name the call-recording library"
#endif

namespace {

struct Logged {
    GoldenRun run;
    std::vector<std::string> calls;  // "operation type start numRequested"
};

Logged runLogged(const std::string &fixture, const std::vector<std::string> &args, const char *op)
{
    ScratchDir dir;
    writeFile(dir.path() + "/state.json", fixture);
    const std::string log = dir.path() + "/calls";
    Logged l;
    l.run = runArrayctl(dir.path(), args, {{"LD_PRELOAD", INFO_CALL_LOG_LIB}, {"INFO_CALL_LOG", log}});
    std::istringstream in(readFile(log));
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, strlen(op) + 1, std::string(op) + " ") == 0)
            l.calls.push_back(line);
    return l;
}

using Calls = std::vector<std::string>;

TEST(InfoPaging, VdListOf211NeedsTwoPagesOf210With64KiB)
{
    Logged l = runLogged(manyVdsFixture(211, 64), {"info", "-o", "vd"}, "KX_LD_GetInfo");
    EXPECT_EQ(l.run.exitStatus, 0) << l.run.err;
    EXPECT_EQ(l.calls, (Calls{"KX_LD_GetInfo 1 0 210", "KX_LD_GetInfo 1 210 210"}));
    EXPECT_EQ(l.run.out, startupPrelude() + manyVdsListing(211));
}

TEST(InfoPaging, VdListPagesBy32WithoutBufferSize)
{
    Logged l = runLogged(manyVdsFixture(70, 0), {"info", "-o", "vd"}, "KX_LD_GetInfo");
    EXPECT_EQ(l.run.exitStatus, 0) << l.run.err;
    EXPECT_EQ(l.calls, (Calls{"KX_LD_GetInfo 1 0 32", "KX_LD_GetInfo 1 32 32", "KX_LD_GetInfo 1 64 32"}));
    EXPECT_EQ(l.run.out, startupPrelude() + manyVdsListing(70));
}

TEST(InfoPaging, PdListOf129PagesBy128WithoutBufferSize)
{
    Logged l = runLogged(manyDisksFixture(129, 0), {"info", "-o", "pd"}, "KX_PD_GetHDInfo_Ext");
    EXPECT_EQ(l.run.exitStatus, 0) << l.run.err;
    EXPECT_EQ(l.calls, (Calls{"KX_PD_GetHDInfo_Ext 1 0 128", "KX_PD_GetHDInfo_Ext 1 128 128"}));
    EXPECT_EQ(l.run.out, startupPrelude() + manyDisksListing(129));
}

TEST(InfoPaging, PdListOf129FitsOnePageWith64KiB)
{
    Logged l = runLogged(manyDisksFixture(129, 64), {"info", "-o", "pd"}, "KX_PD_GetHDInfo_Ext");
    EXPECT_EQ(l.run.exitStatus, 0) << l.run.err;
    EXPECT_EQ(l.calls, (Calls{"KX_PD_GetHDInfo_Ext 1 0 264"}));
    EXPECT_EQ(l.run.out, startupPrelude() + manyDisksListing(129));
}

TEST(InfoPaging, OneObjectIsAskedForByIdOnce)
{
    Logged l = runLogged(manyVdsFixture(211, 64), {"info", "-o", "vd", "-i", "254"}, "KX_LD_GetInfo");
    EXPECT_EQ(l.run.exitStatus, 8);
    EXPECT_EQ(l.calls, (Calls{"KX_LD_GetInfo 2 254 1"}));
    Logged d = runLogged(manyDisksFixture(3, 64), {"status", "-o", "pd", "-i", "2"}, "KX_PD_GetSmartStatus");
    EXPECT_EQ(d.run.exitStatus, 0);
    EXPECT_EQ(d.calls, (Calls{"KX_PD_GetSmartStatus 2 2 1"}));
}

// First page of each other list kind, by record size: default count when
// MaxBufferSize is 0, else what fits in 64 KiB after the 16-byte header.
TEST(InfoPaging, PageSizeOfEveryListKind)
{
    struct Kind {
        const char *object;
        const char *op;
        unsigned withDefault, with64;
        bool status;
    } kinds[] = {
        {"array", "KX_DG_GetInfo", 64, 65520 / 688, false},
        {"blk", "KX_BLK_GetInfo", 512, 65520 / 32, false},
        {"spare", "KX_PD_GetHDRaidStatus", 128, 65520 / 8, false},
        {"pm", "KX_PD_GetPMInfo", 16, 65520 / 80, false},
        {"exp", "KX_PD_GetExpanderInfo", 16, 65520 / 132, false},
        {"pd", "KX_PD_GetSmartStatus", 128, 65520 / 8, true},
    };
    for (const Kind &k : kinds) {
        for (unsigned size : {0u, 64u}) {
            SCOPED_TRACE(std::string(k.object) + " with MaxBufferSize " + std::to_string(size));
            const std::string fixture = "{\"adapters\": [{\"Adapter_Info\": {\"MaxDiskGroup\": 8, "
                                        "\"MaxBufferSize\": " + std::to_string(size) + "}}]}";
            Logged l = runLogged(fixture, {k.status ? "status" : "info", "-o", k.object}, k.op);
            EXPECT_EQ(l.run.exitStatus, 0) << l.run.err;
            const unsigned n = size ? k.with64 : k.withDefault;
            EXPECT_EQ(l.calls, (Calls{std::string(k.op) + " 1 0 " + std::to_string(n)}));
        }
    }
}

} // namespace

// get pages its configuration lists with the same pager: records per page
// from MaxBufferSize (PD 8 bytes, array 32, VD 24, after the 16-byte
// header), or 128, 64 and 32 without it.
TEST(InfoPaging, GetConfigurationListsPageByTheirRecordSize)
{
    Logged v = runLogged(manyVdsFixture(70, 0), {"get", "-o", "vd"}, "KX_LD_GetConfig");
    EXPECT_EQ(v.run.exitStatus, 0) << v.run.err;
    EXPECT_EQ(v.calls, (Calls{"KX_LD_GetConfig 1 0 32", "KX_LD_GetConfig 1 32 32", "KX_LD_GetConfig 1 64 32"}));
    Logged w = runLogged(manyVdsFixture(70, 64), {"get", "-o", "vd"}, "KX_LD_GetConfig");
    EXPECT_EQ(w.calls, (Calls{"KX_LD_GetConfig 1 0 2730"}));
    Logged p = runLogged(manyDisksFixture(129, 0), {"get", "-o", "pd"}, "KX_PD_GetConfig");
    EXPECT_EQ(p.calls, (Calls{"KX_PD_GetConfig 1 0 128", "KX_PD_GetConfig 1 128 128"}));
    Logged q = runLogged(manyDisksFixture(3, 1), {"get", "-o", "pd", "-i", "2"}, "KX_PD_GetConfig");
    EXPECT_EQ(q.calls, (Calls{"KX_PD_GetConfig 2 2 1"}));
    const char *arrays = R"({"adapters":[{"Adapter_Info":{"MaxBufferSize":%d},
        "pds":[{"id":0}],"arrays":[{"id":0,"pds":[0]},{"id":1}]}]})";
    char fixture[256];
    snprintf(fixture, sizeof fixture, arrays, 0);
    EXPECT_EQ(runLogged(fixture, {"get", "-o", "array"}, "KX_DG_GetConfig").calls, (Calls{"KX_DG_GetConfig 1 0 64"}));
    snprintf(fixture, sizeof fixture, arrays, 1);
    EXPECT_EQ(runLogged(fixture, {"get", "-o", "array"}, "KX_DG_GetConfig").calls, (Calls{"KX_DG_GetConfig 1 0 31"}));
}
