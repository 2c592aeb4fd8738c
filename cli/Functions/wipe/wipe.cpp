/*
 * wipe: erase the configuration data (MDD) a disk carries; with -f even
 * when VDs use the disk.
 */
#include "Functions/handlers.h"
#include "Public/bga.h"
#include "status_text.h"
#include "Public/globals.h"
#include "parse.h"

int doWipe(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"pdid", cli::kRequiredArgument, nullptr, 'd'},
        {"force", cli::kNoArgument, nullptr, 'f'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long id = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "d";
    int r = runOptionLoop(argc, argv, pCmdInfo, "d:\x01:fh", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'd':
                                  if (!client::parseDecimal(arg, ~0UL, id)) {
                                      fprintf(stream, "-d : invalid PD id '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  if (id >= 255) {
                                      fprintf(stream, "-i : invalid id %lu\n", id);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'f': return OPT_TAKEN;
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    const KX_U16 pd = static_cast<KX_U16>(id);
    KX_U8 st = KX_PD_WipeHDMDD(gCurrentAdapter, pd, counts['f'] ? 1 : 0);
    if (st != 0)
        fprintf(stream, "\nWipe MDD on PD %d failed (error %d: %s).\n", pd, st, ErrorMessage(st));
    else
        fprintf(stream, "\nWipe PD %d is returned successfully.\n", pd);
    return st;
}
