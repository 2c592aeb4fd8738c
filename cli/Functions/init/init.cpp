/*
 * init: start a full (background) initialization of a VD, or stop, pause,
 * resume or restart the one it has.
 */

#include "Functions/handlers.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"

namespace {

const BgaStateTexts kInitTexts = {
    "Abort successfully\n",
    "\nUnable to abort initialization on VD %d (error %d: %s).\n",
    "Pause successfully\n",
    "\nUnable to pause initialization on VD %d (error %d: %s).\n",
    "\nVD %d is initializing.\n",
    "Resume successfully\n",
    "\nUnable to restart initialization on VD %d (error %d: %s)\n",
    "\nVD %d initialization was aborted and need to restart.\n",
    "Resume successfully\n",
    "\nUnable to resume initialization on Ld %d (error %d: %s).\n",
    "\nVD %d initialization is in pause state, you can resume it only.\n",
    "\nVD %d is not having any background activity.\n",
};

bool isInitialization(KX_U8 bga)
{
    return bga == 8 || bga == 16 || bga == 64;
}

} // namespace

int doInit(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"id", cli::kRequiredArgument, nullptr, 'l'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    KX_U8 action = BGA_ACT_START;
    unsigned long id = 0;
    int counts[128] = {};
    /* "t" stands in the option string but init has no type: like any
       option it does not handle, it shows the help. */
    OptionLoopRules rules;
    rules.helpWhenBare = true;
    rules.required = "l";
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:a:l:t:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o': return takeVdObject(arg);
                              case 'a': return takeAction(arg, false, action);
                              case 'l': return takeDecimalId(arg, 0xFFFE, "-l : invalid vd '%s'\n", id);
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    const KX_U16 vd = static_cast<KX_U16>(id);
    static const VdStartTexts kStart = {
        "Full initialization for RAID 0 is not supported.\n",
        "\nVD %d is currently having background activities.\n",
        "Init VD will stop Media patrol on PD. Do you want to continue?(y or n)\n",
    };
    LD_Status status;
    r = prepareVdActivity(vd, action == BGA_ACT_START, kStart, status);
    if (r >= 0)
        return r;
    if (action == BGA_ACT_START) {
        KX_U8 st = KX_LD_StartINIT(gCurrentAdapter, vd, 2);
        if (st != 0)
            fprintf(stream, "\nUnable to start initialization on VD %d (error %d: %s).\n", vd, st, ErrorMessage(st));
        else
            fputs("Start initialization successfully\n", stream);
        return st;
    }

    if (!isInitialization(status.Bga)) {
        fprintf(stream, "\nVD %d is not initializing.\n", vd);
        return 0;
    }
    return bgaControlByState(status.BgaState, action, vd, kInitTexts, KX_LD_BGAControl);
}
