/*
 * create on adapters without arrays: one VD straight from disks with a
 * single KX_LD_Create call, made only after every option has been checked
 * against the adapter's capabilities and every disk against its state.
 */
#include <stdio.h>
#include <string.h>

#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "parse.h"
#include "Public/utils.h"
#include "create_common.h"

namespace {

enum { OPT_FORCESIZE = CREATE_OPT_OWN };

const cli::option kLongOptions[] = {
    {"raidmode", cli::kRequiredArgument, nullptr, 'r'},
    {"pdid", cli::kRequiredArgument, nullptr, 'd'},
    {"name", cli::kRequiredArgument, nullptr, 'n'},
    {"blocksize", cli::kRequiredArgument, nullptr, 'b'},
    {"cache", cli::kRequiredArgument, nullptr, 'c'},
    {"writepolicy", cli::kRequiredArgument, nullptr, 'w'},
    {"readpolicy", cli::kRequiredArgument, nullptr, 'p'},
    {"init", cli::kRequiredArgument, nullptr, 'i'},
    {"gbrounding", cli::kRequiredArgument, nullptr, 'g'},
    {"paritydisks", cli::kRequiredArgument, nullptr, 'q'},
    {"size", cli::kRequiredArgument, nullptr, 's'},
    {"waiveconfirmation", cli::kNoArgument, nullptr, CREATE_OPT_WAIVE},
    {"forcesize", cli::kNoArgument, nullptr, OPT_FORCESIZE},
    {"output", cli::kRequiredArgument, nullptr, 1},
    {"help", cli::kNoArgument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

/* Each disk must exist, be usable and hold no block of another VD.
   Returns -1 when all can be used, else the command's result. */
int checkDisks(const CreatePdList &pds, KX_U8 raid)
{
    const Adapter_Info &info = gAdapterInfo[gCurrentAdapter];
    for (int i = 0; i < pds.count; ++i) {
        KX_U16 id = pds.ids[i];
        if (id > info.MaxHD) {
            fprintf(stream, "Wrong disk %d input.\n", id);
            return 1;
        }
        HD_RAID_Status rs;
        KX_U8 st = queryHDRaidStatus(id, rs);
        if (st != 0) {
            fprintf(stream, "Failed to get status for PD %d (error %d: %s)\n", id, st, ErrorMessage(st));
            return 1;
        }
        if (!createDiskStateUsable(id, rs.Status, false))
            return 1;
        /* A Tandem level is built over disks that already carry data. */
        if (kxIsTandemRaid(raid))
            continue;
        st = HDisFreeDiskForBirch(id, KX_ID8_NONE);
        if (st == KX_ST_BLOCK_OF_VD) {
            fprintf(stream, "Non-free disk %d can not be used to create VD.\n", id);
            return 1;
        }
        if (st != 0) {
            fprintf(stream, "Can not get disk %d information(error %d: %s).\n", id, st, ErrorMessage(st));
            return st;
        }
    }
    return -1;
}

} // namespace

int doCreate(int argc, char **argv, cmd_struct *pCmdInfo)
{
    const Adapter_Info &info = gAdapterInfo[gCurrentAdapter];
    CreateOptions o;
    bool forceSize = false;

    OptionLoopRules rules;
    rules.once = "rqdwpnbsc";
    int rc = runOptionLoop(argc, argv, pCmdInfo, "c:o:n:r:q:d:b:t:s:w:p:g:i:\x01:h", kLongOptions, rules, o.seen,
                           [&](int opt, const char *arg) {
                               switch (opt) {
                               case 'o':
                                   /* Anything but an array is taken for the VD this
                                      command always makes. */
                                   if (strcmp(arg, "array") == 0) {
                                       fprintf(stream, "-o : array is not supported on this adapter\n");
                                       return OPT_REFUSED;
                                   }
                                   return OPT_TAKEN;
                               case OPT_FORCESIZE:
                                   forceSize = true;
                                   return OPT_TAKEN;
                               default:
                                   return createTakeOption(opt, arg, false, o);
                               }
                           });
    if (rc >= 0)
        return rc;
    if (!createRaidAndDisksGiven(o, pCmdInfo->cmd))
        return 1;
    if (o.seen['n'] && !createNameCharsOk(o.name))
        return 1;

    const KX_U8 raid = o.raid;
    Create_LD_Param param;
    memset(&param, 0, sizeof param);
    param.LDID = KX_ID_NONE;
    param.RaidMode = raid;
    param.TandemWaterMark = kxIsTandemRaid(raid) ? 90 : 0;
    param.StripeBlockSize = o.stripe;
    param.SectorCoefficient = 1;
    param.CachePolicy = o.policy;
    param.InitializationOption = o.init;
    param.RoundingScheme = o.rounding;
    /* These adapters size a VD themselves unless the user insists. */
    unsigned long long size = o.size;
    if (info.DevID > 0x6300) {
        if (forceSize)
            param.ReservedForApp = 1;
        else if (!kxIsTandemRaid(raid))
            size = 0;
    }
    param.Size = kxU64Make(size);

    rc = createParityAllowed(o);
    if (rc >= 0)
        return rc;

    if (!o.seen['c']) {
        BBU_Info bbu;
        memset(&bbu, 0, sizeof bbu);
        bool writeBack = (info.AdvancedFeatures & (1u << 3)) && KX_BBU_GetInfo(gCurrentAdapter, &bbu) == 0 &&
                         bbu.status != 0 && !(info.AdvancedFeatures & (1u << 14));
        if (!writeBack && !(raid == 12 && (info.AdvancedFeatures & (1u << 25))))
            param.CachePolicy |= 1;
    }

    if (!kxRaidOffered(info.LogicalDriverMode, raid)) {
        fprintf(stream, "Specified RAID mode is not supported.\n");
        return 1;
    }
    if (!createDiskCountFits(client::LayoutRules::CreateVd, o))
        return 1;
    param.NumParityDisk = o.parity;

    const CreatePdList &pds = o.pds;
    rc = checkDisks(pds, raid);
    if (rc >= 0)
        return rc;
    param.HDCount = static_cast<KX_U8>(pds.count);
    memcpy(param.HDIDs, pds.ids, sizeof(KX_U16) * static_cast<size_t>(pds.count));

    if (!o.waive) {
        rc = createConfirmDisks(pds.ids, pds.count, "VD");
        if (rc >= 0)
            return rc;
    }

    if (o.seen['n']) {
        createSetName(param.Name, sizeof param.Name, "%s", o.name);
    } else {
        int vds = 0;
        rc = createCountObjects(false, vds);
        if (rc != 0)
            return rc;
        createSetName(param.Name, sizeof param.Name, kxIsTandemRaid(raid) ? "%s_%d" : "VD_%s_%d",
                      RaidModeStrInCreate(raid), vds + 1);
    }

    KX_U8 st = KX_LD_Create(gCurrentAdapter, &param);
    if (st != 0)
        fprintf(stream, "\nFailed to create virtual disk (error %d: %s).\n", st, ErrorMessage(st));
    return st;
}
