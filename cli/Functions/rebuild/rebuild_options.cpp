#include "Functions/rebuild/rebuild_options.h"

#include <stdio.h>

#include "Public/dispatch.h"
#include "Public/globals.h"

int parseRebuildOptions(int argc, char **argv, cmd_struct *pCmdInfo, const char *badIdFormat, RebuildRequest &req)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"id", cli::kRequiredArgument, nullptr, 'l'},
        {"pdid", cli::kRequiredArgument, nullptr, 'd'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long id = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.helpWhenBare = true;
    rules.required = "l";
    int r = runOptionLoop(argc, argv, pCmdInfo, "a:l:d:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'a': return takeAction(arg, false, req.action);
                              case 'l': return takeDecimalId(arg, 0xFFFE, badIdFormat, id);
                              case 'd': return takePdList(arg, true, req.pds, req.pdCount);
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (req.action == BGA_ACT_START) {
        if (counts['d'] == 0) {
            fprintf(stream, OptionRequired, pCmdInfo->cmd, 'd');
            return 1;
        }
        if (req.pdCount == 0) {
            fputs("At least one target PD is required\n", stream);
            return 1;
        }
    }
    req.id = static_cast<KX_U16>(id);
    return -1;
}
