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
#include "Public/options.h"
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
    KX_U16 pdId = 0;
    KX_U8 testCode = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "ti";
    int r = runOptionLoop(argc, argv, pCmdInfo, "i:t:\x01:h", longopts, rules, counts, [&](int opt, const char *arg) {
        switch (opt) {
        case 'i':
            if (!smartParseDiskId(arg, pdId)) {
                fprintf(stream, "-i : invalid phyiscal disk id '%s'\n", arg);
                return OPT_REFUSED;
            }
            return OPT_TAKEN;
        case 't':
            return takeWord<KX_U8>(arg, {{"short", 1}, {"long", 2}}, "-t : invalid test type '%s'\n", testCode);
        default:
            return OPT_HELP;
        }
    });
    if (r >= 0)
        return r;

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
