// Fixtures: record values laid over the model, derived records, and bad
// fixtures refused with a message naming the file and the problem.
#include "sim_fixture.h"

#include <dirent.h>

#include <fstream>
#include <sstream>

#include "model.h"
#include "record_json.h"
#include "state_doc.h"

namespace {

class Fixtures : public SimTest {};

TEST_F(Fixtures, RecordValuesOverrideTheModel)
{
    writeFixture(R"({"adapters":[{
        "Adapter_Info": {"MaxDiskGroup": 0, "MaxBufferSize": 16, "DevID": 37376,
                         "DriverVersion": {"VerMajor": 7, "VerBuild": 9}},
        "Adapter_Config_V2": {"RebuildRate": 30},
        "BBU_Info": {"status": 5, "percentage": 80},
        "pds": [{"id": 3, "size": 1000,
                 "HD_Info": {"Model": "DISK A", "Size": 976762584,
                             "Link": {"Self": {"EnclosureID": 7}, "Parent": {"PhyID": [9, 8]}}},
                 "HD_Config": {"WriteCacheOn": 0}, "HD_RAID_Status": {"Status": 2}}]}]})");
    ASSERT_EQ(KX_API_Initialize(), 0);
    KX_U8 count = 0;
    Adapter_Info info;
    ASSERT_EQ(KX_Adapter_GetInfo(0, &count, &info), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(info.MaxDiskGroup, 0);
    EXPECT_EQ(info.MaxBufferSize, 16);
    EXPECT_EQ(info.DevID, 37376);
    EXPECT_EQ(info.DriverVersion.VerMajor, 7u);
    EXPECT_EQ(info.DriverVersion.VerBuild, 9u);
    EXPECT_EQ(info.DriverVersion.VerMinor, 0u);  // not named: the default stands
    EXPECT_EQ(info.MaxLogicalDrive, 32);

    Adapter_Config_V2 cfg;
    ASSERT_EQ(KX_Adapter_GetConfig(0, &count, &cfg), 0);
    EXPECT_EQ(cfg.RebuildRate, 30);
    EXPECT_EQ(cfg.InitRate, 125);  // 50 % on the controller's scale

    BBU_Info bbu;
    ASSERT_EQ(KX_BBU_GetInfo(0, &bbu), 0);
    EXPECT_EQ(bbu.status, 5u);
    EXPECT_EQ(bbu.percentage, 80);

    ListBuffer<HD_Info> pd(4);
    ASSERT_EQ(KX_PD_GetHDInfo_Ext(0, pd.as<HD_Info_Request>()), 0);
    ASSERT_EQ(pd.header()->numReturned, 1);
    const HD_Info &d = pd.at(0);
    EXPECT_EQ(textOf(d.Model, 40), "DISK A");
    EXPECT_EQ(kxU64Value(d.Size), 976762584u);  // the record value beats the model's size
    EXPECT_EQ(d.Link.Self.EnclosureID, 7);
    EXPECT_EQ(d.Link.Self.DevID, 3);  // the rest of the nested record is modelled
    EXPECT_EQ(d.Link.Parent.PhyID[0], 9);
    EXPECT_EQ(d.Link.Parent.PhyID[1], 8);
    EXPECT_EQ(d.Link.Parent.DevType, 255);

    ListBuffer<HD_Config> c(4);
    ASSERT_EQ(KX_PD_GetConfig(0, c.as<HD_Config_Request>()), 0);
    EXPECT_EQ(c.at(0).WriteCacheOn, 0);
    EXPECT_EQ(c.at(0).SMARTOn, 1);
    ListBuffer<HD_RAID_Status> r(4);
    ASSERT_EQ(KX_PD_GetHDRaidStatus(0, r.as<HD_RAID_Status_Request>()), 0);
    EXPECT_EQ(r.at(0).Status, 2);  // the model says free (1); the fixture wins
}

