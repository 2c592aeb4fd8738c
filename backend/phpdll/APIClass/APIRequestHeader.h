#ifndef KX_API_REQUEST_HEADER_H
#define KX_API_REQUEST_HEADER_H

#include <vector>

#include "kx_records.h"

// Cursor over one paged controller list. The buffer holds a RequestHeader
// followed by room for records; when the records of one call are used up
// and the controller reported a next index, the same buffer is refilled
// from there, until the caller has had as many records as it asked for.
//
//   Request r(header, adapter);      // sized and built
//   r.runAPI();
//   for (; r.isEnd(); r.moveToNext()) use(*r.getInstance());
class APIRequestHeader {
public:
    APIRequestHeader(const RequestHeader &h, KX_U8 adapter);
    virtual ~APIRequestHeader();
    APIRequestHeader(const APIRequestHeader &) = delete;
    APIRequestHeader &operator=(const APIRequestHeader &) = delete;

    // One controller call with the buffer as it stands; keeps its status
    // and, on success, the next index it reported.
    void runAPI();
    // True while a current record is available (the list is not used up);
    // refills the buffer first when its records are used up.
    bool isEnd();
    // Steps to the next record, refilling when needed; counts the record
    // just passed as handed out.
    void moveToNext();

    KX_U8 getAPIResult() const { return m_ret; }
    KX_U16 getReturnCount() const { return m_return; }
    // Where a follow-up request should start; 0xFFFF when the last call
    // returned fewer records than it was asked for.
    KX_U16 getNextID();

    // Records the last call returned, bounded by the buffer's capacity so
    // that a controller reporting more than it may cannot make a reader
    // leave the buffer.
    KX_U16 returnedInBuffer() const;
    RequestHeader *header() { return reinterpret_cast<RequestHeader *>(m_p_request.data()); }
    const RequestHeader *header() const
    {
        return reinterpret_cast<const RequestHeader *>(m_p_request.data());
    }

protected:
    // The controller list function of the record type; returns its status.
    virtual KX_U8 callAPI() = 0;
    // Allocates and zeroes header plus capacity records of recordSize bytes.
    void allocate(unsigned bufferBytes, unsigned recordSize);
    unsigned char *recordBytes(unsigned index, unsigned recordSize)
    {
        return m_p_request.data() + sizeof(RequestHeader) + index * recordSize;
    }

    KX_U16 m_start;
    KX_U16 m_requested;
    KX_U16 m_return;
    KX_U16 m_next;
    KX_U8 m_type;
    std::vector<unsigned char> m_p_request;
    KX_U16 m_position;
    KX_U8 m_ret;
    KX_U8 m_adapterID;

private:
    bool needsRefill() const;
    void refill();
    KX_U16 m_capacity;
    KX_U16 m_lastAsked;
    bool m_lastShort;
};

#endif
