/*
 * smartctl -i <pd> -t short|long: starts a SMART self-test on a SATA disk
 * (SMART EXECUTE OFF-LINE IMMEDIATE in an ATA PASS-THROUGH (12) block).
 */
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Functions/smart/smart_disk.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "kx_api.h"

int doSmartCtl(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"id", cli::kRequiredArgument, nullptr, 'i'},
        {"type", cli::kRequiredArgument, nullptr, 't'},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {nullptr, 0, nullptr, 0},
    };
    int idGiven = 0, typeGiven = 0;
    KX_U16 pdId = 0;
    KX_U8 testCode = 0;
    int c;
    cli::optind = 1;
    while ((c = cli::getopt_long(argc, argv, "i:t:\x01:h", longopts, nullptr)) != -1) {
        switch (c) {
        case 1:
            break;
        case 'i':
            if (!smartParseDiskId(cli::optarg, pdId)) {
                fprintf(stream, "-i : invalid phyiscal disk id '%s'\n", cli::optarg);
                return 1;
            }
            ++idGiven;
            break;
        case 't':
            if (strcasecmp(cli::optarg, "short") == 0) {
                testCode = 1;
            } else if (strcasecmp(cli::optarg, "long") == 0) {
                testCode = 2;
            } else {
                fprintf(stream, "-t : invalid test type '%s'\n", cli::optarg);
                return 1;
            }
            ++typeGiven;
            break;
        case '?':
            return 1;
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }
    if (idGiven > 1 || typeGiven > 1) {
        fputs(ErrorDuplicate, stream);
        return 1;
    }
    if (typeGiven == 0) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 't');
        return 1;
    }
    if (idGiven == 0) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'i');
        return 1;
    }

    int rc = smartDiskCheck(pdId);
    if (rc != 0)
        return rc;
    SCSI_PassThrough req;
    memset(&req, 0, sizeof req);
    const KX_U8 cdb[] = {0xA1, 0x08, 0x0D, 0xD4, 0x01, testCode, 0x4F, 0xC2, 0x00, 0xB0, 0x00, 0x08};
    static_assert(sizeof cdb <= sizeof req.Cdb, "ATA PASS-THROUGH (12) fits the block");
    memcpy(req.Cdb, cdb, sizeof cdb);
    req.CdbLength = sizeof cdb;
    req.Direction = 0;    /* no data */
    req.TimeoutSec = 60;  /* the disk only has to accept the test, not run it */
    req.DataLength = 0;
    KX_U8 st = KX_PassThrough_SCSI(gCurrentAdapter, pdId, &req);
    if (st != 0)
        fprintf(stream, "\nUnable to do smart test on PHY %d (error %d: %s)\n", pdId, st, ErrorMessage(st));
    return st;
}