TEST_F(Fixtures, DerivedRecordsFollowTheModel)
{
    writeFixture(R"({"adapters":[{
        "pds": [{"id":0,"size":2000000},{"id":1,"size":2000000},{"id":2,"size":3000000},{"id":3,"spare":0}],
        "arrays": [{"id":0,"raid":5,"pds":[0,1,2]}],
        "vds": [{"id":4,"name":"db","array":0,"raid":5,"pds":[0,1,2],"size":1000000}]}]})");
    ListBuffer<LD_Info> vd(4);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    ASSERT_EQ(vd.header()->numReturned, 1);
    const LD_Info &v = vd.at(0);
    EXPECT_EQ(v.ID, 4);
    EXPECT_EQ(v.BlkCount, 3);
    EXPECT_EQ(v.DGID, 0);
    EXPECT_EQ(kxU64Value(v.Size), 1000000u);
    EXPECT_EQ(v.BlockIDs[3], 0xFFFF);

    ListBuffer<Block_Info> blk(8);
    ASSERT_EQ(KX_BLK_GetInfo(0, blk.as<Block_Info_Request>()), 0);
    ASSERT_EQ(blk.header()->numReturned, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(blk.at(i).ID, v.BlockIDs[i]);
        EXPECT_EQ(blk.at(i).HDID, i);
        EXPECT_EQ(blk.at(i).LDID, 4);
        EXPECT_EQ(blk.at(i).Flags, 2);
        EXPECT_EQ(kxU64Value(blk.at(i).Size), 500000u);  // half of the VD on each data disk
    }

    ListBuffer<DG_Info> dg(1);
    ASSERT_EQ(KX_DG_GetInfo(0, dg.as<DG_Info_Request>()), 0);
    const DG_Info &g = dg.at(0);
    EXPECT_EQ(g.PDCount, 3);
    EXPECT_EQ(g.PDIDs[2], 2);
    EXPECT_EQ(g.SparePDCount, 1);
    EXPECT_EQ(g.SparePDIDs[0], 3);
    EXPECT_EQ(kxU64Value(g.TotalManagedSpace), 4000000u);
    EXPECT_EQ(kxU64Value(g.RemainingManagedSpace), 3000000u);
    ASSERT_EQ(g.VDSlotCount, 2);
    EXPECT_EQ(g.VDIDs[0], 4);
    EXPECT_EQ(g.VDIDs[1], 0xFFFF);  // the free slot
    EXPECT_EQ(kxU64Value(g.VDSlotSize[1]), 3000000u);

    ListBuffer<HD_FreeSpaceInfo> fs(8);
    ASSERT_EQ(KX_PD_GetFreeSpaceInfo(0, fs.as<HD_FreeSpaceInfo_Request>()), 0);
    EXPECT_EQ(kxU64Value(fs.at(2).Size), 2500000u);

    ListBuffer<HD_RAID_Status> rs(8);
    ASSERT_EQ(KX_PD_GetHDRaidStatus(0, rs.as<HD_RAID_Status_Request>()), 0);
    EXPECT_EQ(rs.at(0).Status, 0x02);
    EXPECT_EQ(rs.at(0).DGID, 0);
    EXPECT_EQ(rs.at(3).Status, 0x40);  // dedicated spare of array 0
    EXPECT_EQ(rs.at(3).DGID, 0);

    ListBuffer<HD_Block_Info> hb(8);
    ASSERT_EQ(KX_BLK_GetHDBlock(0, hb.as<HD_Block_Info_Request>()), 0);
    EXPECT_EQ(hb.at(1).BlkCount, 1);
    EXPECT_EQ(hb.at(1).BlockIDs[0], v.BlockIDs[1]);
    EXPECT_EQ(hb.at(3).BlkCount, 0);
    EXPECT_EQ(hb.at(3).BlockIDs[0], 255);
}

