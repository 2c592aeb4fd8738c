// Reading a state document (a fixture, or a state file written back) into
// the model. Every key is read through its table of state_doc.h; this file
// adds what tables cannot say: the lists and their cross references, the
// placement of blocks, and the values a record of the object implies.
#include <algorithm>
#include <cstring>

#include "operations.h"
#include "state_reader.h"

namespace sim {

namespace {

struct Reader : TableReader {
    using TableReader::TableReader;

    bool faults(const json &v, const std::string &where, std::map<std::string, Fault> &out)
    {
        if (!v.is_object())
            return fail(where, "expected an object of operation name: status");
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string w = where + "." + it.key();
            if (it.key() != kAnyOperation && !isOperationName(it.key().c_str()))
                return fail(w, "unknown operation");
            Fault f;
            if (it.value().is_object()) {
                if (!keys(kFaultFields, it.value(), w, f, nullptr, none))
                    return false;
                for (const char *needed : {kFaultFields.keyFor(&Fault::status), kFaultFields.keyFor(&Fault::call)})
                    if (!it.value().contains(needed))
                        return fail(w, std::string("missing \"") + needed + "\"");
            } else if (!num(it.value(), w, 255, f.status)) {
                return false;
            }
            out[it.key()] = f;
        }
        return true;
    }


    // ---- objects ----

    bool pd(const Adapter &a, const json &o, const std::string &w, PD &out)
    {
        uint16_t id = 0;
        if (!objectId(kPdFields, a, o, w, id))
            return false;
        out = defaultPD(a, id);
        if (!keys(kPdFields, o, w, out, &out.ov, none))
            return false;
        // The disk's size may come with its HD_Info values instead.
        if (!o.contains(kPdFields.keyFor(&PD::sizeKiB)))
            if (const Overlay *ov = out.ov.find(&kRecord_HD_Info))
                if (ov->source.contains("Size"))
                    out.sizeKiB = ov->source["Size"].get<uint64_t>();
        return true;
    }

    struct BlockGiven {
        bool pd = false, vd = false, start = false, size = false;
    };

    bool block(const Adapter &a, const json &o, const std::string &w, Block &out, BlockGiven &given)
    {
        uint16_t id = 0;
        if (!objectId(kBlockFields, a, o, w, id))
            return false;
        out = Block();
        out.id = id;
        if (!keys(kBlockFields, o, w, out, &out.ov, none))
            return false;
        given.pd = o.contains(kBlockFields.keyFor(&Block::pd));
        given.vd = o.contains(kBlockFields.keyFor(&Block::vd));
        given.start = o.contains(kBlockFields.keyFor(&Block::startKiB));
        given.size = o.contains(kBlockFields.keyFor(&Block::sizeKiB));
        // Without model keys the block's Block_Info values describe it.
        if (const Overlay *ov = out.ov.find(&kRecord_Block_Info)) {
            const json &s = ov->source;
            if (!given.pd && s.contains("HDID")) {
                out.pd = s["HDID"].get<uint16_t>();
                given.pd = true;
            }
            if (!given.vd && s.contains("LDID")) {
                uint16_t v = s["LDID"].get<uint16_t>();
                out.vd = (v == kNone8 || v == kNone16) ? kNone16 : v;
                given.vd = true;
            }
            if (!given.start && s.contains("StartLBA")) {
                out.startKiB = s["StartLBA"].get<uint64_t>();
                given.start = true;
            }
            if (!given.size && s.contains("Size")) {
                out.sizeKiB = s["Size"].get<uint64_t>();
                given.size = true;
            }
        }
        if (!given.pd)
            return fail(w, "block has no disk (\"pd\" or Block_Info.HDID)");
        return true;
    }

    bool vd(const Adapter &a, const json &o, const std::string &w, VD &out, bool &blocksGiven,
            std::vector<uint16_t> &pdsForAllocation)
    {
        uint16_t id = 0;
        if (!objectId(kVdFields, a, o, w, id))
            return false;
        out = VD();
        out.id = id;
        out.created = static_cast<uint32_t>(anchorMs / 1000);
        blocksGiven = o.contains(kLayoutFields.keyFor(&Layout::blocks));
        pdsForAllocation.clear();
        auto extra = [&](const std::string &k, const Part *part, const json &v, const std::string &kw) -> int {
            if (part && *part == Part::Allocation)
                return idList(v, kw, pdsForAllocation) ? 1 : -1;
            if (part && *part == Part::Target)
                return target(v, kw, out) ? 1 : -1;
            // The layout's keys.
            const Field<Layout> *f = kLayoutFields.find(k);
            if (!f)
                return 0;
            return field(*f, v, kw, out.layout) ? 1 : -1;
        };
        if (!keys(kVdFields, o, w, out, &out.ov, extra))
            return false;
        if (!blocksGiven && !pdsForAllocation.empty() && out.layout.blocks.empty() &&
            !o.contains(kLayoutFields.keyFor(&Layout::raid)))
            out.layout.raid = pdsForAllocation.size() >= 3 ? 5 : pdsForAllocation.size() == 2 ? 1 : 0;
        return true;
    }

