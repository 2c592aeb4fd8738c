/*
 * locate: switch the locate LED of a disk on or off.
 */
#include <strings.h>

#include <limits.h>

#include "Functions/handlers.h"
#include "Public/bga.h"
#include "status_text.h"
#include "Public/globals.h"
#include "parse.h"

int doLocate(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"id", cli::kRequiredArgument, nullptr, 'i'},
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long id = 0;
    KX_U8 on = 1;
    int counts[128] = {};
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:i:a:\x01:h", longopts, false, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  /* Disks are the only objects with a locate LED. */
                                  return OPT_TAKEN;
                              case 'i':
                                  /* A word that is no number must not light
                                     some disk's LED: it is refused. */
                                  if (!client::parseDecimalOrHex(arg, ULONG_MAX, id) || id > 0xFFFE) {
                                      fputs("-i: id should be a number\n", stream);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'a':
                                  if (strcasecmp(arg, "on") == 0 || strcasecmp(arg, "off") == 0) {
                                      on = strcasecmp(arg, "on") == 0;
                                      return OPT_TAKEN;
                                  }
                                  fprintf(stream, "-a: invalid action '%s'\n", arg);
                                  return OPT_REFUSED;
                              default: return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (counts['i'] == 0) {
        fputs("missing PD id\n", stream);
        return 1;
    }
    const KX_U16 pd = static_cast<KX_U16>(id);
    KX_U8 st = KX_LocateArrayDevice(gCurrentAdapter, 1, pd, on);
    if (st != 0)
        fprintf(stream, "Failed to set LED status (error %d: %s)\n", st, ErrorMessage(st));
    else
        fprintf(stream, "Success to set PD %d LED status \n", pd);
    return st;
}
