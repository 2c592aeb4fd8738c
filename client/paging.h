/*
 * Reading the controller's list operations: page sizes, the walk over a
 * paged list, and one record by ID.
 *
 * Every list operation answers a request of a 16-byte header followed by
 * room for numRequested records; nextStartingIndex says where the next
 * page begins, 0xFFFF that there is none.
 */
#ifndef CLIENT_PAGING_H
#define CLIENT_PAGING_H

#include <stddef.h>
#include <string.h>

#include <functional>
#include <memory>
#include <new>

#include "kx_api.h"
#include "kx_codes.h"

namespace client {

/* Records per page for a record of recordSize bytes: what fits after the
   header in MaxBufferSize KiB, or defaultCount when the adapter leaves the
   size to us. Never 0 and never more than a 16-bit numRequested can say. */
unsigned recordsPerPage(KX_U16 maxBufferSizeKiB, size_t recordSize, unsigned defaultCount);

/* Walks a paged list from index 0: call fills the page (header set up),
   each gets every returned record (never more than asked for) and answers
   false to stop the walk. Follows nextStartingIndex to the end of the
   list; a next index that does not move forward ends it too (a library
   that keeps answering with the same start must not keep us here).
   Returns the first failing call's status, KX_ST_NO_RESOURCE when the
   page cannot be allocated. */
template <typename Request, typename Record>
KX_U8 walkList(KX_U16 maxBufferKiB, unsigned defaultPerPage, const std::function<KX_U8(Request *)> &call,
               const std::function<bool(const Record &)> &each)
{
    const unsigned perPage = recordsPerPage(maxBufferKiB, sizeof(Record), defaultPerPage);
    const size_t bytes = sizeof(RequestHeader) + perPage * sizeof(Record);
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[bytes]);
    if (!buffer)
        return KX_ST_NO_RESOURCE;
    KX_U16 start = 0;
    for (;;) {
        memset(buffer.get(), 0, bytes);
        Request *req = reinterpret_cast<Request *>(buffer.get());
        req->header.requestType = KX_REQUEST_BY_INDEX;
        req->header.startingIndexOrId = start;
        req->header.numRequested = static_cast<KX_U16>(perPage);
        KX_U8 st = call(req);
        if (st != KX_ST_OK)
            return st;
        const unsigned n = req->header.numReturned < perPage ? req->header.numReturned : perPage;
        for (unsigned i = 0; i < n; ++i) {
            Record r;
            memcpy(&r, buffer.get() + sizeof(RequestHeader) + i * sizeof(Record), sizeof r);
            if (!each(r))
                return KX_ST_OK;
        }
        const KX_U16 next = req->header.nextStartingIndex;
        if (next == KX_END_OF_LIST || next <= start)
            return KX_ST_OK;
        start = next;
    }
}

/* One record of a list operation by ID (request type 2). Returns the
   status; a successful call that returns no record gives notFoundStatus,
   the status the controller uses for that unknown object. */
template <typename Req, typename Rec, typename Op>
KX_U8 queryOne(Op op, KX_U8 adapter, KX_U16 id, Rec &out, KX_U8 notFoundStatus)
{
    Req req;
    memset(&req, 0, sizeof req);
    req.header.requestType = KX_REQUEST_BY_ID;
    req.header.startingIndexOrId = id;
    req.header.numRequested = 1;
    KX_U8 st = op(adapter, &req);
    if (st != KX_ST_OK)
        return st;
    if (req.header.numReturned < 1)
        return notFoundStatus;
    /* The record follows the header; the request holds exactly one. */
    memcpy(&out, reinterpret_cast<const char *>(&req) + sizeof(RequestHeader), sizeof out);
    return KX_ST_OK;
}

/* One page of the disk list: KX_PD_GetHDInfo_Ext, or the older
   KX_PD_GetHDInfo when the adapter refuses the extended record (any status
   but 55, which says the disk is not there). extended tells which record
   the page holds. */
KX_U8 pdInfoPage(KX_U8 adapter, HD_Info_Request *req, bool &extended);

/* A disk's HD_Info by ID: the extended record, or the plain one when the
   adapter refuses that (the plain call's status when both fail). */
KX_U8 queryHdInfo(KX_U8 adapter, KX_U16 id, HD_Info &out);

} // namespace client

#endif /* CLIENT_PAGING_H */