    bool target(const json &v, const std::string &w, VD &out)
    {
        if (!v.is_object())
            return fail(w, "expected an object describing the target layout");
        out.hasTarget = true;
        out.target = out.layout;
        out.target.blocks.clear();
        out.target.sizeKiB = 0;
        for (auto it = v.begin(); it != v.end(); ++it) {
            const std::string kw = w + "." + it.key();
            const KXRecordDesc *d = kxFindRecord(it.key().c_str());
            if (d && kLayoutFields.carries(d)) {
                if (!compileOverlay(d, it.value(), kw, out.targetOv, error))
                    return false;
                continue;
            }
            const Field<Layout> *f = kLayoutFields.find(it.key());
            if (!f)
                return fail(kw, std::string("unknown key of ") + kLayoutFields.what);
            if (!field(*f, it.value(), kw, out.target))
                return false;
        }
        return true;
    }

    bool arrayTarget(const json &v, const std::string &w, Array &out)
    {
        if (!v.is_object())
            return fail(w, "expected an object describing the target layout");
        out.hasTarget = true;
        out.target.raid = out.raid;
        out.target.parity = out.parity;
        out.target.subVDs = out.subVDs;
        return keys(kArrayTargetFields, v, w, out.target, nullptr, none);
    }

    bool array(const Adapter &a, const json &o, const std::string &w, Array &out)
    {
        uint16_t id = 0;
        if (!a.arrayBased())
            return fail(w, "this adapter has no arrays (Adapter_Info.MaxDiskGroup is 0)");
        if (!objectId(kArrayFields, a, o, w, id))
            return false;
        out = Array();
        out.id = id;
        const json *target = nullptr;  // read last: it starts from the array's own layout
        std::string targetWhere;
        auto extra = [&](const std::string &, const Part *part, const json &v, const std::string &kw) -> int {
            if (!part || *part != Part::Target)
                return 0;
            target = &v;
            targetWhere = kw;
            return 1;
        };
        if (!keys(kArrayFields, o, w, out, &out.ov, extra))
            return false;
        return !target || arrayTarget(*target, targetWhere, out);
    }

    template <class T>
    bool topo(const Adapter &a, const ObjectFields<T> &t, const json &o, const std::string &w, T &out)
    {
        uint16_t id = 0;
        if (!objectId(t, a, o, w, id))
            return false;
        out = T();
        out.id = id;
        return keys(t, o, w, out, &out.ov, none);
    }

    // ---- an adapter ----

    template <class T, class F>
    bool list(const json &a, Part part, const std::string &w, std::map<uint16_t, T> &out, F parseOne)
    {
        const char *key = kAdapterFields.keyOf(part);
        if (!a.contains(key))
            return true;
        const json &l = a[key];
        if (!l.is_array())
            return fail(w + "." + key, std::string("expected a list, found ") + l.type_name());
        for (size_t i = 0; i < l.size(); ++i) {
            std::string iw = w + "." + key + "[" + std::to_string(i) + "]";
            T obj;
            if (!parseOne(l[i], iw, obj))
                return false;
            if (out.count(obj.id))
                return fail(iw + ".id", "duplicate ID " + std::to_string(obj.id));
            out[obj.id] = std::move(obj);
        }
        return true;
    }

    bool checkParent(const Adapter &a, const ParentLink &p, const std::string &w)
    {
        if (p.kind == ParentLink::EXPANDER && !a.expanders.count(p.id))
            return fail(w + ".parent", "no expander " + std::to_string(p.id));
        if (p.kind == ParentLink::PM && !a.pms.count(p.id))
            return fail(w + ".parent", "no port multiplier " + std::to_string(p.id));
        if (p.kind == ParentLink::ENCLOSURE && !a.enclosures.count(p.id))
            return fail(w + ".parent", "no enclosure " + std::to_string(p.id));
        return true;
    }

