// rescan -a scan|getcount [-f]: rescans the adapters (adapter 0 becomes the
// current one and the command tables follow it), or shows the rescan
// counter.
#include <stdlib.h>
#include <string.h>

#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "kx_api.h"

int doRescan(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"force", cli::kNoArgument, nullptr, 'f'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    const char *action = nullptr;
    KX_BOOLEAN force = 0;
    int counts[128] = {};
    /* --force may be said twice; the action only once. */
    OptionLoopRules rules;
    rules.once = "a";
    rules.required = "a";
    int r = runOptionLoop(argc, argv, pCmdInfo, "a:f\x01:h", longopts, rules, counts, [&](int opt, const char *arg) {
        switch (opt) {
        case 'a':
            action = arg;
            return OPT_TAKEN;
        case 'f':
            force = 1;
            return OPT_TAKEN;
        default:
            return OPT_HELP;
        }
    });
    if (r >= 0)
        return r;
    if (strcmp(action, "getcount") == 0) {
        fprintf(stream, "\nGet Rescan Count : (%d).\n", KX_API_GetRescanCount(force));
        return 0;
    }
    if (strcmp(action, "scan") != 0) {
        fprintf(stream, "Invalid action!\n");
        return 1;
    }
    const KX_U8 st = KX_API_RescanAdapter();
    if (st != 0) {
        fprintf(stream, "\nScan Adapter failed (error %d: %s).\n", st, ErrorMessage(st));
        return st;
    }
    fprintf(stream, "\nScan Adapter is returned successfully.\n");
    KX_U8 count = KX_Adapter_GetCount();
    gCurrentAdapter = 0;
    if (count == 0) {
        fprintf(stream, "No adapter is found. Exit!\n");
        KX_API_Finalize();
        fflush(stdout);
        if (stream != stdout)
            fclose(stream);
        exit(1);
    }
    /* The adapter table has 16 slots; adapters beyond them are left out,
       as at start-up. */
    if (count > CLI_MAX_ADAPTERS) {
        fprintf(stream, "CLI supports %d adapters!\n", CLI_MAX_ADAPTERS);
        count = CLI_MAX_ADAPTERS;
    }
    gNumAdaptersFound = count;
    fprintf(stream, "Total number of adapters: %d\n", gNumAdaptersFound);
    fprintf(stream, "Current default adapter ID for CLI commands: %d\n", gCurrentAdapter);
    /* Slots of adapters that are gone read all zero again. */
    memset(gAdapterInfo, 0, sizeof gAdapterInfo);
    for (KX_U8 a = 0; a < count; ++a) {
        KX_U8 filled = 0;
        KX_Adapter_GetInfo(a, &filled, &gAdapterInfo[a]);
    }
    chooseCmdTables(0);
    return 0;
}
