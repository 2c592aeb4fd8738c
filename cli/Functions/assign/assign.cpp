/*
 * assign: make a free disk a global spare, or a spare of one array.
 */
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"

namespace {

constexpr int kWaive = 'W';

} // namespace

int doAssign(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"waiveconfirmation", cli::kNoArgument, nullptr, kWaive},
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"pdid", cli::kRequiredArgument, nullptr, 'd'},
        {"arrayid", cli::kRequiredArgument, nullptr, 'a'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    bool dedicated = false;
    unsigned long pd = 0, dg = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "d";
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:d:a:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  if (strcasecmp(arg, "hba") == 0) {
                                      dedicated = false;
                                  } else if (strcasecmp(arg, "array") == 0) {
                                      if (!arrayBasedRaid) {
                                          fputs("-o : array is not supported on this adapter\n", stream);
                                          return OPT_REFUSED;
                                      }
                                      dedicated = true;
                                  } else {
                                      fprintf(stream, "-o : invalid object '%s', should be HBA or Array\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'd': return takeDecimalId(arg, 0xFFFE, "-d : invalid disk id '%s'\n", pd);
                              case 'a': return takeDecimalId(arg, 0xFFFE, "-a : invalid VD id or array id'%s'\n", dg);
                              case kWaive: return OPT_TAKEN;
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (dedicated && counts['a'] == 0) {
        fputs("Array id is not specified\n", stream);
        return 1;
    }
    if (!dedicated && counts['a'] != 0) {
        fputs("-a option is not allowed when assigning global spare\n", stream);
        return 1;
    }
    const KX_U16 disk = static_cast<KX_U16>(pd);

    HD_MBR_Info mbr;
    memset(&mbr, 0, sizeof mbr);
    mbr.HDCount = 1;
    mbr.HDIDs[0] = disk;
    KX_U8 st = KX_PD_GetMBRInfo(gCurrentAdapter, &mbr);
    if (st != 0) {
        fprintf(stream, "\nFailed to assign spare disk (error %d: %s).\n", st, ErrorMessage(st));
        return 1;
    }
    /* A spare gets overwritten the moment it stands in for a member: only
       an explicit "y" may give away the file system on it. */
    if (mbr.hasMBR[0] && counts[kWaive] == 0) {
        fprintf(stream, "PD %d has file system on it. Data may get lost if it is assigned as spare disk.\n", disk);
        r = confirmOrResult(0, "Are you sure you want to assign it as spare disk? (y or n)\n");
        if (r >= 0)
            return r;
    }
    if (dedicated) {
        st = KX_PD_FreeHD2DGSpare(gCurrentAdapter, disk, static_cast<KX_U16>(dg));
        if (st != 0)
            fprintf(stream, "\nFailed to assign disk %d as a spare disk to array %d (error %d: %s).\n", disk,
                    static_cast<int>(dg), st, ErrorMessage(st));
        else
            fputs("\nSucceeded to assign the disk as a dedicated spare disk.\n", stream);
    } else {
        st = KX_PD_FreeHD2GlobalSpare(gCurrentAdapter, disk);
        if (st != 0)
            fprintf(stream, "\nFailed to assign disk %d as global spare disk (error %d: %s).\n", disk, st,
                    ErrorMessage(st));
        else
            fputs("\nSucceeded to assign the disk as a global spare disk.\n", stream);
    }
    return st;
}
