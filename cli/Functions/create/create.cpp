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

enum { OPT_WAIVE = 0x100, OPT_FORCESIZE };

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
    {"waiveconfirmation", cli::kNoArgument, nullptr, OPT_WAIVE},
    {"forcesize", cli::kNoArgument, nullptr, OPT_FORCESIZE},
    {"output", cli::kRequiredArgument, nullptr, 1},
    {"help", cli::kNoArgument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

/* The disk count a level needs, and its parity count (default filled
   in). Returns false after the level's message. */
bool diskCountFits(KX_U8 raid, int n, bool haveParity, KX_U8 &parity, int maxParity)
{
    int p = haveParity ? parity : -1;
    std::string message;
    if (!client::checkDiskCount(client::LayoutRules::CreateVd, raid, n, p, maxParity, message)) {
        fputs(message.c_str(), stream);
        return false;
    }
    if (p >= 0)
        parity = static_cast<KX_U8>(p);
    return true;
}

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
        if (rs.Status & KX_PD_OFFLINE) {
            fprintf(stream, "Offline disk %d can not be used to create VD.\n", id);
            return 1;
        }
        if (rs.Status & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE)) {
            fprintf(stream, "Spare disk %d can not be used to create VD.\n", id);
            return 1;
        }
        if (rs.Status & KX_PD_FOREIGN) {
            fprintf(stream, "Foreign disk %d can not be used to create VD.\n", id);
            return 1;
        }
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
    Create_LD_Param param;
    memset(&param, 0, sizeof param);
    param.StripeBlockSize = 64;
    param.SectorCoefficient = 1;
    param.LDID = KX_ID_NONE;
    CreatePdList pds;
    char name[12] = "";
    unsigned long long size = 0;
    bool waive = false, forceSize = false;
    int seen[128] = {0};

    cli::optind = 1;
    int c;
    while ((c = cli::getopt_long(argc, argv, "c:o:n:r:q:d:b:t:s:w:p:g:i:\x01:h", kLongOptions, nullptr)) != -1) {
        if (c > 0 && c < 128)
            ++seen[c];
        const char *arg = cli::optarg;
        unsigned long long v = 0;
        std::string bad;
        switch (c) {
        case 1:
            break;
        case '?':
            return 1;
        case 'r':
            param.RaidMode = chooseRaidMode(arg);
            if (param.RaidMode == KX_RAID_NONE) {
                fprintf(stream, "-r : invalid raid mode %s\n", arg);
                return 1;
            }
            param.TandemWaterMark = kxIsTandemRaid(param.RaidMode) ? 90 : 0;
            break;
        case 'd':
            if (!client::parsePdList(arg, client::PdListRules{true, true}, pds.ids, pds.count, bad)) {
                fprintf(stream, "-d : invalid PD ID '%s'\n", bad.c_str());
                return 1;
            }
            break;
        case 'n':
            if (!createNameOption(arg, 10, name))
                return 1;
            break;
        case 'b': {
            KX_U16 stripe = 0;
            if (!createStripeOption(arg, false, stripe))
                return 1;
            param.StripeBlockSize = stripe;
            break;
        }
        case 'c':
            if (info.AdvancedFeatures & (1u << 14)) {
                fprintf(stream, "VD cache is not supported on adapter %d.\n", gCurrentAdapter);
                return 1;
            }
            if (strcmp(arg, "off") == 0) {
                param.CachePolicy = 1;
            } else if (strcmp(arg, "on") == 0) {
                param.CachePolicy = 0;
            } else {
                fprintf(stream, "-c : invalid cache mode '%s'\n", arg);
                return 1;
            }
            break;
        case 'w':
            if (!createWritePolicyOption(arg, false, param.CachePolicy))
                return 1;
            break;
        case 'p':
            if (!createReadPolicyOption(arg, param.CachePolicy))
                return 1;
            break;
        case 'i':
            if (!createInitOption(arg, false, param.InitializationOption))
                return 1;
            break;
        case 'g':
            if (!createRoundingOption(arg, false, param.RoundingScheme))
                return 1;
            break;
        case 'q':
            if (!client::parseDecimal(arg, 255, v)) {
                fprintf(stream, "-q : invalid number of parity disks '%s'\n", arg);
                return 1;
            }
            param.NumParityDisk = static_cast<KX_U8>(v);
            break;
        case 's':
            if (!client::parseDecimal(arg, ~0ULL, size)) {
                fprintf(stream, "-s : invalid size '%s'.\n", arg);
                return 1;
            }
            break;
        case 'o':
            if (strcmp(arg, "array") == 0) {
                fprintf(stream, "-o : array is not supported on this adapter\n");
                return 1;
            }
            break;
        case OPT_WAIVE:
            waive = true;
            break;
        case OPT_FORCESIZE:
            forceSize = true;
            break;
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }

    for (const char *p = "rqdwpnbsc"; *p; ++p) {
        if (seen[static_cast<int>(*p)] > 1) {
            fputs(ErrorDuplicate, stream);
            return 1;
        }
    }
    if (!seen['r'] || !seen['d']) {
        if (!seen['r'])
            fprintf(stream, OptionRequired, pCmdInfo->cmd, 'r');
        if (!seen['d'])
            fprintf(stream, OptionRequired, pCmdInfo->cmd, 'd');
        return 1;
    }
    if (seen['n'] && !createNameCharsOk(name))
        return 1;

    const KX_U8 raid = param.RaidMode;
    /* These adapters size a VD themselves unless the user insists. */
    if (info.DevID > 0x6300) {
        if (forceSize)
            param.ReservedForApp = 1;
        else if (!kxIsTandemRaid(raid))
            size = 0;
    }
    param.Size = kxU64Make(size);

    if (seen['q'] && raid != 6 && raid != 96) {
        fprintf(stream, "RAID mode %s don't support the setting of parity disks.\n", RaidModeStr(raid));
        return KX_ST_NOT_SUPPORTED;
    }

    if (!seen['c']) {
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
    if (!diskCountFits(raid, pds.count, seen['q'] != 0, param.NumParityDisk, info.MaxParityDisks))
        return 1;

    int rc = checkDisks(pds, raid);
    if (rc >= 0)
        return rc;
    param.HDCount = static_cast<KX_U8>(pds.count);
    memcpy(param.HDIDs, pds.ids, sizeof(KX_U16) * static_cast<size_t>(pds.count));

    if (!waive) {
        rc = createConfirmDisks(pds.ids, pds.count, "VD");
        if (rc >= 0)
            return rc;
    }

    if (seen['n']) {
        createSetName(param.Name, sizeof param.Name, "%s", name);
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
