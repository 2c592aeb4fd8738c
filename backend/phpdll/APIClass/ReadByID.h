#ifndef KX_READ_BY_ID_H
#define KX_READ_BY_ID_H

#include <cstring>

#include "APIClass/Requests.h"

// Status of a by-ID read that the controller answered with success but
// without the record.
const KX_U8 kxRecordNotReturned = 1;

// A request for every record from the first (requestType 1, as many as
// there are); the paged request classes read them page by page.
inline RequestHeader kxEveryRecord()
{
    RequestHeader all;
    std::memset(&all, 0, sizeof all);
    all.requestType = KX_REQUEST_BY_INDEX;
    all.startingIndexOrId = 0;
    all.numRequested = 0xFFFF;
    return all;
}

// The one record of object id through the list call of Request
// (requestType 2, one record). out changes only when the record came back;
// the result is the call's status, or kxRecordNotReturned.
template <typename Request, typename Record>
KX_U8 kxReadByID(KX_U8 adapter, KX_U16 id, Record &out)
{
    RequestHeader byId;
    std::memset(&byId, 0, sizeof byId);
    byId.requestType = KX_REQUEST_BY_ID;
    byId.startingIndexOrId = id;
    byId.numRequested = 1;
    Request request(byId, adapter);
    request.runAPI();
    if (request.getAPIResult() != KX_SUCCESS)
        return request.getAPIResult();
    if (request.returnedInBuffer() == 0)
        return kxRecordNotReturned;
    std::memcpy(&out, request.getInstance(), sizeof out);
    return KX_SUCCESS;
}

#endif
