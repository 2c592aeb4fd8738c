// version: the tool's and the controller library's version.
#include "Functions/handlers.h"
#include "kx_api.h"
#include "Public/dispatch.h"
#include "Public/getopt.h"
#include "Public/globals.h"

int doVersion(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    int c;
    cli::optind = 1;
    while ((c = cli::getopt_long(argc, argv, "\x01:h", longopts, nullptr)) != -1) {
        if (c == 1)
            continue;
        if (c == '?')
            return 1;
        printCommandHelp(pCmdInfo);
        return 0;
    }
    const char *api = KX_API_Version();
    fprintf(stream, "CLI Version: %s\nRaidAPI Version: %s\n", CLI_VERSION, api ? api : "");
    return 0;
}
