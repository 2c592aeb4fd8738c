#ifndef KX_API_REQUEST_H
#define KX_API_REQUEST_H

#include <cstring>

#include "APIClass/APIClass.h"
#include "APIClass/APIRequestHeader.h"

// A paged list of records of type T. Subclasses name the controller call
// (callAPI) and the buffer size type; see APIClass/Requests.h.
template <typename T>
class APIRequest : public APIRequestHeader {
public:
    // Sized from the adapter (APIClass::getCount) and built.
    APIRequest(const RequestHeader &h, KX_U8 adapter, APIStructType type)
        : APIRequestHeader(h, adapter)
    {
        buildRequest(APIClass::getCount(adapter, type));
    }
    // Sized by the caller.
    APIRequest(const RequestHeader &h, KX_U8 adapter, unsigned bufferBytes)
        : APIRequestHeader(h, adapter)
    {
        buildRequest(bufferBytes);
    }

    // Capacity = (bufferBytes - 16) / sizeof(T); numRequested is the
    // smaller of what the caller wants and that capacity.
    void buildRequest(unsigned bufferBytes) { allocate(bufferBytes, sizeof(T)); }

    // The current record. Records are packed, so the pointer may be
    // unaligned; T is a packed type and its fields are read accordingly.
    T *getInstance() { return record(m_position); }
    T *record(unsigned index) { return reinterpret_cast<T *>(recordBytes(index, sizeof(T))); }

    // Steps through the list until the record whose first field (its ID)
    // is id; true when found, and that record is then current.
    bool findByID(KX_U16 id)
    {
        for (; isEnd(); moveToNext()) {
            KX_U16 first;
            std::memcpy(&first, getInstance(), sizeof first);
            if (first == id)
                return true;
        }
        return false;
    }

protected:
    // The buffer as the controller's request wrapper type W.
    template <typename W>
    W *requestAs()
    {
        return reinterpret_cast<W *>(m_p_request.data());
    }
};

#endif
