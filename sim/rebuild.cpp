// Rebuilds: a disk takes the place of a failed member and the VD, or the
// array with its VDs, rebuilds its data onto it. The rebuild operations
// and the controller's own rebuild after a member fails both go through
// these functions, so a rebuild looks the same whoever started it.
#include "model.h"

#include <algorithm>

#include "kx_record_fields.h"

namespace sim {

namespace {

// A disk that takes a member's place is a member now; a spare it was is
// given up, told as a spare released by hand is.
void becomeMember(Adapter &a, PD &pd)
{
    const bool wasSpare = pd.spare >= 0;
    pd.spare = -1;
    pd.ov.dropField(&kRecord_HD_RAID_Status, "Status");
    pd.ov.dropField(&kRecord_HD_RAID_Status, "DGID");
    if (wasSpare)
        a.queueEvent(EVC_PD, 10, pd.id, SEV_INFO);
}

// An array member slot whose disk failed, is gone, or was wiped.
bool arrayMemberFailed(const Adapter &a, uint16_t id)
{
    auto it = a.pds.find(id);
    return id == kLostMember || it == a.pds.end() || it->second.state != PD::ONLINE;
}

// The first member of a VD whose disk failed or is gone; size() when none.
size_t firstFailedVdMember(const Adapter &a, const VD &vd)
{
    for (size_t i = 0; i < vd.layout.blocks.size(); ++i) {
        auto b = a.blocks.find(vd.layout.blocks[i]);
        auto p = b == a.blocks.end() ? a.pds.end() : a.pds.find(b->second.pd);
        if (p == a.pds.end() || p->second.state != PD::ONLINE)
            return i;
    }
    return vd.layout.blocks.size();
}

// A disk that may take a failed array member's place: online, in no VD or
// array, at least as large as the members, and at most a spare of this
// array.
uint8_t checkNewArrayMember(const Adapter &a, const Array &g, uint16_t id, uint64_t memberSize)
{
    auto it = a.pds.find(id);
    if (it == a.pds.end() || !it->second.visible() || it->second.state != PD::ONLINE || it->second.foreign)
        return KX_ST_BAD_PD;
    const PD &pd = it->second;
    if (pd.spare >= 0 && pd.spare != PD::kGlobalSpare && pd.spare != g.id)
        return KX_ST_DEDICATED_SPARE;
    if (a.pdStatusBits(pd) & KX_PD_ASSIGNED)
        return KX_ST_PD_ASSIGNED;
    if (pd.sizeKiB < memberSize)
        return KX_ST_TARGET_SMALLER;
    return KX_ST_OK;
}

// The VD's member on disk `old` moves to disk `to`; a lost member is the
// VD's first lost slot.
uint8_t moveMember(Adapter &a, VD &vd, uint16_t old, uint16_t to, unsigned data)
{
    for (uint16_t &b : vd.layout.blocks) {
        Block *blk = b == kLostMember ? nullptr : a.findBlock(b);
        bool here = old == kLostMember ? b == kLostMember : (blk && blk->pd == old);
        if (!here)
            continue;
        uint64_t size = blk ? blk->sizeKiB : (a.vdSizeKiB(vd.layout) + data - 1) / data;
        uint16_t nb = a.allocateBlock(to, size, vd.id);
        if (nb == kNone16)
            return KX_ST_NO_RESOURCE;
        if (blk)
            blk->vd = kNone16;
        b = nb;
        vd.ov.dropField(&kRecord_LD_Info, "BlockIDs");
        return KX_ST_OK;
    }
    return KX_ST_OK;
}

// What a replacement must be like to stand in for a member: the same
// kind of disk (hard disk or SSD, SATA or SAS, sector size), as the disk's
// own records say.
struct DiskKind {
    uint8_t type = 0;
    bool ssd = false;
    uint32_t blockSize = 0;
    bool operator==(const DiskKind &o) const { return type == o.type && ssd == o.ssd && blockSize == o.blockSize; }
};

DiskKind kindOf(const Adapter &a, const PD &pd)
{
    HD_Info r;
    buildHDInfo(a, pd, r, true);
    DiskKind k;
    k.type = r.HDType;
    k.ssd = r.HD_SSD_Type != 0;
    k.blockSize = r.BlockSize;
    return k;
}

// The kind a replacement of a failed member must have: that of the failed
// disk while the adapter still knows it, else that of a member still
// online. False when neither is known.
bool wantedKind(const Adapter &a, uint16_t failedDisk, const std::vector<uint16_t> &members, DiskKind &out)
{
    auto it = a.pds.find(failedDisk);
    if (failedDisk != kLostMember && it != a.pds.end()) {
        out = kindOf(a, it->second);
        return true;
    }
    for (uint16_t m : members) {
        auto p = a.pds.find(m);
        if (p != a.pds.end() && p->second.state == PD::ONLINE) {
            out = kindOf(a, p->second);
            return true;
        }
    }
    return false;
}

// Spares that may stand in for a member of `array` (kNone16: a VD of no
// array), of the wanted kind: those dedicated to the array first, then the
// global ones, each in ID order. A spare dedicated to another array is
// never one of them.
std::vector<uint16_t> candidateSpares(const Adapter &a, uint16_t array, const DiskKind &kind)
{
    std::vector<uint16_t> dedicated, global;
    for (const auto &p : a.pds) {
        const PD &pd = p.second;
        if (pd.spare < 0 || pd.state != PD::ONLINE || pd.foreign || !(kindOf(a, pd) == kind))
            continue;
        if (pd.spare == PD::kGlobalSpare)
            global.push_back(pd.id);
        else if (array != kNone16 && pd.spare == array)
            dedicated.push_back(pd.id);
    }
    dedicated.insert(dedicated.end(), global.begin(), global.end());
    return dedicated;
}

bool vdAutoRebuildOn(const Adapter &a, const VD &vd)
{
    LD_Config c;
    buildLDConfig(a, vd, c);
    return c.AutoRebuildOn != 0;
}

// An array rebuilds by itself when none of its VDs has its own automatic
// rebuild switched off, it lost members but not more than its layout
// survives, and nothing runs on it.
bool autoRebuildArray(Adapter &a, uint16_t id, int64_t now)
{
    const Array *g = a.findArray(id);
    if (!g || g->bga.active())
        return false;
    for (const auto &v : a.vds)
        if (v.second.array == id && (v.second.bga.active() || !vdAutoRebuildOn(a, v.second)))
            return false;
    std::vector<uint16_t> failed;
    for (uint16_t m : g->pds)
        if (arrayMemberFailed(a, m))
            failed.push_back(m);
    if (failed.empty() || failed.size() > survivableFailures(g->raid, g->parity))
        return false;
    DiskKind kind;
    if (!wantedKind(a, failed.front(), g->pds, kind))
        return false;
    // One member at a time, like a rebuild started by hand with one disk.
    for (uint16_t spare : candidateSpares(a, id, kind))
        if (startArrayRebuild(a, id, {spare}, now) == KX_ST_OK)
            return true;
    return false;
}

bool autoRebuildVd(Adapter &a, uint16_t id, int64_t now)
{
    const VD *vd = a.findVD(id);
    if (!vd || vd->bga.active() || a.vdStatus(*vd) != 1 || !vdAutoRebuildOn(a, *vd))
        return false;
    size_t slot = firstFailedVdMember(a, *vd);
    if (slot == vd->layout.blocks.size())
        return false;
    const Block *old = a.findBlock(vd->layout.blocks[slot]);
    std::vector<uint16_t> members = a.vdDisks(*vd);
    DiskKind kind;
    if (!wantedKind(a, old ? old->pd : kLostMember, members, kind))
        return false;
    for (uint16_t spare : candidateSpares(a, vd->array, kind))
        if (startVdRebuild(a, id, spare, now) == KX_ST_OK)
            return true;
    return false;
}

}  // namespace

bool redundantRaid(uint8_t raid)
{
    return raid == KX_RAID1 || raid == KX_RAID5 || raid == KX_RAID6 || raid == KX_RAID10 || raid == KX_RAID1E ||
           raid == KX_RAID50 || raid == KX_RAID60;
}

uint8_t startVdRebuild(Adapter &a, uint16_t vdId, uint16_t hdId, int64_t now)
{
    VD *vd = a.findVD(vdId);
    if (!vd)
        return KX_ST_NO_VD;
    if (vd->bga.active())
        return KX_ST_VD_HAS_BGA;
    PD *pd = a.findPD(hdId);
    if (!pd || !pd->visible())
        return KX_ST_BAD_PD;
    if (pd->state != PD::ONLINE)
        return KX_ST_PD_CANNOT_GO_DOWN;
    uint8_t bits = a.pdStatusBits(*pd);
    if (bits & KX_PD_ASSIGNED)
        return KX_ST_PD_ASSIGNED;
    if ((bits & KX_PD_DEDICATED_SPARE) && pd->spare != vd->array)
        return KX_ST_IS_SPARE;
    size_t slot = firstFailedVdMember(a, *vd);
    if (slot == vd->layout.blocks.size() || !redundantRaid(vd->layout.raid))
        return KX_ST_VD_FUNCTIONAL;
    Block *old = a.findBlock(vd->layout.blocks[slot]);
    // A member whose disk was wiped left no block: it held the VD's share
    // of one data disk.
    unsigned data = dataDiskCount(vd->layout.raid, static_cast<unsigned>(vd->layout.blocks.size()),
                                  vd->layout.parity, vd->layout.subVDs);
    uint64_t size = old ? old->sizeKiB : data ? (a.vdSizeKiB(vd->layout) + data - 1) / data : 0;
    uint16_t nb = a.allocateBlock(hdId, size, vdId);
    if (nb == kNone16)
        return KX_ST_NO_RESOURCE;
    if (old)
        old->vd = kNone16;
    vd->layout.blocks[slot] = nb;
    becomeMember(a, *pd);
    a.stopMediaPatrolOn(a.vdDisks(*vd));
    vd->bga = startedBga(BGA_REBUILD, now);
    dropBgaOverlays(*vd);
    vd->ov.dropField(&kRecord_LD_Info, "BlockIDs");
    a.queueEvent(EVC_VD, vdEventBase(BGA_REBUILD) + BGAE_STARTED, vdId, SEV_INFO);
    return KX_ST_OK;
}

uint8_t startArrayRebuild(Adapter &a, uint16_t arrayId, const std::vector<uint16_t> &disks, int64_t now)
{
    Array *g = a.findArray(arrayId);
    if (!g)
        return KX_ST_BAD_ARRAY;
    if (arrayBusy(a, *g))
        return KX_ST_ARRAY_HAS_BGA;
    if (disks.empty() || disks.size() > 128)
        return KX_ST_BAD_PD_COUNT;
    std::vector<size_t> failed;
    uint64_t memberSize = 0;
    for (size_t i = 0; i < g->pds.size(); ++i) {
        if (arrayMemberFailed(a, g->pds[i]))
            failed.push_back(i);
        else
            memberSize = std::max(memberSize, a.pds.at(g->pds[i]).sizeKiB);
    }
    if (failed.empty())
        return KX_ST_VD_FUNCTIONAL;
    if (g->raid == KX_RAID0 || g->raid == KX_RAID_JBOD)
        return KX_ST_NOT_REDUNDANT;
    if (disks.size() > failed.size())
        return KX_ST_BAD_PD_COUNT;
    for (size_t i = 0; i < disks.size(); ++i) {
        if (std::find(disks.begin(), disks.begin() + i, disks[i]) != disks.begin() + i)
            return KX_ST_INVALID_PARAM;
        if (uint8_t st = checkNewArrayMember(a, *g, disks[i], memberSize))
            return st;
    }
    // Done on a copy: a VD without room leaves everything as it was.
    Adapter before = a;
    auto statuses = a.vdStatuses();
    const unsigned data = dataDiskCount(g->raid, static_cast<unsigned>(g->pds.size()), g->parity, g->subVDs);
    for (size_t k = 0; k < disks.size(); ++k) {
        uint16_t old = g->pds[failed[k]];
        for (auto &v : a.vds)
            if (v.second.array == g->id)
                if (uint8_t st = moveMember(a, v.second, old, disks[k], data)) {
                    a = before;
                    return st;
                }
        g->pds[failed[k]] = disks[k];
        becomeMember(a, a.pds.at(disks[k]));
    }
    g->ov.dropField(&kRecord_DG_Info, "PDIDs");
    a.stopMediaPatrolOn(g->pds);
    g->bga = startedBga(BGA_REBUILD, now);
    dropBgaOverlays(*g);
    a.queueArrayEvent(g->id, vdEventBase(BGA_REBUILD) + BGAE_STARTED, SEV_INFO);
    a.queueVdStatusChanges(statuses);
    return KX_ST_OK;
}

MemberOf memberOf(const Adapter &a, uint16_t pd)
{
    MemberOf m;
    for (const auto &b : a.blocks)
        if (b.second.pd == pd && b.second.vd != kNone16 &&
            std::find(m.vds.begin(), m.vds.end(), b.second.vd) == m.vds.end())
            m.vds.push_back(b.second.vd);
    for (const auto &g : a.arrays)
        if (std::find(g.second.pds.begin(), g.second.pds.end(), pd) != g.second.pds.end())
            m.arrays.push_back(g.first);
    return m;
}

bool startAutoRebuilds(Adapter &a, const MemberOf &lost, int64_t now)
{
    if (!a.config.AutoRebuildOn)
        return false;
    // A VD of an array rebuilds with its array.
    std::vector<uint16_t> arrays = lost.arrays, vds;
    for (uint16_t id : lost.vds) {
        const VD *vd = a.findVD(id);
        if (!vd)
            continue;
        if (vd->array != kNone16 && a.findArray(vd->array)) {
            if (std::find(arrays.begin(), arrays.end(), vd->array) == arrays.end())
                arrays.push_back(vd->array);
        } else {
            vds.push_back(id);
        }
    }
    bool started = false;
    for (uint16_t id : arrays)
        started = autoRebuildArray(a, id, now) || started;
    for (uint16_t id : vds)
        started = autoRebuildVd(a, id, now) || started;
    return started;
}

}  // namespace sim
