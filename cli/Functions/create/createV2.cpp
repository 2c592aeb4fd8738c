/*
 * create on array-based adapters: an array from disks (or only its size),
 * a VD in a slot of an array, both at once ("packagevd"), or the
 * controller's own automatic configuration. Every option is checked
 * against the adapter's capabilities and every disk against its state
 * before the one create call.
 */
#include <stdio.h>
#include <string.h>

#include "Functions/handlers.h"
#include "Functions/info/info_list.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "parse.h"
#include "Public/utils.h"
#include "create_common.h"

namespace {

enum CreateObject { OBJ_VD, OBJ_ARRAY, OBJ_AUTO, OBJ_PACKAGE };
enum { OPT_SIZEONLY = CREATE_OPT_OWN, OPT_CACHEON, OPT_CACHEOFF };

const cli::option kLongOptions[] = {
    {"object", cli::kRequiredArgument, nullptr, 'o'},
    {"arrayid", cli::kRequiredArgument, nullptr, 'a'},
    {"slot", cli::kRequiredArgument, nullptr, 'l'},
    {"raidmode", cli::kRequiredArgument, nullptr, 'r'},
    {"paritydisks", cli::kRequiredArgument, nullptr, 'q'},
    {"pdid", cli::kRequiredArgument, nullptr, 'd'},
    {"name", cli::kRequiredArgument, nullptr, 'n'},
    {"blocksize", cli::kRequiredArgument, nullptr, 'b'},
    {"size", cli::kRequiredArgument, nullptr, 's'},
    {"cachemode", cli::kRequiredArgument, nullptr, 'c'},
    {"writepolicy", cli::kRequiredArgument, nullptr, 'w'},
    {"readpolicy", cli::kRequiredArgument, nullptr, 'p'},
    {"gbrounding", cli::kRequiredArgument, nullptr, 'g'},
    {"init", cli::kRequiredArgument, nullptr, 'i'},
    {"type", cli::kRequiredArgument, nullptr, 't'},
    {"waiveconfirmation", cli::kNoArgument, nullptr, CREATE_OPT_WAIVE},
    {"sizeonly", cli::kNoArgument, nullptr, OPT_SIZEONLY},
    {"cacheon", cli::kNoArgument, nullptr, OPT_CACHEON},
    {"cacheoff", cli::kNoArgument, nullptr, OPT_CACHEOFF},
    {"output", cli::kRequiredArgument, nullptr, 1},
    {"help", cli::kNoArgument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

/* The shared options and those of this handler alone. */
struct Options : CreateOptions {
    CreateObject object = OBJ_VD;
    KX_U16 arrayId = 0;
    KX_U8 slot = KX_ID8_NONE; /* the controller chooses */
    KX_U8 protection = 0;
    bool sizeOnly = false;
    bool cacheOn = true;
};

const Adapter_Info &adapterInfo()
{
    return gAdapterInfo[gCurrentAdapter];
}

/* Takes an option of this handler alone; the others go to
   createTakeOption. */
OptionTake takeOption(int opt, const char *arg, Options &o)
{
    unsigned long long v = 0;
    switch (opt) {
    case 'o':
        if (strcmp(arg, "vd") == 0) {
            o.object = OBJ_VD;
        } else if (strcmp(arg, "array") == 0) {
            if (!arrayBasedRaid) {
                fprintf(stream, "-o : array is not supported on this adapter\n");
                return OPT_REFUSED;
            }
            o.object = OBJ_ARRAY;
        } else if (strcmp(arg, "auto") == 0) {
            o.object = OBJ_AUTO;
        } else if (strcmp(arg, "packagevd") == 0) {
            if (!arrayBasedRaid) {
                fprintf(stream, "-o : packagevd is not supported on this adapter\n");
                return OPT_REFUSED;
            }
            o.object = OBJ_PACKAGE;
        } else {
            fprintf(stream, "-o : invalid object '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'a':
        if (!client::parseDecimal(arg, 0xFFFF, v)) {
            fprintf(stream, "-a : invalid array id '%s'\n", arg);
            return OPT_REFUSED;
        }
        o.arrayId = static_cast<KX_U16>(v);
        return OPT_TAKEN;
    case 'l':
        if (!client::parseDecimal(arg, 255, v)) {
            fprintf(stream, "-l : invalid slot number '%s'\n", arg);
            return OPT_REFUSED;
        }
        o.slot = static_cast<KX_U8>(v);
        return OPT_TAKEN;
    case 't':
        if (strcmp(arg, "enable") == 0) {
            o.protection = 1;
        } else if (strcmp(arg, "disable") == 0) {
            o.protection = 0;
        } else {
            fprintf(stream, "-t : invalid create type '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case OPT_SIZEONLY:
        o.sizeOnly = true;
        return OPT_TAKEN;
    case OPT_CACHEON:
    case OPT_CACHEOFF:
        o.cacheOn = opt == OPT_CACHEON;
        return OPT_TAKEN;
    default:
        return createTakeOption(opt, arg, true, o);
    }
}

/* Returns -1 when the command goes on with o, else its result. */
int parseOptions(int argc, char **argv, cmd_struct *pCmdInfo, Options &o)
{
    OptionLoopRules rules;
    rules.once = "arqdwpsnbt";
    int rc = runOptionLoop(argc, argv, pCmdInfo, "c:o:a:l:n:r:q:d:b:s:w:p:g:i:t:\x01:h", kLongOptions, rules, o.seen,
                           [&o](int opt, const char *arg) { return takeOption(opt, arg, o); });
    if (rc >= 0)
        return rc;
    if (o.seen['n'] && !createNameCharsOk(o.name))
        return 1;
    return -1;
}

void printNoResources(const KX_U64 &size)
{
    fprintf(stream, "\nNo resources. Max available size is %lld M\n",
            static_cast<long long>(kxU64Value(size) / 1024));
}

/* ------------------------------------------------------------ a VD */

int createVd(cmd_struct *pCmdInfo, Options &o)
{
    const Adapter_Info &info = adapterInfo();
    if (!o.seen['a']) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'a');
        return 1;
    }
    if (o.seen['r'] || o.seen['d'] || o.seen['q']) {
        fprintf(stream, "-r, -d and -q option are not allowed in creating VD\n");
        return 1;
    }
    DG_Info dg;
    KX_U8 st = queryDGInfo(o.arrayId, dg);
    if (st != 0) {
        fprintf(stream, "Unable to get info for array %d  (error %d: %s)\n", o.arrayId, st, ErrorMessage(st));
        return 1;
    }
    const int slots = dg.VDSlotCount;
    if (o.seen['l']) {
        /* The record has room for 32 slots, whatever the count says. */
        if (o.slot >= slots || o.slot >= 32) {
            fprintf(stream, "Invalid slot number.  Total slot is %d\n", slots);
            return 1;
        }
        if (dg.VDIDs[o.slot] != KX_ID_NONE) {
            fprintf(stream, "Slot number %d has already occupied by VD %d\n", o.slot, dg.VDIDs[o.slot]);
            return 1;
        }
    }

    CreateOrModify_VD_Param vd;
    memset(&vd, 0, sizeof vd);
    vd.VDID = KX_ID_NONE;
    vd.DGID = o.arrayId;
    vd.RaidMode = dg.RaidMode;
    vd.NumParityDisk = dg.NumParityDisk;
    vd.SubVDCount = dg.SubVDCount;
    vd.StripeBlockSize = dg.StripeBlockSize;
    vd.BlockSize = dg.BlockSize;
    vd.DGSlotNum = o.slot;
    vd.InitializationOption = o.init;
    vd.SectorCoefficient = 1;
    vd.RoundingScheme = o.rounding;
    vd.CachePolicy = o.policy;

    if (dg.RaidMode == 0 && o.init != 3 && o.init != 0) {
        fprintf(stream, "Invalid initialization mode. RAID0 only support none and quick initialize.\n");
        return 1;
    }
    if (o.seen['s'] && slots >= info.MaxVDPerDG) {
        fprintf(stream,
                "Total slots has reached its max number (%d), VD will use up all specified slot space, '-s' is "
                "not allowed.\n",
                info.MaxVDPerDG);
        return 1;
    }
    if (o.seen['n'])
        createSetName(vd.Name, sizeof vd.Name, "%s", o.name);
    else
        createSetName(vd.Name, sizeof vd.Name, "VD_%s_%d", RaidModeStrInCreate(dg.RaidMode), 1);
    if (o.seen['b'])
        vd.StripeBlockSize = o.stripe;
    if (o.seen['s']) {
        if ((o.rounding == 1 && o.size < 1000) || (o.rounding == 2 && o.size < 10000)) {
            fprintf(stream, "VD size is too small for the specified rounding scheme.\n");
            return 1;
        }
        if (o.size < 100) {
            fprintf(stream, "VD size should be at least 100 MB.\n");
            return 1;
        }
        vd.Size = kxU64Make(o.size);
    }
    if (!o.seen['c']) {
        /* Without -c the cache mode is the adapter's default, but a write
           policy the user gave still holds. */
        vd.CachePolicy = static_cast<KX_U8>((vd.CachePolicy & 4) | o.writeBits);
        if (info.AdvancedFeatures & (1u << 14))
            vd.CachePolicy |= 1;
    }

    /* The Tandem safe and hybrid levels ride on the plain levels here. */
    bool supported;
    if (dg.RaidMode == 11) {
        supported = (info.LogicalDriverMode & 0x0B) != 0;
    } else if (dg.RaidMode == 12) {
        supported = true;
    } else {
        supported = kxRaidOffered(info.LogicalDriverMode, dg.RaidMode);
    }
    if (!supported) {
        fprintf(stream, "Specified RAID mode is not supported.\n");
        return 1;
    }

    st = KX_CreateOrModify_VD(gCurrentAdapter, &vd);
    if (st == 0)
        fprintf(stream, "Create VD %d successfully.\n", vd.VDID);
    else if (st == KX_ST_NO_RESOURCE)
        printNoResources(vd.Size);
    else
        fprintf(stream, "\nFailed to create virtual disk (error %d: %s).\n", st, ErrorMessage(st));
    return st;
}

/* -------------------------------------------------------- an array */

/* HD_Info of a disk, from the extended call or else the plain one; a call
   that returns no record is status 9 (no such disk), never success. */
KX_U8 readHdInfo(KX_U16 id, HD_Info &out)
{
    KX_U8 st = client::queryOne<HD_Info_Request>(KX_PD_GetHDInfo_Ext, gCurrentAdapter, id, out, 9);
    if (st != 0)
        st = client::queryOne<HD_Info_Request>(KX_PD_GetHDInfo, gCurrentAdapter, id, out, 9);
    return st;
}

/* The array half of "array" and "packagevd": options, default name, disk
   rules, disk checks and the partition-table question. arrays is the
   number of arrays before this one (for default names; -1 when -n gave
   the name). Returns -1 when the command goes on, else its result. */
int prepareArray(cmd_struct *pCmdInfo, Options &o, CreateOrModify_DG_Param &dg, int &arrays)
{
    const Adapter_Info &info = adapterInfo();
    if (!createRaidAndDisksGiven(o, pCmdInfo->cmd))
        return 1;
    if (o.seen['a']) {
        fprintf(stream, "-a option is not used for creating array\n");
        return 1;
    }
    int rc = createParityAllowed(o);
    if (rc >= 0)
        return rc;

    memset(&dg, 0, sizeof dg);
    dg.DGID = KX_ID_NONE;
    arrays = -1;
    if (o.seen['n']) {
        createSetName(dg.Name, sizeof dg.Name, "%s", o.name);
    } else {
        rc = createCountObjects(true, arrays);
        if (rc != 0)
            return rc;
        createSetName(dg.Name, sizeof dg.Name, "DG_%s_%d", RaidModeStrInCreate(o.raid), arrays + 1);
    }
    if (!createDiskCountFits(client::LayoutRules::CreateArray, o))
        return 1;
    dg.RaidMode = o.raid;
    dg.NumParityDisk = o.parity;
    dg.StripeBlockSize = o.stripe;
    dg.Size = kxU64Make(o.size);
    dg.PDCount = static_cast<KX_U8>(o.pds.count);
    dg.InitializationOption = o.init;

    HD_Info hd;
    KX_U16 first = o.pds.ids[0];
    KX_U8 st = readHdInfo(first, hd);
    if (st != 0) {
        fprintf(stream, "Unable to get info of PD %d (error %d : %s)\n", first, st, ErrorMessage(st));
        return st;
    }
    dg.BlockSize = hd.BlockSize;

    for (int i = 0; i < o.pds.count; ++i) {
        KX_U16 id = o.pds.ids[i];
        if (id > info.MaxHD) {
            fprintf(stream, "Wrong disk %d input.\n", id);
            return 1;
        }
        st = readHdInfo(id, hd);
        if (st != 0) {
            fprintf(stream, "Unable to get info of PD %d, (error %d : %s)\n", id, st, ErrorMessage(st));
            return st;
        }
        if (hd.BlockSize != dg.BlockSize) {
            fprintf(stream, "All PDs should have the same sector size, PD %d has sector size %d\n", id,
                    static_cast<int>(hd.BlockSize));
            return 1;
        }
        HD_RAID_Status rs;
        st = queryHDRaidStatus(id, rs);
        if (st != 0) {
            fprintf(stream, "Unable to get info of PD %d, (error %d : %s)\n", id, st, ErrorMessage(st));
            return st;
        }
        if (!createDiskStateUsable(id, rs.Status, true))
            return 1;
    }
    memcpy(dg.PDIDs, o.pds.ids, sizeof(KX_U16) * static_cast<size_t>(o.pds.count));

    if (!o.waive)
        return createConfirmDisks(o.pds.ids, o.pds.count, "array");
    return -1;
}

/* After a new array: its write cache as asked (on unless --cacheoff).
   The array stays when this fails, since it was asked for, but the
   command must not end as if all went well: returns the failing status. */
KX_U8 setArrayCache(const CreateOrModify_DG_Param &dg, bool cacheOn)
{
    DG_Config cfg;
    KX_U8 st = client::queryOne<DG_Config_Request>(KX_DG_GetConfig, gCurrentAdapter, dg.DGID, cfg, KX_ST_BAD_ARRAY);
    if (st == KX_ST_OK) {
        cfg.WriteCacheOn = cacheOn ? 1 : 0;
        cfg.DGID = dg.DGID;
        memcpy(cfg.Name, dg.Name, sizeof cfg.Name);
        st = KX_DG_SetConfig(gCurrentAdapter, dg.DGID, &cfg);
    }
    if (st != KX_ST_OK)
        fprintf(stream, "Set Array cache on failed!\n");
    return st;
}

int createArray(cmd_struct *pCmdInfo, Options &o)
{
    CreateOrModify_DG_Param dg;
    int arrays = 0;
    int rc = prepareArray(pCmdInfo, o, dg, arrays);
    if (rc >= 0)
        return rc;
    if (o.sizeOnly) {
        KX_U8 st = KX_CreateOrModify_DG(gCurrentAdapter, &dg, 1);
        if (st == 0) {
            unsigned long long mb = kxU64Value(dg.Size) / 1024;
            fprintf(stream, "\nArry of size 0x%x%08x M can be created by the given parameters\n",
                    static_cast<unsigned>(mb >> 32), static_cast<unsigned>(mb & 0xFFFFFFFFu));
        } else {
            fprintf(stream, "\nFailed to calculate array size by the given parameters(error %d: %s).\n", st,
                    ErrorMessage(st));
        }
        return st;
    }
    KX_U8 st = KX_CreateOrModify_DG(gCurrentAdapter, &dg, 0);
    if (st == KX_ST_NO_RESOURCE) {
        printNoResources(dg.Size);
    } else if (st != 0) {
        fprintf(stream, "\nFailed to create array (error %d: %s).\n", st, ErrorMessage(st));
    } else {
        fprintf(stream, "Create array %d successfully.\n", dg.DGID);
        st = setArrayCache(dg, o.cacheOn);
    }
    return st;
}

int createPackage(cmd_struct *pCmdInfo, Options &o)
{
    Create_PackageVD_Param pkg;
    int arrays = 0;
    int rc = prepareArray(pCmdInfo, o, pkg.dg, arrays);
    if (rc >= 0)
        return rc;
    CreateOrModify_VD_Param &vd = pkg.vd;
    memset(&vd, 0, sizeof vd);
    vd.VDID = KX_ID_NONE;
    if (o.seen['n'])
        createSetName(vd.Name, sizeof vd.Name, "%s", o.name);
    else
        createSetName(vd.Name, sizeof vd.Name, "VD_%s_%d", RaidModeStrInCreate(o.raid), arrays + 1);
    vd.RaidMode = o.raid;
    vd.NumParityDisk = pkg.dg.NumParityDisk;
    vd.StripeBlockSize = o.stripe;
    vd.Size = kxU64Make(o.size);
    vd.InitializationOption = o.init;
    vd.SectorCoefficient = 1;
    vd.RoundingScheme = o.rounding;
    vd.CachePolicy = o.policy;

    KX_U8 st = KX_Create_PackageVD(gCurrentAdapter, &pkg);
    if (st == 0)
        fprintf(stream, "Create array %d successfully.\n", pkg.dg.DGID);
    else if (st == KX_ST_NO_RESOURCE)
        printNoResources(pkg.dg.Size);
    else
        fprintf(stream, "\nFailed to create array (error %d: %s).\n", st, ErrorMessage(st));
    return st;
}

int createAuto(const Options &o)
{
    KX_U8 st = KX_LD_DG_QuickCreate(gCurrentAdapter, o.protection);
    if (st == 0)
        fprintf(stream, "Auto create successfully.\n");
    else
        fprintf(stream, "Auto create error,%s\n", ErrorMessage(st));
    return st;
}

} // namespace

int doCreateV2(int argc, char **argv, cmd_struct *pCmdInfo)
{
    Options o;
    int rc = parseOptions(argc, argv, pCmdInfo, o);
    if (rc >= 0)
        return rc;
    switch (o.object) {
    case OBJ_ARRAY: return createArray(pCmdInfo, o);
    case OBJ_PACKAGE: return createPackage(pCmdInfo, o);
    case OBJ_AUTO: return createAuto(o);
    default: return createVd(pCmdInfo, o);
    }
}
