// Migrations: a VD or an array moves to another RAID level and/or onto
// more disks while it stays in use. The new layout is kept as the object's
// target and takes over when the migration completes (lifecycle.cpp).
//
// A VD grows its member blocks in place where the disk has room behind
// them (else it takes a new block on that disk); disks it takes in get a
// block at once, so nothing else can be placed there meanwhile. An array
// only records its target: its VDs are laid out anew when it completes.
#include <algorithm>

#include "api.h"
#include "migration.h"

#include "kx_record_fields.h"

using namespace sim;

namespace {

constexpr uint8_t kFeatureMigration = 0x08;

// The disk IDs of a request record (packed: read them byte-wise).
std::vector<uint16_t> idsAt(const void *record, size_t offset, unsigned count)
{
    std::vector<uint16_t> ids(count);
    std::memcpy(ids.data(), static_cast<const uint8_t *>(record) + offset, 2 * count);
    return ids;
}

// How redundant a layout is: mirrors count as RAID1, RAID50 as 5, RAID60 as 6.
int redundancyRank(uint8_t raid)
{
    switch (raid) {
    case 16:
    case 17: return 1;
    case 80: return 5;
    case 96: return 6;
    default: return raid;
    }
}

bool migrationRunning(const Adapter &a)
{
    for (const auto &v : a.vds)
        if (v.second.bga.active() && v.second.bga.type == BGA_MIGRATION)
            return true;
    for (const auto &g : a.arrays)
        if (g.second.bga.active() && g.second.bga.type == BGA_MIGRATION)
            return true;
    return false;
}

// Disks of a new layout: listed once each, present and online, no spares,
// nothing foreign, and every current member among them.
uint8_t checkTargetDisks(const Adapter &a, const std::vector<uint16_t> &ids, const std::vector<uint16_t> &members)
{
    if (ids.empty() || ids.size() > 128)
        return KX_ST_BAD_PD_COUNT;
    for (size_t i = 0; i < ids.size(); ++i) {
        auto it = a.pds.find(ids[i]);
        if (it == a.pds.end() || !it->second.visible() || it->second.state != PD::ONLINE || it->second.foreign)
            return KX_ST_BAD_PD;
        if (std::find(ids.begin(), ids.begin() + i, ids[i]) != ids.begin() + i)
            return KX_ST_INVALID_PARAM;
        if (it->second.spare >= 0)
            return KX_ST_IS_SPARE;
    }
    for (uint16_t m : members)
        if (std::find(ids.begin(), ids.end(), m) == ids.end())
            return KX_ST_INVALID_PARAM;
    return KX_ST_OK;
}

uint8_t checkLevel(const Adapter &a, uint8_t from, uint8_t to, unsigned n, uint8_t parity)
{
    if (!kxRaidOffered(a.info.LogicalDriverMode, to))
        return KX_ST_BAD_RAID;
    if (!countFits(to, n, parity))
        return KX_ST_PD_COUNT_FOR_RAID;
    // The data must stay at least as safe as it is.
    if (redundancyRank(to) < redundancyRank(from))
        return KX_ST_MIGRATION_UNSUPPORTED;
    return KX_ST_OK;
}

// The room behind the start of a block up to the next block in use on its
// disk (or the disk's end).
uint64_t roomFrom(const Adapter &a, const Block &b)
{
    auto pit = a.pds.find(b.pd);
    uint64_t end = pit == a.pds.end() ? 0 : pit->second.sizeKiB;
    for (const auto &x : a.blocks) {
        const Block &o = x.second;
        if (o.id != b.id && o.pd == b.pd && o.vd != kNone16 && o.startKiB >= b.startKiB && o.startKiB < end)
            end = o.startKiB;
    }
    return end > b.startKiB ? end - b.startKiB : 0;
}

// Grows a block in place; free blocks it now covers only described free space.
void growBlock(Adapter &a, Block &b, uint64_t size)
{
    for (auto it = a.blocks.begin(); it != a.blocks.end();) {
        const Block &o = it->second;
        if (o.pd == b.pd && o.vd == kNone16 && o.startKiB < b.startKiB + size && b.startKiB < o.startKiB + o.sizeKiB)
            it = a.blocks.erase(it);
        else
            ++it;
    }
    b.sizeKiB = size;
    b.ov.dropField(&kRecord_Block_Info, "Size");
}

uint8_t startVdMigration(Session &s, Adapter &a, Create_LD_Param &p)
{
    if (!(a.info.Features & kFeatureMigration))
        return KX_ST_NOT_SUPPORTED;
    VD *vd = a.findVD(p.LDID);
    if (!vd)
        return KX_ST_NO_VD;
    // A VD of an array moves with its array.
    if (vd->array != kNone16)
        return KX_ST_INVALID_REQUEST;
    if (vd->bga.active())
        return KX_ST_VD_HAS_BGA;
    if (migrationRunning(a))
        return KX_ST_ONE_MIGRATION;
    uint8_t status = a.vdStatus(*vd);
    if (status != 0 && status != 15)
        return KX_ST_LD_STATUS;
    if (p.HDCount == 0 || p.HDCount > 128)
        return KX_ST_BAD_PD_COUNT;
    const std::vector<uint16_t> disks = idsAt(&p, offsetof(Create_LD_Param, HDIDs), p.HDCount);
    const std::vector<uint16_t> members = a.vdDisks(*vd);
    if (uint8_t st = checkTargetDisks(a, disks, members))
        return st;
    if (uint8_t st = checkLevel(a, vd->layout.raid, p.RaidMode, p.HDCount, p.NumParityDisk))
        return st;
    const uint64_t current = a.vdSizeKiB(vd->layout);
    const uint64_t size = kxU64Value(p.Size) ? kxU64Value(p.Size) : current;
    if (size < current)
        return KX_ST_TARGET_SMALLER;
    if (p.RaidMode == vd->layout.raid && p.NumParityDisk == vd->layout.parity && disks == members && size == current)
        return KX_ST_MIGRATION_UNNEEDED;
    const unsigned data = dataDiskCount(p.RaidMode, p.HDCount, p.NumParityDisk, p.SubLDCount);
    const uint64_t member = (size + data - 1) / data;

    // Where each member of the new layout goes: the VD's block on that
    // disk when it can grow there, else a new block.
    std::vector<Block *> reuse(disks.size(), nullptr);
    for (size_t i = 0; i < disks.size(); ++i) {
        for (uint16_t b : vd->layout.blocks) {
            Block *blk = a.findBlock(b);
            if (blk && blk->pd == disks[i] && (blk->sizeKiB >= member || roomFrom(a, *blk) >= member))
                reuse[i] = blk;
        }
        if (!reuse[i] && a.largestFreeExtent(disks[i]) < member)
            return KX_ST_NO_RESOURCE;
    }

    vd->layout.sizeKiB = current;  // the VD keeps its size until the new layout takes over
    Layout target;
    target.raid = p.RaidMode;
    target.stripe = p.StripeBlockSize ? p.StripeBlockSize : vd->layout.stripe;
    target.parity = p.NumParityDisk;
    target.subVDs = p.SubLDCount;
    target.sizeKiB = size;
    for (size_t i = 0; i < disks.size(); ++i) {
        if (reuse[i]) {
            if (reuse[i]->sizeKiB < member)
                growBlock(a, *reuse[i], member);
            target.blocks.push_back(reuse[i]->id);
        } else {
            target.blocks.push_back(a.allocateBlock(disks[i], member, vd->id));
        }
    }
    std::vector<uint16_t> touched = members;
    touched.insert(touched.end(), disks.begin(), disks.end());
    a.stopMediaPatrolOn(touched);
    vd->target = target;
    vd->targetOv = Overlay();
    vd->hasTarget = true;
    vd->bga = startedBga(BGA_MIGRATION, s.now());
    dropBgaOverlays(*vd);
    a.queueEvent(EVC_VD, vdEventBase(BGA_MIGRATION) + BGAE_STARTED, vd->id, SEV_INFO);
    p.Size = kxU64Make(size);
    return KX_ST_OK;
}

}  // namespace

