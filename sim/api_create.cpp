// Creating VDs (from disks, or in a slot of an array) and arrays.
#include <algorithm>
#include <cstdio>

#include "api.h"
#include "migration.h"

using namespace sim;

namespace {

constexpr uint64_t kMiB = 1024;     // KiB

// Sizes in create requests are in MB; the sizes the library answers (what
// was made, what is available, what could be made) are in KiB like every
// other capacity. A request too large to count in KiB cannot fit anyway.
uint64_t requestKiB(const KX_U64 &mb)
{
    uint64_t v = kxU64Value(mb);
    return v > UINT64_MAX / kMiB ? UINT64_MAX : v * kMiB;
}

// Adapters above this PCI device ID size a VD made from disks themselves:
// a requested size is kept only for the Tandem levels, or when the caller
// insists (ReservedForApp 1).
constexpr uint16_t kSizesItselfAbove = 0x6300;

// Disks given for a new VD or array: present, online, neither a spare nor
// foreign; for an array also not yet used at all.
uint8_t checkDisks(const Adapter &a, const std::vector<uint16_t> &ids, bool whole)
{
    if (ids.empty() || ids.size() > 128)
        return KX_ST_BAD_PD_COUNT;
    for (size_t i = 0; i < ids.size(); ++i) {
        auto it = a.pds.find(ids[i]);
        if (it == a.pds.end() || !it->second.visible())
            return KX_ST_PD_MISSING;
        if (std::find(ids.begin(), ids.begin() + i, ids[i]) != ids.begin() + i)
            return KX_ST_INVALID_PARAM;
        uint8_t bits = a.pdStatusBits(it->second);
        if (bits & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE))
            return KX_ST_IS_SPARE;
        if (bits & (KX_PD_OFFLINE | KX_PD_FOREIGN))
            return KX_ST_BAD_PD;
        if (whole && (bits & KX_PD_ASSIGNED))
            return KX_ST_PD_ASSIGNED;
        if (a.pdArray(it->second) != kNone16)
            return KX_ST_PD_ASSIGNED;  // a member of an array: VDs go into the array
    }
    return KX_ST_OK;
}

uint8_t checkRaid(const Adapter &a, uint8_t raid, unsigned n, uint8_t parity)
{
    if (!kxRaidOffered(a.info.LogicalDriverMode, raid))
        return KX_ST_BAD_RAID;
    return countFits(raid, n, parity) ? KX_ST_OK : KX_ST_PD_COUNT_FOR_RAID;
}

// The activity an initialisation option starts, BGA_NONE for none.
uint8_t initActivity(uint8_t option)
{
    switch (option) {
    case 0: return BGA_FAST_INIT;
    case 1: return BGA_FOREGROUND_INIT;
    case 2:
    case 5: return BGA_BACKGROUND_INIT;
    default: return BGA_NONE;
    }
}

void startActivity(Bga &b, uint8_t type, int64_t now)
{
    b = type == BGA_NONE ? Bga() : startedBga(type, now);
}

uint16_t newId(const std::map<uint16_t, VD> &m, uint16_t wanted, unsigned limit)
{
    if (wanted != kNone16)
        return m.count(wanted) || wanted >= limit ? kNone16 : wanted;
    for (uint16_t id = 0; id < limit; ++id)
        if (!m.count(id))
            return id;
    return kNone16;
}

std::string nameOf(const KX_U8 *p, size_t n)
{
    size_t len = 0;
    while (len < n && p[len])
        ++len;
    return std::string(reinterpret_cast<const char *>(p), len);
}

// Makes the VD from a layout whose member size is already known.
VD &addVD(Adapter &a, uint16_t id, const std::string &name, Layout layout, const std::vector<uint16_t> &pds,
          uint64_t member, uint16_t array, uint8_t cache, uint8_t sector, uint8_t initOption, int64_t now)
{
    for (uint16_t p : pds)
        layout.blocks.push_back(a.allocateBlock(p, member, id));
    VD vd;
    vd.id = id;
    vd.name = name;
    vd.layout = layout;
    vd.array = array;
    vd.cache = cache;
    vd.sector = sector ? sector : 1;
    vd.created = static_cast<uint32_t>(now / 1000);
    uint8_t init = initActivity(initOption);
    startActivity(vd.bga, init, now);
    a.vds[id] = vd;
    a.queueEvent(EVC_VD, 2, id, SEV_INFO);
    if (init != BGA_NONE)
        a.queueEvent(EVC_VD, vdEventBase(init) + BGAE_STARTED, id, SEV_INFO);
    return a.vds[id];
}

