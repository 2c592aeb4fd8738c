// The operations behind the exported QTA_ functions.
#ifndef EVENT_STORE_H
#define EVENT_STORE_H

#include "EventHeaderFileData.h"
#include "FileData.h"

namespace chronicle {

/// Exclusive advisory lock (flock) on ar_kx_raid.ev, held for the life of
/// the object. Every writer takes it, so a clear from the web module and a
/// capture by the daemon never interleave; readers never take it.
class StoreLock {
public:
    StoreLock();
    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;
    /// False when the event file cannot be opened or created.
    bool held() const { return m_fd >= 0; }

private:
    int m_fd;
};

/// Reads the header; the empty state when there is none.
EventHeaderFileData readHeader();

void getChangeStatus(Event_ChangeCounters *counters);
void getEvents(KX_U32 start, KX_U32 *count, ServiceEvent *events);
void deleteEvent(KX_U32 sequenceNo);
void clearFile();
void captureEvents();
void addServiceEvent(KX_U8 from, KX_U16 code, const KX_U32 params[4]);

} // namespace chronicle

#endif
