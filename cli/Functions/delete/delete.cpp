/*
 * delete: remove a VD, an array, a spare (it becomes a free disk) or a
 * package VD (an array and its one VD), after asking unless told not to.
 */
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"
#include "parse.h"

namespace {

enum DeleteObject { DEL_NONE, DEL_VD, DEL_ARRAY, DEL_SPARE, DEL_PACKAGE_VD };

/* The tool offers package VDs unless a build switches them off. */
const bool kPackageVdSupported = true;

/* The long option without a letter of its own. */
constexpr int kWaive = 'W';

const char *activityQuestion(KX_U8 bga)
{
    switch (bga) {
    case 1: return "\nVD %d is rebuilding, do you still want to delete it? (y or n)\n";
    case 2:
    case 4: return "\nVD %d is having consistency check, do you still want to delete it? (y or n)\n";
    case 8:
    case 16:
    case 64: return "\nVD %d is initializing, do you still want to delete it? (y or n)\n";
    case 32: return "\nVD %d is migrating, do you still want to delete it? (y or n)\n";
    default: return "\nVD %d is having BGA, do you still want to delete it? (y or n)\n";
    }
}

int deleteVd(KX_U16 vd, bool waive, bool force)
{
    LD_Status status;
    KX_U8 st = queryLDStatusOrSay(vd, status);
    if (st != 0)
        return st;
    if (!waive) {
        int r = confirmOrResult(0, "Are you sure you want to delete this virtual disk? (y or n)\n");
        if (r >= 0)
            return r;
        if (arrayBasedRaid && (status.BgaExt & LD_BGAEXT_MEDIA_PATROL)) {
            r = confirmOrResult(88, "Delete VD will stop Media patrol on PD. Do you want to continue?(y or n)\n");
            if (r >= 0)
                return r;
        }
    }
    /* An offline or foreign VD runs nothing that could be stopped. */
    const bool stop = status.Status != 4 && status.Status != 6;
    if (stop) {
        /* A copy back (bit 7) goes on with the disks; only the rest stops. */
        const KX_U8 activity = status.Bga & 0x7F;
        if (activity) {
            if (!waive && !force) {
                int r = confirmOrResult(0, activityQuestion(activity), vd);
                if (r >= 0)
                    return r;
            }
            /* The delete below stops it too (stop flag); this asks first so
               that the activity ends the way a stop by hand does. */
            KX_LD_BGAControl(gCurrentAdapter, vd, BGA_ACT_STOP_EVERY);
        }
    }
    st = KX_LD_Delete(gCurrentAdapter, vd, stop ? 1 : 0);
    if (st != 0)
        fprintf(stream, "Failed to delete VD %d (error %d: %s).\n", vd, st, ErrorMessage(st));
    else
        fprintf(stream, "Delete VD %d successfully.\n", vd);
    return st;
}

int deleteArray(KX_U16 dg, bool waive)
{
    DG_Info array;
    KX_U8 st = queryDGInfo(dg, array);
    if (st != 0) {
        fprintf(stream, "\nUnable to get info of array %d (error %d: %s).\n", dg, st, ErrorMessage(st));
        return st;
    }
    if (!waive) {
        int r = confirmOrResult(0, "Are you sure you want to delete this array? (y or n)\n");
        if (r >= 0)
            return r;
    }
    st = KX_DG_Delete(gCurrentAdapter, dg);
    if (st != 0)
        fprintf(stream, "Failed to delete array %d (error %d: %s).\n", dg, st, ErrorMessage(st));
    else
        fprintf(stream, "Delete array %d successfully.\n", dg);
    return st;
}

int deleteSpare(KX_U16 pd, bool waive)
{
    HD_RAID_Status_Request req;
    memset(&req, 0, sizeof req);
    req.header.requestType = KX_REQUEST_BY_ID;
    req.header.startingIndexOrId = pd;
    req.header.numRequested = 1;
    KX_U8 st = KX_PD_GetHDRaidStatus(gCurrentAdapter, &req);
    if (st != 0) {
        fprintf(stream, "\nUnable to get info of spare %d (error %d: %s)\n", pd, st, ErrorMessage(st));
        return st;
    }
    const KX_U8 bits = req.hdRAIDStatus[0].Status;
    if (req.header.numReturned < 1 || !(bits & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE))) {
        fprintf(stream, "PD %d is not spare disk.\n", pd);
        return 0;
    }
    /* A spare that already stands in for a member holds that member's data. */
    if (bits & KX_PD_ASSIGNED) {
        fprintf(stream, "Unable to delete spare disk %d  (error %d: %s)\n", pd, KX_ST_SPARE_IN_USE, ErrorMessage(KX_ST_SPARE_IN_USE));
        return KX_ST_SPARE_IN_USE;
    }
    if ((bits & KX_PD_MEDIA_PATROL) && !waive) {
        int r = confirmOrResult(88, "Uset spare disk will stop Media patrol on PD %d. Do you want to continue?(y or n)\n",
                                pd);
        if (r >= 0)
            return r;
    }
    st = KX_PD_Spare2FreeHD(gCurrentAdapter, pd);
    if (st != 0)
        fprintf(stream, "Failed to delete spare disk %d (error %d: %s).\n", pd, st, ErrorMessage(st));
    else
        fprintf(stream, "Delete the spare disk %d successfully.\n", pd);
    return st;
}

