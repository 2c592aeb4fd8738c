// The 516-byte header at offset 0 of ar_kx_raid.ev: log header, change
// counters and position map. Its slot is 512 bytes, so the last four bytes
// overlap the first four of event slot 0; whichever is written last owns
// them, and a capture pass always writes the header last.
#ifndef EVENT_HEADER_FILE_DATA_H
#define EVENT_HEADER_FILE_DATA_H

#include "EventFileRecords.h"
#include "FileEnableObject.h"

class EventHeaderFileData : public FileEnableObject {
public:
    enum : uint32_t { RECORD_SIZE = 52 + 64 + 400 };

    EventHeaderFileData();

    bool input(KXInputStream &in) override;
    bool output(KXFileStream &out) override;
    uint32_t getSize() const override { return m_size; }
    uint32_t getMiniSize() const override { return m_size; }

    /// Empty state: magic, capacity 50000, counts, counters and map zero;
    /// reserved2 is left as it is.
    void returnToZero();

    Event_ChangeCounters &getEventChangeCount() { return m_eventChangeCount; }
    KX_EventLogHeader &getEventHeader() { return m_eventHeader; }
    KX_EventMapHeader &getEventMap() { return m_map; }

    /// Counts one written event of this class (and one map position).
    void filterEventClass(KX_U16 eventClass);
    /// Uncounts one deleted event of this class; counters never go below 0.
    void reduceEventClass(KX_U16 eventClass);

    /// Empties the log for a new one whose first event has this sequence
    /// number (counters are kept).
    void restartLog(KX_U32 sequenceNo);

    /// Map maintenance after a captured event has been counted.
    void updateMap(KX_U32 sequenceNo);

    /// The header comes from disk and may be garbage: clamps what would
    /// otherwise index out of the map.
    void sanitize();

    /// The whole 516-byte image, as stored.
    void image(unsigned char out[RECORD_SIZE]) const;

private:
    void adjustCounter(KX_U16 eventClass, int delta);

    uint32_t m_size;
    Event_ChangeCounters m_eventChangeCount;
    KX_EventLogHeader m_eventHeader;
    KX_EventMapHeader m_map;
};

#endif
