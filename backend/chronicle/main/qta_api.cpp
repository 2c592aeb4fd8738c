// Exported entry points: C linkage, no status, nothing thrown. Every call
// opens the store files, works and closes them again.
#include "qta_api.h"

#include "EventStore.h"

#define QTA_EXPORT extern "C" __attribute__((visibility("default")))

template <typename F>
static void guarded(F &&f)
{
    // A failed allocation must not unwind into a C caller.
    try {
        f();
    } catch (...) {
    }
}

QTA_EXPORT void QTA_GetEventChangeStatus(Event_ChangeCounters *counters)
{
    guarded([&] { chronicle::getChangeStatus(counters); });
}

QTA_EXPORT void QTA_GetEvent(KX_U32 start, KX_U32 *count, ServiceEvent *events)
{
    guarded([&] { chronicle::getEvents(start, count, events); });
}

QTA_EXPORT void QTA_DeleteEvent(KX_U32 SequenceNo)
{
    guarded([&] { chronicle::deleteEvent(SequenceNo); });
}

QTA_EXPORT void QTA_ClearFile(void)
{
    guarded([] { chronicle::clearFile(); });
}

QTA_EXPORT void QTA_APIEventToFile(void)
{
    guarded([] { chronicle::captureEvents(); });
}

QTA_EXPORT void QTA_AddSPEvent(KX_U8 from, KX_U16 code, KX_U32 Param1, KX_U32 Param2,
                               KX_U32 Param3, KX_U32 Param4)
{
    const KX_U32 params[4] = {Param1, Param2, Param3, Param4};
    guarded([&] { chronicle::addServiceEvent(from, code, params); });
}
