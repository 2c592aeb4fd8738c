/*
 * set on array-based adapters: settings of a PD, an array, a VD, the
 * adapter, its buzzer and battery, or the disk a VD is linked to. Each
 * change reads the object's record, changes the fields named and writes
 * it back; a request that names nothing is refused before the controller
 * is asked anything.
 */
#include <string.h>
#include <unistd.h>

#include "Functions/handlers.h"
#include "Functions/info/info_list.h"
#include "status_text.h"
#include "Public/globals.h"
#include "set_common.h"

namespace {

const unsigned long kPdSettings = SP_CACHE | SP_PD_STATUS;
const unsigned long kArraySettings = SP_NAME | SP_CACHE;
const unsigned long kVdSettings = SP_NAME | SP_WRITE_POLICY | SP_CACHE | SP_READ_AHEAD;
const unsigned long kHbaChanges = SP_BUZZER | SP_AUTO_REBUILD | SP_COPYBACK | SP_RATES | SP_OPTIMIZE |
                                  SP_CONSOLIDATE | SP_SMART | SP_VATAPI | SP_PHY;
const unsigned long kHbaSettings = kHbaChanges | SP_SERIAL | SP_MODEL;

const char *StringBBUPower(int action)
{
    switch (action) {
    case 1:
        return "charge";
    case 2:
        return "discharge";
    case 3:
        return "stop action";
    default:
        return "relearn";
    }
}

int setPd(const SetOptions &o)
{
    int rc = setCheckObject(o, kPdSettings, "Invalid setting(s) for pd.\n", "\ninvalid PD id :%d.\n",
                            "The configuration parameter for PD must be set.\n");
    if (rc >= 0)
        return rc;
    rc = setPdCapabilities(o);
    if (rc >= 0)
        return rc;
    const KX_U16 id = static_cast<KX_U16>(o.id);
    const Adapter_Info &caps = gAdapterInfo[gCurrentAdapter];
    if (caps.MaxDiskGroup != 0) {
        HD_RAID_Status rs;
        KX_U8 st = client::queryOne<HD_RAID_Status_Request>(KX_PD_GetHDRaidStatus, gCurrentAdapter, id, rs, 9);
        if (st != 0) {
            fprintf(stream, "\nUnable to get raid status of PD %d (error %d: %s).\n", id, st, ErrorMessage(st));
            return 1;
        }
        /* A member's write cache follows its array's setting. */
        if (o.cache >= 0 && (rs.Status & 0x02)) {
            fprintf(stream, "\nPD %d has been set by array. Please change property \"Write Cache\" in array.\n", id);
            return 1;
        }
    }
    int st = setPdCacheAndStatus(id, o);
    if (st == 0)
        fprintf(stream, "Set configuration parameter(s) of PD %d successful.\n", id);
    return st;
}

int setArray(const SetOptions &o)
{
    const int rc = setCheckObject(o, kArraySettings, "Invalid setting(s) for Array.\n", "\ninvalid array id :%d.\n",
                                  "The configuration parameter for Array must be set.\n");
    if (rc >= 0)
        return rc;
    const KX_U16 id = static_cast<KX_U16>(o.id);
    DG_Config cfg;
    KX_U8 st = client::queryOne<DG_Config_Request>(KX_DG_GetConfig, gCurrentAdapter, id, cfg, 17);
    if (st != 0) {
        fprintf(stream, "\nUnable to get configuration data of array %d (error %d: %s).\n", id, st,
                ErrorMessage(st));
        return 1;
    }
    if (o.haveName) {
        memset(cfg.Name, 0, sizeof cfg.Name);
        memcpy(cfg.Name, o.name, strnlen(o.name, sizeof cfg.Name - 1));
    }
    if (o.cache >= 0)
        cfg.WriteCacheOn = static_cast<KX_BOOLEAN>(o.cache);
    st = KX_DG_SetConfig(gCurrentAdapter, id, &cfg);
    if (st != 0) {
        fprintf(stream, "\nFailed to configure array %d (error %d: %s)\n", id, st, ErrorMessage(st));
        return st;
    }
    fprintf(stream, "Set configuration parameter(s) of Array %d successful.\n", id);
    return 0;
}

int setVd(const SetOptions &o)
{
    const int rc = setCheckObject(o, kVdSettings, "Invalid setting(s) for VD.\n", "\nInvalid virtual disk id :%d.\n",
                                  "The configuration parameter for VD must be set.\n");
    if (rc >= 0)
        return rc;
    if (!setVdCacheAllowed(o))
        return 1;
    const KX_U16 id = static_cast<KX_U16>(o.id);
    LD_Config cfg;
    if (!setReadVdConfig(id, cfg))
        return 1;
    setApplyVd(cfg, o);
    const KX_U8 st = KX_LD_SetConfig(gCurrentAdapter, id, &cfg);
    if (st != 0) {
        fprintf(stream, "\nFailed to configure VD %d (error %d: %s)\n", id, st, ErrorMessage(st));
        return st;
    }
    fprintf(stream, "Set configuration parameter(s) of VD %d successful.\n", id);
    return 0;
}

int setHba(const SetOptions &o, const char *cmd)
{
    if (o.named() & ~kHbaSettings) {
        fputs("Invalid setting(s) for HBA.\n", stream);
        return 1;
    }
    const KX_U8 id = static_cast<KX_U8>(o.id);
    /* The serial number and the model alone are not a change of settings. */
    if ((o.named() & kHbaChanges) == 0) {
        fputs("The configuration parameter for Adapter must be set.\n", stream);
        return 1;
    }
    const Adapter_Info &caps = setAdapterCaps(o.id);
    const KX_U32 adv = caps.AdvancedFeatures;
    const KX_U8 f = caps.Features;
    if (setAnyRefused(
            {
                {o.buzzer >= 0 && caps.AlarmSupport == 0, "Buzzer setting is not supported on adapter %d.\n"},
                {o.autoRebuild >= 0 && (caps.DevID <= 0x6400 || setBit(adv, 24)),
                 "Auto rebuild setting is not supported on adapter %d.\n"},
                {o.copyBack >= 0 && !setBit(f, 6), "Copyback is not supported on adapter %d.\n"},
                {o.mediaPatrolRate >= 0 && !setBit(f, 4), "Media patrol rate is not supported on adapter %d.\n"},
                {o.syncRate >= 0 && !setBit(f, 2), "Synchronize rate setting is not supported on adapter %d.\n"},
                {o.initRate >= 0 && !setBit(f, 1), "Initialize rate setting is not supported on adapter %d.\n"},
                {o.rebuildRate >= 0 && !setBit(f, 0), "Rebuild rate setting is not supported on adapter %d.\n"},
                {o.migrationRate >= 0 && !setBit(f, 3), "Migration rate setting is not supported on adapter %d.\n"},
                {o.copybackRate >= 0 && !setBit(f, 6), "Copyback rate setting is not supported on adapter %d.\n"},
                {o.optimize >= 0 && !setBit(adv, 5),
                 "Optimize CPU efficiency setting is not supported on adapter %d.\n"},
                {o.consolidate >= 0 && !setBit(adv, 9),
                 "Module consolidate setting is not supported on adapter %d.\n"},
                {o.smart >= 0 && setBit(adv, 16), "Smart setting is not supported on adapter %d.\n"},
                {(o.named() & (SP_VATAPI | SP_PHY)) && !setBit(adv, 11),
                 "Module virtual atapi is not supported on adapter %d.\n"},
            },
            id))
        return 1;
    if (!setPhyPairGiven(o, cmd))
        return 1;
    Adapter_Config_V2 cfg;
    KX_U8 st = setReadAdapterConfig(id, cfg);
    if (st != 0) {
        fprintf(stream, "\nUnable to get configuration info on adapter %d (error %d: %s)\n", id, st,
                ErrorMessage(st));
        return 1;
    }
    setApplyHba(cfg, o, false);
    st = KX_Adapter_SetConfig(id, &cfg);
    if (st != 0) {
        fprintf(stream, "\nFailed to configure adapter %d (error %d: %s)\n", id, st, ErrorMessage(st));
        return 1;
    }
    fprintf(stream, "Set configuration parameter(s) of Adapter %d successful.\n", id);
    return 0;
}

int setMute(const SetOptions &o)
{
    if (o.named() != 0) {
        fputs("Invalid setting(s) for mute.\n", stream);
        return 1;
    }
    const KX_U8 id = static_cast<KX_U8>(o.id);
    if (id >= gNumAdaptersFound || !gAdapterInfo[id].AlarmSupport) {
        fputs("Mute is not supported.\n", stream);
        return 1;
    }
    KX_U8 st = KX_AdapterMute(id);
    if (st != 0) {
        fprintf(stream, "\nFailed to mute on adapter %d (error %d: %s)\n", id, st, ErrorMessage(st));
        return 1;
    }
    fprintf(stream, "Set configuration parameter(s) of mute on HBA %d successful.\n", id);
    return 0;
}

int setBbu(const SetOptions &o)
{
    if (o.named() & ~SP_BBU_ACTION) {
        fputs("Invalid setting(s) for BBU.\n", stream);
        return 1;
    }
    if (o.bbuAction < 0) {
        fputs("The configuration parameter for BBU must be set.\n", stream);
        return 1;
    }
    const KX_U8 id = static_cast<KX_U8>(o.id);
    BBU_Info bbu;
    memset(&bbu, 0, sizeof bbu);
    KX_U8 st = KX_BBU_GetInfo(id, &bbu);
    if (st != 0) {
        fprintf(stream, "Unable to get info of BBU. (error %d: %s).\n", st, ErrorMessage(st));
        return st;
    }
    if (bbu.status == 0) {
        fputs("No BBU is found.\n", stream);
        return 1;
    }
    fputs("Please DONT reboot/shutdown system when do BBU relearn.\n", stream);
    st = KX_BBU_ChangePower(id, static_cast<KX_U8>(o.bbuAction));
    if (st != 0) {
        fprintf(stream, "\nFailed to change BBU power to %s on hba %d (error %d: %s)\n", StringBBUPower(o.bbuAction),
                id, st, ErrorMessage(st));
        return 1;
    }
    fprintf(stream, "Set configuration parameter(s) of BBU on HBA %d successful.\n", id);
    return 0;
}

}  // namespace

