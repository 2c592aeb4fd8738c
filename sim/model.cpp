// Model queries and the records built from the model.
#include "model.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "kx_record_fields.h"

namespace sim {

int64_t nowMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

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

uint64_t roundedSize(uint64_t sizeKiB, uint8_t scheme)
{
    const uint64_t gib = 1048576;
    uint64_t unit = scheme == 1 ? gib : scheme == 2 ? 10 * gib : 1;
    return sizeKiB / unit * unit;
}

unsigned dataDiskCount(uint8_t raid, unsigned n, uint8_t parity, uint8_t subVDs)
{
    switch (raid) {
    case 1:
    case 16:
    case 17:
        return n / 2 ? n / 2 : 1;
    case 5:
        return n > 1 ? n - 1 : 1;
    case 6: {
        unsigned p = parity ? parity : 2;
        return n > p ? n - p : 1;
    }
    case 80: {
        unsigned s = subVDs ? subVDs : 2;
        return n > s ? n - s : 1;
    }
    case 96: {
        unsigned p = parity ? parity : 4;
        return n > p ? n - p : 1;
    }
    case 11:
    case 12:
        return 1;
    default:  // RAID0, JBOD, tandem capacity: every member holds data
        return n ? n : 1;
    }
}

// Whether n member disks make a layout of this RAID code.
bool countFits(uint8_t raid, unsigned n, uint8_t parity)
{
    switch (raid) {
    case 0: return n >= 1;
    case 1: return n == 2;
    case 15: return n == 1;
    case 16: return n >= 4 && n % 2 == 0;
    case 17: return n >= 3;
    case 5: return n >= 3;
    case 6: return n >= 3 && n > (parity ? parity : 2u);
    case 80: return n >= 6 && n % 2 == 0;
    case 96: return n >= 8 && n % 2 == 0;
    case 10:
    case 11:
    case 12: return n >= 2;
    default: return false;
    }
}

namespace {

// How many failed members a layout survives.
unsigned tolerance(uint8_t raid, uint8_t parity)
{
    switch (raid) {
    case 1:
    case 5:
    case 16:
    case 17:
    case 80:
    case 11:
        return 1;
    case 6:
        return parity ? parity : 2;
    case 96:
        return 2;
    default:
        return 0;
    }
}

void copyText(KX_U8 *dst, size_t n, const std::string &s)
{
    std::memset(dst, 0, n);
    std::memcpy(dst, s.data(), std::min(n, s.size()));
}

void sasAddress(KX_U8 out[8], uint8_t adapter, uint8_t kind, uint16_t id)
{
    const KX_U8 a[8] = {0x50, 0x01, 0x43, 0x80, adapter, kind, static_cast<KX_U8>(id >> 8),
                        static_cast<KX_U8>(id)};
    std::memcpy(out, a, 8);
}

void fillParent(const Adapter &a, const ParentLink &p, Link_Endpoint &e)
{
    e.DevType = p.kind;
    e.PhyCnt = 1;
    e.PhyID[0] = p.port;
    e.EnclosureID = kNone16;
    switch (p.kind) {
    case ParentLink::HBA:
        e.DevID = a.number;
        std::memcpy(e.SAS_Address, a.info.PortSasAddress[p.port % 16], 8);
        break;
    case ParentLink::EXPANDER: {
        e.DevID = p.id;
        sasAddress(e.SAS_Address, a.number, ParentLink::EXPANDER, p.id);
        auto it = a.expanders.find(p.id);
        if (it != a.expanders.end())
            e.EnclosureID = it->second.enclosure;
        break;
    }
    case ParentLink::ENCLOSURE:
        e.DevID = p.id;
        e.EnclosureID = p.id;
        break;
    default:
        e.DevID = p.id;
        break;
    }
}

void fillSelf(const Adapter &a, uint8_t kind, uint16_t id, uint8_t port, uint16_t enclosure,
              Link_Endpoint &e)
{
    e.DevID = id;
    e.DevType = kind;
    e.PhyCnt = 1;
    e.PhyID[0] = port;
    sasAddress(e.SAS_Address, a.number, kind, id);
    e.EnclosureID = enclosure;
}

constexpr uint8_t kSelfDisk = 1;

template <class T>
void zero(T &r)
{
    std::memset(&r, 0, sizeof r);
}

}  // namespace

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
    if (failed > tolerance(vd.layout.raid, vd.layout.parity))
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

// ---- records -------------------------------------------------------------

void buildHDInfo(const Adapter &a, const PD &pd, HD_Info &r, bool /*extended*/)
{
    zero(r);
    fillParent(a, pd.parent, r.Link.Parent);
    fillSelf(a, kSelfDisk, pd.id, pd.parent.port, pd.enclosure, r.Link.Self);
    r.AdapterID = a.number;
    r.InitStatus = 0;
    switch (pd.iface) {
    case PD::SATA:
        r.HDType = 1;
        r.ConnectionType = 0x05;
        r.FeatureSupport = 0xFD;
        r.sata_signature = 0x00000101;
        break;
    case PD::SAS:
        r.HDType = 4;
        r.ConnectionType = 0x06;
        r.FeatureSupport = 0x4FD;
        break;
    case PD::PATA:
        r.HDType = 2;
        r.ConnectionType = 0x09;
        r.FeatureSupport = 0x70;
        break;
    }
    // Disks in an enclosure are reachable through SGPIO/SES for their LEDs.
    if (pd.enclosure != kNone16)
        r.ConnectionType |= 0x20;
    r.DeviceType = 0;
    if (pd.iface == PD::PATA) {
        r.PIOMode = r.CurrentPIOMode = 4;
        r.MDMAMode = r.CurrentMDMAMode = 2;
        r.UDMAMode = r.CurrentUDMAMode = 6;
    } else {
        r.PIOMode = r.MDMAMode = r.UDMAMode = 0xFF;
        r.CurrentPIOMode = r.CurrentMDMAMode = r.CurrentUDMAMode = 0xFF;
    }
    copyText(r.Model, sizeof r.Model, pd.model);
    copyText(r.SerialNo, sizeof r.SerialNo, pd.serial);
    copyText(r.FWVersion, sizeof r.FWVersion, pd.firmware);
    r.Size = kxU64Make(pd.sizeKiB);
    sasAddress(r.WWN, a.number, 0x0D, pd.id);
    r.WWN[0] = 0x5D;
    r.ElementIdx = pd.parent.port;
    r.BlockSize = 512;
    r.LocateLEDStatus = pd.locate ? 1 : 0;
    r.ErrorLEDStatus = pd.state == PD::OFFLINE ? 1 : 0;
    r.HD_SSD_Type = pd.ssd ? 1 : 0;
    r.Media_Rotation_Rate = pd.ssd ? 1 : 7200;
    pd.ov.apply(&kRecord_HD_Info, &r);
}

void buildHDConfig(const Adapter &a, const PD &pd, HD_Config &r)
{
    (void)a;
    zero(r);
    r.WriteCacheOn = pd.writeCache;
    r.SMARTOn = pd.smartOn;
    r.Online = pd.state == PD::ONLINE;
    r.DriveSpeed = pd.iface == PD::SAS ? 4 : pd.iface == PD::SATA ? 3 : 0;
    r.HDID = pd.id;
    pd.ov.apply(&kRecord_HD_Config, &r);
}

void buildHDRaidStatus(const Adapter &a, const PD &pd, HD_RAID_Status &r)
{
    zero(r);
    r.HDID = pd.id;
    r.DGID = a.pdArray(pd);
    r.Status = a.pdStatusBits(pd);
    pd.ov.apply(&kRecord_HD_RAID_Status, &r);
}

void buildHDSmartStatus(const Adapter &a, const PD &pd, HD_SMART_Status &r)
{
    (void)a;
    zero(r);
    r.SmartThresholdExceeded = pd.smartExceeded;
    r.HDID = pd.id;
    pd.ov.apply(&kRecord_HD_SMART_Status, &r);
}

void buildHDBgaStatus(const Adapter &a, const PD &pd, HD_BGA_Status &r, int64_t now)
{
    zero(r);
    r.HDID = pd.id;
    if (pd.bga.active()) {
        r.Bga = pd.bga.type;
        r.BgaStatus = pd.bga.state;
        r.Percentage = static_cast<KX_U16>(a.bgaPercent(pd.bga, a.rateFor(pd.bga.type, true), now));
    }
    pd.ov.apply(&kRecord_HD_BGA_Status, &r);
}

void buildHDFreeSpace(const Adapter &a, const PD &pd, HD_FreeSpaceInfo &r)
{
    zero(r);
    r.ID = pd.id;
    r.AdapterID = a.number;
    r.BlockSize = 512;
    uint64_t used = a.pdUsedKiB(pd.id);
    r.Size = kxU64Make(used < pd.sizeKiB ? pd.sizeKiB - used : 0);
    pd.ov.apply(&kRecord_HD_FreeSpaceInfo, &r);
}

void buildHDBlockInfo(const Adapter &a, const PD &pd, HD_Block_Info &r)
{
    zero(r);
    r.ID = pd.id;
    for (unsigned i = 0; i < 16; ++i)
        r.BlockIDs[i] = kNone8;
    unsigned n = 0;
    for (const auto &b : a.blocks)
        if (b.second.pd == pd.id && n < 16)
            r.BlockIDs[n++] = b.first;
    r.BlkCount = static_cast<KX_U8>(n);
    pd.ov.apply(&kRecord_HD_Block_Info, &r);
}

void buildBlockInfo(const Adapter &a, const Block &b, Block_Info &r)
{
    (void)a;
    zero(r);
    r.ID = b.id;
    r.HDID = b.pd;
    r.Flags = b.vd == kNone16 ? 0x1 : 0x2;
    r.LDID = b.vd == kNone16 ? kNone8 : b.vd;
    r.BlockSize = 512;
    r.StartLBA = kxU64Make(b.startKiB);
    r.Size = kxU64Make(b.sizeKiB);
    b.ov.apply(&kRecord_Block_Info, &r);
}

namespace {

void fillLayout(const Adapter &a, const VD &vd, const Layout &l, LD_Info &r)
{
    zero(r);
    r.ID = vd.id;
    r.Status = a.vdStatus(vd);
    r.BGAStatus = vd.bga.active() ? vd.bga.state : 0;
    r.StripeBlockSize = l.stripe;
    r.RaidMode = l.raid;
    r.CacheMode = vd.cache;
    const KX_U8 guid[8] = {0x4B, 0x58, a.number, static_cast<KX_U8>(vd.id >> 8), static_cast<KX_U8>(vd.id),
                           static_cast<KX_U8>(vd.created >> 16), static_cast<KX_U8>(vd.created >> 8),
                           static_cast<KX_U8>(vd.created)};
    std::memcpy(r.LD_GUID, guid, 8);
    r.SectorCoefficient = vd.sector;
    r.AdapterID = a.number;
    r.time_hi = static_cast<KX_U16>(vd.created >> 16);
    r.time_low = static_cast<KX_U16>(vd.created);
    r.DGID = vd.array;
    r.Size = kxU64Make(a.vdSizeKiB(l));
    copyText(r.Name, sizeof r.Name, vd.name);
    for (unsigned i = 0; i < 128; ++i)
        r.BlockIDs[i] = kNone16;
    unsigned n = 0;
    for (uint16_t b : l.blocks) {
        if (n >= 128)
            break;
        // A member on a disk that is gone shows as a missing block.
        auto bit = a.blocks.find(b);
        bool present = bit != a.blocks.end();
        if (present) {
            auto pit = a.pds.find(bit->second.pd);
            present = pit != a.pds.end() && pit->second.visible();
        }
        r.BlockIDs[n++] = present ? b : kNone16;
    }
    r.BlkCount = static_cast<KX_U8>(n);
    r.HDCount = static_cast<KX_U8>(n);
    r.SubLDCount = l.subVDs;
    r.NumParityDisk = l.parity;
    r.BlockSize = 512;
}

}  // namespace

void buildLDInfo(const Adapter &a, const VD &vd, LD_Info &r)
{
    fillLayout(a, vd, vd.layout, r);
    vd.ov.apply(&kRecord_LD_Info, &r);
}

void buildTargetLDInfo(const Adapter &a, const VD &vd, LD_Info &r)
{
    fillLayout(a, vd, vd.target, r);
    vd.targetOv.apply(&r);
}

void buildLDStatus(const Adapter &a, const VD &vd, LD_Status &r, int64_t now)
{
    zero(r);
    r.Status = a.vdStatus(vd);
    if (vd.bga.active()) {
        r.Bga = vd.bga.type;
        r.BgaState = vd.bga.state;
        r.BgaPercentage = static_cast<KX_U16>(a.bgaPercent(vd.bga, a.rateFor(vd.bga.type, false), now));
    }
    for (uint16_t b : vd.layout.blocks) {
        auto bit = a.blocks.find(b);
        if (bit == a.blocks.end())
            continue;
        auto pit = a.pds.find(bit->second.pd);
        if (pit != a.pds.end() && pit->second.bga.running() && pit->second.bga.type == PD_BGA_MEDIA_PATROL)
            r.BgaExt |= 0x02;
    }
    // A VD of an array lives on all the array's disks, whether or not the
    // state lists blocks for it.
    auto git = a.arrays.find(vd.array);
    if (vd.array != kNone16 && git != a.arrays.end())
        for (uint16_t pd : git->second.pds) {
            auto pit = a.pds.find(pd);
            if (pit != a.pds.end() && pit->second.bga.running() && pit->second.bga.type == PD_BGA_MEDIA_PATROL)
                r.BgaExt |= 0x02;
        }
    r.LDID = vd.id;
    vd.ov.apply(&kRecord_LD_Status, &r);
}

void buildLDConfig(const Adapter &a, const VD &vd, LD_Config &r)
{
    zero(r);
    r.CacheMode = vd.cache;
    r.TandemWaterMark = vd.tandemWaterMark;
    r.TandemRebuildMode = vd.tandemRebuildMode;
    r.AutoRebuildOn = vd.autoRebuild;
    r.Status = a.vdStatus(vd);
    r.LDID = vd.id;
    copyText(r.Name, sizeof r.Name, vd.name);
    vd.ov.apply(&kRecord_LD_Config, &r);
}

void buildDGInfo(const Adapter &a, const Array &g, DG_Info &r, int64_t now)
{
    (void)now;
    zero(r);
    r.DGID = g.id;
    copyText(r.Name, sizeof r.Name, g.name);
    r.RaidMode = g.raid;
    r.SubVDCount = g.subVDs;
    r.NumParityDisk = g.parity;
    r.AdapterID = a.number;
    r.StripeBlockSize = g.stripe;
    r.BlockSize = 512;

    unsigned failed = 0, n = 0;
    for (uint16_t id : g.pds) {
        auto it = a.pds.find(id);
        if (it == a.pds.end() || it->second.state != PD::ONLINE)
            ++failed;
        if (it == a.pds.end())
            continue;
        if (it->second.bga.running())
            r.PDBgaRunning = 1;
    }
    for (uint16_t id : g.pds)
        if (n < 128)
            r.PDIDs[n++] = id;
    r.PDCount = static_cast<KX_U8>(n);
    uint64_t total = a.arrayTotalKiB(g);
    uint64_t usedBySlots = 0;
    unsigned slots = 0;
    const VD *bgaVd = nullptr;
    for (const auto &v : a.vds) {
        if (v.second.array != g.id)
            continue;
        uint64_t size = a.vdSizeKiB(v.second.layout);
        usedBySlots += size;
        if (slots < 32) {
            r.VDSlotSize[slots] = kxU64Make(size);
            r.VDIDs[slots] = v.first;
            ++slots;
        }
        if (!bgaVd && v.second.bga.active())
            bgaVd = &v.second;
    }
    uint64_t remaining = usedBySlots < total ? total - usedBySlots : 0;
    if (remaining && slots < 32) {
        r.VDSlotSize[slots] = kxU64Make(remaining);
        r.VDIDs[slots] = kNone16;
        ++slots;
    }
    r.VDSlotCount = static_cast<KX_U8>(slots);
    r.TotalManagedSpace = kxU64Make(total);
    r.RemainingManagedSpace = kxU64Make(remaining);
    // The space each member gives the array: what a replacement disk needs.
    r.SmallestAvailablePDSize = kxU64Make(a.arrayMemberKiB(g));
    r.Status = failed == 0 ? 0 : failed <= tolerance(g.raid, g.parity) ? 1 : 2;

    unsigned spares = 0;
    for (const auto &p : a.pds)
        if (p.second.spare == g.id && p.second.visible() && spares < 8)
            r.SparePDIDs[spares++] = p.first;
    r.SparePDCount = static_cast<KX_U8>(spares);
    if (g.bga.active()) {
        r.BgaType = g.bga.type;
        r.BgaState = g.bga.state;
    } else if (bgaVd) {
        r.BgaType = bgaVd->bga.type;
        r.BgaState = bgaVd->bga.state;
    }
    g.ov.apply(&kRecord_DG_Info, &r);
}

void buildDGConfig(const Adapter &a, const Array &g, DG_Config &r)
{
    (void)a;
    zero(r);
    r.DGID = g.id;
    r.WriteCacheOn = g.writeCache;
    copyText(r.Name, sizeof r.Name, g.name);
    g.ov.apply(&kRecord_DG_Config, &r);
}

void buildPMInfo(const Adapter &a, const PM &p, PM_Info &r)
{
    zero(r);
    fillParent(a, p.parent, r.Link.Parent);
    fillSelf(a, ParentLink::PM, p.id, p.parent.port, kNone16, r.Link.Self);
    r.AdapterID = a.number;
    r.ProductRevision = 1;
    r.PMSpecRevision = 12;
    r.NumberOfPorts = p.ports;
    r.VendorId = 0x1F3C;
    r.DeviceId = 0x0325;
    p.ov.apply(&kRecord_PM_Info, &r);
}

void buildExpInfo(const Adapter &a, const Expander &e, Exp_Info &r)
{
    zero(r);
    fillParent(a, e.parent, r.Link.Parent);
    fillSelf(a, ParentLink::EXPANDER, e.id, e.parent.port, e.enclosure, r.Link.Self);
    // An expander is attached by a wide port of four PHYs.
    r.Link.Self.PhyCnt = 4;
    r.Link.Parent.PhyCnt = 4;
    for (unsigned i = 0; i < 4; ++i) {
        r.Link.Self.PhyID[i] = static_cast<KX_U8>(e.phys - 4 + i);
        r.Link.Parent.PhyID[i] = static_cast<KX_U8>(e.parent.port + i);
    }
    r.AdapterID = a.number;
    r.Configuring = 0;
    r.RouteTableConfigurable = 1;
    r.PhyCount = e.phys;
    r.ExpChangeCount = 1;
    r.MaxRouteIndexes = 128;
    copyText(r.VendorID, sizeof r.VendorID, "KORVEX");
    copyText(r.ProductID, sizeof r.ProductID, "SIM-EXP-24");
    copyText(r.ProductRev, sizeof r.ProductRev, "0100");
    copyText(r.ComponentVendorID, sizeof r.ComponentVendorID, "KORVEX");
    r.ComponentID = 0x0224;
    r.ComponentRevisionID = 1;
    e.ov.apply(&kRecord_Exp_Info, &r);
}

void buildEnclosureInfo(const Adapter &a, const Enclosure &e, Enclosure_Info &r)
{
    zero(r);
    fillParent(a, e.parent, r.Link.Parent);
    fillSelf(a, ParentLink::ENCLOSURE, e.id, e.parent.port, e.id, r.Link.Self);
    r.AdapterID = a.number;
    r.Status = 0;
    copyText(r.LogicalID, sizeof r.LogicalID, "SIMENC" + std::to_string(e.id));
    copyText(r.VendorID, sizeof r.VendorID, "KORVEX");
    copyText(r.ProductID, sizeof r.ProductID, "SIM-JBOD-12");
    copyText(r.RevisionLevel, sizeof r.RevisionLevel, "0100");
    unsigned n = 0;
    for (const auto &x : a.expanders)
        if (x.second.enclosure == e.id && n < 8)
            r.ExpanderIDs[n++] = x.first;
    for (unsigned i = n; i < 8; ++i)
        r.ExpanderIDs[i] = kNone16;
    r.ExpanderCount = static_cast<KX_U8>(n);
    r.path = 0;
    r.target = static_cast<KX_U8>(e.id);
    e.ov.apply(&kRecord_Enclosure_Info, &r);
}

// ---- background activities ------------------------------------------------

// Record values a fixture gave for an activity described that activity;
// once the library changes it they would hide the change.
void dropBgaOverlays(VD &vd)
{
    vd.ov.dropField(&kRecord_LD_Status, "Bga");
    vd.ov.dropField(&kRecord_LD_Status, "BgaState");
    vd.ov.dropField(&kRecord_LD_Status, "BgaPercentage");
    vd.ov.dropField(&kRecord_LD_Info, "BGAStatus");
}

void dropBgaOverlays(PD &pd)
{
    pd.ov.dropField(&kRecord_HD_BGA_Status, "Bga");
    pd.ov.dropField(&kRecord_HD_BGA_Status, "BgaStatus");
    pd.ov.dropField(&kRecord_HD_BGA_Status, "Percentage");
}

void dropBgaOverlays(Array &g)
{
    g.ov.dropField(&kRecord_DG_Info, "BgaType");
    g.ov.dropField(&kRecord_DG_Info, "BgaState");
}

void deleteVd(Adapter &a, uint16_t id)
{
    auto it = a.vds.find(id);
    if (it == a.vds.end())
        return;
    VD &vd = it->second;
    // The event carries the VD's name in its four parameters.
    KX_U32 params[4] = {0, 0, 0, 0};
    std::memcpy(params, vd.name.data(), std::min<size_t>(vd.name.size(), sizeof params));
    // A stopped activity is reported like one stopped by hand.
    if (vd.bga.active() && vd.bga.state != BGAS_ABORTED)
        if (uint16_t base = vdEventBase(vd.bga.type))
            a.queueEvent(EVC_VD, base + BGAE_ABORTED, id, SEV_INFO);
    a.freeBlocksOf(id);
    a.vds.erase(it);
    a.queueEvent(EVC_VD, 3, id, SEV_INFO, params[0], params[1], params[2], params[3]);
}

void deleteArray(Adapter &a, uint16_t id)
{
    for (auto &p : a.pds)
        if (p.second.spare == id) {
            p.second.spare = -1;
            p.second.ov.dropField(&kRecord_HD_RAID_Status, "Status");
            p.second.ov.dropField(&kRecord_HD_RAID_Status, "DGID");
        }
    a.arrays.erase(id);
    a.queueEvent(EVC_ARRAY, 1, id, SEV_INFO);
}

void dropMigrationTarget(Adapter &a, VD &vd)
{
    for (uint16_t b : vd.target.blocks) {
        if (std::find(vd.layout.blocks.begin(), vd.layout.blocks.end(), b) != vd.layout.blocks.end())
            continue;
        auto it = a.blocks.find(b);
        if (it != a.blocks.end() && it->second.vd == vd.id)
            it->second.vd = kNone16;
    }
    vd.hasTarget = false;
    vd.target = Layout();
    vd.targetOv = Overlay();
}

void dropMigrationTarget(Array &g)
{
    g.hasTarget = false;
    g.target = ArrayTarget();
}

uint16_t vdEventBase(uint8_t type)
{
    switch (type) {
    case BGA_SYNC: return 20;
    case BGA_SYNC_FIX: return 30;
    case BGA_FAST_INIT: return 40;
    case BGA_BACKGROUND_INIT: return 50;
    case BGA_FOREGROUND_INIT: return 60;
    case BGA_REBUILD: return 70;
    case BGA_MIGRATION: return 80;
    case BGA_COPYBACK: return 90;
    default: return 0;
    }
}

namespace {


// Fixture values of a VD's layout described the layout it had.
void dropLayoutOverlays(VD &vd)
{
    for (const char *f : {"RaidMode", "HDCount", "BlkCount", "BlockIDs", "Size", "NumParityDisk", "SubLDCount",
                          "StripeBlockSize"})
        vd.ov.dropField(&kRecord_LD_Info, f);
}

// An array migration completes: the array takes its new level and disks,
// and each of its VDs, keeping its size, is laid out anew over them in ID
// order (the migration was only started when they all fit).
void completeArrayMigration(Adapter &a, Array &g)
{
    std::vector<VD *> vds;
    for (auto &v : a.vds)
        if (v.second.array == g.id)
            vds.push_back(&v.second);
    std::vector<uint64_t> sizes;
    for (VD *vd : vds) {
        sizes.push_back(a.vdSizeKiB(vd->layout));
        a.freeBlocksOf(vd->id);
    }
    g.raid = g.target.raid;
    g.parity = g.target.parity;
    g.subVDs = g.target.subVDs;
    g.pds = g.target.pds;
    // The migrated array manages all its new members give, the size the
    // migration answered when it started.
    g.sizeKiB = 0;
    dropMigrationTarget(g);
    for (const char *f : {"RaidMode", "NumParityDisk", "SubVDCount", "PDCount", "PDIDs", "TotalManagedSpace",
                          "RemainingManagedSpace", "SmallestAvailablePDSize", "VDSlotCount", "VDSlotSize", "VDIDs"})
        g.ov.dropField(&kRecord_DG_Info, f);
    const unsigned data = dataDiskCount(g.raid, static_cast<unsigned>(g.pds.size()), g.parity, g.subVDs);
    for (size_t i = 0; i < vds.size(); ++i) {
        VD &vd = *vds[i];
        vd.layout.raid = g.raid;
        vd.layout.parity = g.parity;
        vd.layout.subVDs = g.subVDs;
        vd.layout.sizeKiB = sizes[i];
        vd.layout.blocks.clear();
        for (uint16_t pd : g.pds)
            vd.layout.blocks.push_back(a.allocateBlock(pd, (sizes[i] + data - 1) / data, vd.id));
        dropLayoutOverlays(vd);
    }
}

void completeVd(Adapter &a, VD &vd)
{
    uint8_t type = vd.bga.type;
    vd.bga = Bga();
    if (type == BGA_FAST_INIT || type == BGA_BACKGROUND_INIT || type == BGA_FOREGROUND_INIT)
        vd.initialized = true;
    if (type == BGA_MIGRATION && vd.hasTarget) {
        // The old members that the new layout does not reuse become free.
        for (uint16_t b : vd.layout.blocks)
            if (std::find(vd.target.blocks.begin(), vd.target.blocks.end(), b) == vd.target.blocks.end()) {
                auto it = a.blocks.find(b);
                if (it != a.blocks.end())
                    it->second.vd = kNone16;
            }
        vd.layout = vd.target;
        vd.target = Layout();
        vd.targetOv = Overlay();
        vd.hasTarget = false;
        dropLayoutOverlays(vd);
    }
    dropBgaOverlays(vd);
    uint16_t base = vdEventBase(type);
    if (base)
        a.queueEvent(EVC_VD, base + kEndCompleted, vd.id, SEV_INFO);
}

}  // namespace

bool advance(State &s, int64_t now)
{
    bool changed = false;
    for (Adapter &a : s.adapters) {
        for (auto &v : a.vds) {
            VD &vd = v.second;
            if (vd.bga.running() && a.bgaPercent(vd.bga, a.rateFor(vd.bga.type, false), now) >= 100.0) {
                completeVd(a, vd);
                changed = true;
            }
        }
        for (auto &p : a.pds) {
            PD &pd = p.second;
            if (pd.bga.running() && a.bgaPercent(pd.bga, a.rateFor(pd.bga.type, true), now) >= 100.0) {
                pd.bga = Bga();
                dropBgaOverlays(pd);
                a.queueEvent(EVC_PD, kPdMediaPatrolBase + kEndCompleted, pd.id, SEV_INFO);
                changed = true;
            }
        }
        for (auto &g : a.arrays) {
            Array &arr = g.second;
            if (arr.bga.running() && a.bgaPercent(arr.bga, a.rateFor(arr.bga.type, false), now) >= 100.0) {
                uint16_t base = vdEventBase(arr.bga.type);
                if (arr.bga.type == BGA_MIGRATION && arr.hasTarget)
                    completeArrayMigration(a, arr);
                arr.bga = Bga();
                dropBgaOverlays(arr);
                a.queueArrayEvent(arr.id, base + kEndCompleted, SEV_INFO);
                changed = true;
            }
        }
    }
    return changed;
}

}  // namespace sim
