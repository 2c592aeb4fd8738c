/*
 * Paged controller lists of the info and status commands (info_list.h).
 */
#include "info_list.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "record_words.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"

void infoOut(const char *fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vfprintf(stream, fmt, ap);
    va_end(ap);
}

void infoStr(int width, const char *label, const char *text)
{
    infoOut(fmt_Str, width, label, text);
}

void infoNum(int width, const char *label, long value)
{
    infoOut(fmt_Num, width, label, value);
}

const char *infoErr(KX_U8 status)
{
    return ErrorMessage(status);
}

KX_U8 infoPdInfoPage(RequestHeader *hdr, bool &extended)
{
    return client::pdInfoPage(gCurrentAdapter, reinterpret_cast<HD_Info_Request *>(hdr), extended);
}

/* The kind's error line for a failed call (or a missing single object). */
static void printListError(const InfoListKind &kind, bool all, int errId, KX_U8 st)
{
    if ((all || !kind.errWithId) && kind.errAll)
        infoOut(kind.errAll, st, infoErr(st));
    else
        infoOut(kind.errWithId, errId, st, infoErr(st));
}

int infoPagedList(KX_U16 maxBufferSize, const InfoListKind &kind, bool all, KX_U16 id, int errId,
                  const std::function<KX_U8(RequestHeader *)> &call,
                  const std::function<int(const void *record)> &each)
{
    const unsigned perPage = client::recordsPerPage(maxBufferSize, kind.recordSize, kind.defaultPerPage);
    const size_t bytes = sizeof(RequestHeader) + (size_t)perPage * kind.recordSize;
    char *buf = static_cast<char *>(malloc(bytes));
    if (!buf) {
        if (kind.allocFailText)
            infoOut("%s", kind.allocFailText);
        else
            infoOut("Unable to allocate buffer for %d bytes (error %d: %s).\n", (int)bytes, KX_ST_NO_RESOURCE,
                    infoErr(KX_ST_NO_RESOURCE));
        return KX_ST_NO_RESOURCE;
    }
    RequestHeader *hdr = reinterpret_cast<RequestHeader *>(buf);
    char *records = buf + sizeof(RequestHeader);
    memset(hdr, 0, sizeof *hdr);
    hdr->requestType = all ? KX_REQUEST_BY_INDEX : KX_REQUEST_BY_ID;
    hdr->startingIndexOrId = all ? 0 : id;
    hdr->numRequested = (KX_U16)(all ? perPage : 1);

    KX_U16 start = hdr->startingIndexOrId;
    int status = 0;
    unsigned shown = 0;
    bool firstPage = true;
    for (;;) {
        memset(records, 0, (size_t)perPage * kind.recordSize);
        hdr->numReturned = 0;
        hdr->nextStartingIndex = KX_END_OF_LIST;
        KX_U8 st = call(hdr);
        if (st != 0) {
            printListError(kind, all, errId, st);
            status = st;
            break;
        }
        /* Never trust a count beyond what the page can hold. */
        unsigned count = hdr->numReturned;
        if (count > hdr->numRequested)
            count = hdr->numRequested;
        if (firstPage) {
            firstPage = false;
            if (count == 0) {
                if (!all && kind.missingOneStatus) {
                    status = kind.missingOneStatus;
                    printListError(kind, all, errId, kind.missingOneStatus);
                } else if (kind.notFound) {
                    infoOut("%s", kind.notFound);
                }
                break;
            }
            if (kind.heading)
                infoOut("%s", kind.heading);
        }
        for (unsigned i = 0; i < count && status == 0; ++i)
            status = each(records + (size_t)i * kind.recordSize);
        if (status != 0)
            break;
        shown += count;
        /* One object takes one page; a list ends at the end marker, and
           also when the controller stops moving forward, so that a
           confused controller cannot keep the tool asking forever. */
        const KX_U16 next = hdr->nextStartingIndex;
        if (!all || next == KX_END_OF_LIST || count == 0 || next <= start)
            break;
        start = next;
        hdr->startingIndexOrId = start;
    }
    if (status == 0 && all && shown > 0 && kind.totalLabel) {
        infoNum(20, kind.totalLabel, (long)shown);
        infoOut("\n");
    }
    free(buf);
    return status;
}

int infoParseOptions(int argc, char **argv, cmd_struct *pCmdInfo, const char *idNotNumber,
                     unsigned long maxId, const std::function<bool(const char *object)> &takeObject,
                     InfoOptions &out)
{
    static const cli::option longOptions[] = {
        {"object", 1, nullptr, 'o'},
        {"id", 1, nullptr, 'i'},
        {"output", 1, nullptr, 1},
        {"help", 0, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    const char *idText = nullptr;
    int counts[128] = {};
    /* A missing -o and a bad -i are told before a repeated option. */
    OptionLoopRules rules;
    rules.duplicates = DUP_BY_CALLER;
    rules.required = "o";
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:i:\001:h", longOptions, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  if (!takeObject(arg))
                                      return OPT_REFUSED;
                                  out.object = arg;
                                  return OPT_TAKEN;
                              case 'i':
                                  /* An empty ID would read as object 0. */
                                  if (arg[0] == '\0' || !isNumber(arg)) {
                                      infoOut("%s", idNotNumber);
                                      return OPT_REFUSED;
                                  }
                                  idText = arg;
                                  out.haveId = true;
                                  out.id = strtoul(arg, nullptr, 10);
                                  return OPT_TAKEN;
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (out.haveId && out.id > maxId) {
        /* Digits beyond int range are echoed as typed. */
        if (out.id > 0x7FFFFFFFUL)
            infoOut("-i : invalid id %s\n", idText);
        else
            infoOut("-i : invalid id %d\n", (int)out.id);
        return 1;
    }
    return refuseDuplicates(counts, nullptr);
}
