// The adapter's objects: record overlays, lookups, the event queue and
// the queries the operations share.
#include "model.h"

#include <algorithm>
#include <cstring>

#include "kx_record_fields.h"

namespace sim {

// ---- overlays -------------------------------------------------------------

// The field tables are defined in a header, so every translation unit has
// its own copy of a record's description: compare by name, not address.
static bool sameRecord(const KXRecordDesc *a, const KXRecordDesc *b)
{
    return a == b || (a->size == b->size && std::strcmp(a->name, b->name) == 0);
}

const Overlay *Overlays::find(const KXRecordDesc *d) const
{
    for (const Overlay &o : list)
        if (sameRecord(o.desc, d))
            return &o;
    return nullptr;
}

Overlay *Overlays::find(const KXRecordDesc *d)
{
    for (Overlay &o : list)
        if (sameRecord(o.desc, d))
            return &o;
    return nullptr;
}

void Overlays::apply(const KXRecordDesc *d, void *record) const
{
    if (list.empty())
        return;
    if (const Overlay *o = find(d))
        o->apply(record);
}

void Overlays::dropField(const KXRecordDesc *d, const char *field)
{
    Overlay *o = find(d);
    if (!o)
        return;
    o->dropField(field);
    if (o->empty())
        list.erase(list.begin() + (o - list.data()));
}

// ---- model queries -----------------------------------------------------

PD *Adapter::findPD(uint16_t id)
{
    auto it = pds.find(id);
    return it == pds.end() ? nullptr : &it->second;
}

VD *Adapter::findVD(uint16_t id)
{
    auto it = vds.find(id);
    return it == vds.end() ? nullptr : &it->second;
}

Array *Adapter::findArray(uint16_t id)
{
    auto it = arrays.find(id);
    return it == arrays.end() ? nullptr : &it->second;
}

Block *Adapter::findBlock(uint16_t id)
{
    auto it = blocks.find(id);
    return it == blocks.end() ? nullptr : &it->second;
}

Event &Adapter::queueEvent(uint16_t cls, uint16_t code, uint16_t device, uint8_t severity,
                           uint32_t p0, uint32_t p1, uint32_t p2, uint32_t p3)
{
    // A controller keeps a bounded queue; the oldest events give way.
    constexpr size_t kMaxQueued = 4096;
    while (events.size() >= kMaxQueued)
        events.pop_front();
    Event e;
    std::memset(&e, 0, sizeof e);
    e.Class = cls;
    e.Code = code;
    e.TimeStamp = static_cast<KX_U32>(nowMs() / 1000);
    e.DeviceID = device;
    e.Severity = severity;
    e.AdapterID = number;
    e.SequenceNo = nextSeq++;
    e.Params[0] = p0;
    e.Params[1] = p1;
    e.Params[2] = p2;
    e.Params[3] = p3;
    events.push_back(e);
    return events.back();
}

unsigned Adapter::vdMemberCount(const Layout &l) const
{
    return static_cast<unsigned>(l.blocks.size());
}

uint64_t Adapter::vdSizeKiB(const Layout &l) const
{
    if (l.sizeKiB)
        return l.sizeKiB;
    uint64_t member = 0;
    bool first = true;
    for (uint16_t b : l.blocks) {
        auto it = blocks.find(b);
        if (it == blocks.end())
            continue;
        if (first || it->second.sizeKiB < member)
            member = it->second.sizeKiB;
        first = false;
    }
    return member * dataDiskCount(l.raid, vdMemberCount(l), l.parity, l.subVDs);
}

uint8_t Adapter::vdStatus(const VD &vd) const
{
    if (vd.status >= 0)
        return static_cast<uint8_t>(vd.status);
    unsigned failed = 0;
    for (uint16_t b : vd.layout.blocks) {
        auto bit = blocks.find(b);
        if (bit == blocks.end()) {
            ++failed;
            continue;
        }
        auto pit = pds.find(bit->second.pd);
        if (pit == pds.end() || pit->second.state != PD::ONLINE)
            ++failed;
    }
    if (failed > survivableFailures(vd.layout.raid, vd.layout.parity))
        return 4;  // offline
    if (failed || (vd.bga.active() && vd.bga.type == BGA_REBUILD))
        return 1;  // degraded
    return vd.initialized ? 15 : 0;
}

namespace {

// A member of the array, or a disk its migration is taking in.
bool arrayHolds(const Array &g, uint16_t pd)
{
    return std::find(g.pds.begin(), g.pds.end(), pd) != g.pds.end() ||
           (g.hasTarget && std::find(g.target.pds.begin(), g.target.pds.end(), pd) != g.target.pds.end());
}

}  // namespace

uint16_t Adapter::pdArray(const PD &pd) const
{
    for (const auto &g : arrays)
        if (arrayHolds(g.second, pd.id))
            return g.first;
    if (pd.spare >= 0 && pd.spare != PD::kGlobalSpare)
        return static_cast<uint16_t>(pd.spare);
    return kNone16;
}

uint64_t Adapter::pdUsedKiB(uint16_t pd) const
{
    uint64_t used = 0;
    for (const auto &b : blocks)
        if (b.second.pd == pd && b.second.vd != kNone16)
            used += b.second.sizeKiB;
    return used;
}

uint64_t Adapter::arrayTotalKiB(const Array &g) const
{
    uint64_t smallest = UINT64_MAX;
    for (uint16_t id : g.pds) {
        auto it = pds.find(id);
        if (it != pds.end())
            smallest = std::min(smallest, it->second.sizeKiB);
    }
    if (smallest == UINT64_MAX)
        return 0;
    uint64_t total = smallest * dataDiskCount(g.raid, static_cast<unsigned>(g.pds.size()), g.parity, g.subVDs);
    return g.sizeKiB ? std::min(total, g.sizeKiB) : total;
}

uint64_t Adapter::arrayMemberKiB(const Array &g) const
{
    unsigned data = dataDiskCount(g.raid, static_cast<unsigned>(g.pds.size()), g.parity, g.subVDs);
    return data ? (arrayTotalKiB(g) + data - 1) / data : 0;
}

uint8_t Adapter::pdStatusBits(const PD &pd) const
{
    uint8_t s = 0;
    if (pd.state == PD::OFFLINE)
        s |= KX_PD_OFFLINE;
    if (pd.spare == PD::kGlobalSpare)
        s |= KX_PD_GLOBAL_SPARE;
    else if (pd.spare >= 0)
        s |= KX_PD_DEDICATED_SPARE;
    bool member = pdUsedKiB(pd.id) > 0;
    for (const auto &g : arrays)
        if (arrayHolds(g.second, pd.id))
            member = true;
    if (member)
        s |= KX_PD_ASSIGNED;
    if (pd.foreign)
        s |= KX_PD_FOREIGN;
    if (pd.bga.running() && pd.bga.type == PD_BGA_MEDIA_PATROL)
        s |= KX_PD_MEDIA_PATROL;
    if (!(s & (KX_PD_OFFLINE | KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE | KX_PD_ASSIGNED | KX_PD_FOREIGN)))
        s |= KX_PD_FREE;
    return s;
}

uint8_t Adapter::rateFor(uint8_t type, bool disk) const
{
    uint8_t r;
    if (disk) {
        r = type == PD_BGA_MEDIA_PATROL ? config.MediaPatrolRate : config.BGARate;
    } else {
        switch (type) {
        case BGA_REBUILD: r = config.RebuildRate; break;
        case BGA_SYNC:
        case BGA_SYNC_FIX: r = config.SyncRate; break;
        case BGA_MIGRATION: r = config.MigrationRate; break;
        case BGA_COPYBACK: r = config.CopybackRate; break;
        default: r = config.InitRate; break;
        }
    }
    // A rate of 0 would stall the activity for ever; the firmware keeps a floor.
    return r ? r : 1;
}

double Adapter::bgaPercent(const Bga &b, uint8_t rate, int64_t now) const
{
    if (!b.running())
        return b.percent;
    double elapsed = now > b.sinceMs ? double(now - b.sinceMs) / 1000.0 : 0.0;
    double p = b.percent + elapsed * bgaSpeed * rate / kFullRate;
    return p > 100.0 ? 100.0 : p;
}

void Adapter::queueArrayEvent(uint16_t array, uint16_t code, uint8_t severity)
{
    if (!code)
        return;
    for (const auto &v : vds)
        if (v.second.array == array)
            queueEvent(EVC_VD, code, v.first, severity);
}

std::map<uint16_t, uint8_t> Adapter::vdStatuses() const
{
    std::map<uint16_t, uint8_t> out;
    for (const auto &v : vds)
        out[v.first] = vdStatus(v.second);
    return out;
}

void Adapter::queueVdStatusChanges(const std::map<uint16_t, uint8_t> &before)
{
    for (const auto &v : vds) {
        auto it = before.find(v.first);
        uint8_t now = vdStatus(v.second);
        if (it == before.end() || it->second == now)
            continue;
        if (now == 4)
            queueEvent(EVC_VD, 0, v.first, SEV_CRITICAL);  // offline
        else if (now == 1)
            queueEvent(EVC_VD, 4, v.first, SEV_MAJOR);  // degraded
        else if (it->second == 4 || it->second == 1)
            queueEvent(EVC_VD, 1, v.first, SEV_INFO);  // online again
    }
}

void Adapter::freeBlocksOf(uint16_t vd)
{
    for (auto &b : blocks)
        if (b.second.vd == vd) {
            b.second.vd = kNone16;
            // The block record now tells "free"; fixture values that said
            // otherwise described the old owner.
            b.second.ov.dropField(&kRecord_Block_Info, "LDID");
            b.second.ov.dropField(&kRecord_Block_Info, "Flags");
        }
}

std::vector<uint16_t> Adapter::vdDisks(const VD &vd) const
{
    std::vector<uint16_t> out;
    for (uint16_t b : vd.layout.blocks) {
        auto it = blocks.find(b);
        if (it != blocks.end())
            out.push_back(it->second.pd);
    }
    return out;
}

void Adapter::stopMediaPatrolOn(const std::vector<uint16_t> &ids)
{
    for (uint16_t id : ids) {
        auto it = pds.find(id);
        if (it == pds.end() || !it->second.bga.active() || it->second.bga.type != PD_BGA_MEDIA_PATROL)
            continue;
        it->second.bga = Bga();
        dropBgaOverlays(it->second);
        queueEvent(EVC_PD, kPdMediaPatrolBase + BGAE_ABORTED, id, SEV_INFO);
    }
}

uint64_t Adapter::largestFreeExtent(uint16_t pdId) const
{
    auto it = pds.find(pdId);
    if (it == pds.end())
        return 0;
    std::vector<std::pair<uint64_t, uint64_t>> used;
    for (const auto &b : blocks)
        if (b.second.pd == pdId && b.second.vd != kNone16)
            used.emplace_back(b.second.startKiB, b.second.startKiB + b.second.sizeKiB);
    std::sort(used.begin(), used.end());
    uint64_t at = 0, best = 0;
    for (const auto &u : used) {
        if (u.first > at)
            best = std::max(best, u.first - at);
        at = std::max(at, u.second);
    }
    if (it->second.sizeKiB > at)
        best = std::max(best, it->second.sizeKiB - at);
    return best;
}

uint16_t Adapter::allocateBlock(uint16_t pdId, uint64_t size, uint16_t vd)
{
    auto pit = pds.find(pdId);
    if (pit == pds.end() || size == 0)
        return kNone16;
    std::vector<std::pair<uint64_t, uint64_t>> used;
    for (const auto &b : blocks)
        if (b.second.pd == pdId && b.second.vd != kNone16)
            used.emplace_back(b.second.startKiB, b.second.startKiB + b.second.sizeKiB);
    std::sort(used.begin(), used.end());
    uint64_t start = 0;
    bool found = false;
    for (const auto &u : used) {
        if (u.first >= start && u.first - start >= size) {
            found = true;
            break;
        }
        start = std::max(start, u.second);
    }
    if (!found && (start > pit->second.sizeKiB || pit->second.sizeKiB - start < size))
        return kNone16;
    // Free blocks overlapping the new extent only described free space.
    for (auto it = blocks.begin(); it != blocks.end();) {
        const Block &b = it->second;
        if (b.pd == pdId && b.vd == kNone16 && b.startKiB < start + size && start < b.startKiB + b.sizeKiB)
            it = blocks.erase(it);
        else
            ++it;
    }
    uint16_t id = 0;
    while (blocks.count(id))
        ++id;
    Block nb;
    nb.id = id;
    nb.pd = pdId;
    nb.vd = vd;
    nb.startKiB = start;
    nb.sizeKiB = size;
    blocks[id] = nb;
    return id;
}

}  // namespace sim