int doSetV2(int argc, char **argv, cmd_struct *pCmdInfo)
{
    /* Give the controller a moment after the previous command. */
    sleep(1);
    SetOptions o;
    int rc = setParseOptions(argc, argv, pCmdInfo, true, o);
    if (rc >= 0)
        return rc;
    const bool adapterObject = o.object == SET_HBA || o.object == SET_MUTE || o.object == SET_BBU;
    if (o.id < 0) {
        if (o.object == SET_LINK) {
            fprintf(stream, OptionRequired, pCmdInfo->cmd, 'i');
            return 1;
        }
        /* Without -i a setting of the adapter means the current one; a
           disk, VD or array must be named. */
        o.id = adapterObject ? gCurrentAdapter : 255;
    } else if (adapterObject && o.id > 0xFF) {
        fprintf(stream, "-i : invalid id '%s'\n", o.idText);
        return 1;
    }
    switch (o.object) {
    case SET_PD:
        return setPd(o);
    case SET_ARRAY:
        return setArray(o);
    case SET_VD:
        return setVd(o);
    case SET_HBA:
        return setHba(o, pCmdInfo->cmd);
    case SET_MUTE:
        return setMute(o);
    case SET_BBU:
        return setBbu(o);
    default:
        return setLink(o, pCmdInfo->cmd);
    }
}
