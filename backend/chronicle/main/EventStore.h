// The operations behind the exported QTA_ functions.
#ifndef EVENT_STORE_H
#define EVENT_STORE_H

#include "EventHeaderFileData.h"
#include "FileData.h"

namespace chronicle {

/// Locks of the store, both on ar_kx_raid.ev.
///
/// Writers (capture, delete, clear, service events) hold an exclusive flock
/// for the whole call, so they never interleave. Readers hold a shared
/// flock while they read, so they see only headers, map entries and event
/// records that a writer wrote whole: a header is one 516-byte write, and
/// nothing makes a concurrent read of it atomic on Linux.
///
/// Shared flocks alone would let a steady stream of overlapping readers
/// (web workers polling the change counters) keep the daemon waiting for
/// ever. A gate in front of them prevents that: a writer takes an
/// exclusive OFD byte-range lock on byte 0 before it waits for the flock;
/// a reader takes and drops a shared lock on that byte before it asks for
/// its flock. Once a writer waits, new readers queue behind it, and a
/// reader waits for at most the writer ahead of it. Byte-range locks and
/// flocks are independent on local Linux file systems, and neither changes
/// a byte of the files.
class StoreLock {
public:
    enum Mode { Shared, Exclusive };
    explicit StoreLock(Mode mode = Exclusive);
    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;
    /// False when the event file could not be opened (or, for a writer,
    /// created) or locked. A reader without a file has nothing to read.
    bool held() const { return m_fd >= 0; }
    /// The locked descriptor of ar_kx_raid.ev (read-only for readers).
    int fd() const { return m_fd; }

private:
    int m_fd;
};

/// Reads the header; the empty state when there is none.
EventHeaderFileData readHeader();

void getChangeStatus(Event_ChangeCounters *counters);
void getEvents(KX_U32 start, KX_U32 *count, ServiceEvent *events);
/// The same reads without the shared lock: what readers did before they
/// locked, kept for the benchmark that measures the lock's cost.
void getChangeStatusUnlocked(Event_ChangeCounters *counters);
void getEventsUnlocked(KX_U32 start, KX_U32 *count, ServiceEvent *events);
void deleteEvent(KX_U32 sequenceNo);
void clearFile();
void captureEvents();
void addServiceEvent(KX_U8 from, KX_U16 code, const KX_U32 params[4]);

} // namespace chronicle

#endif