    bool adapter(const json &j, const std::string &w, Adapter &a)
    {
        if (!j.is_object())
            return fail(w, std::string("expected an object, found ") + j.type_name());
        defaultAdapterRecords(a);
        for (auto it = j.begin(); it != j.end(); ++it) {
            const KXRecordDesc *d = kxFindRecord(it.key().c_str());
            if (kAdapterFields.find(it.key()) || (d && kAdapterFields.carries(d)) ||
                familyOwnsKey("adapter", it.key()))
                continue;
            if (d)
                return fail(w + "." + it.key(), "record " + it.key() + " does not belong to an adapter");
            return fail(w + "." + it.key(), "unknown key of an adapter");
        }
        // The records are the adapter's own values, not overlays.
        const std::pair<const KXRecordDesc *, void *> records[] = {
            {&kRecord_Adapter_Info, &a.info}, {&kRecord_Adapter_Config_V2, &a.config}, {&kRecord_BBU_Info, &a.bbu}};
        for (const auto &r : records)
            if (j.contains(r.first->name) &&
                !applyJson(r.first, j[r.first->name], w + "." + r.first->name, r.second, error))
                return false;
        for (const Field<Adapter> &f : kAdapterFields.fields)
            if (j.contains(f.key) && !field(f, j[f.key], w + "." + f.key, a))
                return false;
        const char *faultsKey = kAdapterFields.keyOf(Part::Faults);
        if (j.contains(faultsKey) && !faults(j[faultsKey], w + "." + faultsKey, a.faults))
            return false;

        // Topology first: disks refer to it.
        if (!list(j, Part::Enclosures, w, a.enclosures, [&](const json &o, const std::string &iw, Enclosure &e) {
                return topo(a, kEnclosureFields, o, iw, e);
            }))
            return false;
        if (!list(j, Part::Expanders, w, a.expanders, [&](const json &o, const std::string &iw, Expander &e) {
                return topo(a, kExpanderFields, o, iw, e);
            }))
            return false;
        if (!list(j, Part::Pms, w, a.pms,
                  [&](const json &o, const std::string &iw, PM &p) { return topo(a, kPmFields, o, iw, p); }))
            return false;
        if (!list(j, Part::Pds, w, a.pds, [&](const json &o, const std::string &iw, PD &p) { return pd(a, o, iw, p); }))
            return false;
        if (!list(j, Part::Arrays, w, a.arrays,
                  [&](const json &o, const std::string &iw, Array &g) { return array(a, o, iw, g); }))
            return false;

        std::map<uint16_t, BlockGiven> blockGiven;
        if (!list(j, Part::Blocks, w, a.blocks, [&](const json &o, const std::string &iw, Block &b) {
                BlockGiven g;
                if (!block(a, o, iw, b, g))
                    return false;
                blockGiven[b.id] = g;
                return true;
            }))
            return false;

        std::map<uint16_t, bool> vdBlocksGiven;
        std::map<uint16_t, std::vector<uint16_t>> vdPds;
        if (!list(j, Part::Vds, w, a.vds, [&](const json &o, const std::string &iw, VD &v) {
                bool given = false;
                std::vector<uint16_t> pds;
                if (!vd(a, o, iw, v, given, pds))
                    return false;
                vdBlocksGiven[v.id] = given;
                vdPds[v.id] = pds;
                return true;
            }))
            return false;

        if (!link(a, w, blockGiven, vdBlocksGiven, vdPds) || !events(j, w, a))
            return false;
        for (const Family *f : families())
            if (f->read && !f->read(*this, j, w, a))
                return false;
        return true;
    }