TEST_F(Fixtures, BlocksDescribedByTheirRecordValues)
{
    // The platform's example shape: blocks given by their Block_Info only.
    writeFixture(R"({"adapters":[{"pds":[{"id":0}],
        "blocks":[{"id":0,"Block_Info":{"HDID":0,"LDID":0,"Flags":2}}],
        "vds":[{"id":0,"LD_Info":{"RaidMode":5,"Name":"data"},
                "LD_Status":{"Bga":2,"BgaState":1,"BgaPercentage":40}}]}]})");
    ListBuffer<LD_Info> vd(2);
    ASSERT_EQ(KX_LD_GetInfo(0, vd.as<LD_Info_Request>()), 0);
    EXPECT_EQ(vd.at(0).BlkCount, 1);
    EXPECT_EQ(vd.at(0).BlockIDs[0], 0);
    EXPECT_EQ(vd.at(0).RaidMode, 5);
    EXPECT_EQ(textOf(vd.at(0).Name, 16), "data");
    ListBuffer<LD_Status> st(2);
    ASSERT_EQ(KX_LD_GetStatus(0, st.as<LD_Status_Request>()), 0);
    EXPECT_EQ(st.at(0).Bga, 2);
    EXPECT_EQ(st.at(0).BgaState, 1);
    EXPECT_EQ(st.at(0).BgaPercentage, 40);
}

TEST_F(Fixtures, OverlaysReachNestedRecordsAndBitFields)
{
    // Enclosure element records carry bit fields; the overlay compiler
    // sets exactly the named bits.
    const KXRecordDesc *d = kxFindRecord("EncDevice_Element");
    ASSERT_NE(d, nullptr);
    EncDevice_Element e;
    std::memset(&e, 0xFF, sizeof e);
    e.Ident = 0;
    std::string err;
    ASSERT_TRUE(sim::applyJson(d, sim::json::parse(R"({"Ident":1,"Rmv":0,"SlotAddress":4,"FaultSensed":false})"),
                               "t", &e, err)) << err;
    EXPECT_EQ(e.SlotAddress, 4);
    EXPECT_EQ(e.Ident, 1);
    EXPECT_EQ(e.Rmv, 0);
    EXPECT_EQ(e.Report, 1);  // untouched neighbours
    EXPECT_EQ(e.ReadyToInst, 1);
    EXPECT_EQ(e.FaultSensed, 0);
    EXPECT_EQ(e.AppClientBypassedB, 1);
    EXPECT_FALSE(sim::applyJson(d, sim::json::parse(R"({"Ident":2})"), "t", &e, err));
    EXPECT_NE(err.find("Ident"), std::string::npos);

    // Dump and read back give the same bytes, for every record.
    for (const KXRecordDesc *r : kAllRecords) {
        std::vector<unsigned char> a(r->size), b(r->size, 0);
        for (unsigned i = 0; i < r->size; ++i)
            a[i] = static_cast<unsigned char>(i * 37 + 11);
        sim::json j = sim::dumpRecord(r, a.data());
        ASSERT_TRUE(sim::applyJson(r, j, r->name, b.data(), err)) << r->name << ": " << err;
        EXPECT_EQ(a, b) << r->name;
    }
}

struct BadCase {
    const char *text;
    const char *problem;  // part of the message
};

