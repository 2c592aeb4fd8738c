/*
 * aesport: the encryption ports of the adapter: their settings and links,
 * switching encryption on or off, linking a port to a key entry (with the
 * entry's password) and clearing the link.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Public/aes_options.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "kx_api.h"
#include "kx_records_ext.h"

namespace {
enum PortOp { OP_NONE, OP_GET_CFG, OP_SET, OP_MOUNT, OP_DISMOUNT };
const int kAesOn = 2, kAesOff = 3;
const int kWidth = 24;
const KX_U8 kNoDisk = 55;

/* The entry a port is linked to (KX_ID8_NONE: none): from the adapter's
   summary record when it gives one, else from the port's own record. */
KX_U8 linkedEntry(KX_U8 port, bool haveSummary, const aes_entry_info &summary, KX_U8 &status)
{
    status = 0;
    if (haveSummary) {
        for (unsigned i = 0; i < sizeof summary.aes_port / sizeof summary.aes_port[0]; ++i)
            if (summary.aes_port[i][0] == port)
                return summary.aes_port[i][1];
        return KX_ID8_NONE;
    }
    AES_PORT_INFO_Request request;
    memset(&request, 0, sizeof request);
    request.header.requestType = KX_REQUEST_BY_ID;
    request.header.startingIndexOrId = port;
    request.header.numRequested = 1;
    KX_U8 st = KX_AES_OnlyGetPortInfo(gCurrentAdapter, &request);
    /* A port the controller has no link record for is not mounted. */
    if (st == kNoDisk)
        return KX_ID8_NONE;
    if (st != 0) {
        status = st;
        return KX_ID8_NONE;
    }
    return request.header.numReturned ? request.aesPORTINFO[0].entry : KX_ID8_NONE;
}

int getConfig(bool onePort, unsigned long port)
{
    const Adapter_Info &a = gAdapterInfo[gCurrentAdapter];
    unsigned n = onePort ? 1 : (a.MaxAESPort ? a.MaxAESPort : 1);
    size_t bytes = sizeof(RequestHeader) + n * sizeof(AES_Port_Config);
    AES_Port_Config_Request *request = static_cast<AES_Port_Config_Request *>(calloc(1, bytes));
    if (!request) {
        fprintf(stream, "Unable to allocate buffer for %d bytes (error %d: %s).\n", (int)bytes, KX_ST_NO_MEMORY,
                ErrorMessage(KX_ST_NO_MEMORY));
        return KX_ST_NO_MEMORY;
    }
    aes_entry_info summary;
    memset(&summary, 0, sizeof summary);
    const bool haveSummary = KX_AES_GetEntryInfo(gCurrentAdapter, &summary) == 0;

    RequestHeader &h = request->header;
    h.requestType = onePort ? KX_REQUEST_BY_ID : KX_REQUEST_BY_INDEX;
    h.startingIndexOrId = onePort ? static_cast<KX_U16>(port) : 0;
    KX_U8 status = 0;
    bool first = true;
    for (;;) {
        h.numRequested = static_cast<KX_U16>(n);
        status = KX_AES_GetPortConfig(gCurrentAdapter, request);
        if (status != 0) {
            if (onePort)
                fprintf(stream, "\nGet configure of AES port %lu failed (error %d: %s).\n", port, status,
                        ErrorMessage(status));
            else
                fprintf(stream, "\nUnable to get configure of AES ports (error %d: %s).\n", status,
                        ErrorMessage(status));
            break;
        }
        if (first && h.numReturned == 0 && !onePort)
            fprintf(stream, "\nNo port is found\n");
        first = false;
        for (unsigned i = 0; i < h.numReturned && i < n && status == 0; ++i) {
            const AES_Port_Config &r = request->aesPortConfig[i];
            KX_U8 entry = linkedEntry(r.port_id, haveSummary, summary, status);
            if (status != 0) {
                fprintf(stream, "\nUnable to get link of AES port %d (error %d: %s).\n", r.port_id, status,
                        ErrorMessage(status));
                break;
            }
            fprintf(stream, fmt_Num, kWidth, "ID:", (long)r.port_id);
            if (entry == KX_ID8_NONE) {
                fprintf(stream, fmt_Str, kWidth, "mount status:", "dismounted");
            } else {
                fprintf(stream, fmt_Str, kWidth, "mount status:", "mounted");
                fprintf(stream, fmt_Num, kWidth, "entry id:", (long)entry);
            }
            fprintf(stream, fmt_Str, kWidth, "AES enable:", r.aes_enable ? "Enabled" : "Disabled");
            fputs("\n", stream);
        }
        if (status != 0 || onePort || h.nextStartingIndex == KX_END_OF_LIST)
            break;
        h.startingIndexOrId = h.nextStartingIndex;
    }
    free(request);
    return status;
}
} // namespace