namespace sim {

uint8_t planArrayMigration(const Adapter &a, const Array &g, const CreateOrModify_DG_Param &p, uint64_t *size)
{
    if (p.PDCount == 0 || p.PDCount > 128)
        return KX_ST_BAD_PD_COUNT;
    // A degraded array is rebuilt first: its data has no second copy to move.
    for (uint16_t m : g.pds) {
        auto it = a.pds.find(m);
        if (m == kLostMember || it == a.pds.end() || it->second.state != PD::ONLINE)
            return KX_ST_DISK_MISSING;
    }
    const std::vector<uint16_t> disks = idsAt(&p, offsetof(CreateOrModify_DG_Param, PDIDs), p.PDCount);
    if (uint8_t st = checkTargetDisks(a, disks, g.pds))
        return st;
    // An array takes whole disks: the ones it takes in must be unused.
    for (uint16_t d : disks)
        if (std::find(g.pds.begin(), g.pds.end(), d) == g.pds.end() &&
            (a.pdStatusBits(a.pds.at(d)) & KX_PD_ASSIGNED))
            return KX_ST_PD_ASSIGNED;
    if (uint8_t st = checkLevel(a, g.raid, p.RaidMode, p.PDCount, p.NumParityDisk))
        return st;
    std::vector<uint16_t> sortedNew = disks, sortedOld = g.pds;
    std::sort(sortedNew.begin(), sortedNew.end());
    std::sort(sortedOld.begin(), sortedOld.end());
    if (p.RaidMode == g.raid && p.NumParityDisk == g.parity && sortedNew == sortedOld)
        return KX_ST_MIGRATION_UNNEEDED;
    uint64_t smallest = UINT64_MAX;
    for (uint16_t d : disks)
        smallest = std::min(smallest, a.pds.at(d).sizeKiB);
    const unsigned data = dataDiskCount(p.RaidMode, p.PDCount, p.NumParityDisk, p.SubVDCount);
    // Every VD of the array must find its members on each disk.
    uint64_t need = 0;
    for (const auto &v : a.vds)
        if (v.second.array == g.id)
            need += (a.vdSizeKiB(v.second.layout) + data - 1) / data;
    if (need > smallest)
        return KX_ST_TARGET_SMALLER;
    *size = smallest * data;
    return KX_ST_OK;
}

}  // namespace sim

