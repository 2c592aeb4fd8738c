#include "EventHeaderFileData.h"

#include "KXFileStream.h"
#include "KXInputStream.h"

#include <cstddef>
#include <cstring>

EventHeaderFileData::EventHeaderFileData() : m_size(KX_HEADER_SLOT_SIZE)
{
    std::memset(&m_eventHeader, 0, sizeof m_eventHeader);
    returnToZero();
}

void EventHeaderFileData::returnToZero()
{
    KX_U32 reserved2 = m_eventHeader.reserved2;
    std::memset(&m_eventHeader, 0, sizeof m_eventHeader);
    std::memcpy(m_eventHeader.Magic, KX_EVENT_MAGIC, sizeof KX_EVENT_MAGIC);
    m_eventHeader.Capacity = KX_EVENT_CAPACITY;
    m_eventHeader.reserved2 = reserved2;
    std::memset(&m_eventChangeCount, 0, sizeof m_eventChangeCount);
    std::memset(&m_map, 0, sizeof m_map);
}

bool EventHeaderFileData::input(KXInputStream &in)
{
    // A header file of 512..515 bytes counts as present: the missing tail
    // of the map keeps what this object held before.
    unsigned char buf[RECORD_SIZE];
    size_t n = in.read(buf, sizeof buf);
    if (n < getMiniSize())
        return false;
    unsigned char cur[RECORD_SIZE];
    image(cur);
    std::memcpy(cur, buf, n);
    std::memcpy(&m_eventHeader, cur, 52);
    std::memcpy(&m_eventChangeCount, cur + 52, 64);
    std::memcpy(&m_map, cur + 116, 400);
    return true;
}

void EventHeaderFileData::image(unsigned char out[RECORD_SIZE]) const
{
    std::memcpy(out, &m_eventHeader, 52);
    std::memcpy(out + 52, &m_eventChangeCount, 64);
    std::memcpy(out + 116, &m_map, 400);
}

bool EventHeaderFileData::output(KXFileStream &out)
{
    // One write for the whole record: the bytes are those of the three
    // parts in order, and a reader never sees new counts with an old map.
    unsigned char buf[RECORD_SIZE];
    image(buf);
    return out.write(buf, sizeof buf);
}

// Byte offset of the counter raised by an event class inside the counters
// record, -1 for the classes that have none (14, above 15).
static int counterOffset(KX_U16 eventClass)
{
#define KX_COUNTER(f) static_cast<int>(offsetof(Event_ChangeCounters, f))
    switch (eventClass) {
    case 0:
    case 15: return KX_COUNTER(Adapter_Change);
    case 1: return KX_COUNTER(LD_Change);
    case 2: return KX_COUNTER(HD_Change);
    case 3: return KX_COUNTER(PM_Change);
    case 4: return KX_COUNTER(Expander_Change);
    case 5: return KX_COUNTER(MDD_Change);
    case 6: return KX_COUNTER(BSL_Change);
    case 7: return KX_COUNTER(SAS_Change);
    case 8: return KX_COUNTER(ENCL_Change);
    case 9: return KX_COUNTER(BAT_Change);
    case 10: return KX_COUNTER(FLASH_Change);
    case 11: return KX_COUNTER(CACHE_Change);
    case 12: return KX_COUNTER(MISC_Change);
    case 13: return KX_COUNTER(ARRAY_Change);
    default: return -1;
    }
#undef KX_COUNTER
}

void EventHeaderFileData::adjustCounter(KX_U16 eventClass, int delta)
{
    int off = counterOffset(eventClass);
    if (off < 0)
        return;
    unsigned char *base = reinterpret_cast<unsigned char *>(&m_eventChangeCount);
    KX_U32 v;
    std::memcpy(&v, base + off, sizeof v);
    // Saturating downwards: a counter that is already 0 belongs to a log
    // that never counted this event, and wrapping it would report four
    // billion changes.
    if (delta > 0)
        v += 1;
    else if (v > 0)
        v -= 1;
    std::memcpy(base + off, &v, sizeof v);
}

void EventHeaderFileData::filterEventClass(KX_U16 eventClass)
{
    m_eventChangeCount.Whatever_Change += 1;
    m_map.total_event = static_cast<KX_U16>(m_map.total_event + 1);
    adjustCounter(eventClass, +1);
}

void EventHeaderFileData::reduceEventClass(KX_U16 eventClass)
{
    if (m_eventChangeCount.Whatever_Change > 0)
        m_eventChangeCount.Whatever_Change -= 1;
    adjustCounter(eventClass, -1);
}

void EventHeaderFileData::sanitize()
{
    if (m_map.last_update >= KX_MAP_ENTRIES)
        m_map.last_update = KX_MAP_ENTRIES - 1;
}

void EventHeaderFileData::restartLog(KX_U32 seq)
{
    KX_EventLogHeader &h = m_eventHeader;
    KX_EventMapHeader &m = m_map;
    h.End = 0;
    h.NumberOfEvent = 0;
    // No event of the new log is deleted, and a ring start left by service
    // events (or garbage) would hide its first events from every reader.
    h.reserved2 = 0;
    h.Start = 0;
    m.total_event = 0;
    m.last_update = 0;
    m.entries[0].start = 0;
    m.entries[0].seq = seq;
    m.entries[0].deep = 1;
}

void EventHeaderFileData::updateMap(KX_U32 seq)
{
    KX_EventMapHeader &m = m_map;
    KX_EventLogHeader &h = m_eventHeader;
    if (h.End > KX_EVENT_CAPACITY)
        restartLog(seq);
    if (m.last_update == 0 && m.entries[0].start == 0) {
        m.entries[0].start = 0;
        m.entries[0].seq = seq;
        m.entries[0].deep = 1;
    }
    sanitize();
    KX_EventEntry &k = m.entries[m.last_update];
    if (static_cast<int>(k.deep) * static_cast<int>(KX_MAP_SPAN) <
        static_cast<int>(m.total_event) - static_cast<int>(k.start)) {
        m.last_update += 1;
        if (m.last_update < KX_MAP_ENTRIES) {
            KX_EventEntry &n = m.entries[m.last_update];
            n.start = m.total_event;
            n.seq = seq;
            n.deep = 1;
        } else {
            m.last_update = KX_MAP_ENTRIES / 2;
            for (unsigned e = 0; e < KX_MAP_ENTRIES / 2; ++e) {
                m.entries[e].start = m.entries[2 * e].start;
                m.entries[e].seq = m.entries[2 * e].seq;
                m.entries[e].deep = static_cast<KX_U8>(m.entries[e].deep + 1);
            }
        }
    }
}
