/*
 * cc: start a consistency check of a VD (repairing, or checking only), or
 * stop, pause, resume or restart the one it has.
 */
#include <strings.h>

#include "Functions/handlers.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"

namespace {

const BgaStateTexts kCcTexts = {
    "Abort successfully\n",
    "\nAbort Consistency check on VD %d failed (error %d: %s).\n",
    "Pause successfully\n",
    "\nPause Consistency check on VD %d failed (error %d: %s).\n",
    "\nVD %d is having consistency check.\n",
    "Restart successfully\n",
    "\nUnable to restart consistency check on VD %d (error %d: %s)\n",
    "\nVD %d consistency check is aborted and need to restart.\n",
    "Resume successfully\n",
    "\nUnable to resume consistency chec on VD %d (error %d: %s).\n",
    "\nConsistency check on VD %d is paused, resume it first.\n",
    "\nVD %d is not having any background activity.\n",
};

} // namespace

int doCC(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"id", cli::kRequiredArgument, nullptr, 'l'},
        {"type", cli::kRequiredArgument, nullptr, 't'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    KX_U8 action = BGA_ACT_START;
    KX_U8 repair = 1;
    unsigned long id = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.helpWhenBare = true;
    rules.required = "l";
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:a:l:t:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o': return takeVdObject(arg);
                              case 'a': return takeAction(arg, false, action);
                              case 'l': return takeDecimalId(arg, 0xFFFE, "-l : invalid vd '%s'\n", id);
                              case 't':
                                  if (strcasecmp(arg, "sync") == 0 || strcasecmp(arg, "check") == 0) {
                                      repair = strcasecmp(arg, "sync") == 0;
                                      return OPT_TAKEN;
                                  }
                                  fprintf(stream, "-t : invalid argument '%s'\n", arg);
                                  return OPT_REFUSED;
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    const KX_U16 vd = static_cast<KX_U16>(id);
    const VdStartTexts start = {
        "Consistency check for RAID 0 is not supported.\n",
        "\nVD %d is having background activities.\n",
        repair ? "Fix VD will stop Media patrol on PD. Do you want to continue?(y or n)\n"
               : "Check VD will stop Media patrol on PD. Do you want to continue?(y or n)\n",
    };
    LD_Status status;
    r = prepareVdActivity(vd, action == BGA_ACT_START, start, status);
    if (r >= 0)
        return r;
    if (action == BGA_ACT_START) {
        KX_U8 st = KX_LD_StartConsistencyCheck(gCurrentAdapter, vd, repair);
        if (st != 0)
            fprintf(stream, "\nUnable to start consistency check on VD %d (error %d: %s)\n", vd, st, ErrorMessage(st));
        else
            fputs("Start consistency check\n", stream);
        return st;
    }

    if (status.Bga != 2 && status.Bga != 4) {
        fprintf(stream, "\nVD %d is not in consistency check mode.\n", vd);
        return 0;
    }
    return bgaControlByState(status.BgaState, action, vd, kCcTexts, KX_LD_BGAControl);
}
