/*
 * set on adapters without disk groups: settings of a PD, a VD, the
 * adapter, or the disk a VD is linked to. Each change reads the object's
 * record, changes the fields named and writes it back; a request that
 * changes nothing writes nothing.
 */
#include <string.h>

#include "Functions/handlers.h"
#include "Functions/info/info_list.h"
#include "status_text.h"
#include "Public/globals.h"
#include "set_common.h"

namespace {

const unsigned long kPdSettings = SP_CACHE | SP_PD_STATUS;
const unsigned long kVdSettings = SP_NAME | SP_WRITE_POLICY | SP_CACHE | SP_RESTORE | SP_READ_AHEAD;
const unsigned long kHbaSettings = SP_BUZZER | SP_AUTO_REBUILD | SP_BGA_RATE | SP_SMART | SP_CONSOLIDATE |
                                   SP_RAW_UPDATE | SP_OPTIMIZE | SP_VATAPI | SP_PHY | SP_SERIAL | SP_MODEL;

int setPd(const SetOptions &o)
{
    int rc = setCheckObject(o, kPdSettings, "Invalid setting(s)\n", "\ninvalid PD id :%d.\n", nullptr);
    if (rc >= 0)
        return rc;
    rc = setPdCapabilities(o);
    if (rc >= 0)
        return rc;
    return setPdCacheAndStatus(static_cast<KX_U16>(o.id), o);
}

int setVd(const SetOptions &o)
{
    int rc = setCheckObject(o, kVdSettings, "Invalid setting(s) for VD.\n", "\nInvalid virtual disk id :%d.\n",
                            nullptr);
    if (rc >= 0)
        return rc;
    if (!setVdCacheAllowed(o))
        return 1;
    const KX_U16 id = static_cast<KX_U16>(o.id);
    LD_Config before;
    if (!setReadVdConfig(id, before))
        return 1;
    LD_Config cfg = before;
    setApplyVd(cfg, o);
    if (o.restore >= 0) {
        /* Restore takes the place of the write policy. */
        cfg.CacheMode = static_cast<KX_U8>((cfg.CacheMode & ~kWritePolicyBits) | o.restore);
        if (setBit(gAdapterInfo[gCurrentAdapter].AdvancedFeatures, 23) && (cfg.CacheMode & kWritePolicyBits) == 1)
            cfg.TandemRebuildMode = 1;
    }
    if (memcmp(&cfg, &before, sizeof cfg) == 0)
        return 0;
    const KX_U8 st = KX_LD_SetConfig(gCurrentAdapter, id, &cfg);
    if (st != 0)
        fprintf(stream, "\nFailed to configure VD %d (error %d: %s)\n", id, st, ErrorMessage(st));
    return st;
}

int setHba(const SetOptions &o, const char *cmd)
{
    if (o.named() & ~kHbaSettings) {
        fputs("Invalid setting(s) for HBA\n", stream);
        return 1;
    }
    if (o.id > 0xFF) {
        fprintf(stream, "-i : invalid id '%s'\n", o.idText);
        return 1;
    }
    const KX_U8 id = static_cast<KX_U8>(o.id);
    const Adapter_Info &caps = setAdapterCaps(o.id);
    const KX_U32 adv = caps.AdvancedFeatures;
    if (setAnyRefused(
            {
                {o.buzzer >= 0 && caps.AlarmSupport == 0, "Buzzer setting is not supported on adapter %d.\n"},
                {o.autoRebuild >= 0 && (caps.DevID <= 0x6400 || setBit(adv, 24)),
                 "Auto rebuild setting is not supported on adapter %d.\n"},
                {o.bgaRate >= 0 && (caps.Features & 0x5F) == 0, "BGA rate setting is not supported on adapter %d.\n"},
                {o.smart >= 0 && !setBit(adv, 16), "Smart setting is not supported on adapter %d.\n"},
                {o.consolidate >= 0 && !setBit(adv, 9),
                 "Module consolidation setting is not supported on adapter %d.\n"},
                {o.rawUpdate >= 0 && !setBit(adv, 31), "Raw update setting is not supported on adapter %d.\n"},
                {o.optimize >= 0 && !setBit(adv, 5),
                 "Optimize CPU efficiency setting is not supported on adapter %d.\n"},
            },
            id))
        return 1;
    Adapter_Config_V2 before;
    KX_U8 st = setReadAdapterConfig(id, before);
    if (st != 0) {
        fprintf(stream, "\nUnable to get configuration info of adapter %d (error %d: %s)\n", id, st,
                ErrorMessage(st));
        return 1;
    }
    if ((o.named() & (SP_PHY | SP_VATAPI)) && !setBit(adv, 11)) {
        fprintf(stream, "Virtual atapi setting is not supported on adapter %d.\n", id);
        return 1;
    }
    if (!setPhyPairGiven(o, cmd))
        return 1;
    Adapter_Config_V2 cfg = before;
    setApplyHba(cfg, o, true);
    if (memcmp(&cfg, &before, sizeof cfg) == 0)
        return 0;
    st = KX_Adapter_SetConfig(id, &cfg);
    if (st != 0) {
        fprintf(stream, "\nFailed to configure hba %d (error %d: %s)\n", id, st, ErrorMessage(st));
        return 1;
    }
    return 0;
}

}  // namespace

int doSet(int argc, char **argv, cmd_struct *pCmdInfo)
{
    SetOptions o;
    int rc = setParseOptions(argc, argv, pCmdInfo, false, o);
    if (rc >= 0)
        return rc;
    if (o.id < 0) {
        if (o.object == SET_HBA || o.object == SET_DRIVER) {
            o.id = gCurrentAdapter;
        } else {
            fprintf(stream, OptionRequired, pCmdInfo->cmd, 'i');
            return 1;
        }
    }
    switch (o.object) {
    case SET_PD:
        return setPd(o);
    case SET_VD:
        return setVd(o);
    case SET_HBA:
        return setHba(o, pCmdInfo->cmd);
    case SET_LINK:
        return setLink(o, pCmdInfo->cmd);
    default:
        fputs("\nLinux CLI doesn't support: set -o driver.\n", stream);
        return 1;
    }
}
