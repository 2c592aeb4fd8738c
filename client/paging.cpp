#include "paging.h"

namespace client {

unsigned recordsPerPage(KX_U16 maxBufferSizeKiB, size_t recordSize, unsigned defaultCount)
{
    if (maxBufferSizeKiB == 0 || recordSize == 0)
        return defaultCount;
    size_t n = ((size_t)maxBufferSizeKiB * 1024 - sizeof(RequestHeader)) / recordSize;
    /* numRequested is 16 bits wide: a larger page would be silently cut
       to its low bits (possibly to 0) by the header. */
    if (n > 0xFFFF)
        n = 0xFFFF;
    if (n == 0)
        n = 1;
    return (unsigned)n;
}

KX_U8 pdInfoPage(KX_U8 adapter, HD_Info_Request *req, bool &extended)
{
    KX_U8 st = KX_PD_GetHDInfo_Ext(adapter, req);
    extended = st == KX_ST_OK;
    if (st != KX_ST_OK && st != KX_ST_PD_MISSING) {
        req->header.numReturned = 0;
        req->header.nextStartingIndex = KX_END_OF_LIST;
        st = KX_PD_GetHDInfo(adapter, req);
    }
    return st;
}

KX_U8 queryHdInfo(KX_U8 adapter, KX_U16 id, HD_Info &out)
{
    if (queryOne<HD_Info_Request>(KX_PD_GetHDInfo_Ext, adapter, id, out, KX_ST_BAD_PD) == KX_ST_OK)
        return KX_ST_OK;
    return queryOne<HD_Info_Request>(KX_PD_GetHDInfo, adapter, id, out, KX_ST_BAD_PD);
}

} // namespace client
