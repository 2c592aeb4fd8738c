// version: the tool's and the controller library's version.
#include "Functions/handlers.h"
#include "kx_api.h"
#include "Public/dispatch.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"

int doVersion(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    int counts[128] = {};
    int r = runOptionLoop(argc, argv, pCmdInfo, "\x01:h", longopts, false, counts,
                          [](int, const char *) { return OPT_HELP; });
    if (r >= 0)
        return r;
    const char *api = KX_API_Version();
    fprintf(stream, "CLI Version: %s\nRaidAPI Version: %s\n", CLI_VERSION, api ? api : "");
    return 0;
}