SIM_EXPORT KX_U8 KX_LD_StartMigration(KX_U8 adapter, Create_LD_Param *param)
{
    SIM_GUARD(return onAdapter("KX_LD_StartMigration", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!param)
            return KX_ST_INVALID_PARAM;
        uint8_t st = startVdMigration(s, a, *param);
        if (st == KX_ST_OK)
            s.changed();
        return st;
    });)
}

SIM_EXPORT KX_U8 KX_DG_StartMigration(KX_U8 adapter, CreateOrModify_DG_Param *param)
{
    SIM_GUARD(return onAdapter("KX_DG_StartMigration", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!param)
            return KX_ST_INVALID_PARAM;
        if (!a.arrayBased() || !(a.info.Features & kFeatureMigration))
            return KX_ST_NOT_SUPPORTED;
        Array *g = a.findArray(param->DGID);
        if (!g)
            return KX_ST_BAD_ARRAY;
        if (arrayBusy(a, *g))
            return KX_ST_ARRAY_HAS_BGA;
        if (migrationRunning(a))
            return KX_ST_ANOTHER_MIGRATION;
        // The array's VDs are laid out in its stripe size; a migration moves
        // them as they are.
        if (param->StripeBlockSize && param->StripeBlockSize != g->stripe)
            return KX_ST_INVALID_PARAM;
        uint64_t size = 0;
        if (uint8_t st = planArrayMigration(a, *g, *param, &size))
            return st;
        g->target.raid = param->RaidMode;
        g->target.parity = param->NumParityDisk;
        g->target.subVDs = param->SubVDCount;
        g->target.pds = idsAt(param, offsetof(CreateOrModify_DG_Param, PDIDs), param->PDCount);
        g->hasTarget = true;
        std::vector<uint16_t> touched = g->pds;
        touched.insert(touched.end(), g->target.pds.begin(), g->target.pds.end());
        a.stopMediaPatrolOn(touched);
        g->bga = startedBga(BGA_MIGRATION, s.now());
        dropBgaOverlays(*g);
        a.queueArrayEvent(g->id, vdEventBase(BGA_MIGRATION) + BGAE_STARTED, SEV_INFO);
        param->Size = kxU64Make(size);
        s.changed();
        return KX_ST_OK;
    });)
}
