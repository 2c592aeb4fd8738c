// One snapshot of every adapter and what hangs off it, read through the
// controller library and the event store. Collecting never stops at a
// failed call: the failure is recorded and the rest is still read, so a
// monitoring run always has a document to write.
#ifndef ARRAYSTAT_SNAPSHOT_H
#define ARRAYSTAT_SNAPSHOT_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kx_api.h"

namespace arraystat {

// A controller call that failed, with the object it was about (-1: none).
struct CallError {
    std::string operation;
    int status = 0;
    int object = -1;
};

struct PdEntry {
    HD_Info info;
    bool extended = false;  // the newer record layout
    bool haveRaidStatus = false;
    HD_RAID_Status raid;
};

struct VdEntry {
    LD_Info info;
    bool haveStatus = false;
    LD_Status status;
};

struct AdapterSnapshot {
    int index = 0;
    bool haveInfo = false;
    Adapter_Info info;
    bool haveBattery = false;
    BBU_Info battery;
    std::vector<PdEntry> pds;
    std::vector<DG_Info> arrays;
    std::vector<VdEntry> vds;
    std::vector<Enclosure_Info> enclosures;
    std::vector<Exp_Info> expanders;
    std::vector<CallError> errors;
};

struct StoreSnapshot {
    Event_ChangeCounters counters;
    // Stored events per adapter: by class, and the newest sequence number.
    std::map<int, std::map<int, uint64_t>> eventsByClass;
    std::map<int, uint32_t> newestSequence;
};

// Which parts to read: everything, or one adapter and one kind of object.
struct Scope {
    int adapter = -1;       // -1: every adapter
    std::string object;     // "": everything; else hba, bbu, pd, array, vd, spare, enc, exp, events
    bool wants(const char *kind) const { return object.empty() || object == kind; }
};

struct Snapshot {
    std::string libraryVersion;
    int64_t takenAt = 0;  // seconds since the epoch
    int adapterCount = 0;
    std::vector<AdapterSnapshot> adapters;
    bool haveStore = false;
    StoreSnapshot store;
    std::vector<CallError> errors;  // not tied to an adapter
};

Snapshot collect(const Scope &scope);

// Words of the record codes, the same ones arrayctl prints.
std::string pdStateWord(const HD_RAID_Status &raid);
std::string vdStatusWord(const LD_Info &ld);
std::string arrayStatusWord(const DG_Info &dg);
std::string bgaTypeWord(unsigned bga);
std::string bgaStateWord(unsigned state);
bool activityPresent(const LD_Status &st);
std::string batteryStatusWord(const BBU_Info &bbu);
std::string fieldText(const KX_U8 *field, size_t size);
const char *errorText(int status);

}  // namespace arraystat

#endif
