// One event slot of ar_kx_raid.ev: record mark at 0, the ServiceEvent at 8.
#ifndef EVENT_FILE_DATA_H
#define EVENT_FILE_DATA_H

#include "EventFileRecords.h"
#include "FileEnableObject.h"

class EventFileData : public FileEnableObject {
public:
    enum : KX_U16 { RECORD_MARK = 0x0101 };
    enum : KX_U16 { LEGACY_CLASS_LIMIT = 50 };

    EventFileData();
    explicit EventFileData(const Event &event);
    explicit EventFileData(const ServiceEvent &event);

    /// Reads the event and presents a record of class above 50 (service
    /// events, class 99) as class 12, severity 2, adapter 0, from 1.
    bool input(KXInputStream &in) override;
    bool output(KXFileStream &out) override;
    uint32_t getSize() const override { return m_size; }
    uint32_t getMiniSize() const override { return KX_EVENT_MINI_SIZE; }

    const ServiceEvent &getEvent() const { return m_event; }
    /// The record exactly as read from disk, before the read conversion.
    const ServiceEvent &getStored() const { return m_stored; }
    /// Marks deleted, keeping every stored byte but the flag.
    void markDeleted();

private:
    uint32_t m_size;
    ServiceEvent m_event;
    ServiceEvent m_stored;
};

#endif
