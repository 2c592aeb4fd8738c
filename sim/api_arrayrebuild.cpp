// Rebuilding an array: new disks take the places of failed members (a
// failed, pulled or wiped disk), in the array and in each of its VDs, and
// the array rebuilds their data.
#include <algorithm>

#include "api.h"

#include "kx_record_fields.h"

using namespace sim;

namespace {

bool memberFailed(const Adapter &a, uint16_t id)
{
    auto it = a.pds.find(id);
    return id == kLostMember || it == a.pds.end() || it->second.state != PD::ONLINE;
}

// A disk that may take a failed member's place: online, in no VD or array,
// at least as large as the members, and at most a spare of this array.
uint8_t checkNewMember(const Adapter &a, const Array &g, uint16_t id, uint64_t memberSize)
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

}  // namespace

SIM_EXPORT KX_U8 KX_LD_DG_StartRebuild(KX_U8 adapter, Rebuild_Param *param)
{
    SIM_GUARD(return onAdapter("KX_LD_DG_StartRebuild", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!param)
            return KX_ST_INVALID_PARAM;
        if (!a.arrayBased())
            return KX_ST_NOT_SUPPORTED;
        Array *g = a.findArray(param->ID);
        if (!g)
            return KX_ST_BAD_ARRAY;
        if (g->bga.active())
            return KX_ST_ARRAY_HAS_BGA;
        for (const auto &v : a.vds)
            if (v.second.array == g->id && v.second.bga.active())
                return KX_ST_ARRAY_HAS_BGA;
        if (param->PDCount == 0 || param->PDCount > 128)
            return KX_ST_BAD_PD_COUNT;
        std::vector<size_t> failed;
        uint64_t memberSize = 0;
        for (size_t i = 0; i < g->pds.size(); ++i) {
            if (memberFailed(a, g->pds[i]))
                failed.push_back(i);
            else
                memberSize = std::max(memberSize, a.pds.at(g->pds[i]).sizeKiB);
        }
        if (failed.empty())
            return KX_ST_VD_FUNCTIONAL;
        if (g->raid == KX_RAID0 || g->raid == KX_RAID_JBOD)
            return KX_ST_NOT_REDUNDANT;
        if (param->PDCount > failed.size())
            return KX_ST_BAD_PD_COUNT;
        std::vector<uint16_t> disks(param->PDCount);
        std::memcpy(disks.data(), reinterpret_cast<const uint8_t *>(param) + offsetof(Rebuild_Param, PDIDs),
                    2 * disks.size());
        for (size_t i = 0; i < disks.size(); ++i) {
            if (std::find(disks.begin(), disks.begin() + i, disks[i]) != disks.begin() + i)
                return KX_ST_INVALID_PARAM;
            if (uint8_t st = checkNewMember(a, *g, disks[i], memberSize))
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
            PD &pd = a.pds.at(disks[k]);
            pd.spare = -1;
            pd.ov.dropField(&kRecord_HD_RAID_Status, "Status");
            pd.ov.dropField(&kRecord_HD_RAID_Status, "DGID");
        }
        g->ov.dropField(&kRecord_DG_Info, "PDIDs");
        a.stopMediaPatrolOn(g->pds);
        g->bga.type = BGA_REBUILD;
        g->bga.state = BGAS_RUNNING;
        g->bga.percent = 0;
        g->bga.sinceMs = s.now();
        dropBgaOverlays(*g);
        a.queueArrayEvent(g->id, vdEventBase(BGA_REBUILD) + BGAE_STARTED, SEV_INFO);
        a.queueVdStatusChanges(statuses);
        s.changed();
        return KX_ST_OK;
    });)
}
