// The controller's event queue.
#include "api.h"

using namespace sim;

SIM_EXPORT KX_U8 KX_EVT_GetEvent(KX_U8 adapter, KX_U8 max, KX_U8 *count, Event *events)
{
    SIM_GUARD(return onAdapter("KX_EVT_GetEvent", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!count || (!events && max))
            return KX_ST_INVALID_PARAM;
        unsigned n = 0;
        while (n < max && !a.events.empty()) {
            events[n++] = a.events.front();
            a.events.pop_front();
        }
        *count = static_cast<KX_U8>(n);
        if (n)
            s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_EVT_FlushEvent(KX_U8 adapter)
{
    SIM_GUARD(return onAdapter("KX_EVT_FlushEvent", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!a.events.empty()) {
            a.events.clear();
            s.changed();
        }
        return KX_ST_OK;
    });)
}
