/*
 * aesentry: the key entries of the adapter: which hold a key, the key
 * length of one entry (opened with its password), and setting an entry's
 * key. Keys and passwords go to the controller only.
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
enum EntryOp { OP_NONE, OP_GET_INFO, OP_GET_CFG, OP_SET_CFG };
const int kWidth = 24;

/* A list request of n records of recordSize bytes, header zeroed; null
   (after the failure message) when it cannot be allocated. */
RequestHeader *newListRequest(unsigned n, size_t recordSize)
{
    size_t bytes = sizeof(RequestHeader) + n * recordSize;
    RequestHeader *h = static_cast<RequestHeader *>(calloc(1, bytes));
    if (!h)
        fprintf(stream, "Unable to allocate buffer for %d bytes (error %d: %s).\n", (int)bytes, KX_ST_NO_MEMORY,
                ErrorMessage(KX_ST_NO_MEMORY));
    return h;
}

/* Without the adapter's summary record: the ports with their entries and
   the entries with their status, from the paged lists. */
int printPortsAndEntries()
{
    const Adapter_Info &a = gAdapterInfo[gCurrentAdapter];
    RequestHeader *entries = newListRequest(a.MaxAESEntry, sizeof(AES_KEY_ENTRY_INFO));
    if (!entries)
        return KX_ST_NO_MEMORY;
    RequestHeader *ports = newListRequest(a.MaxAESPort, sizeof(AES_PORT_INFO));
    if (!ports) {
        free(entries);
        return KX_ST_NO_MEMORY;
    }
    entries->requestType = KX_REQUEST_BY_INDEX;
    entries->numRequested = a.MaxAESEntry;
    ports->requestType = KX_REQUEST_BY_INDEX;
    ports->numRequested = a.MaxAESPort;
    KX_U8 status = KX_AES_OnlyGetEntryInfo(gCurrentAdapter, reinterpret_cast<AES_KEY_ENTRY_INFO_Request *>(entries));
    if (status != 0) {
        fprintf(stream, "\nUnable to get info of AES entries (error %d: %s).\n", status, ErrorMessage(status));
    } else {
        status = KX_AES_OnlyGetPortInfo(gCurrentAdapter, reinterpret_cast<AES_PORT_INFO_Request *>(ports));
        if (status != 0)
            fprintf(stream, "\nUnable to get info of AES ports (error %d: %s).\n", status, ErrorMessage(status));
    }
    if (status == 0) {
        const AES_PORT_INFO *p = reinterpret_cast<AES_PORT_INFO_Request *>(ports)->aesPORTINFO;
        for (unsigned i = 0; i < ports->numReturned && i < a.MaxAESPort; ++i) {
            fprintf(stream, fmt_Num, kWidth, "Port ID:", (long)p[i].id);
            fprintf(stream, fmt_Num, kWidth, "Entry ID:", (long)p[i].entry);
            fputs("\n", stream);
        }
        const AES_KEY_ENTRY_INFO *e = reinterpret_cast<AES_KEY_ENTRY_INFO_Request *>(entries)->aesKEYENTRYINFO;
        for (unsigned i = 0; i < entries->numReturned && i < a.MaxAESEntry; ++i) {
            fprintf(stream, fmt_Num, kWidth, "Entry ID:", (long)e[i].id);
            fprintf(stream, fmt_Num, kWidth, "Status:", (long)e[i].status);
            fputs("\n", stream);
        }
    }
    free(entries);
    free(ports);
    return status;
}

int getInfo()
{
    aes_entry_info info;
    memset(&info, 0, sizeof info);
    if (KX_AES_GetEntryInfo(gCurrentAdapter, &info) != 0)
        return printPortsAndEntries();
    for (unsigned i = 0; i < sizeof info.entry; ++i) {
        fprintf(stream, fmt_Num, kWidth, "Entry ID:", (long)i);
        fprintf(stream, fmt_Str, kWidth, "Has Key:", info.entry[i] ? "Yes" : "No");
        fputs("\n", stream);
    }
    return 0;
}

int getConfig(unsigned long entry, const AesText &password)
{
    AES_Entry_Config_Request request;
    memset(&request, 0, sizeof request);
    request.header.requestType = KX_REQUEST_BY_ID;
    request.header.startingIndexOrId = static_cast<KX_U16>(entry);
    request.header.numRequested = 1;
    memcpy(request.aesEntryConfig[0].user_auth, password.bytes, sizeof request.aesEntryConfig[0].user_auth);
    KX_U8 status = KX_AES_GetEntryConfig(gCurrentAdapter, &request);
    const AES_Entry_Config &r = request.aesEntryConfig[0];
    if (status != 0) {
        fprintf(stream, "\nGet configure of AES entry %lu failed (error %d: %s).\n", entry, status,
                ErrorMessage(status));
    } else {
        fprintf(stream, fmt_Num, kWidth, "Entry ID:", (long)r.entry_id);
        fprintf(stream, fmt_Num, kWidth, "AES key length:", (long)r.key_length);
        fputs("\n", stream);
    }
    wipeSecret(&request, sizeof request);
    return status;
}

int setConfig(unsigned long entry, const AesText &password, const AesText &key)
{
    AES_Entry_Config config;
    memset(&config, 0, sizeof config);
    config.entry_id = static_cast<KX_U8>(entry);
    config.key_length = CLI_AES_TEXT_MAX;
    memcpy(config.key_content, key.bytes, sizeof config.key_content);
    memcpy(config.user_auth, password.bytes, sizeof config.user_auth);
    KX_U8 status = KX_AES_SetEntryConfig(gCurrentAdapter, &config);
    wipeSecret(&config, sizeof config);
    if (status != 0) {
        fprintf(stream, "\nFailed to set configuration of entry %lu (error %d: %s)\n", entry, status,
                ErrorMessage(status));
        return 1;
    }
    fprintf(stream, "\nSet configuration of entry %lu is returned successfully.\n", entry);
    return 0;
}
} // namespace

int doAESEntry(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longOptions[] = {
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    EntryOp op = OP_NONE;
    unsigned long entry = 0;
    AesText password, key;
    int seen[128] = {};

    /* A repeated option is refused before its value is looked at. */
    OptionLoopRules rules;
    rules.duplicates = DUP_WHEN_MET;
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:i:p:k:\001:h", longOptions, rules, seen,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  return takeWord(arg,
                                                  {{"getInfo", OP_GET_INFO},
                                                   {"getCfg", OP_GET_CFG},
                                                   {"setCfg", OP_SET_CFG}},
                                                  "-o : invalid object '%s'\n", op);
                              case 'i':
                                  return takeAesId(arg, 0xFF, "-i : invalid entry id '%s'\n", entry);
                              case 'p':
                                  return takePassword(arg, password);
                              case 'k':
                                  return takeKey(arg, key);
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;

    switch (op) {
    case OP_NONE:
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'o');
        return 1;
    case OP_GET_INFO:
        return getInfo();
    case OP_GET_CFG:
        if (!seen['i'] || !seen['p']) {
            fprintf(stream, OptionRequired, pCmdInfo->cmd, seen['i'] ? 'p' : 'i');
            return 1;
        }
        return getConfig(entry, password);
    case OP_SET_CFG:
        if (!seen['i'] || !seen['p']) {
            fprintf(stream, "\nAES entry id and password must be set.\n");
            return 1;
        }
        return setConfig(entry, password, key);
    }
    return 1;
}
