/*
 * copyback: pause or resume the copy back of an array (the data of a spare
 * that stood in for a member moving back to the replaced disk). Silent on
 * success; a copy back is started by the controller, never from here.
 */
#include "Functions/handlers.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "Public/globals.h"
#include "Public/utils.h"

namespace {

/* Only pause and resume exist: the other slots are never reached with
   them, and an aborted copy back reads like none at all. */
const BgaStateTexts kCopyBackTexts = {
    nullptr,
    nullptr,
    nullptr,
    "\nUnable to pause copyback on array %d (error %d: %s)\n",
    "\nArray %d is currently doing copy back.\n",
    nullptr,
    nullptr,
    "\nArray %d is not doing any background operation.\n",
    nullptr,
    "\nCopy back can not be resumed on array %d (error %d: %s)\n",
    "\narray %d copy back is currently paused\n",
    "\nArray %d is not doing any background operation.\n",
};

} // namespace

int doCopyBack(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"id", cli::kRequiredArgument, nullptr, 'l'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    KX_U8 action = BGA_ACT_INVALID;
    unsigned long id = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.helpWhenBare = true;
    rules.required = "al";
    int r = runOptionLoop(argc, argv, pCmdInfo, "a:l:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'a':
                                  action = chooseBGAAction(arg);
                                  if (action != BGA_ACT_PAUSE && action != BGA_ACT_RESUME) {
                                      fprintf(stream, "-a : invalid action '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'l': return takeDecimalId(arg, 0xFFFE, "-l : invalid array id '%s'\n", id);
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    const KX_U16 dg = static_cast<KX_U16>(id);
    DG_Info array;
    KX_U8 st = queryDGInfoOrSay(dg, array);
    if (st != 0)
        return st;
    if (array.BgaType != 128) {
        fprintf(stream, "\nArray %d is not doing copy back.\n", dg);
        return 0;
    }
    return bgaControlByState(array.BgaState, action, dg, kCopyBackTexts, KX_DG_BGAControl);
}
