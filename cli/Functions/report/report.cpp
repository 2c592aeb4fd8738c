// report -i <VD ID>: reports a conflicted virtual disk to the operating
// system.
#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/utils.h"
#include "kx_api.h"

int doReport(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"id", cli::kRequiredArgument, nullptr, 'i'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    int nId = 0;
    KX_U32 id = 0;
    int c;
    cli::optind = 1;
    while ((c = cli::getopt_long(argc, argv, "i:\x01:h", longopts, nullptr)) != -1) {
        switch (c) {
        case 1:
            break;
        case 'i':
            ++nId;
            if (!parseDecOrHex32(cli::optarg, &id)) {
                fprintf(stream, "-i: id should be a number\n");
                return 1;
            }
            break;
        case '?':
            return 1;
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }
    if (nId > 1) {
        fputs(ErrorDuplicate, stream);
        return 1;
    }
    if (!nId) {
        fprintf(stream, "missing VD id\n");
        return 1;
    }
    if (id >= 255) {
        fprintf(stream, "-i : invalid id %lu\n", static_cast<unsigned long>(id));
        return 1;
    }
    const KX_U8 st = KX_LD_Report(gCurrentAdapter, static_cast<KX_U16>(id));
    if (st != 0) {
        fprintf(stream, "Failed to report VD (error %d: %s)\n", st, ErrorMessage(st));
        return st;
    }
    return 0;
}
