// The key tables of the state document (see state_doc.h).
#include <algorithm>

#include "state_doc.h"

namespace sim {

const Word *Words::find(const std::string &word) const
{
    for (const Word &w : list)
        if (word == w.word)
            return &w;
    return nullptr;
}

const char *Words::wordOf(uint8_t value) const
{
    for (const Word &w : list)
        if (w.value == value)
            return w.word;
    return list.front().word;
}

bool Words::has(uint8_t value) const
{
    return std::any_of(list.begin(), list.end(), [&](const Word &w) { return w.value == value; });
}

std::string Words::joined() const
{
    std::string out;
    for (const Word &w : list)
        out += (out.empty() ? "" : ", ") + std::string(w.word);
    return out;
}

namespace {

const Words kInterfaces = {"interface", {{"sata", PD::SATA}, {"sas", PD::SAS}, {"pata", PD::PATA}}};
const Words kDiskStates = {"disk state", {{"online", PD::ONLINE}, {"offline", PD::OFFLINE}, {"missing", PD::MISSING}}};
const Words kParentTypes = {"parent type",
                            {{"hba", ParentLink::HBA},
                             {"expander", ParentLink::EXPANDER},
                             {"pm", ParentLink::PM},
                             {"enclosure", ParentLink::ENCLOSURE}}};
const Words kActivityStates = {"activity state",
                               {{"none", BGAS_NONE},
                                {"running", BGAS_RUNNING},
                                {"aborted", BGAS_ABORTED},
                                {"paused", BGAS_PAUSED},
                                {"autopaused", BGAS_AUTO_PAUSED},
                                {"interrupted", BGAS_INTERRUPTED}}};

constexpr uint64_t kId = 0xFFFE;  // the largest ID an object may have

uint64_t pdLimit(const Adapter &a) { return std::max<uint64_t>(a.info.MaxHD_Ext, a.info.MaxHD); }
uint64_t blockLimit(const Adapter &a) { return std::max<uint64_t>(a.info.MaxTotalBlocks, a.info.MaxTotalBlocks_V2); }
uint64_t vdLimit(const Adapter &a) { return a.info.MaxLogicalDrive; }
uint64_t arrayLimit(const Adapter &a) { return a.info.MaxDiskGroup; }
uint64_t expanderLimit(const Adapter &a) { return a.info.MaxExpander; }
uint64_t pmLimit(const Adapter &a) { return a.info.MaxPM; }

}  // namespace

const ObjectFields<Adapter> kAdapterFields = {
    "an adapter",
    {
        {"bbu", Spelling::Flag, &Adapter::hasBbu},
        {"bgaSpeed", Spelling::Speed, &Adapter::bgaSpeed},
        {"nextSequenceNo", Spelling::Number, &Adapter::nextSeq, 0xFFFFFFFF},
        {"rescanCount", Spelling::Number, &Adapter::rescanCount, 0xFFFF},
        {"faults", Spelling::Special, Part::Faults},
        {"enclosures", Spelling::Special, Part::Enclosures},
        {"expanders", Spelling::Special, Part::Expanders},
        {"pms", Spelling::Special, Part::Pms},
        {"pds", Spelling::Special, Part::Pds},
        {"arrays", Spelling::Special, Part::Arrays},
        {"blocks", Spelling::Special, Part::Blocks},
        {"vds", Spelling::Special, Part::Vds},
        {"events", Spelling::Special, Part::Events},
    },
    {&kRecord_Adapter_Info, &kRecord_Adapter_Config_V2, &kRecord_BBU_Info},
    "adapter",
};

const ObjectFields<PD> kPdFields = {
    "a physical disk",
    {
        {"id", Spelling::Id, &PD::id},
        {"size", Spelling::Number, &PD::sizeKiB, UINT64_MAX},
        {"model", Spelling::Text, &PD::model},
        {"serial", Spelling::Text, &PD::serial},
        {"firmware", Spelling::Text, &PD::firmware},
        {"interface", Spelling::Word, &PD::iface, 0, &kInterfaces},
        {"ssd", Spelling::Flag, &PD::ssd},
        {"state", Spelling::Word, &PD::state, 0, &kDiskStates},
        {"spare", Spelling::Spare, &PD::spare, 0, nullptr, [](const PD &p) { return p.spare >= 0; }},
        {"foreign", Spelling::Flag, &PD::foreign},
        {"smartExceeded", Spelling::Flag, &PD::smartExceeded},
        {"writeCache", Spelling::Flag, &PD::writeCache},
        {"smartOn", Spelling::Flag, &PD::smartOn},
        {"os", Spelling::Flag, &PD::os},
        {"locate", Spelling::Flag, &PD::locate},
        {"partitioned", Spelling::Flag, &PD::partitioned},
        {"parent", Spelling::Parent, &PD::parent},
        {"enclosure", Spelling::OptionalId, &PD::enclosure},
        {"bga", Spelling::Activity, &PD::bga, 0, nullptr, [](const PD &p) { return p.bga.active(); }},
    },
    {&kRecord_HD_Info, &kRecord_HD_Config, &kRecord_HD_RAID_Status, &kRecord_HD_SMART_Status, &kRecord_HD_BGA_Status,
     &kRecord_HD_FreeSpaceInfo, &kRecord_HD_Block_Info},
    "pds",
    pdLimit,
    "MaxHD_Ext",
};

const ObjectFields<Block> kBlockFields = {
    "a block",
    {
        {"id", Spelling::Id, &Block::id},
        {"pd", Spelling::Number, &Block::pd, kId},
        {"vd", Spelling::OptionalId, &Block::vd},
        {"start", Spelling::Number, &Block::startKiB, UINT64_MAX},
        {"size", Spelling::Number, &Block::sizeKiB, UINT64_MAX},
    },
    {&kRecord_Block_Info},
    "blocks",
    blockLimit,
    "MaxTotalBlocks_V2",
};

const ObjectFields<Layout> kLayoutFields = {
    "a target layout",
    {
        {"raid", Spelling::Number, &Layout::raid, 255},
        {"stripe", Spelling::Number, &Layout::stripe, 0xFFFF},
        {"parity", Spelling::Number, &Layout::parity, 255},
        {"subVDs", Spelling::Number, &Layout::subVDs, 255},
        {"blocks", Spelling::Members, &Layout::blocks},
        {"size", Spelling::Number, &Layout::sizeKiB, UINT64_MAX, nullptr,
         [](const Layout &l) { return l.sizeKiB != 0; }},
    },
    {&kRecord_LD_Info},
};

const ObjectFields<VD> kVdFields = {
    "a virtual disk",
    {
        {"id", Spelling::Id, &VD::id},
        {"name", Spelling::Text, &VD::name},
        {"array", Spelling::OptionalId, &VD::array},
        {"pds", Spelling::Special, Part::Allocation},
        {"status", Spelling::OptionalNumber, &VD::status, 255, nullptr, [](const VD &v) { return v.status >= 0; }},
        {"initialized", Spelling::Flag, &VD::initialized},
        {"cache", Spelling::Number, &VD::cache, 255},
        {"autoRebuild", Spelling::Flag, &VD::autoRebuild},
        {"sector", Spelling::Number, &VD::sector, 255},
        {"tandemWaterMark", Spelling::Number, &VD::tandemWaterMark, 255},
        {"tandemRebuildMode", Spelling::Number, &VD::tandemRebuildMode, 255},
        {"linkedPD", Spelling::OptionalId, &VD::linkedPD, 0, nullptr,
         [](const VD &v) { return v.linkedPD != kNone16; }},
        {"os", Spelling::Flag, &VD::os},
        {"created", Spelling::Number, &VD::created, 0xFFFFFFFF},
        {"bga", Spelling::Activity, &VD::bga, 0, nullptr, [](const VD &v) { return v.bga.active(); }},
        {"target", Spelling::Special, Part::Target},
    },
    {&kRecord_LD_Info, &kRecord_LD_Status, &kRecord_LD_Config, &kRecord_Cross_VD_Info},
    "vds",
    vdLimit,
    "MaxLogicalDrive",
};

const ObjectFields<Array> kArrayFields = {
    "an array",
    {
        {"id", Spelling::Id, &Array::id},
        {"name", Spelling::Text, &Array::name},
        {"raid", Spelling::Number, &Array::raid, 255},
        {"stripe", Spelling::Number, &Array::stripe, 0xFFFF},
        {"parity", Spelling::Number, &Array::parity, 255},
        {"subVDs", Spelling::Number, &Array::subVDs, 255},
        {"writeCache", Spelling::Flag, &Array::writeCache},
        {"size", Spelling::Number, &Array::sizeKiB, UINT64_MAX, nullptr,
         [](const Array &g) { return g.sizeKiB != 0; }},
        {"pds", Spelling::Members, &Array::pds},
        {"bga", Spelling::Activity, &Array::bga, 0, nullptr, [](const Array &g) { return g.bga.active(); }},
        {"target", Spelling::Special, Part::Target},
    },
    {&kRecord_DG_Info, &kRecord_DG_Config},
    "arrays",
    arrayLimit,
    "MaxDiskGroup",
};

const ObjectFields<ArrayTarget> kArrayTargetFields = {
    "a target layout",
    {
        {"raid", Spelling::Number, &ArrayTarget::raid, 255},
        {"parity", Spelling::Number, &ArrayTarget::parity, 255},
        {"subVDs", Spelling::Number, &ArrayTarget::subVDs, 255},
        {"pds", Spelling::Ids, &ArrayTarget::pds},
    },
    {},
};

const ObjectFields<PM> kPmFields = {
    "a port multiplier",
    {
        {"id", Spelling::Id, &PM::id},
        {"parent", Spelling::Parent, &PM::parent},
        {"ports", Spelling::Number, &PM::ports, 255},
    },
    {&kRecord_PM_Info},
    "pms",
    pmLimit,
    "MaxPM",
};

const ObjectFields<Expander> kExpanderFields = {
    "an expander",
    {
        {"id", Spelling::Id, &Expander::id},
        {"parent", Spelling::Parent, &Expander::parent},
        {"phys", Spelling::Number, &Expander::phys, 255, nullptr, nullptr, 4, "an expander has at least 4 PHYs"},
        {"enclosure", Spelling::OptionalId, &Expander::enclosure},
    },
    {&kRecord_Exp_Info},
    "expanders",
    expanderLimit,
    "MaxExpander",
};

const ObjectFields<Enclosure> kEnclosureFields = {
    "an enclosure",
    {
        {"id", Spelling::Id, &Enclosure::id},
        {"parent", Spelling::Parent, &Enclosure::parent},
    },
    {&kRecord_Enclosure_Info},
    "enclosures",
};

const ObjectFields<ParentLink> kParentFields = {
    "a parent link",
    {
        {"type", Spelling::Word, &ParentLink::kind, 0, &kParentTypes},
        {"id", Spelling::Number, &ParentLink::id, kId, nullptr,
         [](const ParentLink &p) { return p.kind != ParentLink::HBA; }},
        {"port", Spelling::Number, &ParentLink::port, 255},
    },
    {},
};

const ObjectFields<Fault> kFaultFields = {
    "a fault",
    {
        {"status", Spelling::Number, &Fault::status, 255},
        {"call", Spelling::Number, &Fault::call, 0xFFFFFFFF, nullptr, nullptr, 1, "the first call is call 1"},
        {"onward", Spelling::Flag, &Fault::onward},
        {"made", Spelling::Number, &Fault::made, 0xFFFFFFFF},
    },
    {},
};

const ObjectFields<Bga> kActivityFields = {
    "an activity",
    {
        {"type", Spelling::Number, &Bga::type, 255},
        {"state", Spelling::Word, &Bga::state, 255, &kActivityStates},
        {"percent", Spelling::Percent, &Bga::percent},
        {"since", Spelling::Millis, &Bga::sinceMs},
    },
    {},
};

namespace {

template <class T>
DocumentedNames namesOf(const char *table, const ObjectFields<T> &t)
{
    DocumentedNames n{table, {}, {}};
    for (const Field<T> &f : t.fields) {
        n.keys.push_back(f.key);
        if (f.words)
            for (const Word &w : f.words->list)
                n.words.push_back(w.word);
    }
    return n;
}

}  // namespace

std::vector<DocumentedNames> stateDocumentNames()
{
    return {namesOf("adapter", kAdapterFields),       namesOf("pds", kPdFields),
            namesOf("blocks", kBlockFields),          namesOf("vds", kVdFields),
            namesOf("vds target", kLayoutFields),     namesOf("arrays", kArrayFields),
            namesOf("arrays target", kArrayTargetFields), namesOf("pms", kPmFields),
            namesOf("expanders", kExpanderFields),    namesOf("enclosures", kEnclosureFields),
            namesOf("parent", kParentFields),         namesOf("bga", kActivityFields),
            namesOf("faults", kFaultFields)};
}

}  // namespace sim