// Creates an array (or only computes its size). startInit: the array's own
// initialisation runs; a package initialises through its VD instead.
uint8_t createArray(Adapter &a, CreateOrModify_DG_Param &p, bool sizeOnly, bool startInit, int64_t now)
{
    if (!a.arrayBased())
        return KX_ST_NOT_SUPPORTED;
    // The size of an existing array in another layout: what a migration
    // would make of it.
    if (sizeOnly && p.DGID != kNone16)
        if (const Array *g = a.findArray(p.DGID)) {
            uint64_t size = 0;
            uint8_t st = planArrayMigration(a, *g, p, &size);
            if (st == KX_ST_OK)
                p.Size = kxU64Make(size);
            return st;
        }
    if (p.PDCount == 0 || p.PDCount > 128)
        return KX_ST_BAD_PD_COUNT;
    std::vector<uint16_t> pds(p.PDCount);
    std::memcpy(pds.data(), reinterpret_cast<const uint8_t *>(&p) + offsetof(CreateOrModify_DG_Param, PDIDs),
                2 * pds.size());
    if (uint8_t st = checkDisks(a, pds, true))
        return st;
    if (uint8_t st = checkRaid(a, p.RaidMode, p.PDCount, p.NumParityDisk))
        return st;
    uint64_t smallest = UINT64_MAX;
    for (uint16_t id : pds)
        smallest = std::min(smallest, a.pds.at(id).sizeKiB);
    uint64_t total = smallest * dataDiskCount(p.RaidMode, p.PDCount, p.NumParityDisk, p.SubVDCount);
    uint64_t wanted = requestKiB(p.Size);
    if (wanted > total) {
        p.Size = kxU64Make(total);
        return KX_ST_NO_RESOURCE;
    }
    if (wanted)
        total = wanted;
    p.Size = kxU64Make(total);
    if (sizeOnly)
        return KX_ST_OK;
    uint16_t id = p.DGID;
    if (id == kNone16) {
        for (id = 0; id < a.info.MaxDiskGroup && a.arrays.count(id); ++id) {
        }
    }
    if (id >= a.info.MaxDiskGroup || a.arrays.count(id))
        return id == p.DGID ? KX_ST_BAD_ARRAY : KX_ST_NO_RESOURCE;
    Array g;
    g.id = id;
    g.name = nameOf(p.Name, sizeof p.Name);
    g.raid = p.RaidMode;
    g.stripe = p.StripeBlockSize ? p.StripeBlockSize : 64;
    g.parity = p.NumParityDisk;
    g.subVDs = p.SubVDCount;
    g.sizeKiB = wanted;
    g.pds = pds;
    if (startInit)
        startActivity(g.bga, initActivity(p.InitializationOption), now);
    a.arrays[id] = g;
    p.DGID = id;
    a.queueEvent(EVC_ARRAY, 0, id, SEV_INFO);
    return KX_ST_OK;
}

uint8_t createVdInArray(Adapter &a, CreateOrModify_VD_Param &p, int64_t now)
{
    Array *g = a.findArray(p.DGID);
    if (!g)
        return KX_ST_BAD_ARRAY;
    if (p.VDID != kNone16 && a.vds.count(p.VDID))
        return KX_ST_BAD_VD;  // changing an existing VD is not offered
    unsigned inArray = 0;
    uint64_t used = 0;
    for (const auto &v : a.vds)
        if (v.second.array == g->id) {
            ++inArray;
            used += a.vdSizeKiB(v.second.layout);
        }
    // The free slot follows the VDs of the array; 255 lets the library
    // choose it.
    if (p.DGSlotNum != 255 && p.DGSlotNum > inArray)
        return KX_ST_INVALID_PARAM;
    if (p.DGSlotNum < inArray || inArray >= a.info.MaxVDPerDG)
        return KX_ST_NO_RESOURCE;
    unsigned data = dataDiskCount(g->raid, static_cast<unsigned>(g->pds.size()), g->parity, g->subVDs);
    uint64_t total = a.arrayTotalKiB(*g);
    uint64_t remaining = used < total ? total - used : 0;
    uint64_t member = UINT64_MAX;
    for (uint16_t id : g->pds)
        member = std::min(member, a.largestFreeExtent(id));
    remaining = std::min(remaining, member == UINT64_MAX ? 0 : member * data);
    uint64_t size = kxU64Value(p.Size) ? requestKiB(p.Size) : roundedSize(remaining, p.RoundingScheme);
    if (size == 0 || size > remaining) {
        p.Size = kxU64Make(remaining);
        return KX_ST_NO_RESOURCE;
    }
    uint16_t id = newId(a.vds, p.VDID, a.info.MaxLogicalDrive);
    if (id == kNone16)
        return KX_ST_NO_VD_ID;
    Layout l;
    l.raid = g->raid;
    l.stripe = p.StripeBlockSize ? p.StripeBlockSize : g->stripe;  // a VD may differ from its array
    l.parity = g->parity;
    l.subVDs = g->subVDs;
    l.sizeKiB = size;
    addVD(a, id, nameOf(p.Name, sizeof p.Name), l, g->pds, (size + data - 1) / data, g->id, p.CachePolicy,
          p.SectorCoefficient, p.InitializationOption, now);
    p.VDID = id;
    p.Size = kxU64Make(size);
    return KX_ST_OK;
}

