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
    bool seen[256] = {};

    cli::optind = 1;
    for (;;) {
        int c = cli::getopt_long(argc, argv, "i:p:\001:h", longOptions, nullptr);
        if (c == -1)
            break;
        if (c == 1)
            continue;
        if (c == '?')
            return 1;
        if (c != 'h' && seen[c & 0xFF]) {
            fputs(ErrorDuplicate, stream);
            return 1;
        }
        seen[c & 0xFF] = true;
        switch (c) {
        case 'i':
            if (!parseAesId(cli::optarg, 0xFFFE, &pd)) {
                fprintf(stream, "-i : invalid id '%s'\n", cli::optarg);
                return 1;
            }
            break;
        case 'p': {
            if (!*cli::optarg || !isNumber(cli::optarg)) {
                fprintf(stream, "-p : invalid percentage '%s'\n", cli::optarg);
                return 1;
            }
            /* Too many digits saturate, and are refused with the rest. */
            unsigned long value = strtoul(cli::optarg, nullptr, 10);
            if (value == 0 || value > 100 || value % 10 != 0) {
                fprintf(stream, "-p : invalid percentage '%s', available percentage include 10 20 30 40 50 60 70 "
                                "80 90 100\n", cli::optarg);
                return 1;
            }
            percentage = value / 10;
            break;
        }
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }
    if (!seen['i']) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'i');
        return 1;
    }

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
