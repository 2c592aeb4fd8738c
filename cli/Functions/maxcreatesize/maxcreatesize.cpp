/*
 * maxcreatesize: the largest VD of a RAID level that a set of disks
 * allows.
 */
#include <string.h>

#include "Functions/handlers.h"
#include "Public/bga.h"
#include "status_text.h"
#include "Public/globals.h"

int doGetMaxsize(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"raidmode", cli::kRequiredArgument, nullptr, 'r'},
        {"paritydisks", cli::kRequiredArgument, nullptr, 'q'},
        {"pdid", cli::kRequiredArgument, nullptr, 'd'},
        {"gbrounding", cli::kRequiredArgument, nullptr, 'g'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    LayoutOptions o;
    KX_U8 rounding = 0;
    int counts[128] = {};
    /* The letters of create that this command shares its option string
       with (n, b, s, w, p, i) are accepted and mean nothing here. The
       "-output" pair works as with every other command. */
    OptionLoopRules rules;
    rules.required = "rd";
    int r = runOptionLoop(argc, argv, pCmdInfo, "n:r:q:d:b:s:w:p:g:i:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'r':
                              case 'q':
                              case 'd': return takeLayoutOption(opt, arg, false, o);
                              case 'g':
                                  if (strcmp(arg, "0") == 0 || strcmp(arg, "1") == 0 || strcmp(arg, "10") == 0) {
                                      rounding = arg[0] == '0' ? 0 : arg[1] ? 2 : 1;
                                      return OPT_IGNORED;
                                  }
                                  fprintf(stream, "-g : invalid giga byte rounding scheme '%s'\n", arg);
                                  return OPT_REFUSED;
                              case 'h':
                                  fputs(pCmdInfo->cmdHelp, stream);
                                  return OPT_DONE;
                              default: return OPT_IGNORED;
                              }
                          });
    if (r >= 0)
        return r;
    if (!kxRaidOffered(gAdapterInfo[gCurrentAdapter].LogicalDriverMode, o.raid)) {
        fputs("Specified RAID mode is not supported.\n", stream);
        return 1;
    }
    if (!checkLayoutDiskCount(o.raid, o.pdCount, &o.parity, false))
        return 1;
    for (int i = 0; i < o.pdCount; ++i) {
        HD_RAID_Status raid;
        KX_U8 st = queryHDRaidStatus(o.pds[i], raid);
        if (st != 0) {
            fprintf(stream, "Failed to get status for PD %d (error %d: %s)\n", o.pds[i], st, ErrorMessage(st));
            return st;
        }
        if (raid.Status & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE)) {
            fprintf(stream, "Spare disk %d can not be used to create VD.\n", o.pds[i]);
            return 1;
        }
        if (raid.Status & KX_PD_OFFLINE) {
            fprintf(stream, "Offline disk %d can not be used to create VD.\n", o.pds[i]);
            return 1;
        }
    }
    Create_LD_Param param;
    memset(&param, 0, sizeof param);
    param.RaidMode = o.raid;
    param.HDCount = static_cast<KX_U8>(o.pdCount);
    param.NumParityDisk = static_cast<KX_U8>(o.parity);
    param.RoundingScheme = rounding;
    param.StripeBlockSize = 64;
    memcpy(param.Name, "Virtual raid", sizeof "Virtual raid");
    memcpy(reinterpret_cast<char *>(&param) + offsetof(Create_LD_Param, HDIDs), o.pds,
           sizeof(KX_U16) * static_cast<size_t>(o.pdCount));
    KX_U8 st = KX_LD_GetMaxSize(gCurrentAdapter, &param);
    if (st != 0)
        fprintf(stream, "\nFailed to get Maxsize (error %d: %s).\n", st, ErrorMessage(st));
    else
        fprintf(stream, "\nThe maxsize that VD can create with is:   %llu K\n",
                static_cast<unsigned long long>(kxU64Value(param.Size)));
    return st;
}
