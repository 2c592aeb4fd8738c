// Settings of disks, VDs and arrays; spares; disk status and locate LEDs;
// partition-table check; starting activities; deleting arrays.
#include "api.h"
#include "fam_ssd.h"

#include "kx_record_fields.h"

using namespace sim;

namespace {

// The text of a fixed-width name field, up to its first NUL.
std::string fieldText(const KX_U8 *p, size_t n)
{
    size_t len = 0;
    while (len < n && p[len])
        ++len;
    return std::string(reinterpret_cast<const char *>(p), len);
}

PD *visiblePD(Adapter &a, uint16_t id)
{
    PD *pd = a.findPD(id);
    return pd && pd->visible() ? pd : nullptr;
}

// A disk that may become a spare or a rebuild target: free and online.
uint8_t usableFreeDisk(const Adapter &a, const PD &pd)
{
    uint8_t bits = a.pdStatusBits(pd);
    if (bits & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE))
        return KX_ST_IS_SPARE;
    if (bits & KX_PD_ASSIGNED)
        return KX_ST_PD_ASSIGNED;
    if (!(bits & KX_PD_FREE))
        return KX_ST_PD_CANNOT_GO_DOWN;  // offline or foreign
    return KX_ST_OK;
}

}  // namespace

SIM_EXPORT KX_U8 KX_PD_SetConfig(KX_U8 adapter, KX_U16 hdId, HD_Config *config)
{
    SIM_GUARD(return onAdapter("KX_PD_SetConfig", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!config)
            return KX_ST_INVALID_PARAM;
        PD *pd = visiblePD(a, hdId);
        if (!pd)
            return KX_ST_BAD_PD;
        // Online is a disk status (KX_PD_SetHDStatus), speed the link's.
        bool cache = config->WriteCacheOn != 0, smart = config->SMARTOn != 0;
        if (cache != pd->writeCache)
            a.queueEvent(EVC_PD, 16, hdId, SEV_INFO);
        if (cache != pd->writeCache || smart != pd->smartOn) {
            pd->writeCache = cache;
            pd->smartOn = smart;
            pd->ov.dropField(&kRecord_HD_Config, "WriteCacheOn");
            pd->ov.dropField(&kRecord_HD_Config, "SMARTOn");
            s.changed();
        }
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LD_SetConfig(KX_U8 adapter, KX_U16 vdId, LD_Config *config)
{
    SIM_GUARD(return onAdapter("KX_LD_SetConfig", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!config)
            return KX_ST_INVALID_PARAM;
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        std::string name = fieldText(config->Name, sizeof config->Name);
        if (config->CacheMode != vd->cache)
            a.queueEvent(EVC_VD, 6, vdId, SEV_INFO);
        vd->cache = config->CacheMode;
        vd->tandemWaterMark = config->TandemWaterMark;
        vd->tandemRebuildMode = config->TandemRebuildMode;
        vd->autoRebuild = config->AutoRebuildOn != 0;
        vd->name = name;
        for (const char *f : {"CacheMode", "TandemWaterMark", "TandemRebuildMode", "AutoRebuildOn", "Name"})
            vd->ov.dropField(&kRecord_LD_Config, f);
        vd->ov.dropField(&kRecord_LD_Info, "CacheMode");
        vd->ov.dropField(&kRecord_LD_Info, "Name");
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_DG_SetConfig(KX_U8 adapter, KX_U16 dgId, DG_Config *config)
{
    SIM_GUARD(return onAdapter("KX_DG_SetConfig", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!config)
            return KX_ST_INVALID_PARAM;
        Array *g = a.findArray(dgId);
        if (!g)
            return KX_ST_BAD_ARRAY;
        g->writeCache = config->WriteCacheOn != 0;
        g->name = fieldText(config->Name, sizeof config->Name);
        g->ov.dropField(&kRecord_DG_Config, "WriteCacheOn");
        g->ov.dropField(&kRecord_DG_Config, "Name");
        g->ov.dropField(&kRecord_DG_Info, "Name");
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_PD_SetHDStatus(KX_U8 adapter, KX_U16 hdId, KX_U8 status)
{
    SIM_GUARD(return onAdapter("KX_PD_SetHDStatus", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        // 0 online, 1 offline, 2 forced offline.
        if (status > 2)
            return KX_ST_INVALID_PARAM;
        PD *pd = visiblePD(a, hdId);
        if (!pd)
            return KX_ST_BAD_PD;
        PD::State to = status == 0 ? PD::ONLINE : PD::OFFLINE;
        if (pd->state == to)
            return KX_ST_OK;
        // The maker's SSD modules take a request to go down as one to
        // restart, and are back at once.
        if (to == PD::OFFLINE && findSsd(a, hdId))
            return KX_ST_OK;
        // A spare is kept for a failing member; it is not set down itself,
        // unless forced.
        if (status == 1 && pd->spare >= 0)
            return KX_ST_PD_CANNOT_GO_DOWN;
        auto before = a.vdStatuses();
        pd->state = to;
        // Nor is a disk that a VD cannot lose without going offline.
        if (status == 1)
            for (const auto &v : a.vds)
                if (a.vdStatus(v.second) == 4 && before[v.first] != 4) {
                    pd->state = PD::ONLINE;
                    return KX_ST_PD_CANNOT_GO_DOWN;
                }
        pd->ov.dropField(&kRecord_HD_Config, "Online");
        pd->ov.dropField(&kRecord_HD_RAID_Status, "Status");
        a.queueEvent(EVC_PD, to == PD::OFFLINE ? 2 : 1, hdId, to == PD::OFFLINE ? SEV_WARNING : SEV_INFO);
        a.queueVdStatusChanges(before);
        if (to == PD::OFFLINE)
            startAutoRebuilds(a, memberOf(a, hdId), s.now());
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_PD_FreeHD2GlobalSpare(KX_U8 adapter, KX_U16 hdId)
{
    SIM_GUARD(return onAdapter("KX_PD_FreeHD2GlobalSpare", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        PD *pd = visiblePD(a, hdId);
        if (!pd)
            return KX_ST_BAD_PD;
        if (uint8_t st = usableFreeDisk(a, *pd))
            return st;
        pd->spare = PD::kGlobalSpare;
        pd->ov.dropField(&kRecord_HD_RAID_Status, "Status");
        a.queueEvent(EVC_PD, 9, hdId, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_PD_FreeHD2DGSpare(KX_U8 adapter, KX_U16 hdId, KX_U16 dgId)
{
    SIM_GUARD(return onAdapter("KX_PD_FreeHD2DGSpare", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        PD *pd = visiblePD(a, hdId);
        if (!pd)
            return KX_ST_BAD_PD;
        Array *g = a.findArray(dgId);
        if (!g)
            return KX_ST_BAD_ARRAY;
        if (uint8_t st = usableFreeDisk(a, *pd))
            return st;
        // A spare must be able to stand in for any member.
        for (uint16_t m : g->pds) {
            PD *member = a.findPD(m);
            if (member && member->sizeKiB > pd->sizeKiB)
                return KX_ST_SPARE_TOO_SMALL;
        }
        pd->spare = dgId;
        pd->ov.dropField(&kRecord_HD_RAID_Status, "Status");
        pd->ov.dropField(&kRecord_HD_RAID_Status, "DGID");
        a.queueEvent(EVC_PD, 9, hdId, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_PD_Spare2FreeHD(KX_U8 adapter, KX_U16 hdId)
{
    SIM_GUARD(return onAdapter("KX_PD_Spare2FreeHD", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        PD *pd = visiblePD(a, hdId);
        if (!pd)
            return KX_ST_BAD_PD;
        if (pd->spare < 0)
            return KX_ST_NOT_SPARE;
        if (a.pdStatusBits(*pd) & KX_PD_ASSIGNED)
            return KX_ST_SPARE_IN_USE;
        pd->spare = -1;
        pd->ov.dropField(&kRecord_HD_RAID_Status, "Status");
        pd->ov.dropField(&kRecord_HD_RAID_Status, "DGID");
        a.queueEvent(EVC_PD, 10, hdId, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LocateArrayDevice(KX_U8 adapter, KX_U8 deviceType, KX_U16 deviceId, KX_U8 on)
{
    SIM_GUARD(return onAdapter("KX_LocateArrayDevice", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (deviceType != 1 || on > 1)
            return KX_ST_INVALID_PARAM;
        PD *pd = visiblePD(a, deviceId);
        if (!pd)
            return KX_ST_BAD_PD;
        if (pd->locate != (on == 1)) {
            pd->locate = on == 1;
            pd->ov.dropField(&kRecord_HD_Info, "LocateLEDStatus");
            s.changed();
        }
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_PD_GetMBRInfo(KX_U8 adapter, HD_MBR_Info *info)
{
    SIM_GUARD(return onAdapter("KX_PD_GetMBRInfo", adapter, [&](Session &, Adapter &a) -> uint8_t {
        if (!info || info->HDCount > 128)
            return KX_ST_INVALID_PARAM;
        for (unsigned i = 0; i < info->HDCount; ++i)
            if (!visiblePD(a, info->HDIDs[i]))
                return KX_ST_BAD_PD;
        for (unsigned i = 0; i < info->HDCount; ++i) {
            const PD *pd = a.findPD(info->HDIDs[i]);
            info->hasMBR[i] = pd->partitioned || pd->os;
        }
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_PD_StartMediaPatrol(KX_U8 adapter, KX_U16 hdId)
{
    SIM_GUARD(return onAdapter("KX_PD_StartMediaPatrol", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!(a.info.Features & KX_FEAT_MEDIA_PATROL))
            return KX_ST_NOT_SUPPORTED;
        PD *pd = visiblePD(a, hdId);
        if (!pd)
            return KX_ST_BAD_PD;
        if (!(a.pdStatusBits(*pd) & (KX_PD_ASSIGNED | KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE)))
            return KX_ST_NOT_SPARE;
        if (pd->bga.active())
            return KX_ST_BGA_RUNNING;
        pd->bga = startedBga(PD_BGA_MEDIA_PATROL, s.now());
        dropBgaOverlays(*pd);
        a.queueEvent(EVC_PD, kPdMediaPatrolBase + BGAE_STARTED, hdId, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_PD_StartDataScrub(KX_U8 adapter, KX_U16 hdId)
{
    SIM_GUARD(return onAdapter("KX_PD_StartDataScrub", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        PD *pd = visiblePD(a, hdId);
        if (!pd)
            return KX_ST_BAD_PD;
        // Data scrub reads a disk's VD data: only members have any.
        if (!(a.pdStatusBits(*pd) & KX_PD_ASSIGNED))
            return KX_ST_NOT_SPARE;
        if (pd->bga.active())
            return KX_ST_BGA_RUNNING;
        pd->bga = startedBga(PD_BGA_DATA_SCRUB, s.now());
        dropBgaOverlays(*pd);
        a.queueEvent(EVC_PD, kPdMediaPatrolBase + BGAE_STARTED, hdId, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LD_StartINIT(KX_U8 adapter, KX_U16 vdId, KX_U8 type)
{
    SIM_GUARD(return onAdapter("KX_LD_StartINIT", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        if (vd->bga.active())
            return KX_ST_VD_HAS_BGA;
        uint8_t bga;
        switch (type) {
        case 0: bga = BGA_FAST_INIT; break;
        case 1: bga = BGA_FOREGROUND_INIT; break;
        case 2:
        case 5: bga = BGA_BACKGROUND_INIT; break;
        case 3: return s.finish(KX_ST_OK);  // no initialisation asked for
        default: return KX_ST_INVALID_PARAM;
        }
        if (a.vdStatus(*vd) == 4)
            return KX_ST_LD_STATUS;
        vd->initialized = false;
        a.stopMediaPatrolOn(a.vdDisks(*vd));
        vd->bga = startedBga(bga, s.now());
        dropBgaOverlays(*vd);
        a.queueEvent(EVC_VD, vdEventBase(bga) + BGAE_STARTED, vdId, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LD_StartConsistencyCheck(KX_U8 adapter, KX_U16 vdId, KX_U8 repair)
{
    SIM_GUARD(return onAdapter("KX_LD_StartConsistencyCheck", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        if (vd->bga.active())
            return KX_ST_VD_HAS_BGA;
        if (!redundantRaid(vd->layout.raid))
            return KX_ST_NOT_REDUNDANT;
        uint8_t st = a.vdStatus(*vd);
        if (st != 0 && st != 15)
            return KX_ST_LD_STATUS;
        uint8_t bga = repair ? BGA_SYNC_FIX : BGA_SYNC;
        a.stopMediaPatrolOn(a.vdDisks(*vd));
        vd->bga = startedBga(bga, s.now());
        dropBgaOverlays(*vd);
        a.queueEvent(EVC_VD, vdEventBase(bga) + BGAE_STARTED, vdId, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LD_StartRebuild(KX_U8 adapter, KX_U16 vdId, KX_U16 hdId)
{
    SIM_GUARD(return onAdapter("KX_LD_StartRebuild", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        uint8_t st = startVdRebuild(a, vdId, hdId, s.now());
        if (st == KX_ST_OK)
            s.changed();
        return st;
    });)
}

SIM_EXPORT KX_U8 KX_LD_Import(KX_U8 adapter, KX_U16 vdId)
{
    SIM_GUARD(return onAdapter("KX_LD_Import", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        // Only a foreign VD that the controller can take over is imported.
        uint8_t st = a.vdStatus(*vd);
        if (st != 6 && st != 7)
            return KX_ST_NOT_IMPORTABLE;
        vd->status = -1;
        vd->ov.dropField(&kRecord_LD_Info, "Status");
        vd->ov.dropField(&kRecord_LD_Status, "Status");
        vd->ov.dropField(&kRecord_LD_Config, "Status");
        a.queueEvent(EVC_VD, 9, vdId, SEV_INFO, vd->array == kNone16 ? 0 : vd->array);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_DG_Delete(KX_U8 adapter, KX_U16 dgId)
{
    SIM_GUARD(return onAdapter("KX_DG_Delete", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!a.findArray(dgId))
            return KX_ST_BAD_ARRAY;
        for (const auto &v : a.vds)
            if (v.second.array == dgId)
                return KX_ST_ARRAY_HAS_VD;
        deleteArray(a, dgId);
        s.changed();
        return KX_ST_OK;
    });)
}
