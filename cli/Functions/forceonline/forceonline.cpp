/*
 * forceonline: brings an offline physical disk of an encrypting adapter
 * online again.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Functions/handlers.h"
#include "Public/aes_options.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"
#include "kx_api.h"

int doForceOnline(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longOptions[] = {
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long pd = 0;
    /* Without -p the library is given 100 itself; -p gives tenths. */
    unsigned long percentage = 100;
    int seen[128] = {};

    /* A repeated option is refused before its value is looked at. */
    OptionLoopRules rules;
    rules.duplicates = DUP_WHEN_MET;
    rules.required = "i";
    int r = runOptionLoop(argc, argv, pCmdInfo, "i:p:\001:h", longOptions, rules, seen,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'i':
                                  return takeAesId(arg, 0xFFFE, "-i : invalid id '%s'\n", pd);
                              case 'p': {
                                  if (!*arg || !isNumber(arg)) {
                                      fprintf(stream, "-p : invalid percentage '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  /* Too many digits saturate, and are refused with the rest. */
                                  unsigned long value = strtoul(arg, nullptr, 10);
                                  if (value == 0 || value > 100 || value % 10 != 0) {
                                      fprintf(stream,
                                              "-p : invalid percentage '%s', available percentage include 10 20 "
                                              "30 40 50 60 70 80 90 100\n",
                                              arg);
                                      return OPT_REFUSED;
                                  }
                                  percentage = value / 10;
                                  return OPT_TAKEN;
                              }
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;

    AES_Entry_Config entry;
    memset(&entry, 0, sizeof entry);
    entry.key_length = CLI_AES_TEXT_MAX;
    KX_U8 status = KX_AES_ForcePDOnline(gCurrentAdapter, &entry, static_cast<KX_U16>(pd),
                                        static_cast<KX_U8>(percentage));
    if (status != 0)
        fprintf(stream, "\nForce online PD %lu failed (error %d: %s).\n", pd, status, ErrorMessage(status));
    else
        fprintf(stream, "\nForce online PD %lu is returned successfully.\n", pd);
    return status;
}
