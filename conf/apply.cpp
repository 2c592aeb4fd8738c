#include "apply.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "paging.h"
#include "status_text.h"

namespace conf {

namespace {

StepResult failed(KX_U8 status, const std::string &message)
{
    StepResult r;
    r.state = StepResult::Failed;
    r.status = status ? status : static_cast<KX_U8>(KX_ST_FAILED);
    r.message = message;
    return r;
}

StepResult done()
{
    StepResult r;
    r.state = StepResult::Done;
    return r;
}

/* The read-back after a change: the status of the read, and whether the
   change shows. */
StepResult checked(KX_U8 readStatus, bool shows)
{
    if (readStatus != KX_ST_OK)
        return failed(readStatus, fmt("\nUnable to read back the change (error %d: %s).\n", readStatus,
                                      ErrorMessage(readStatus)));
    if (!shows)
        return failed(KX_ST_FAILED, "\nThe controller does not show the change when it is read back.\n");
    return done();
}

void setName(KX_U8 *field, size_t size, const std::string &name)
{
    std::memset(field, 0, size);
    std::memcpy(field, name.data(), std::min(size, name.size()));
}

uint64_t requestMb(const Size &s)
{
    return s.all ? 0 : s.kib / 1024;
}

/* CachePolicy of a new VD: the write policy the document names, else the
   adapter's default (write-through where the VD cache cannot be set), and
   read-ahead. */
KX_U8 cachePolicy(const Vd &v, const Adapter_Info &info)
{
    KX_U8 p = 0;
    if (v.writePolicy)
        p = static_cast<KX_U8>(*v.writePolicy);
    else if (info.AdvancedFeatures & (1u << 14))
        p = 1;
    if (v.readAhead && *v.readAhead)
        p |= 4;
    return p;
}

bool vdGone(KX_U8 adapter, KX_U16 id)
{
    LD_Info ld;
    return client::queryOne<LD_Info_Request>(KX_LD_GetInfo, adapter, id, ld, KX_ST_BAD_VD) != KX_ST_OK;
}

bool arrayGone(KX_U8 adapter, KX_U16 id)
{
    DG_Info dg;
    return client::queryOne<DG_Info_Request>(KX_DG_GetInfo, adapter, id, dg, KX_ST_BAD_ARRAY) != KX_ST_OK;
}

KX_U8 readSpareBits(KX_U8 adapter, KX_U16 disk, HD_RAID_Status &rs)
{
    return client::queryOne<HD_RAID_Status_Request>(KX_PD_GetHDRaidStatus, adapter, disk, rs, KX_ST_BAD_PD);
}

KX_U8 readAdapterConfig(KX_U8 adapter, Adapter_Config_V2 &out)
{
    Adapter_Config_V2 configs[8];
    std::memset(configs, 0, sizeof configs);
    KX_U8 count = 0;
    KX_U8 st = KX_Adapter_GetConfig(adapter, &count, configs);
    out = configs[0];
    return st;
}

/* The settings of the document in the adapter's record; true when each
   field named holds the document's value. */
bool adapterSettings(Adapter_Config_V2 &c, const Settings &s, bool write)
{
    KX_U8 *flags[FLAG_COUNT] = {&c.AlarmOn, &c.AutoRebuildOn, &c.PollSMARTStatus, &c.CopyBack,
                                &c.InterruptCoalescing, &c.ModuleConsolidate};
    KX_U8 *rates[RATE_COUNT] = {&c.BGARate, &c.SyncRate, &c.InitRate, &c.RebuildRate, &c.MigrationRate,
                                &c.CopybackRate, &c.MediaPatrolRate};
    bool same = true;
    for (int i = 0; i < FLAG_COUNT; ++i)
        if (s.flags[i]) {
            if (write)
                *flags[i] = *s.flags[i] ? 1 : 0;
            same = same && (*flags[i] == 1) == *s.flags[i];
        }
    for (int i = 0; i < RATE_COUNT; ++i)
        if (s.rates[i]) {
            /* Only a changed rate is written: a rate kept on the 0-250
               scale reads back as the same percent, and stays as it is. */
            if (write && rateToPercent(*rates[i]) != *s.rates[i])
                *rates[i] = percentToRate(*s.rates[i]);
            same = same && rateToPercent(*rates[i]) == *s.rates[i];
        }
    return same;
}

StepResult releaseSpare(KX_U8 a, const Step &step)
{
    KX_U8 st = KX_PD_Spare2FreeHD(a, step.id);
    if (st != KX_ST_OK)
        return failed(st, fmt("Failed to delete spare disk %d (error %d: %s).\n", step.id, st, ErrorMessage(st)));
    HD_RAID_Status rs;
    st = readSpareBits(a, step.id, rs);
    return checked(st, !(rs.Status & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE)));
}

StepResult deleteVd(KX_U8 a, const Step &step)
{
    LD_Status status;
    KX_U8 st = client::queryOne<LD_Status_Request>(KX_LD_GetStatus, a, step.id, status, KX_ST_BAD_VD);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nUnable to get status of VD %d (error %d: %s).\n", step.id, st, ErrorMessage(st)));
    /* Offline and foreign VDs are deleted as they stand; any other first
       has its activity stopped, as the delete command does. */
    const bool stop = status.Status != 4 && status.Status != 6;
    if (stop && (status.Bga & 0x7F))
        KX_LD_BGAControl(a, step.id, 7);
    st = KX_LD_Delete(a, step.id, stop ? 1 : 0);
    if (st != KX_ST_OK)
        return failed(st, fmt("Failed to delete VD %d (error %d: %s).\n", step.id, st, ErrorMessage(st)));
    return checked(KX_ST_OK, vdGone(a, step.id));
}

StepResult deleteArray(KX_U8 a, const Step &step)
{
    KX_U8 st = KX_DG_Delete(a, step.id);
    if (st != KX_ST_OK)
        return failed(st, fmt("Failed to delete array %d (error %d: %s).\n", step.id, st, ErrorMessage(st)));
    return checked(KX_ST_OK, arrayGone(a, step.id));
}

StepResult createArray(PlanAdapter &pa, const Step &step)
{
    const KX_U8 a = pa.live.number;
    const Array &arr = pa.doc->arrays[static_cast<size_t>(step.index)];
    CreateOrModify_DG_Param p;
    std::memset(&p, 0, sizeof p);
    p.DGID = KX_ID_NONE;
    setName(p.Name, sizeof p.Name, arr.name);
    p.RaidMode = static_cast<KX_U8>(arr.raid);
    if (arr.raid == KX_RAID6 || arr.raid == KX_RAID60)
        p.NumParityDisk = static_cast<KX_U8>(arr.parity >= 0 ? arr.parity : (arr.raid == KX_RAID6 ? 2 : 4));
    p.StripeBlockSize = static_cast<KX_U16>(arr.stripe);
    p.Size = kxU64Make(requestMb(arr.size));
    p.PDCount = static_cast<KX_U8>(arr.disks.size());
    for (size_t i = 0; i < arr.disks.size() && i < KX_MAX_PD_LIST; ++i)
        p.PDIDs[i] = static_cast<KX_U16>(arr.disks[i]);
    HD_Info hd;
    KX_U8 st = client::queryHdInfo(a, p.PDIDs[0], hd);
    if (st != KX_ST_OK)
        return failed(st, fmt("Unable to get info of PD %d (error %d : %s)\n", p.PDIDs[0], st, ErrorMessage(st)));
    p.BlockSize = hd.BlockSize;
    st = KX_CreateOrModify_DG(a, &p, 0);
    if (st == KX_ST_NO_RESOURCE)
        return failed(st, fmt("\nNo resources. Max available size is %lld M\n",
                              static_cast<long long>(kxU64Value(p.Size) / 1024)));
    if (st != KX_ST_OK)
        return failed(st, fmt("\nFailed to create array (error %d: %s).\n", st, ErrorMessage(st)));
    pa.arrayIds[arr.name] = p.DGID;

    const bool cacheOn = !arr.writeCache || *arr.writeCache;
    DG_Config cfg;
    st = client::queryOne<DG_Config_Request>(KX_DG_GetConfig, a, p.DGID, cfg, KX_ST_BAD_ARRAY);
    if (st == KX_ST_OK) {
        cfg.WriteCacheOn = cacheOn ? 1 : 0;
        cfg.DGID = p.DGID;
        std::memcpy(cfg.Name, p.Name, sizeof cfg.Name);
        st = KX_DG_SetConfig(a, p.DGID, &cfg);
    }
    /* The array stays (it was asked for): say so, as the create command
       does, or "Not done" would leave it unmentioned. */
    if (st != KX_ST_OK)
        return failed(st, fmt("Create array %d successfully.\nSet Array cache on failed!\n", p.DGID));

    DG_Info dg;
    st = client::queryOne<DG_Info_Request>(KX_DG_GetInfo, a, p.DGID, dg, KX_ST_BAD_ARRAY);
    KX_U8 st2 = client::queryOne<DG_Config_Request>(KX_DG_GetConfig, a, p.DGID, cfg, KX_ST_BAD_ARRAY);
    return checked(st ? st : st2, fieldText(dg.Name, sizeof dg.Name) == arr.name && dg.PDCount == p.PDCount &&
                                      dg.RaidMode == p.RaidMode && (cfg.WriteCacheOn != 0) == cacheOn);
}

StepResult createVd(PlanAdapter &pa, const Step &step)
{
    const KX_U8 a = pa.live.number;
    const Vd &v = pa.doc->vds[static_cast<size_t>(step.index)];
    KX_U16 id = KX_ID_NONE;
    KX_U8 st;
    if (!v.array.empty()) {
        auto g = pa.arrayIds.find(v.array);
        if (g == pa.arrayIds.end())
            return failed(KX_ST_BAD_ARRAY, fmt("Unable to get info for array %s  (error %d: %s)\n", v.array.c_str(),
                                               KX_ST_BAD_ARRAY, ErrorMessage(KX_ST_BAD_ARRAY)));
        DG_Info dg;
        st = client::queryOne<DG_Info_Request>(KX_DG_GetInfo, a, g->second, dg, KX_ST_BAD_ARRAY);
        if (st != KX_ST_OK)
            return failed(st, fmt("Unable to get info for array %d  (error %d: %s)\n", g->second, st, ErrorMessage(st)));
        CreateOrModify_VD_Param p;
        std::memset(&p, 0, sizeof p);
        p.VDID = KX_ID_NONE;
        p.DGID = g->second;
        setName(p.Name, sizeof p.Name, v.name);
        p.RaidMode = dg.RaidMode;
        p.NumParityDisk = dg.NumParityDisk;
        p.SubVDCount = dg.SubVDCount;
        p.StripeBlockSize = static_cast<KX_U16>(v.stripe);
        p.BlockSize = dg.BlockSize;
        p.DGSlotNum = KX_ID8_NONE; /* made in slot order, the next free slot is the one */
        p.Size = kxU64Make(requestMb(v.size));
        p.SectorCoefficient = 1;
        p.CachePolicy = cachePolicy(v, pa.live.info);
        st = KX_CreateOrModify_VD(a, &p);
        if (st == KX_ST_NO_RESOURCE)
            return failed(st, fmt("\nNo resources. Max available size is %lld M\n",
                                  static_cast<long long>(kxU64Value(p.Size) / 1024)));
        id = p.VDID;
    } else {
        Create_LD_Param p;
        std::memset(&p, 0, sizeof p);
        p.LDID = KX_ID_NONE;
        p.RaidMode = static_cast<KX_U8>(v.raid);
        p.HDCount = static_cast<KX_U8>(v.disks.size());
        for (size_t i = 0; i < v.disks.size() && i < KX_MAX_PD_LIST; ++i)
            p.HDIDs[i] = static_cast<KX_U16>(v.disks[i]);
        if (v.raid == KX_RAID6 || v.raid == KX_RAID60)
            p.NumParityDisk = static_cast<KX_U8>(v.parity >= 0 ? v.parity : (v.raid == KX_RAID6 ? 2 : 4));
        p.StripeBlockSize = static_cast<KX_U16>(v.stripe);
        p.SectorCoefficient = 1;
        p.CachePolicy = cachePolicy(v, pa.live.info);
        p.TandemWaterMark = kxIsTandemRaid(v.raid) ? 90 : 0;
        p.Size = kxU64Make(requestMb(v.size));
        /* Adapters that size VDs themselves keep a size only when asked
           to, as the create command's forcesize does. */
        if (!v.size.all && pa.live.info.DevID > 0x6300)
            p.ReservedForApp = 1;
        setName(p.Name, sizeof p.Name, v.name);
        st = KX_LD_Create(a, &p);
        id = p.LDID;
    }
    if (st != KX_ST_OK)
        return failed(st, fmt("\nFailed to create virtual disk (error %d: %s).\n", st, ErrorMessage(st)));
    LD_Info ld;
    st = client::queryOne<LD_Info_Request>(KX_LD_GetInfo, a, id, ld, KX_ST_BAD_VD);
    return checked(st, fieldText(ld.Name, sizeof ld.Name) == v.name && ld.RaidMode == v.raid);
}

StepResult assignSpare(PlanAdapter &pa, const Step &step)
{
    const KX_U8 a = pa.live.number;
    const Spare &sp = pa.doc->spares[static_cast<size_t>(step.index)];
    KX_U8 st;
    KX_U16 dg = KX_ID_NONE;
    if (sp.array.empty()) {
        st = KX_PD_FreeHD2GlobalSpare(a, step.id);
        if (st != KX_ST_OK)
            return failed(st, fmt("\nFailed to assign disk %d as global spare disk (error %d: %s).\n", step.id, st,
                                  ErrorMessage(st)));
    } else {
        auto g = pa.arrayIds.find(sp.array);
        dg = g == pa.arrayIds.end() ? KX_ID_NONE : g->second;
        st = KX_PD_FreeHD2DGSpare(a, step.id, dg);
        if (st != KX_ST_OK)
            return failed(st, fmt("\nFailed to assign disk %d as a spare disk to array %d (error %d: %s).\n", step.id,
                                  dg, st, ErrorMessage(st)));
    }
    HD_RAID_Status rs;
    st = readSpareBits(a, step.id, rs);
    return checked(st, sp.array.empty() ? (rs.Status & KX_PD_GLOBAL_SPARE) != 0
                                        : (rs.Status & KX_PD_DEDICATED_SPARE) && rs.DGID == dg);
}

StepResult setAdapter(PlanAdapter &pa)
{
    const KX_U8 a = pa.live.number;
    Adapter_Config_V2 c;
    KX_U8 st = readAdapterConfig(a, c);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nUnable to get configuration info on adapter %d (error %d: %s)\n", a, st,
                              ErrorMessage(st)));
    adapterSettings(c, pa.doc->settings, true);
    st = KX_Adapter_SetConfig(a, &c);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nFailed to configure adapter %d (error %d: %s)\n", a, st, ErrorMessage(st)));
    st = readAdapterConfig(a, c);
    return checked(st, adapterSettings(c, pa.doc->settings, false));
}

