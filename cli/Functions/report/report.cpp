// report -i <VD ID>: reports a conflicted virtual disk to the operating
// system.
#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
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
    KX_U32 id = 0;
    int counts[128] = {};
    int r = runOptionLoop(argc, argv, pCmdInfo, "i:\x01:h", longopts, false, counts, [&](int opt, const char *arg) {
        if (opt != 'i')
            return OPT_HELP;
        if (!parseDecOrHex32(arg, &id)) {
            fprintf(stream, "-i: id should be a number\n");
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    });
    if (r >= 0)
        return r;
    if (counts['i'] == 0) {
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
