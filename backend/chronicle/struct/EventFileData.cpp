#include "EventFileData.h"

#include "KXFileStream.h"
#include "KXInputStream.h"

#include <cstring>

EventFileData::EventFileData() : m_size(KX_EVENT_SLOT_SIZE)
{
    std::memset(&m_event, 0, sizeof m_event);
    m_stored = m_event;
}

EventFileData::EventFileData(const Event &event) : EventFileData()
{
    m_event.kxevent = event;
    m_stored = m_event;
}

EventFileData::EventFileData(const ServiceEvent &event) : EventFileData()
{
    m_event = event;
    m_stored = m_event;
}

bool EventFileData::input(KXInputStream &in)
{
    ServiceEvent ev;
    in.seekg(in.tellg() + 8);
    if (in.read(&ev, sizeof ev) != sizeof ev)
        return false;
    m_stored = ev;
    if (ev.kxevent.Class > LEGACY_CLASS_LIMIT) {
        ev.kxevent.Class = 12;
        ev.kxevent.Severity = 2;
        ev.kxevent.AdapterID = 0;
        ev.from = 1;
    }
    m_event = ev;
    return true;
}

bool EventFileData::output(KXFileStream &out)
{
    // The six bytes after the mark are never written: they keep whatever
    // the zero-filled growth of the file put there.
    const int64_t slot = out.tellp();
    const unsigned char mark[2] = {0x01, 0x01};
    if (!out.write(mark, sizeof mark) || !out.seekp(slot + 8))
        return false;
    return out.write(&m_event, sizeof m_event);
}

void EventFileData::markDeleted()
{
    m_stored.deleted = 1;
    m_event = m_stored;
}
