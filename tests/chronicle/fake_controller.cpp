#include "fake_controller.h"

#include <cstring>

namespace {
std::vector<fake::Adapter> gAdapters;
KX_U8 gGetInfoStatus = 0;
int gGetEventCalls = 0;
std::function<void(int, std::deque<Event> &)> gGenerator;
}

namespace fake {

void reset()
{
    gAdapters.clear();
    gGetInfoStatus = 0;
    gGetEventCalls = 0;
    gGenerator = nullptr;
}

Adapter &addAdapter(const std::string &serial, const std::vector<KX_U8> &wwn)
{
    gAdapters.emplace_back();
    Adapter &a = gAdapters.back();
    std::memcpy(a.info.SerialNo, serial.data(), serial.size() < 20 ? serial.size() : 20);
    for (size_t i = 0; i < wwn.size() && i < 8; ++i)
        a.info.WWN[i] = wwn[i];
    return a;
}

Adapter &adapter(int i) { return gAdapters.at(static_cast<size_t>(i)); }
void failGetInfo(KX_U8 status) { gGetInfoStatus = status; }
int getEventCalls() { return gGetEventCalls; }
void setGenerator(std::function<void(int, std::deque<Event> &)> gen) { gGenerator = std::move(gen); }

Event makeEvent(KX_U32 seq, KX_U16 cls, KX_U16 code, KX_U8 severity, KX_U16 device)
{
    Event e;
    std::memset(&e, 0, sizeof e);
    e.Class = cls;
    e.Code = code;
    e.TimeStamp = 1700000000u + seq;
    e.DeviceID = device;
    e.Severity = severity;
    e.SequenceNo = seq;
    // Parameters derived from the sequence number let a reader tell a
    // whole record from one mixed out of two writes.
    e.Params[0] = seq ^ 0xA5A5A5A5u;
    e.Params[1] = ~seq;
    e.Params[2] = seq * 2654435761u;
    e.Params[3] = 0;
    return e;
}

void queueEvents(int a, KX_U32 first, int count, KX_U16 cls)
{
    for (int i = 0; i < count; ++i)
        adapter(a).queue.push_back(makeEvent(first + static_cast<KX_U32>(i), cls));
}

} // namespace fake

extern "C" {

KX_U8 KX_Adapter_GetCount(void) { return static_cast<KX_U8>(gAdapters.size()); }

KX_U8 KX_Adapter_GetInfo(KX_U8 adapter, KX_U8 *count, Adapter_Info *info)
{
    if (gGetInfoStatus)
        return gGetInfoStatus;
    if (adapter == 0xFF) {
        for (size_t i = 0; i < gAdapters.size(); ++i)
            info[i] = gAdapters[i].info;
        *count = static_cast<KX_U8>(gAdapters.size());
        return 0;
    }
    if (adapter >= gAdapters.size())
        return 1;
    *info = gAdapters[adapter].info;
    *count = 1;
    return 0;
}

KX_U8 KX_EVT_GetEvent(KX_U8 adapter, KX_U8 max, KX_U8 *count, Event *events)
{
    ++gGetEventCalls;
    *count = 0;
    if (adapter >= gAdapters.size())
        return 1;
    fake::Adapter &a = gAdapters[adapter];
    if (a.getEventStatus)
        return a.getEventStatus;
    if (a.queue.empty() && gGenerator)
        gGenerator(adapter, a.queue);
    KX_U8 n = 0;
    while (n < max && !a.queue.empty()) {
        events[n++] = a.queue.front();
        a.queue.pop_front();
    }
    *count = n;
    return 0;
}

KX_U8 KX_EVT_FlushEvent(KX_U8 adapter)
{
    if (adapter >= gAdapters.size())
        return 1;
    // Counted only: the queue is left for the capture that follows.
    gAdapters[adapter].flushes++;
    return 0;
}

} // extern "C"
