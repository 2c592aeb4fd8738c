/*
 * libchronicle.so: the persistent event store of this machine.
 *
 * The service daemon captures controller events into the store once a
 * second (QTA_APIEventToFile); the web back end reads them, watches the
 * per-class change counters and clears the store. Every call opens the two
 * store files in ARRAY_DB_DIR (default /opt/korvex/storage/db), does its
 * work and closes them again; nothing is kept between calls, so any number
 * of processes may use the store at once. Writers (capture, delete, clear,
 * service events) hold an exclusive advisory lock of the event file for
 * the whole call; readers hold a shared one, so a reader never sees a
 * header or record half written, and a writer that waits is served before
 * readers that come after it (see README.md).
 *
 * None of the functions reports a status: a missing, short or damaged
 * store reads as empty and a store that cannot be written stays unchanged.
 */
#ifndef QTA_API_H
#define QTA_API_H

#include "kx_records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Copies the sixteen change counters of the store (all 0 without a store). */
void QTA_GetEventChangeStatus(Event_ChangeCounters *counters);

/* Reads up to *count stored events, beginning with the start-th event not
   marked deleted (oldest first). Deleted events and events with a
   Severity above 7 are skipped. On return *count is the number of records
   filled in events[]. */
void QTA_GetEvent(KX_U32 start, KX_U32 *count, ServiceEvent *events);

/* Marks every stored event with this sequence number deleted. */
void QTA_DeleteEvent(KX_U32 SequenceNo);

/* Empties the log and resets the stored sequence numbers of the adapters
   present, so the next capture stores whatever the controllers deliver. */
void QTA_ClearFile(void);

/* Capture pass: drains every adapter's event queue and stores each event
   whose sequence number is above the one last stored for that adapter. A
   pass that finds no new event writes nothing. */
void QTA_APIEventToFile(void);

/* Flushes the adapters' queues, runs a capture pass, then appends one
   service event (stored with class 99; reads back as class 12, severity
   2, adapter 0, from 1). */
void QTA_AddSPEvent(KX_U8 from, KX_U16 code, KX_U32 Param1, KX_U32 Param2,
                    KX_U32 Param3, KX_U32 Param4);

#ifdef __cplusplus
}
#endif

#endif /* QTA_API_H */
