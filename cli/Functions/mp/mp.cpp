/*
 * mp: start media patrol on a member disk or a spare, or stop, pause,
 * resume or restart the one it runs. Silent on success.
 */
#include "Functions/handlers.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"

namespace {

const BgaStateTexts kMediaPatrolTexts = {
    "Abort successfully\n",
    "\nUnable to abort media patrol on PD %d (error %d: %s)\n",
    "Pause successfully\n",
    "\nUnable to pause media patrol on PD %d (error %d: %s)\n",
    "\nMedai patrol is in progress on PD %d.\n",
    nullptr,
    "\nUnable to restart media patrol on HD %d (error %d: %s)\n",
    "\nMedia patrol on PD %d is aborted and need to restart.\n",
    nullptr,
    "\nUnable to resume media patrol on HD %d(error %d: %s)\n",
    "\nMedia patrol on PD %d is currently paused\n",
    "\nPD %d is currently does not have any background activity.\n",
};

int startMediaPatrol(KX_U16 pd, const HD_BGA_Status &bga)
{
    if (bga.Bga != 0) {
        fprintf(stream, "\nPD %d is currently having background activity.\n", pd);
        return 0;
    }
    HD_RAID_Status raid;
    KX_U8 st = queryHDRaidStatus(pd, raid);
    if (st != 0) {
        fprintf(stream, "\nUnable to get status of PD %d.\n", pd);
        return st;
    }
    if (!(raid.Status & (KX_PD_ASSIGNED | KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE))) {
        fprintf(stream, "\nPD %d is not a spare or assigned disk.\n", pd);
        return KX_ST_NOT_SPARE;
    }
    st = KX_PD_StartMediaPatrol(gCurrentAdapter, pd);
    if (st != 0)
        fprintf(stream, "\nFailed to start media patrol on PD %d (error %d: %s)\n", pd, st, ErrorMessage(st));
    return st;
}

} // namespace

int doMP(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"pdid", cli::kRequiredArgument, nullptr, 'd'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    KX_U8 action = BGA_ACT_START;
    const char *actionWord = "start";
    unsigned long id = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.helpWhenBare = true;
    /* Unlike its siblings, mp wants the action spelt out: "mp -d 2"
       alone is refused, not taken as a start. */
    rules.required = "ad";
    int r = runOptionLoop(argc, argv, pCmdInfo, "a:d:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'a':
                                  actionWord = arg;
                                  return takeAction(arg, false, action);
                              case 'd': return takeDecimalId(arg, 0xFFFE, "-d : invalid PD id '%s'\n", id);
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (!(gAdapterInfo[gCurrentAdapter].Features & 0x10)) {
        fputs("Media patrol is not supported.\n", stream);
        return 1;
    }
    const KX_U16 pd = static_cast<KX_U16>(id);
    HD_BGA_Status bga;
    KX_U8 st = queryHDBgaStatus(pd, bga);
    if (st != 0) {
        fprintf(stream, "\nFailed to %s media patrol on PD %d (error %d: %s)\n", actionWord, pd, st, ErrorMessage(st));
        return st;
    }
    if (action == BGA_ACT_START)
        return startMediaPatrol(pd, bga);
    if (bga.Bga != 1) {
        fprintf(stream, "\nPD %d is not in media patrol state.\n", pd);
        return 0;
    }
    return bgaControlByState(bga.BgaStatus, action, pd, kMediaPatrolTexts, KX_PD_BGAControl);
}