int doAESPort(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longOptions[] = {
        {"aeson", cli::kNoArgument, nullptr, kAesOn},
        {"aesoff", cli::kNoArgument, nullptr, kAesOff},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    PortOp op = OP_NONE;
    unsigned long port = 0, entry = 0;
    AesText password;
    int enable = -1;
    int seen[128] = {};

    /* A repeated option is refused before its value is looked at. */
    OptionLoopRules rules;
    rules.duplicates = DUP_WHEN_MET;
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:i:e:p:\001:h", longOptions, rules, seen,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  return takeWord(arg,
                                                  {{"getCfg", OP_GET_CFG},
                                                   {"set", OP_SET},
                                                   {"mount", OP_MOUNT},
                                                   {"dismount", OP_DISMOUNT}},
                                                  "-o : invalid object '%s'\n", op);
                              case 'i':
                                  return takeAesId(arg, 0xFF, "-i : invalid port id '%s'\n", port);
                              case 'e':
                                  return takeAesId(arg, 0xFF, "-e : invalid entry id '%s'\n", entry);
                              case 'p':
                                  return takePassword(arg, password);
                              case kAesOn:
                              case kAesOff:
                                  /* On and off are one setting: giving it twice is a
                                     repetition, whichever way. */
                                  if (enable >= 0) {
                                      fputs(ErrorDuplicate, stream);
                                      return OPT_REFUSED;
                                  }
                                  enable = opt == kAesOn;
                                  return OPT_TAKEN;
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;

    KX_U8 status = 0;
    switch (op) {
    case OP_NONE:
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'o');
        return 1;
    case OP_GET_CFG:
        return getConfig(seen['i'], port);
    case OP_SET: {
        if (!seen['i']) {
            fprintf(stream, OptionRequired, pCmdInfo->cmd, 'i');
            return 1;
        }
        if (enable < 0) {
            fprintf(stream, "\n --aeson or --aesoff is required for set AES configuration.\n");
            return 1;
        }
        AES_Port_Config config;
        memset(&config, 0, sizeof config);
        config.port_id = static_cast<KX_U8>(port);
        config.aes_enable = static_cast<KX_BOOLEAN>(enable);
        status = KX_AES_SetPortConfig(gCurrentAdapter, &config);
        if (status != 0)
            fprintf(stream, "\nSet configure of AES port %lu failed (error %d: %s).\n", port, status,
                    ErrorMessage(status));
        else
            fprintf(stream, "\nSet configure of AES port %lu is returned successfully.\n", port);
        return status;
    }
    case OP_MOUNT: {
        if (!seen['i'] || !seen['e'] || !seen['p']) {
            fprintf(stream, "\n  port id ,entry id, password and mount AES must be set.\n");
            return 1;
        }
        entry_link link;
        memset(&link, 0, sizeof link);
        link.port_id = static_cast<KX_U8>(port);
        link.entry = static_cast<KX_U8>(entry);
        memcpy(link.user_auth, password.bytes, sizeof link.user_auth);
        status = KX_AES_SetLink(gCurrentAdapter, &link);
        wipeSecret(&link, sizeof link);
        if (status != 0)
            fprintf(stream, "\nFailed to link aes port %lu to entry %lu (error %d: %s)\n", port, entry, status,
                    ErrorMessage(status));
        else
            fprintf(stream, "\nLink aes port %lu to entry %lu is returned successfully.\n", port, entry);
        return status;
    }
    case OP_DISMOUNT:
        if (!seen['i']) {
            fprintf(stream, OptionRequired, pCmdInfo->cmd, 'i');
            return 1;
        }
        status = KX_AES_ClearLink(gCurrentAdapter, static_cast<KX_U8>(port));
        if (status != 0)
            fprintf(stream, "\nClear AES link of port %lu failed (error %d: %s).\n", port, status,
                    ErrorMessage(status));
        else
            fprintf(stream, "\nClear AES link of port %lu is returned successfully.\n", port);
        return status;
    }
    return 1;
}
