/*
 * import: take over a foreign VD (one whose disks come from another
 * controller). Silent on success.
 */
#include <limits.h>

#include "Functions/handlers.h"
#include "Public/bga.h"
#include "status_text.h"
#include "Public/globals.h"
#include "parse.h"

int doImport(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"id", cli::kRequiredArgument, nullptr, 'i'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long id = 0;
    int counts[128] = {};
    int r = runOptionLoop(argc, argv, pCmdInfo, "i:\x01:h", longopts, false, counts,
                          [&](int opt, const char *arg) {
                              if (opt != 'i')
                                  return OPT_HELP;
                              /* A word that is no number names no VD: it
                                 falls to the range check below. */
                              if (!client::parseDecimalOrHex(arg, ULONG_MAX, id)) {
                                  fputs("-i: id should be a number\n", stream);
                                  id = 255;
                              }
                              return OPT_TAKEN;
                          });
    if (r >= 0)
        return r;
    if (counts['i'] == 0) {
        fputs("missing VD id\n", stream);
        return 1;
    }
    if (id >= 255) {
        fprintf(stream, "-i : invalid id %lu\n", id);
        return 1;
    }
    KX_U8 st = KX_LD_Import(gCurrentAdapter, static_cast<KX_U16>(id));
    if (st != 0)
        fprintf(stream, "Failed to import VD (error %d: %s)\n", st, ErrorMessage(st));
    return st;
}
