// adapter [-i <id>]: show the adapter count and the current adapter, or
// make another adapter current (and with it the matching command tables).
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include "Functions/handlers.h"
#include "kx_api.h"
#include "Public/dispatch.h"
#include "Public/getopt.h"
#include "Public/options.h"
#include "Public/globals.h"
#include "Public/utils.h"

int doAdapter(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"id", cli::kRequiredArgument, nullptr, 'i'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long id = 0;
    int counts[128] = {};
    /* A second -i is refused before its value is looked at. */
    OptionLoopRules rules;
    rules.duplicates = DUP_WHEN_MET;
    int r = runOptionLoop(argc, argv, pCmdInfo, "i:\x01:h", longopts, rules, counts, [&](int opt, const char *arg) {
        if (opt != 'i')
            return OPT_HELP;
        if (!isNumber(arg)) {
            fprintf(stream, "-i : invalid adapter id '%s'\n", arg);
            return OPT_REFUSED;
        }
        errno = 0;
        id = strtoul(arg, nullptr, 10);
        if (id >= gNumAdaptersFound) {
            if (errno == 0 && id <= INT_MAX)
                fprintf(stream, "Adapter %d does not exist.\n", static_cast<int>(id));
            else
                fprintf(stream, "Adapter %s does not exist.\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    });
    if (r >= 0)
        return r;
    if (counts['i'] == 0) {
        KX_U8 count = KX_Adapter_GetCount();
        /* Handlers index the 16-slot adapter table with numbers below it. */
        if (count > CLI_MAX_ADAPTERS)
            count = CLI_MAX_ADAPTERS;
        gNumAdaptersFound = count;
        fprintf(stream, "Total number of adapters: %d\n", gNumAdaptersFound);
        fprintf(stream, "Current default adapter ID for CLI commands: %d\n", gCurrentAdapter);
        return 0;
    }
    gCurrentAdapter = static_cast<KX_U8>(id);
    chooseCmdTables(gCurrentAdapter);
    return 0;
}