// Short level names of the names the library gives what it builds itself.
const char *shortRaidName(uint8_t raid)
{
    switch (raid) {
    case 0: return "R0";
    case 1: return "R1";
    default: return "R5";
    }
}

// The automatic configuration: one array over every disk that is wholly
// free (no VD, array, spare role, OS or partition table: nothing on it
// can be lost) and one VD over all of it. protection 1 asks for a
// redundant layout: RAID5 from three disks, else RAID1 of the first two;
// 0 makes RAID0.
uint8_t quickCreate(Adapter &a, uint8_t protection, int64_t now)
{
    if (!a.arrayBased())
        return KX_ST_NOT_SUPPORTED;
    if (protection > 1)
        return KX_ST_INVALID_PARAM;
    std::vector<uint16_t> free;
    for (const auto &x : a.pds) {
        const PD &pd = x.second;
        if (!pd.visible() || pd.state != PD::ONLINE || pd.os || pd.partitioned || pd.foreign || pd.spare >= 0)
            continue;
        if (a.pdUsedKiB(pd.id) || a.pdArray(pd) != kNone16 || free.size() == 128)
            continue;
        free.push_back(pd.id);
    }
    if (free.empty())
        return KX_ST_BAD_PD_COUNT;
    uint8_t raid = 0;
    if (protection) {
        bool r5 = kxRaidOffered(a.info.LogicalDriverMode, KX_RAID5) && free.size() >= 3;
        if (!r5 && free.size() < 2)
            return KX_ST_PD_COUNT_FOR_RAID;
        raid = r5 ? KX_RAID5 : KX_RAID1;
        if (raid == KX_RAID1)
            free.resize(2);
    }
    CreateOrModify_DG_Param dg;
    std::memset(&dg, 0, sizeof dg);
    dg.DGID = kNone16;
    dg.RaidMode = raid;
    dg.StripeBlockSize = 64;
    dg.PDCount = static_cast<KX_U8>(free.size());
    for (size_t i = 0; i < free.size(); ++i)
        std::memcpy(reinterpret_cast<uint8_t *>(&dg) + offsetof(CreateOrModify_DG_Param, PDIDs) + 2 * i, &free[i], 2);
    char name[17];
    std::snprintf(name, sizeof name, "DG_%s_%u", shortRaidName(raid), static_cast<unsigned>(a.arrays.size() + 1));
    std::memcpy(dg.Name, name, std::min(sizeof dg.Name, std::strlen(name)));
    Adapter before = a;
    uint8_t st = createArray(a, dg, false, false, now);
    if (st == KX_ST_OK) {
        CreateOrModify_VD_Param vd;
        std::memset(&vd, 0, sizeof vd);
        vd.VDID = kNone16;
        vd.DGID = dg.DGID;
        vd.SectorCoefficient = 1;
        name[0] = 'V';
        name[1] = 'D';
        std::memcpy(vd.Name, name, std::min(sizeof vd.Name, std::strlen(name)));
        st = createVdInArray(a, vd, now);
    }
    if (st != KX_ST_OK)
        a = before;
    return st;
}

}  // namespace