    // Cross references, placement of blocks and allocation of the VDs that
    // were given by their disks.
    bool link(Adapter &a, const std::string &w, std::map<uint16_t, BlockGiven> &blockGiven,
              std::map<uint16_t, bool> &vdBlocksGiven, std::map<uint16_t, std::vector<uint16_t>> &vdPds)
    {
        for (auto &e : a.expanders) {
            std::string ew = w + ".expanders(id " + std::to_string(e.first) + ")";
            if (!checkParent(a, e.second.parent, ew))
                return false;
            if (e.second.enclosure != kNone16 && !a.enclosures.count(e.second.enclosure))
                return fail(ew + ".enclosure", "no enclosure " + std::to_string(e.second.enclosure));
        }
        for (auto &p : a.pms)
            if (!checkParent(a, p.second.parent, w + ".pms(id " + std::to_string(p.first) + ")"))
                return false;
        for (auto &p : a.pds) {
            std::string pw = w + ".pds(id " + std::to_string(p.first) + ")";
            if (!checkParent(a, p.second.parent, pw))
                return false;
            if (p.second.enclosure != kNone16 && !a.enclosures.count(p.second.enclosure))
                return fail(pw + ".enclosure", "no enclosure " + std::to_string(p.second.enclosure));
            if (p.second.spare >= 0 && p.second.spare != PD::kGlobalSpare && !a.arrays.count(static_cast<uint16_t>(p.second.spare)))
                return fail(pw + ".spare", "no array " + std::to_string(p.second.spare));
        }
        for (auto &g : a.arrays) {
            std::vector<uint16_t> disks = g.second.pds;
            disks.insert(disks.end(), g.second.target.pds.begin(), g.second.target.pds.end());
            for (uint16_t id : disks)
                if (id != kLostMember && !a.pds.count(id))
                    return fail(w + ".arrays(id " + std::to_string(g.first) + ").pds", "no physical disk " + std::to_string(id));
        }

        // Blocks without a start follow the blocks before them on their disk.
        std::map<uint16_t, uint64_t> nextStart;
        for (auto &b : a.blocks) {
            std::string bw = w + ".blocks(id " + std::to_string(b.first) + ")";
            Block &blk = b.second;
            auto pit = a.pds.find(blk.pd);
            if (pit == a.pds.end())
                return fail(bw + ".pd", "no physical disk " + std::to_string(blk.pd));
            if (blk.vd != kNone16 && !a.vds.count(blk.vd))
                return fail(bw + ".vd", "no virtual disk " + std::to_string(blk.vd));
            if (!blockGiven[b.first].start)
                blk.startKiB = nextStart[blk.pd];
            if (!blockGiven[b.first].size)
                blk.sizeKiB = std::min<uint64_t>(kDefaultBlockKiB, pit->second.sizeKiB > blk.startKiB ? pit->second.sizeKiB - blk.startKiB : 0);
            if (blk.startKiB + blk.sizeKiB > pit->second.sizeKiB || blk.startKiB + blk.sizeKiB < blk.startKiB)
                return fail(bw, "block does not fit on physical disk " + std::to_string(blk.pd));
            nextStart[blk.pd] = std::max(nextStart[blk.pd], blk.startKiB + blk.sizeKiB);
        }

        for (auto &v : a.vds) {
            VD &vd = v.second;
            std::string vw = w + ".vds(id " + std::to_string(v.first) + ")";
            if (vd.array != kNone16 && !a.arrays.count(vd.array))
                return fail(vw + ".array", "no array " + std::to_string(vd.array));
            if (vdBlocksGiven[v.first]) {
                for (uint16_t b : vd.layout.blocks) {
                    if (b == kLostMember)
                        continue;
                    Block *blk = a.findBlock(b);
                    if (!blk)
                        return fail(vw + ".blocks", "no block " + std::to_string(b));
                    if (blk->vd != kNone16 && blk->vd != vd.id)
                        return fail(vw + ".blocks", "block " + std::to_string(b) + " belongs to virtual disk " +
                                                         std::to_string(blk->vd));
                    blk->vd = vd.id;
                }
            } else {
                for (auto &b : a.blocks)
                    if (b.second.vd == vd.id)
                        vd.layout.blocks.push_back(b.first);
            }
        }
        // A block may serve one VD only.
        for (auto &b : a.blocks) {
            unsigned owners = 0;
            for (auto &v : a.vds)
                owners += static_cast<unsigned>(std::count(v.second.layout.blocks.begin(), v.second.layout.blocks.end(), b.first));
            if (owners > 1)
                return fail(w + ".blocks(id " + std::to_string(b.first) + ")", "block is a member more than once");
        }

        for (auto &v : a.vds) {
            VD &vd = v.second;
            const std::vector<uint16_t> &pds = vdPds[v.first];
            if (pds.empty() || !vd.layout.blocks.empty())
                continue;
            std::string vw = w + ".vds(id " + std::to_string(v.first) + ")";
            uint64_t member = 0;
            for (size_t i = 0; i < pds.size(); ++i) {
                auto pit = a.pds.find(pds[i]);
                if (pit == a.pds.end())
                    return fail(vw + ".pds", "no physical disk " + std::to_string(pds[i]));
                uint64_t used = a.pdUsedKiB(pds[i]);
                uint64_t freeKiB = used < pit->second.sizeKiB ? pit->second.sizeKiB - used : 0;
                if (i == 0 || freeKiB < member)
                    member = freeKiB;
            }
            if (vd.layout.sizeKiB) {
                unsigned data = dataDiskCount(vd.layout.raid, static_cast<unsigned>(pds.size()), vd.layout.parity,
                                              vd.layout.subVDs);
                uint64_t perData = (vd.layout.sizeKiB + data - 1) / data;
                if (perData > member)
                    return fail(vw + ".size", "the disks have no room for " + std::to_string(vd.layout.sizeKiB) + " KiB");
                member = perData;
            }
            if (member == 0)
                return fail(vw + ".pds", "no free space on the disks");
            for (uint16_t p : pds) {
                uint16_t b = a.allocateBlock(p, member, vd.id);
                if (b == kNone16)
                    return fail(vw + ".pds", "physical disk " + std::to_string(p) + " has no room for a block of " +
                                                 std::to_string(member) + " KiB");
                vd.layout.blocks.push_back(b);
            }
        }
        // A migration's target may reuse blocks allocated just above.
        for (auto &v : a.vds)
            for (uint16_t b : v.second.target.blocks)
                if (b != kLostMember && !a.blocks.count(b))
                    return fail(w + ".vds(id " + std::to_string(v.first) + ").target.blocks",
                                "no block " + std::to_string(b));
        return true;
    }