class BadFixtures : public SimTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadFixtures, InitializeFailsNamingFileAndProblem)
{
    writeFixture(GetParam().text);
    testing::internal::CaptureStderr();
    EXPECT_NE(KX_API_Initialize(), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(m_path), std::string::npos) << err;
    EXPECT_NE(err.find(GetParam().problem), std::string::npos) << err;
    // Later calls fail too, quietly, and never touch a buffer.
    testing::internal::CaptureStderr();
    ListBuffer<HD_Info> buf(2);
    EXPECT_NE(KX_PD_GetHDInfo(0, buf.as<HD_Info_Request>()), 0);
    EXPECT_EQ(KX_Adapter_GetCount(), 0);
    EXPECT_TRUE(buf.guardIntact(0));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadFixtures,
    ::testing::Values(
        BadCase{"{\"adapters\": [ {\"pds\": [ ] ", "malformed JSON"},
        BadCase{"", "malformed JSON"},
        BadCase{R"({"adapters":[{"pds":[{"id":0,"HD_Info":{"Size":"big"}}]}]})", "adapters[0].pds[0].HD_Info.Size: expected an integer"},
        BadCase{R"({"adapters":[{"Adapter_Info":{"MaxHD":300}}]})", "does not fit in 1 byte"},
        BadCase{R"({"adapters":[{"pds":[{"id":0,"HD_Info":{"Modle":"X"}}]}]})", "HD_Info.Modle: unknown field of HD_Info"},
        BadCase{R"({"adapters":[{"pds":[{"id":0,"HD_Info":{"Link":{"Self":{"Dev":1}}}}]}]})", "unknown field of Link_Endpoint"},
        BadCase{R"({"adapters":[{"pds":[{"id":0,"LD_Info":{}}]}]})", "record LD_Info does not belong to a physical disk"},
        BadCase{R"({"adapters":[{"HD_Info":{}}]})", "record HD_Info does not belong to an adapter"},
        BadCase{R"({"adapters":[{"pds":[{"id":70000}]}]})", "out of range"},
        BadCase{R"({"adapters":[{"pds":[{"id":256}]}]})", "ID 256 is out of range (MaxHD_Ext is 256)"},
        BadCase{R"({"adapters":[{"vds":[{"id":40}]}]})", "MaxLogicalDrive"},
        BadCase{R"({"adapters":[{"pds":[{"id":1},{"id":1}]}]})", "duplicate ID 1"},
        BadCase{R"({"adapters":[{"pds":[{"id":0,"HD_Info":{"Model":"0123456789012345678901234567890123456789X"}}]}]})", "longer than the field"},
        BadCase{R"({"adapters":[{"vds":[{"id":0,"blocks":[5]}]}]})", "no block 5"},
        BadCase{R"({"adapters":[{"Adapter_Info":{"MaxDiskGroup":0},"arrays":[{"id":0}]}]})", "has no arrays"},
        BadCase{R"({"adapters":[{"faults":{"KX_No_Such_Op":1}}]})", "KX_No_Such_Op: unknown operation"},
        BadCase{R"({"faults":{"KX_LD_Delete":{"status":1}}})", "faults.KX_LD_Delete: missing \"call\""},
        BadCase{R"({"faults":{"*":{"status":1,"call":0}}})", "faults.*.call: the first call is call 1"},
        BadCase{R"({"adapters":[{"colour":"red"}]})", "unknown key of an adapter"},
        BadCase{R"({"adapters":[{"events":[{"Event":{"Params":[1,2,3,4,5]}}]}]})", "longer than the field"},
        BadCase{R"([1,2,3])", "expected an object"}));

}  // namespace

