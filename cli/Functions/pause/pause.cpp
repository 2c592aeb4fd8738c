/*
 * pause: pause every background activity of one controller. Silent on
 * success.
 */
#include "Functions/handlers.h"
#include "Public/bga.h"
#include "status_text.h"
#include "Public/globals.h"

int doPause(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"controller", cli::kRequiredArgument, nullptr, 'c'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long controller = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "c";
    int r = runOptionLoop(argc, argv, pCmdInfo, "c:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              if (opt != 'c')
                                  return OPT_HELP;
                              /* Controller numbers are 8 bits: a larger one
                                 would wrap around to another controller. */
                              return takeDecimalId(arg, 255, "-c : id should be a number\n", controller);
                          });
    if (r >= 0)
        return r;
    KX_U8 st = KX_LD_PauseAll(static_cast<KX_U8>(controller));
    if (st != 0)
        fprintf(stream, "\nExecutes  fail (error %d: %s).\n", st, ErrorMessage(st));
    return st;
}
