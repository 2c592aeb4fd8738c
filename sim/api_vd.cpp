// Virtual-disk queries and deletion, and the running-OS check.
#include "api.h"

#include "kx_record_fields.h"

using namespace sim;

SIM_EXPORT KX_U8 KX_LD_GetTargetLDInfo(KX_U8 adapter, KX_U16 vdId, LD_Info *target)
{
    SIM_GUARD(return onAdapter("KX_LD_GetTargetLDInfo", adapter, [&](Session &, Adapter &a) -> uint8_t {
        if (!target)
            return KX_ST_INVALID_PARAM;
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        // Only a migrating VD has a layout it is moving to.
        if (!vd->hasTarget)
            return KX_ST_INVALID_REQUEST;
        buildTargetLDInfo(a, *vd, *target);
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LD_GetCrossInfo(KX_U8 adapter, KX_U16 vdId, Cross_VD_Info *info)
{
    SIM_GUARD(return onAdapter("KX_LD_GetCrossInfo", adapter, [&](Session &, Adapter &a) -> uint8_t {
        if (!info)
            return KX_ST_INVALID_PARAM;
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        // Cross information exists for Tandem VDs only: an SSD in front of a disk.
        if (!kxIsTandemRaid(vd->layout.raid))
            return KX_ST_INVALID_REQUEST;
        std::memset(info, 0, sizeof *info);
        info->ID = vd->id;
        for (uint16_t b : vd->layout.blocks) {
            Block *blk = a.findBlock(b);
            PD *pd = blk ? a.findPD(blk->pd) : nullptr;
            if (pd && pd->ssd) {
                // In 512-byte sectors.
                info->SSDStartLBA = kxU64Make(blk->startKiB * 2);
                info->SSDEndLBA = kxU64Make((blk->startKiB + blk->sizeKiB) * 2 - 1);
                break;
            }
        }
        vd->ov.apply(&kRecord_Cross_VD_Info, info);
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LD_Delete(KX_U8 adapter, KX_U16 vdId, KX_BOOLEAN stop)
{
    SIM_GUARD(return onAdapter("KX_LD_Delete", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        // Deleting the VD the host boots from would pull the system away.
        if (vd->os)
            return KX_ST_VD_HAS_OS;
        // A running activity is only given up when asked to.
        if (vd->bga.active() && vd->bga.state != BGAS_ABORTED && !stop)
            return KX_ST_VD_HAS_BGA;

        deleteVd(a, vdId);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_DiskHasOS(KX_U8 adapter, KX_U8 kind, KX_U8 count, KX_U16 *ids)
{
    SIM_GUARD(return onAdapter("KX_DiskHasOS", adapter, [&](Session &, Adapter &a) -> uint8_t {
        if (!ids || count == 0 || kind > 1)
            return KX_ST_INVALID_PARAM;
        for (unsigned i = 0; i < count; ++i) {
            if (kind == 0) {
                VD *vd = a.findVD(ids[i]);
                if (!vd)
                    return KX_ST_BAD_VD;
                if (vd->os)
                    return KX_ST_VD_HAS_OS;
                continue;
            }
            PD *pd = a.findPD(ids[i]);
            if (!pd || !pd->visible())
                return KX_ST_BAD_PD;
            if (pd->os)
                return KX_ST_PD_HAS_OS;
            // A disk holding part of a VD with an OS carries that OS too.
            for (const auto &b : a.blocks)
                if (b.second.pd == pd->id && b.second.vd != kNone16) {
                    VD *vd = a.findVD(b.second.vd);
                    if (vd && vd->os)
                        return KX_ST_VD_HAS_OS;
                }
        }
        return KX_ST_OK;
    });)
}
