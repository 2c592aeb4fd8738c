#include "APIClass/APIRequestHeader.h"

#include <algorithm>

APIRequestHeader::APIRequestHeader(const RequestHeader &h, KX_U8 adapter)
    : m_start(h.startingIndexOrId), m_requested(h.numRequested), m_return(0),
      m_next(KX_END_OF_LIST), m_type(h.requestType), m_position(0), m_ret(0),
      m_adapterID(adapter), m_capacity(0), m_lastAsked(0), m_lastShort(false)
{
}

APIRequestHeader::~APIRequestHeader() {}

void APIRequestHeader::allocate(unsigned bufferBytes, unsigned recordSize)
{
    const unsigned headerBytes = sizeof(RequestHeader);
    unsigned capacity = bufferBytes > headerBytes ? (bufferBytes - headerBytes) / recordSize : 0;
    capacity = std::min(capacity, 0xFFFFu);
    m_capacity = static_cast<KX_U16>(capacity);
    m_p_request.assign(headerBytes + capacity * recordSize, 0);
    RequestHeader *h = header();
    h->numRequested = std::min(m_requested, m_capacity);
    h->requestType = m_type;
    h->startingIndexOrId = m_start;
    h->nextStartingIndex = KX_END_OF_LIST;
}

KX_U16 APIRequestHeader::returnedInBuffer() const
{
    if (m_p_request.empty())
        return 0;
    const RequestHeader *h = header();
    return std::min<KX_U16>(h->numReturned, std::min<KX_U16>(h->numRequested, m_capacity));
}

void APIRequestHeader::runAPI()
{
    if (m_p_request.empty()) {
        // Nothing to call with; a request object that could not be built
        // reports an empty list.
        m_ret = 0;
        m_lastShort = true;
        return;
    }
    m_lastAsked = header()->numRequested;
    m_ret = callAPI();
    if (m_ret == KX_SUCCESS) {
        // The index to continue from is what the caller needs to page on,
        // also when this first page already satisfied the request.
        m_next = header()->nextStartingIndex;
        m_lastShort = header()->numReturned < m_lastAsked;
    } else {
        m_lastShort = false;
    }
}

KX_U16 APIRequestHeader::getNextID()
{
    if (m_lastShort)
        m_next = KX_END_OF_LIST;
    return m_next;
}

bool APIRequestHeader::needsRefill() const
{
    // A buffer without room for one record could never make progress.
    return m_capacity > 0 && m_ret == KX_SUCCESS && m_position >= returnedInBuffer() &&
           header()->nextStartingIndex != KX_END_OF_LIST && m_return < m_requested;
}

void APIRequestHeader::refill()
{
    RequestHeader *h = header();
    const KX_U16 wanted = static_cast<KX_U16>(m_requested - m_return);
    if (wanted < h->numRequested)
        h->numRequested = wanted;
    h->startingIndexOrId = h->nextStartingIndex;
    runAPI();
}

bool APIRequestHeader::isEnd()
{
    if (m_p_request.empty())
        return false;
    if (needsRefill()) {
        refill();
        m_position = 0;
    }
    if (m_ret != KX_SUCCESS || m_position >= returnedInBuffer())
        return false;
    return m_return < m_requested;
}

void APIRequestHeader::moveToNext()
{
    ++m_position;
    ++m_return;
    if (m_p_request.empty())
        return;
    if (m_position < header()->numRequested && needsRefill()) {
        refill();
        if (m_ret == KX_SUCCESS)
            m_position = 0;
    }
}