namespace {

// The state the library writes back is itself a fixture: reading it gives
// the same document again, overlays and all.
TEST(StateDocument, WrittenStateReadsBackTheSame)
{
    sim::State d = sim::defaultState(1700000000000);
    sim::json first = sim::stateToJson(d);
    sim::State again;
    std::string err;
    ASSERT_TRUE(sim::stateFromJson(first, 0, again, err)) << err;
    EXPECT_EQ(sim::stateToJson(again), first);

    sim::json fixture = sim::json::parse(R"({"adapters":[{
        "Adapter_Info":{"MaxDiskGroup":0},
        "pds":[{"id":0,"interface":"sas","HD_Info":{"Model":"M","Link":{"Self":{"PhyID":[3]}}}},
               {"id":1,"spare":"global","state":"offline"}],
        "vds":[{"id":2,"name":"x","raid":0,"pds":[0],"size":5000,"bga":{"type":2,"state":"paused","percent":12.5,"since":5},
                "target":{"raid":1,"blocks":[0],"LD_Info":{"Name":"t"}},"LD_Config":{"TandemWaterMark":7}}],
        "events":[{"Event":{"Code":7,"SequenceNo":9}}],
        "faults":{"KX_LD_Delete":3,"*":{"status":2,"call":5,"made":1}}}],"faults":{"KX_API_Finalize":4}})");
    sim::State s;
    ASSERT_TRUE(sim::stateFromJson(fixture, 0, s, err)) << err;
    sim::json written = sim::stateToJson(s);
    sim::State back;
    ASSERT_TRUE(sim::stateFromJson(written, 0, back, err)) << err;
    EXPECT_EQ(sim::stateToJson(back), written);
    const sim::Adapter &a = back.adapters.at(0);
    EXPECT_EQ(a.nextSeq, 10u);
    EXPECT_EQ(a.faults.at("KX_LD_Delete").status, 3);
    EXPECT_FALSE(a.faults.at("KX_LD_Delete").counted());
    EXPECT_EQ(a.faults.at("*").call, 5u);
    EXPECT_EQ(a.faults.at("*").made, 1u);
    EXPECT_EQ(back.faults.at("KX_API_Finalize").status, 4);
    EXPECT_EQ(a.vds.at(2).bga.percent, 12.5);
    EXPECT_TRUE(a.vds.at(2).hasTarget);
    HD_Info r;
    sim::buildHDInfo(a, a.pds.at(0), r, true);
    EXPECT_EQ(textOf(r.Model, 40), "M");
    EXPECT_EQ(r.Link.Self.PhyID[0], 3);
    EXPECT_EQ(r.ConnectionType & 0x06, 0x06);  // SAS
    LD_Info t;
    sim::buildTargetLDInfo(a, a.vds.at(2), t);
    EXPECT_EQ(textOf(t.Name, 16), "t");
    EXPECT_EQ(t.RaidMode, 1);
}

std::string fileText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Every state document of the tree's tests, by path.
void findFixtures(const std::string &dir, std::vector<std::string> &out)
{
    DIR *d = opendir(dir.c_str());
    if (!d)
        return;
    while (struct dirent *e = readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = dir + "/" + name;
        if (e->d_type == DT_DIR)
            findFixtures(path, out);
        else if (name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0)
            out.push_back(path);
    }
    closedir(d);
}

// Every fixture of the tree, read and written back, reads back to the same
// document: the reader and the writer agree on every key the tests use.
TEST(StateDocument, EveryFixtureOfTheTreeReadsBackAsWritten)
{
    std::vector<std::string> paths;
    findFixtures(FIXTURE_ROOT, paths);
    unsigned documents = 0;
    for (const std::string &path : paths) {
        sim::json doc = sim::json::parse(fileText(path), nullptr, false);
        if (doc.is_discarded() || !doc.is_object() || (!doc.contains("adapters") && !doc.contains("faults")))
            continue;  // not a state document
        sim::State s;
        std::string err;
        if (!sim::stateFromJson(doc, 1700000000123, s, err))
            continue;  // a fixture made to be refused
        ++documents;
        const sim::json written = sim::stateToJson(s);
        sim::State back;
        ASSERT_TRUE(sim::stateFromJson(written, 1700000000123, back, err)) << path << ": " << err;
        EXPECT_EQ(sim::stateToJson(back), written) << path;
    }
    EXPECT_GE(documents, 30u);
}

// sim/README.md documents every key and enumeration word of the state
// document's tables.
TEST(StateDocument, ReadmeNamesEveryKeyOfTheTables)
{
    const std::string readme = fileText(SIM_README);
    ASSERT_FALSE(readme.empty());
    for (const sim::DocumentedNames &t : sim::stateDocumentNames()) {
        for (const std::string &k : t.keys)
            EXPECT_TRUE(readme.find("`" + k) != std::string::npos || readme.find("\"" + k + "\"") != std::string::npos)
                << t.table << " key " << k;
        for (const std::string &w : t.words)
            EXPECT_NE(readme.find("\"" + w + "\""), std::string::npos) << t.table << " word " << w;
    }
}

}  // namespace