SIM_EXPORT KX_U8 KX_LD_Create(KX_U8 adapter, Create_LD_Param *param)
{
    SIM_GUARD(return onAdapter("KX_LD_Create", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!param)
            return KX_ST_INVALID_PARAM;
        Create_LD_Param &p = *param;
        if (p.HDCount == 0 || p.HDCount > 128)
            return KX_ST_BAD_PD_COUNT;
        std::vector<uint16_t> pds;
        for (unsigned i = 0; i < p.HDCount; ++i) {
            uint16_t id;
            std::memcpy(&id, reinterpret_cast<const uint8_t *>(&p) + offsetof(Create_LD_Param, HDIDs) + 2 * i, 2);
            pds.push_back(id);
        }
        if (uint8_t st = checkDisks(a, pds, false))
            return st;
        if (uint8_t st = checkRaid(a, p.RaidMode, p.HDCount, p.NumParityDisk))
            return st;
        bool tandem = p.RaidMode >= 10 && p.RaidMode <= 12;
        // A Tandem volume caches hard disks on an SSD: without an SSD member
        // there is nothing to cache on (a real controller refuses it too).
        if (tandem && std::none_of(pds.begin(), pds.end(), [&](uint16_t id) { return a.pds.at(id).ssd; }))
            return KX_ST_TANDEM_SSD_COUNT;
        unsigned data = dataDiskCount(p.RaidMode, p.HDCount, p.NumParityDisk, p.SubLDCount);
        uint64_t member = UINT64_MAX;
        for (uint16_t id : pds)
            member = std::min(member, a.largestFreeExtent(id));
        uint64_t size = requestKiB(p.Size);
        if (a.info.DevID > kSizesItselfAbove && !tandem && p.ReservedForApp != 1)
            size = 0;
        if (size == 0)
            size = roundedSize(member * data, p.RoundingScheme);
        uint64_t need = (size + data - 1) / data;
        if (size == 0 || need > member) {
            p.Size = kxU64Make(member == UINT64_MAX ? 0 : member * data);
            return KX_ST_NO_RESOURCE;
        }
        uint16_t id = newId(a.vds, p.LDID, a.info.MaxLogicalDrive);
        if (id == kNone16)
            return p.LDID == kNone16 ? KX_ST_NO_VD_ID : KX_ST_BAD_VD;
        Layout l;
        l.raid = p.RaidMode;
        l.stripe = p.StripeBlockSize ? p.StripeBlockSize : 64;
        l.parity = p.NumParityDisk;
        l.subVDs = p.SubLDCount;
        l.sizeKiB = size;
        VD &vd = addVD(a, id, nameOf(p.Name, sizeof p.Name), l, pds, need, kNone16, p.CachePolicy,
                       p.SectorCoefficient, p.InitializationOption, s.now());
        vd.tandemWaterMark = p.TandemWaterMark;
        p.LDID = id;
        p.Size = kxU64Make(size);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_CreateOrModify_DG(KX_U8 adapter, CreateOrModify_DG_Param *param, KX_BOOLEAN sizeOnly)
{
    SIM_GUARD(return onAdapter("KX_CreateOrModify_DG", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!param)
            return KX_ST_INVALID_PARAM;
        uint8_t st = createArray(a, *param, sizeOnly != 0, true, s.now());
        if (st == KX_ST_OK && !sizeOnly)
            s.changed();
        return st;
    });)
}

SIM_EXPORT KX_U8 KX_CreateOrModify_VD(KX_U8 adapter, CreateOrModify_VD_Param *param)
{
    SIM_GUARD(return onAdapter("KX_CreateOrModify_VD", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!param)
            return KX_ST_INVALID_PARAM;
        uint8_t st = createVdInArray(a, *param, s.now());
        if (st == KX_ST_OK)
            s.changed();
        return st;
    });)
}

SIM_EXPORT KX_U8 KX_Create_PackageVD(KX_U8 adapter, Create_PackageVD_Param *param)
{
    SIM_GUARD(return onAdapter("KX_Create_PackageVD", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!param)
            return KX_ST_INVALID_PARAM;
        // Both or neither: the array is only kept when its VD could be made.
        Adapter before = a;
        const KX_U16 askedDG = param->dg.DGID;
        uint8_t st = createArray(a, param->dg, false, false, s.now());
        bool arrayMade = st == KX_ST_OK;
        if (st == KX_ST_OK) {
            param->vd.DGID = param->dg.DGID;
            param->vd.DGSlotNum = 0;
            st = createVdInArray(a, param->vd, s.now());
        }
        if (st != KX_ST_OK) {
            // Either half may have found the room short: both tell what is
            // available.
            if (st == KX_ST_NO_RESOURCE) {
                KX_U64 avail = arrayMade ? param->vd.Size : param->dg.Size;
                param->dg.Size = avail;
                param->vd.Size = avail;
            }
            param->dg.DGID = askedDG;  // the array made on the way is gone again
            a = before;
            return st;
        }
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LD_DG_QuickCreate(KX_U8 adapter, KX_U8 protection)
{
    SIM_GUARD(return onAdapter("KX_LD_DG_QuickCreate", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        uint8_t st = quickCreate(a, protection, s.now());
        if (st == KX_ST_OK)
            s.changed();
        return st;
    });)
}