    bool events(const json &j, const std::string &w, Adapter &a)
    {
        const char *key = kAdapterFields.keyOf(Part::Events);
        if (!j.contains(key))
            return true;
        const json &l = j[key];
        if (!l.is_array())
            return fail(w + "." + key, std::string("expected a list, found ") + l.type_name());
        const char *record = kRecord_Event.name;
        for (size_t i = 0; i < l.size(); ++i) {
            std::string ew = w + "." + key + "[" + std::to_string(i) + "]";
            const json &o = l[i];
            if (!o.is_object())
                return fail(ew, "expected an object {\"Event\": {...}}");
            for (auto it = o.begin(); it != o.end(); ++it)
                if (it.key() != record)
                    return fail(ew + "." + it.key(), "unknown key of an event");
            Event e;
            std::memset(&e, 0, sizeof e);
            e.AdapterID = a.number;
            e.TimeStamp = static_cast<KX_U32>(anchorMs / 1000);
            e.Severity = SEV_INFO;
            json given = o.contains(record) ? o[record] : json::object();
            if (!applyJson(&kRecord_Event, given, ew + "." + record, &e, error))
                return false;
            if (given.is_object() && given.contains("SequenceNo")) {
                if (e.SequenceNo >= a.nextSeq)
                    a.nextSeq = e.SequenceNo + 1;
            } else {
                e.SequenceNo = a.nextSeq++;
            }
            a.events.push_back(e);
        }
        return true;
    }
};

}  // namespace

bool stateFromJson(const json &doc, int64_t anchorMs, State &out, std::string &error)
{
    Reader r{error, anchorMs};
    if (!doc.is_object())
        return r.fail("document", std::string("expected an object, found ") + doc.type_name());
    const std::string faults = kAdapterFields.keyOf(Part::Faults);
    for (auto it = doc.begin(); it != doc.end(); ++it)
        if (it.key() != kDocumentAdapters && it.key() != faults)
            return r.fail(it.key(), std::string("unknown key of the document (") + kDocumentAdapters + ", " +
                                        faults + ")");
    State s;
    if (doc.contains(faults) && !r.faults(doc[faults], faults, s.faults))
        return false;
    if (!doc.contains(kDocumentAdapters)) {
        // Only top-level keys given: the default controller with them.
        State d = defaultState(anchorMs);
        d.faults = s.faults;
        out = std::move(d);
        return true;
    }
    const json &list = doc[kDocumentAdapters];
    if (!list.is_array())
        return r.fail(kDocumentAdapters, std::string("expected a list, found ") + list.type_name());
    if (list.size() > 16)
        return r.fail(kDocumentAdapters, "at most 16 adapters");
    for (size_t i = 0; i < list.size(); ++i) {
        Adapter a;
        a.number = static_cast<uint8_t>(i);
        if (!r.adapter(list[i], kDocumentAdapters + ("[" + std::to_string(i) + "]"), a))
            return false;
        s.adapters.push_back(std::move(a));
    }
    out = std::move(s);
    return true;
}

}  // namespace sim
