// Helpers shared by the exported operations.
#ifndef SIM_API_H
#define SIM_API_H

#include <cstring>

#include "kx_api.h"
#include "model.h"

#define SIM_EXPORT extern "C" __attribute__((visibility("default")))

// No exception may leave the C interface: every operation body runs inside
// SIM_GUARD and a stray exception becomes "Failed".
#define SIM_GUARD(...)                   \
    try {                                \
        __VA_ARGS__                      \
    } catch (...) {                      \
        return KX_ST_FAILED;           \
    }

namespace sim {

// The common frame of an operation on one adapter: open the session,
// answer a fault or an unknown adapter (0xFF names no single adapter),
// run `body(session, adapter)` and store what it changed. `body` returns
// the status and calls session.changed() when it changed the model.
template <class Body>
KX_U8 onAdapter(const char *op, KX_U8 adapter, Body body)
{
    Session s(op, adapter);
    if (!s.ok())
        return s.status();
    if (adapter == 0xFF)
        return KX_ST_BAD_ADAPTER;
    uint8_t st = body(s, s.adapter());
    return s.finish(st);
}

// The records of a list request start right after its 16-byte header.
template <class Rec>
Rec *listRecords(void *request)
{
    return reinterpret_cast<Rec *>(static_cast<uint8_t *>(request) + sizeof(RequestHeader));
}

// Answers a paged list request over `objs` (a map by ID, so in ID order).
// `visible(obj)` says whether an object is listed, `build(obj, rec)` fills
// its record. Type 1 lists from an index, type 2 returns the one object of
// that ID or `missing` and no record. Never more than numRequested records
// are written.
template <class Rec, class Map, class Visible, class Build>
uint8_t pageList(void *request, const Map &objs, Visible visible, Build build, uint8_t missing)
{
    if (!request)
        return KX_ST_INVALID_PARAM;
    RequestHeader *h = static_cast<RequestHeader *>(request);
    Rec *out = listRecords<Rec>(request);
    const uint16_t want = h->numRequested;
    h->numReturned = 0;
    h->nextStartingIndex = KX_END_OF_LIST;
    // A request without room would make a caller that pages on the
    // returned index ask again for ever.
    if (want == 0)
        return KX_ST_INVALID_PARAM;
    if (h->requestType == KX_REQUEST_BY_ID) {
        auto it = objs.find(h->startingIndexOrId);
        if (it == objs.end() || !visible(it->second))
            return missing;
        build(it->second, out[0]);
        h->numReturned = 1;
        return KX_ST_OK;
    }
    if (h->requestType != KX_REQUEST_BY_INDEX)
        return KX_ST_INVALID_REQUEST;
    unsigned index = 0, written = 0;
    const unsigned start = h->startingIndexOrId;
    for (auto it = objs.begin(); it != objs.end(); ++it) {
        if (!visible(it->second))
            continue;
        if (index++ < start)
            continue;
        if (written == want) {
            h->nextStartingIndex = static_cast<uint16_t>(index - 1);
            break;
        }
        build(it->second, out[written++]);
    }
    h->numReturned = static_cast<uint16_t>(written);
    return KX_ST_OK;
}

// Lists whose every object is listed.
struct All {
    template <class T>
    bool operator()(const T &) const { return true; }
};

}  // namespace sim

#endif
