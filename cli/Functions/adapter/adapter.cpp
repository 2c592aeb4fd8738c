// adapter [-i <id>]: show the adapter count and the current adapter, or
// make another adapter current (and with it the matching command tables).
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include "Functions/handlers.h"
#include "kx_api.h"
#include "Public/dispatch.h"
#include "Public/getopt.h"
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
    bool select = false;
    unsigned long id = 0;
    int c;
    cli::optind = 1;
    while ((c = cli::getopt_long(argc, argv, "i:\x01:h", longopts, nullptr)) != -1) {
        switch (c) {
        case 1:
            break;
        case 'i': {
            if (select) {
                fputs(ErrorDuplicate, stream);
                return 1;
            }
            if (!isNumber(cli::optarg)) {
                fprintf(stream, "-i : invalid adapter id '%s'\n", cli::optarg);
                return 1;
            }
            errno = 0;
            id = strtoul(cli::optarg, nullptr, 10);
            if (id >= gNumAdaptersFound) {
                if (errno == 0 && id <= INT_MAX)
                    fprintf(stream, "Adapter %d does not exist.\n", static_cast<int>(id));
                else
                    fprintf(stream, "Adapter %s does not exist.\n", cli::optarg);
                return 1;
            }
            select = true;
            break;
        }
        case '?':
            return 1;
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }
    if (!select) {
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
