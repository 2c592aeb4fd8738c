// error -c <code>: the text of a controller status code.
#include <stdlib.h>
#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/utils.h"

int doError(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"controller", cli::kRequiredArgument, nullptr, 'c'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {nullptr, 0, nullptr, 0},
    };
    int given = 0;
    unsigned long code = 0;
    int c;
    cli::optind = 1;
    while ((c = cli::getopt_long(argc, argv, "c:\x01:h", longopts, nullptr)) != -1) {
        switch (c) {
        case 1:
            break;
        case 'c':
            if (!isNumber(cli::optarg)) {
                fputs("-c : id should be a number\n", stream);
                return 1;
            }
            code = strtoul(cli::optarg, nullptr, 10);
            if (code > 255) {
                fputs("Invalid error code\n", stream);
                return 1;
            }
            ++given;
            break;
        case '?':
            return 1;
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }
    if (given > 1) {
        fputs(ErrorDuplicate, stream);
        return 1;
    }
    if (given == 0) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'c');
        return 1;
    }
    fprintf(stream, "\nError code %d: %s.\n", static_cast<int>(code),
            ErrorMessage(static_cast<KX_U8>(code)));
    return 0;
}