StepResult setArray(PlanAdapter &pa, const Step &step)
{
    const KX_U8 a = pa.live.number;
    const Array &arr = pa.doc->arrays[static_cast<size_t>(step.index)];
    DG_Config cfg;
    KX_U8 st = client::queryOne<DG_Config_Request>(KX_DG_GetConfig, a, step.id, cfg, KX_ST_BAD_ARRAY);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nUnable to get configuration data of array %d (error %d: %s).\n", step.id, st,
                              ErrorMessage(st)));
    cfg.WriteCacheOn = *arr.writeCache ? 1 : 0;
    st = KX_DG_SetConfig(a, step.id, &cfg);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nFailed to configure array %d (error %d: %s)\n", step.id, st, ErrorMessage(st)));
    st = client::queryOne<DG_Config_Request>(KX_DG_GetConfig, a, step.id, cfg, KX_ST_BAD_ARRAY);
    return checked(st, (cfg.WriteCacheOn != 0) == *arr.writeCache);
}

StepResult setVd(PlanAdapter &pa, const Step &step)
{
    const KX_U8 a = pa.live.number;
    const Vd &v = pa.doc->vds[static_cast<size_t>(step.index)];
    LD_Config cfg;
    KX_U8 st = client::queryOne<LD_Config_Request>(KX_LD_GetConfig, a, step.id, cfg, KX_ST_BAD_VD);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nUnable to get configuration info of VD %d (error %d: %s)\n", step.id, st,
                              ErrorMessage(st)));
    if (v.writePolicy)
        cfg.CacheMode = static_cast<KX_U8>((cfg.CacheMode & ~0x0Bu) | static_cast<KX_U8>(*v.writePolicy));
    if (v.readAhead)
        cfg.CacheMode = static_cast<KX_U8>(*v.readAhead ? (cfg.CacheMode | 4u) : (cfg.CacheMode & ~4u));
    const KX_U8 want = cfg.CacheMode;
    st = KX_LD_SetConfig(a, step.id, &cfg);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nFailed to configure VD %d (error %d: %s)\n", step.id, st, ErrorMessage(st)));
    st = client::queryOne<LD_Config_Request>(KX_LD_GetConfig, a, step.id, cfg, KX_ST_BAD_VD);
    return checked(st, cfg.CacheMode == want);
}

