// Exported entry points of the event store. Interim bodies: the store
// behind them is being written; until then every call behaves as on a
// machine without a store (empty results, nothing written).
#include "qta_api.h"

#include <cstring>

#define QTA_EXPORT extern "C" __attribute__((visibility("default")))

QTA_EXPORT void QTA_GetEventChangeStatus(Event_ChangeCounters *counters)
{
    if (counters)
        std::memset(counters, 0, sizeof *counters);
}

QTA_EXPORT void QTA_GetEvent(KX_U32, KX_U32 *count, ServiceEvent *)
{
    if (count)
        *count = 0;
}

QTA_EXPORT void QTA_DeleteEvent(KX_U32) {}
QTA_EXPORT void QTA_ClearFile(void) {}
QTA_EXPORT void QTA_APIEventToFile(void) {}
QTA_EXPORT void QTA_AddSPEvent(KX_U8, KX_U16, KX_U32, KX_U32, KX_U32, KX_U32) {}
