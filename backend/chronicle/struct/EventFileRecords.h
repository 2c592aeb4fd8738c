// On-disk images of the event file header. Packed, little-endian, written
// as raw memory: padding bytes are part of the format and hold zero.
#ifndef EVENT_FILE_RECORDS_H
#define EVENT_FILE_RECORDS_H

#include "kx_records.h"

#include <cstddef>

#define KX_EVENT_MAGIC "Plova Event File v0.1"

enum : KX_U32 {
    KX_EVENT_CAPACITY = 50000,     // event slots in ar_kx_raid.ev
    KX_EVENT_FIRST_SLOT = 512,     // offset of event slot 0
    KX_EVENT_SLOT_SIZE = 192,
    KX_EVENT_MINI_SIZE = 80,       // slot bytes that must exist: mark, gap, event
    KX_HEADER_SLOT_SIZE = 512,
    KX_MAP_ENTRIES = 32,
    KX_MAP_SPAN = 20,              // positions per unit of an entry's deep
    KX_SEQ_RECORDS = 10,           // records in ar_kx_seqnum.ev
    KX_SEQ_RECORD_SIZE = 40,
    KX_KEY_SIZE = 20,
};

typedef struct _KX_EventLogHeader {
    char Magic[32];
    KX_U32 NumberOfEvent;
    KX_U32 Capacity;
    KX_U32 Start;
    KX_U32 End;
    KX_U32 reserved2; // this store keeps its count of deleted events here
} KX_PACKED KX_EventLogHeader;

typedef struct _KX_EventEntry {
    KX_U16 start;
    KX_U8 pad1[2];
    KX_U32 seq;
    KX_U8 deep;
    KX_U8 pad2[3];
} KX_PACKED KX_EventEntry;

typedef struct _KX_EventMapHeader {
    KX_U16 total_event;
    KX_U8 deep;
    KX_U8 last_update;
    KX_U8 reserved[12];
    KX_EventEntry entries[KX_MAP_ENTRIES];
} KX_PACKED KX_EventMapHeader;

static_assert(sizeof(KX_EventLogHeader) == 52, "log header layout");
static_assert(sizeof(KX_EventEntry) == 12, "map entry layout");
static_assert(sizeof(KX_EventMapHeader) == 400, "map layout");
static_assert(offsetof(KX_EventMapHeader, entries) == 16, "map entries offset");
static_assert(sizeof(Event_ChangeCounters) == 64, "counters layout");
static_assert(sizeof(ServiceEvent) == 72, "service event layout");

#endif
