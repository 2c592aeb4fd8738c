/*
 * Paged controller lists of the info and status commands.
 *
 * One loop serves every list kind: size the page from the adapter's
 * MaxBufferSize, ask for everything from index 0 or for one object by ID,
 * print the kind's heading or not-found line on the first page, hand each
 * returned record to the caller, follow nextStartingIndex, and end with the
 * kind's total or error line.
 */
#ifndef INFO_LIST_H
#define INFO_LIST_H

#include <stddef.h>
#include <string.h>
#include <functional>
#include "kx_api.h"
#include "paging.h"

/* Output of these commands, all on the tool's output stream. */
void infoOut(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
/* "%-*s %s\n" / "%-*s %ld\n" lines. */
void infoStr(int width, const char *label, const char *text);
void infoNum(int width, const char *label, long value);
const char *infoErr(KX_U8 status);

struct InfoListKind {
    size_t recordSize;
    unsigned defaultPerPage;
    const char *heading;       /* nullptr: none */
    const char *notFound;      /* nullptr: nothing is written */
    const char *totalLabel;    /* nullptr: no total line */
    const char *errWithId;     /* "...%d (error %d: %s)..."; nullptr: errAll for one object too */
    const char *errAll;        /* "...(error %d: %s)..."; nullptr: errWithId with the ID */
    /* Nonzero: a single object that the controller does not return is an
       error with this code instead of the not-found line. */
    KX_U8 missingOneStatus;
    /* Allocation failure: true writes "Unable to allocate buffer ..." with
       the byte count, false writes allocFailText as it stands. */
    const char *allocFailText;
};

/* call fills the page (the request header is set up) and returns the
   controller status; each prints one record and returns 0, or a status
   that ends the listing at once. all: list everything, else only id
   (errId is the number the error line names). Returns the listing's
   status. */
int infoPagedList(KX_U16 maxBufferSize, const InfoListKind &kind, bool all, KX_U16 id, int errId,
                  const std::function<KX_U8(RequestHeader *)> &call,
                  const std::function<int(const void *record)> &each);

/* One page of the disk list: KX_PD_GetHDInfo_Ext, or the older
   KX_PD_GetHDInfo when the adapter refuses the extended record (any status
   but 55, which says the disk is not there). extended tells which record
   the page holds. */
KX_U8 infoPdInfoPage(RequestHeader *hdr, bool &extended);

struct cmd_struct;

/* The options both info and status take: -o <object> [-i <id>]. */
struct InfoOptions {
    const char *object = nullptr;
    bool haveId = false;
    unsigned long id = 0;
};
/* Parses them: takeObject checks each -o value and writes its own message
   when it refuses one; idNotNumber is the line for an -i that is not
   decimal digits; an -i above maxId is refused. Returns -1 when the
   command goes on with out, else the handler's result (0 after the help,
   1 after an option error). */
int infoParseOptions(int argc, char **argv, cmd_struct *pCmdInfo, const char *idNotNumber,
                     unsigned long maxId, const std::function<bool(const char *object)> &takeObject,
                     InfoOptions &out);

#endif /* INFO_LIST_H */
