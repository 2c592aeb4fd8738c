// Event messages as the controller formats them: the queued events with
// their time and text ready to print, for arrayctl's "message" command.
// Reading them leaves the queue alone, so the event store still gets every
// event when the daemon drains the queue.
#include "api.h"
#include "evt_text.h"
#include "kx_event_message.h"

#include <ctime>

using namespace sim;

SIM_EXPORT KX_U8 KX_EVT_GetEventMessage(KX_U8 adapter, KX_U8 max, KX_U8 *count, Event_Message *messages)
{
    SIM_GUARD({
        Session s("KX_EVT_GetEventMessage", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF || !count || (!messages && max))
            return KX_ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        unsigned n = 0;
        for (const Event &e : a.events) {
            if (n >= max)
                break;
            Event_Message &m = messages[n++];
            std::memset(&m, 0, sizeof m);
            m.Class = e.Class;
            m.Code = e.Code;
            m.SequenceNo = e.SequenceNo;
            m.Severity = e.Severity;
            m.AdapterID = e.AdapterID;
            // Shown in the host's local time.
            evt_console_time(&e, EVT_CLOCK_UTC, m.time, sizeof m.time);
            evt_describe(&e, EVT_CONSOLE, m.msg, sizeof m.msg);
        }
        *count = static_cast<KX_U8>(n);
        return s.finish(KX_ST_OK);
    })
}
