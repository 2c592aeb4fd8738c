// Throwing configuration away: wiping a disk's configuration data (MDD)
// and deleting a package VD (an array with its one VD).
#include <algorithm>

#include "api.h"

#include "kx_record_fields.h"

using namespace sim;

namespace {

bool arrayHoldsDisk(const Array &g, uint16_t pd)
{
    return std::find(g.pds.begin(), g.pds.end(), pd) != g.pds.end() ||
           (g.hasTarget && std::find(g.target.pds.begin(), g.target.pds.end(), pd) != g.target.pds.end());
}

}  // namespace

// Without force a disk that VDs or an array use is refused (56). With
// force its members are lost: each VD and array that used it keeps an
// empty member slot and runs degraded (or goes offline) until a rebuild
// fills the slot. Refused even with force while such a VD or array runs an
// activity (61, 82) or holds a running OS (158), or when the disk itself
// does (159). A spare stops being one; the disk's free blocks and its
// foreign configuration go too. The partition table is no MDD: it stays.
SIM_EXPORT KX_U8 KX_PD_WipeHDMDD(KX_U8 adapter, KX_U16 hdId, KX_BOOLEAN force)
{
    SIM_GUARD(return onAdapter("KX_PD_WipeHDMDD", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        PD *pd = a.findPD(hdId);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        // A failed disk cannot be written.
        if (pd->state != PD::ONLINE)
            return KX_ST_FAILED;
        if (pd->os)
            return KX_ST_PD_HAS_OS;
        std::vector<uint16_t> vds, arrays;
        for (const auto &b : a.blocks)
            if (b.second.pd == hdId && b.second.vd != kNone16 &&
                std::find(vds.begin(), vds.end(), b.second.vd) == vds.end())
                vds.push_back(b.second.vd);
        for (const auto &g : a.arrays)
            if (arrayHoldsDisk(g.second, hdId))
                arrays.push_back(g.first);
        if ((!vds.empty() || !arrays.empty()) && !force)
            return KX_ST_PD_ASSIGNED;
        for (uint16_t id : vds) {
            const VD *vd = a.findVD(id);
            if (vd && vd->os)
                return KX_ST_VD_HAS_OS;
            if (vd && vd->bga.active())
                return KX_ST_VD_HAS_BGA;
        }
        for (uint16_t id : arrays)
            if (a.findArray(id)->bga.active())
                return KX_ST_ARRAY_HAS_BGA;

        auto before = a.vdStatuses();
        for (uint16_t id : vds)
            for (uint16_t &b : a.findVD(id)->layout.blocks) {
                const Block *blk = b == kLostMember ? nullptr : a.findBlock(b);
                if (blk && blk->pd == hdId) {
                    b = kLostMember;
                    a.findVD(id)->ov.dropField(&kRecord_LD_Info, "BlockIDs");
                }
            }
        for (uint16_t id : arrays) {
            Array &g = *a.findArray(id);
            std::replace(g.pds.begin(), g.pds.end(), hdId, kLostMember);
            g.ov.dropField(&kRecord_DG_Info, "PDIDs");
        }
        // Every block of the disk goes: its VD blocks are lost members now
        // and its free blocks only described the old configuration.
        for (auto it = a.blocks.begin(); it != a.blocks.end();)
            it = it->second.pd == hdId ? a.blocks.erase(it) : std::next(it);
        if (pd->spare >= 0) {
            pd->spare = -1;
            a.queueEvent(EVC_PD, 10, hdId, SEV_INFO);
        }
        pd->foreign = false;
        pd->ov.dropField(&kRecord_HD_RAID_Status, "Status");
        pd->ov.dropField(&kRecord_HD_RAID_Status, "DGID");
        a.queueVdStatusChanges(before);
        MemberOf lost;
        lost.vds = vds;
        lost.arrays = arrays;
        startAutoRebuilds(a, lost, s.now());
        s.changed();
        return KX_ST_OK;
    });)
}

// A package VD is a VD that has an array to itself; both go. With
// deleteMBR the partition tables of the array's disks are cleared as well.
SIM_EXPORT KX_U8 KX_PackageVD_Delete(KX_U8 adapter, KX_U16 id, KX_BOOLEAN deleteMBR)
{
    SIM_GUARD(return onAdapter("KX_PackageVD_Delete", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        VD *vd = a.findVD(id);
        if (!vd)
            return KX_ST_NO_VD;
        const uint16_t dg = vd->array;
        if (dg == kNone16)
            return KX_ST_INVALID_REQUEST;
        for (const auto &v : a.vds)
            if (v.second.array == dg && v.first != id)
                return KX_ST_ARRAY_HAS_VD;
        if (vd->os)
            return KX_ST_VD_HAS_OS;
        const std::vector<uint16_t> disks = a.findArray(dg)->pds;
        deleteVd(a, id);
        deleteArray(a, dg);
        if (deleteMBR)
            for (uint16_t d : disks) {
                PD *pd = a.findPD(d);
                if (pd)
                    pd->partitioned = false;
            }
        s.changed();
        return KX_ST_OK;
    });)
}
