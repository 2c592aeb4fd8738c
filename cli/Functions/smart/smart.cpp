/*
 * smart -p <pd>: the SMART verdict of a SATA disk (SMART RETURN STATUS
 * through the ATA pass-through) and its attribute table.
 */
#include <string.h>

#include "Functions/handlers.h"
#include "Functions/smart/smart_disk.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "kx_api.h"

namespace {

constexpr unsigned kMaxAttributes = 30;

/* SMART RETURN STATUS: the disk leaves LBA mid/high as sent (0x4F/0xC2)
   while no attribute is past its threshold. */
enum { REG_FEATURES, REG_COUNT, REG_LBA_LOW, REG_LBA_MID, REG_LBA_HIGH, REG_DEVICE, REG_COMMAND };
static_assert(KX_ATA_REGISTER_BYTES == REG_COMMAND + 1, "one register per byte");

void printAttribute(const SMART_INFO &a)
{
    char name[sizeof a.AttributeName + 1];
    memcpy(name, a.AttributeName, sizeof a.AttributeName);
    name[sizeof a.AttributeName] = '\0';
    unsigned long long raw = 0;
    for (size_t i = sizeof a.RawValue; i-- > 0;)
        raw = (raw << 8) | a.RawValue[i];
    fprintf(stream, "%02X\t", a.Id);
    fprintf(stream, "%-*s\t", 20, name);
    fprintf(stream, "%d\t", a.CurrentValue);
    fprintf(stream, "%d\t", a.WorstValue);
    fprintf(stream, "%-8d\t", a.ThresholdValue);
    /* All six raw bytes: counters such as power-on hours pass 16 bits. */
    fprintf(stream, "%012llX\t", raw);
    fputs(a.StatusFlags2 == 0 ? "OK\n" : "Failed\n", stream);
}

/* The attribute table; returns the controller's status. */
KX_U8 printAttributes(KX_U16 pdId)
{
    struct {
        RequestHeader header;
        SMART_INFO attributes[kMaxAttributes];
    } req;
    static_assert(sizeof req == 1456, "header and 30 attributes");
    memset(&req, 0, sizeof req);
    req.header.requestType = KX_REQUEST_BY_INDEX;
    req.header.startingIndexOrId = 0;
    req.header.numRequested = kMaxAttributes;
    KX_U8 st = KX_PD_GET_SMART_INFO(gCurrentAdapter, pdId, reinterpret_cast<SMART_INFO_Request *>(&req));
    if (st != 0) {
        fprintf(stream, "\nUnable to get smart information for PHY %d (error %d: %s)\n", pdId, st,
                ErrorMessage(st));
        return st;
    }
    fputs("\nSmart Info\n", stream);
    fputs("ID\tAttribute Name\t\tCurrent\tWorst\tThreshhold\tRawValue\tStatus\n", stream);
    unsigned n = req.header.numReturned;
    if (n > kMaxAttributes)
        n = kMaxAttributes;
    for (unsigned i = 0; i < n; ++i)
        printAttribute(req.attributes[i]);
    return 0;
}

} // namespace

int doSmart(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"id", cli::kRequiredArgument, nullptr, 'p'},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {nullptr, 0, nullptr, 0},
    };
    KX_U16 pdId = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "p";
    int r = runOptionLoop(argc, argv, pCmdInfo, "p:\x01:h", longopts, rules, counts, [&](int opt, const char *arg) {
        if (opt != 'p')
            return OPT_HELP;
        if (!smartParseDiskId(arg, pdId)) {
            fprintf(stream, "-p : invalid phyiscal disk id '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    });
    if (r >= 0)
        return r;

    int rc = smartDiskCheck(pdId);
    if (rc != 0) {
        fputs("\n", stream);
        return rc;
    }
    KX_U8 regs[KX_ATA_REGISTER_BYTES] = {0xDA, 0x00, 0x00, 0x4F, 0xC2, 0xA0, 0xB0};
    KX_U8 st = KX_PassThrough_ATA(gCurrentAdapter, regs, pdId);
    if (st != 0) {
        /* The registers of a failed call are the ones sent: they tell
           nothing about the disk. */
        fprintf(stream, "\nUnable to get smart return status for PHY %d (error %d: %s)\n", pdId, st,
                ErrorMessage(st));
    } else {
        fputs(regs[REG_LBA_MID] == 0x4F ? "SMART STATUS RETURN: OK.\n" : "SMART STATUS RETURN: NotOK.\n",
              stream);
        st = printAttributes(pdId);
    }
    fputs("\n", stream);
    return st;
}
