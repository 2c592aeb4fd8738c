// error -c <code>: the text of a controller status code.
#include <stdlib.h>
#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"

int doError(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"controller", cli::kRequiredArgument, nullptr, 'c'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long code = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "c";
    int r = runOptionLoop(argc, argv, pCmdInfo, "c:\x01:h", longopts, rules, counts, [&](int opt, const char *arg) {
        if (opt != 'c')
            return OPT_HELP;
        if (!isNumber(arg)) {
            fputs("-c : id should be a number\n", stream);
            return OPT_REFUSED;
        }
        code = strtoul(arg, nullptr, 10);
        if (code > 255) {
            fputs("Invalid error code\n", stream);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    });
    if (r >= 0)
        return r;
    fprintf(stream, "\nError code %d: %s.\n", static_cast<int>(code),
            ErrorMessage(static_cast<KX_U8>(code)));
    return 0;
}