int deletePackageVd(KX_U16 id, bool waive)
{
    if (!waive) {
        int r = confirmOrResult(0, "Are you sure you want to delete this PackageVD? (y or n)\n");
        if (r >= 0)
            return r;
    }
    KX_U8 st = KX_PackageVD_Delete(gCurrentAdapter, id, 1);
    if (st != 0)
        fprintf(stream, "Failed to delete PackageVD %d (error %d: %s).\n", id, st, ErrorMessage(st));
    else
        fprintf(stream, "Delete PackageVD %d successfully.\n", id);
    return st;
}

OptionTake takeObject(const char *arg, DeleteObject &object)
{
    if (strcasecmp(arg, "vd") == 0 || strcasecmp(arg, "ld") == 0) {
        object = DEL_VD;
    } else if (strcasecmp(arg, "spare") == 0) {
        object = DEL_SPARE;
    } else if (strcasecmp(arg, "array") == 0) {
        if (!arrayBasedRaid) {
            fputs("-o : array is not supported on this adapter\n", stream);
            return OPT_REFUSED;
        }
        object = DEL_ARRAY;
    } else if (strcasecmp(arg, "packagevd") == 0) {
        if (!kPackageVdSupported) {
            fputs("-o : packagevd is not supported on this adapter\n", stream);
            return OPT_REFUSED;
        }
        object = DEL_PACKAGE_VD;
    } else {
        fprintf(stream, "-o : invalid object '%s'\n", arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

} // namespace

int doDelete(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"waiveconfirmation", cli::kNoArgument, nullptr, kWaive},
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"id", cli::kRequiredArgument, nullptr, 'i'},
        {"force", cli::kNoArgument, nullptr, 'f'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    DeleteObject object = DEL_NONE;
    unsigned long id = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "oi";
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:i:\x01:fh", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o': return takeObject(arg, object);
                              case 'i':
                                  if (!client::parseDecimal(arg, ~0UL, id)) {
                                      fprintf(stream, "-i : invalid id '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  if (id >= 255) {
                                      fprintf(stream, "-i : invalid id %lu\n", id);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'f':
                              case kWaive: return OPT_TAKEN;
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    const bool waive = counts[kWaive] != 0;
    const KX_U16 target = static_cast<KX_U16>(id);
    switch (object) {
    case DEL_VD: return deleteVd(target, waive, counts['f'] != 0);
    case DEL_ARRAY: return deleteArray(target, waive);
    case DEL_SPARE: return deleteSpare(target, waive);
    default: return deletePackageVd(target, waive);
    }
}