StepResult setDisk(PlanAdapter &pa, const Step &step)
{
    const KX_U8 a = pa.live.number;
    const Disk &d = pa.doc->disks[static_cast<size_t>(step.index)];
    HD_Config cfg;
    KX_U8 st = client::queryOne<HD_Config_Request>(KX_PD_GetConfig, a, step.id, cfg, KX_ST_BAD_PD);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nUnable to get configuration data of PD %d (error %d: %s).\n", step.id, st,
                              ErrorMessage(st)));
    if (d.writeCache)
        cfg.WriteCacheOn = *d.writeCache ? 1 : 0;
    if (d.smart)
        cfg.SMARTOn = *d.smart ? 1 : 0;
    st = KX_PD_SetConfig(a, step.id, &cfg);
    if (st != KX_ST_OK)
        return failed(st, fmt("\nFailed to configure PD %d (error %d: %s)\n", step.id, st, ErrorMessage(st)));
    st = client::queryOne<HD_Config_Request>(KX_PD_GetConfig, a, step.id, cfg, KX_ST_BAD_PD);
    return checked(st, (!d.writeCache || (cfg.WriteCacheOn != 0) == *d.writeCache) &&
                           (!d.smart || (cfg.SMARTOn != 0) == *d.smart));
}

} // namespace

StepResult runStep(Plan &plan, const Step &step)
{
    PlanAdapter &pa = plan.adapters[step.adapter];
    const KX_U8 a = pa.live.number;
    switch (step.kind) {
    case StepKind::ReleaseSpare: return releaseSpare(a, step);
    case StepKind::DeleteVd: return deleteVd(a, step);
    case StepKind::DeleteArray: return deleteArray(a, step);
    case StepKind::CreateArray: return createArray(pa, step);
    case StepKind::CreateVd: return createVd(pa, step);
    case StepKind::AssignSpare: return assignSpare(pa, step);
    case StepKind::SetAdapter: return setAdapter(pa);
    case StepKind::SetArray: return setArray(pa, step);
    case StepKind::SetVd: return setVd(pa, step);
    case StepKind::SetDisk: return setDisk(pa, step);
    }
    return failed(KX_ST_FAILED, "\nUnknown step.\n");
}

} // namespace conf
