#include "EventStore.h"

#include "AdapterSequence.h"
#include "EventFileData.h"
#include "KXOpen.h"
#include "arraycore.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace chronicle {

namespace {

/// Blocks for a byte-range lock on the gate byte (type F_RDLCK, F_WRLCK or
/// F_UNLCK), owned by the open file description.
bool gate(int fd, short type)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(fd, F_OFD_SETLKW, &fl);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

/// True when a writer holds the gate. Readers look before they queue at
/// the gate: one call instead of two in the usual case of no writer. A
/// writer that takes the gate just after the look lets through only the
/// readers that looked at that instant, never a stream of them.
bool writerAtGate(int fd)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 1;
    return ::fcntl(fd, F_OFD_GETLK, &fl) != 0 || fl.l_type != F_UNLCK;
}

bool lockWhole(int fd, int op)
{
    int rc;
    do {
        rc = ::flock(fd, op);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

} // namespace

StoreLock::StoreLock(Mode mode) : m_fd(-1)
{
    char path[FileData::PATH_SIZE];
    FileData::buildFileAndPath(KX_EVENT_FILE, path);
    // Readers open read-only (the web server's workers may not write the
    // data directory) and never create the store.
    const int fd = mode == Exclusive ? kxOpenFile(path, O_RDWR | O_CREAT) : kxOpenFile(path, O_RDONLY);
    if (fd < 0)
        return;
    bool ok;
    if (mode == Exclusive) {
        // Hold the gate while waiting for the readers already inside, so
        // that no new one overtakes; drop it once the store is ours.
        const bool gated = gate(fd, F_WRLCK);
        ok = lockWhole(fd, LOCK_EX);
        if (gated)
            gate(fd, F_UNLCK);
    } else {
        // A file system that refuses the locks still gets its reads, as
        // before there were any: showing nothing would be worse.
        if (writerAtGate(fd) && gate(fd, F_RDLCK))
            gate(fd, F_UNLCK);
        lockWhole(fd, LOCK_SH);
        ok = true;
    }
    if (!ok) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

StoreLock::~StoreLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the only descriptor of the lock releases it
}

EventHeaderFileData readHeader()
{
    EventHeaderFileData header;
    ReadableFile file(KX_EVENT_FILE, 0, 1);
    file.getData(header, 0);
    return header;
}

namespace {

/// Readable range of the log: End while the log has not wrapped, else the
/// whole capacity (service events make a ring once NumberOfEvent passes
/// End). Never beyond the slots the file can hold, whatever the header says.
KX_U32 readableLimit(const KX_EventLogHeader &h)
{
    KX_U32 limit = h.End == h.NumberOfEvent ? h.End : h.Capacity;
    return limit > KX_EVENT_CAPACITY ? KX_EVENT_CAPACITY : limit;
}

bool writeHeader(EventHeaderFileData &header)
{
    WritableFile file(KX_EVENT_FILE, 0, 1);
    bool ok = file.setData(header, 0);
    file.close();
    return ok;
}

/// The slot holding the start-th event not marked deleted, counting from
/// slot 0; limit when there is no such slot. The header's count of deleted
/// events makes this direct in the usual case of nothing deleted.
KX_U32 firstSlot(ReadableFile &events, const KX_EventLogHeader &h, KX_U32 start, KX_U32 limit)
{
    if (h.reserved2 == 0)
        return start;
    KX_U32 seen = 0;
    for (KX_U32 slot = 0; slot < limit; ++slot) {
        EventFileData rec;
        if (!events.getData(rec, slot))
            return limit;
        if (rec.getEvent().deleted)
            continue;
        if (seen == start)
            return slot;
        ++seen;
    }
    return limit;
}

/// Restarts a full log so that the next event goes to slot 0 and is
/// counted there, instead of being written to slot 0 and then dropped by
/// a restart that follows the write.
void restartIfFull(EventHeaderFileData &header, KX_U32 seq)
{
    if (header.getEventHeader().End >= KX_EVENT_CAPACITY)
        header.restartLog(seq);
}

/// Writes one captured event into slot End and counts it.
bool storeCaptured(WritableFile &file, EventHeaderFileData &header, const Event &event)
{
    restartIfFull(header, event.SequenceNo);
    KX_EventLogHeader &h = header.getEventHeader();
    EventFileData rec(event);
    if (!file.setData(rec, h.End))
        return false;
    header.filterEventClass(event.Class);
    h.End += 1;
    h.NumberOfEvent += 1;
    KX_EventMapHeader &m = header.getEventMap();
    m.total_event = static_cast<KX_U16>(m.total_event + 1);
    header.updateMap(event.SequenceNo);
    return true;
}

/// One capture pass; the caller holds the store lock. Order of writes per
/// batch of events taken from an adapter: the event slots, a sync, the
/// header counting them, then the adapters' sequence records. A kill at any
/// point leaves either a header that counts only slots already on disk, or
/// sequence records that name only events the header already counts.
void capturePass(KX_U8 adapterCount)
{
    EventHeaderFileData header = readHeader();
    header.sanitize();
    AdapterSequence seqs(adapterCount);
    WritableFile events(KX_EVENT_FILE, KX_EVENT_FIRST_SLOT, KX_EVENT_CAPACITY);
    bool opened = false;

    for (int a = 0; a < adapterCount; ++a) {
        for (;;) {
            Event buffer[50];
            std::memset(buffer, 0, sizeof buffer);
            KX_U8 n = 0;
            if (KX_EVT_GetEvent(static_cast<KX_U8>(a), 50, &n, buffer) != 0 || n == 0)
                break;
            if (n > 50)
                n = 50;
            int stored = 0;
            for (int i = 0; i < n; ++i) {
                if (!seqs.isNoLessSequence(a, buffer[i]))
                    continue;
                if (!opened) {
                    if (!events.open())
                        return;
                    events.stream().setSyncEachWrite(false);
                    opened = true;
                }
                // A slot that did not reach the file must not be counted,
                // nor its sequence recorded: end the pass uncommitted.
                if (!storeCaptured(events, header, buffer[i]))
                    return;
                ++stored;
            }
            if (stored == 0)
                continue;
            if (!events.stream().sync() || !writeHeader(header))
                return;
            if (!seqs.flush())
                return;
        }
    }
}

/// The events from the start-th on, at most room of them, through a slot
/// file opened (or borrowed) by the caller.
void readEvents(EventHeaderFileData &header, ReadableFile &file, KX_U32 start, KX_U32 room, KX_U32 *count,
                ServiceEvent *events)
{
    const KX_EventLogHeader &h = header.getEventHeader();
    if (start < h.Start)
        return;
    const KX_U32 limit = readableLimit(h);
    if (start >= limit)
        return;
    const KX_U32 first = firstSlot(file, h, start, limit);
    KX_U32 total = 0;
    // Both the event index and the slot stay inside the readable range:
    // slots past it belong to an earlier log.
    for (uint64_t p = 0; start + p < limit && first + p < limit; ++p) {
        EventFileData rec;
        if (!file.getData(rec, static_cast<KX_U32>(first + p)))
            break;
        const ServiceEvent &ev = rec.getEvent();
        if (ev.deleted || ev.kxevent.Severity > 7)
            continue;
        events[total++] = ev;
        if (total == room)
            break;
    }
    *count = total;
}

} // namespace

void getChangeStatusUnlocked(Event_ChangeCounters *counters)
{
    if (!counters)
        return;
    EventHeaderFileData header = readHeader();
    *counters = header.getEventChangeCount();
}

void getChangeStatus(Event_ChangeCounters *counters)
{
    if (!counters)
        return;
    StoreLock lock(StoreLock::Shared);
    EventHeaderFileData header; // the counters of an empty store without one
    if (lock.held()) {
        ReadableFile file(KX_EVENT_FILE, 0, 1);
        file.useLocked(lock.fd());
        file.getData(header, 0);
    }
    *counters = header.getEventChangeCount();
}

void getEvents(KX_U32 start, KX_U32 *count, ServiceEvent *events)
{
    if (!count)
        return;
    const KX_U32 room = *count;
    *count = 0;
    if (room == 0 || !events)
        return;
    StoreLock lock(StoreLock::Shared);
    if (!lock.held())
        return;
    ReadableFile headerFile(KX_EVENT_FILE, 0, 1);
    headerFile.useLocked(lock.fd());
    EventHeaderFileData header;
    headerFile.getData(header, 0);
    ReadableFile file(KX_EVENT_FILE, KX_EVENT_FIRST_SLOT, KX_EVENT_CAPACITY);
    file.useLocked(lock.fd());
    readEvents(header, file, start, room, count, events);
}

void getEventsUnlocked(KX_U32 start, KX_U32 *count, ServiceEvent *events)
{
    if (!count)
        return;
    const KX_U32 room = *count;
    *count = 0;
    if (room == 0 || !events)
        return;
    EventHeaderFileData header = readHeader();
    ReadableFile file(KX_EVENT_FILE, KX_EVENT_FIRST_SLOT, KX_EVENT_CAPACITY);
    readEvents(header, file, start, room, count, events);
}

void deleteEvent(KX_U32 sequenceNo)
{
    StoreLock lock;
    if (!lock.held())
        return;
    EventHeaderFileData header = readHeader();
    header.sanitize();
    KX_EventLogHeader &h = header.getEventHeader();
    KX_EventMapHeader &m = header.getEventMap();
    unsigned k = m.last_update;
    for (unsigned e = 0; e < m.last_update; ++e) {
        const KX_EventEntry &en = m.entries[e];
        if (sequenceNo < en.seq + static_cast<KX_U32>(en.deep) * KX_MAP_SPAN) {
            k = e;
            break;
        }
    }

    // Only the readable range, and only records not deleted yet: the slots
    // of an earlier log are still on disk, and uncounting them (or the same
    // event twice) would drive the counters of the current log wrong.
    const KX_U32 limit = readableLimit(h);
    ReadableFile in(KX_EVENT_FILE, KX_EVENT_FIRST_SLOT, KX_EVENT_CAPACITY);
    WritableFile out(KX_EVENT_FILE, KX_EVENT_FIRST_SLOT, KX_EVENT_CAPACITY);
    bool matched = false;
    for (KX_U32 slot = 0; slot < limit; ++slot) {
        EventFileData rec;
        if (!in.getData(rec, slot))
            break;
        if (rec.getEvent().kxevent.SequenceNo != sequenceNo || rec.getEvent().deleted)
            continue;
        header.reduceEventClass(rec.getEvent().kxevent.Class);
        rec.markDeleted();
        if (!out.setData(rec, slot))
            return;
        h.reserved2 += 1;
        if (!matched) {
            for (unsigned e = k; e < m.last_update; ++e) {
                m.entries[e].start = static_cast<KX_U16>(m.entries[e].start + 1);
                m.entries[e].seq += 1;
            }
        }
        matched = true;
    }
    out.close();
    if (matched)
        writeHeader(header);
}

void clearFile()
{
    StoreLock lock;
    if (!lock.held())
        return;
    EventHeaderFileData header = readHeader();
    header.returnToZero();
    // No event of the new log is deleted.
    header.getEventHeader().reserved2 = 0;
    writeHeader(header);
    AdapterSequence seqs(KX_Adapter_GetCount());
    seqs.setSequenceNOZero(255);
}

void captureEvents()
{
    const KX_U8 count = KX_Adapter_GetCount();
    if (count == 0)
        return;
    // Without a store to write into, the events stay queued in the
    // controller for a later pass instead of being drained and lost.
    StoreLock lock;
    if (!lock.held())
        return;
    capturePass(count);
}

void addServiceEvent(KX_U8 from, KX_U16 code, const KX_U32 params[4])
{
    const KX_U8 count = KX_Adapter_GetCount();
    for (int a = 0; a < count; ++a)
        KX_EVT_FlushEvent(static_cast<KX_U8>(a));
    StoreLock lock;
    if (!lock.held())
        return;
    if (count > 0)
        capturePass(count);

    EventHeaderFileData header = readHeader();
    header.sanitize();
    KX_EventLogHeader &h = header.getEventHeader();
    ServiceEvent ev;
    std::memset(&ev, 0, sizeof ev);
    ev.kxevent.Class = 99;
    ev.kxevent.Code = code;
    ev.kxevent.Severity = 2;
    ev.kxevent.TimeStamp = static_cast<KX_U32>(std::time(nullptr));
    for (int i = 0; i < 4; ++i)
        ev.kxevent.Params[i] = params[i];
    ev.from = from;

    WritableFile file(KX_EVENT_FILE, KX_EVENT_FIRST_SLOT, KX_EVENT_CAPACITY);
    EventFileData rec(ev);
    if (!file.setData(rec, h.End))
        return;
    file.close();
    header.filterEventClass(12);
    h.End += 1;
    h.NumberOfEvent += 1;
    // Wrap as soon as the last slot is used, so that the next event does
    // not land on the slot this one was just written to.
    if (h.End >= KX_EVENT_CAPACITY)
        h.End = 0;
    if (h.End < h.NumberOfEvent)
        h.Start += 1;
    if (h.Start > KX_EVENT_CAPACITY)
        h.Start = 0;
    writeHeader(header);
}

} // namespace chronicle
