// A scripted controller library for the store tests: adapters with chosen
// identities and event queues, linked in place of libarraycore.so so that
// every test decides exactly what a capture pass sees.
#ifndef CHRONICLE_FAKE_CONTROLLER_H
#define CHRONICLE_FAKE_CONTROLLER_H

#include "arraycore.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace fake {

struct Adapter {
    Adapter_Info info{};
    std::deque<Event> queue;
    KX_U8 getEventStatus = 0; // returned by every KX_EVT_GetEvent when nonzero
    int flushes = 0;
};

/// Resets to no adapters, no fault.
void reset();
/// Adds an adapter: serial (if not empty) else WWN bytes (if any) else none.
Adapter &addAdapter(const std::string &serial = "", const std::vector<KX_U8> &wwn = {});
Adapter &adapter(int i);
void failGetInfo(KX_U8 status);
int getEventCalls();

/// Optional generator: called for each KX_EVT_GetEvent of adapter a when the
/// queue is empty; may push events into it.
void setGenerator(std::function<void(int adapter, std::deque<Event> &queue)> gen);

Event makeEvent(KX_U32 seq, KX_U16 cls = 1, KX_U16 code = 2, KX_U8 severity = 2, KX_U16 device = 0);
/// Queues count events with sequence numbers first, first+1, ...
void queueEvents(int adapter, KX_U32 first, int count, KX_U16 cls = 1);

} // namespace fake

#endif
