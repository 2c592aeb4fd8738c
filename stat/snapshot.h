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
#include "smart.h"

namespace arraystat {

struct PdEntry {
    HD_Info info;
    bool extended = false;  // the newer record layout
    bool sas = false;       // SAS disks have no ATA SMART attributes
    bool haveRaidStatus = false;
    HD_RAID_Status raid;
    bool haveSmartStatus = false;
    bool smartThresholdExceeded = false;
    // The disk's entry of the SMART pass, when one matches this disk (same
    // ID and serial number); null until a pass has seen it.
    const SmartDisk *smart = nullptr;
};

// What a VD's write cache does: the policy asked for (LD_Config) and the
// one in effect. Write-back needs a usable battery; without one the
// controller writes through whatever was asked.
struct WritePolicy {
    std::string asked;      // write-back, write-through, auto, unknown
    std::string effective;  // write-back, write-through, unknown
    std::string reason;     // why effective differs: battery, controller; "" when it does not
    bool fallback() const { return asked == "write-back" && effective == "write-through"; }
};

struct VdEntry {
    LD_Info info;
    bool haveStatus = false;
    LD_Status status;
    bool haveConfig = false;
    LD_Config config;
    WritePolicy policy;
};

// One enclosure element with its thresholds (haveConfig: the enclosure
// answered them).
struct ElementEntry {
    EncElementType_Info info;
    bool haveConfig = false;
    EncElement_Config config;
};

struct EnclosureEntry {
    Enclosure_Info info;
    bool haveElements = false;
    std::vector<ElementEntry> elements;
};

// One part of the collection (a kind of object of one adapter, or the
// event store, or the SMART data): whether every call of it succeeded and
// how long it took.
struct PartResult {
    std::string name;
    int adapter = -1;  // -1: not tied to an adapter
    bool ok = true;
    double seconds = 0;
};

struct AdapterSnapshot {
    int index = 0;
    bool haveInfo = false;
    Adapter_Info info;
    bool batteryRead = false;  // KX_BBU_GetInfo answered
    bool haveBattery = false;
    BBU_Info battery;
    std::vector<PdEntry> pds;
    std::vector<DG_Info> arrays;
    std::vector<VdEntry> vds;
    std::vector<EnclosureEntry> enclosures;
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
    std::vector<PartResult> parts;
    // The last SMART pass (read from its cache file), when asked for.
    bool smartWanted = false;
    SmartLoad smart;
};

Snapshot collect(const Scope &scope);

// Lays the SMART pass over the snapshot's disks (by adapter, ID and serial
// number) and records the "smart" part.
void attachSmart(Snapshot &s, SmartLoad load, double seconds);

// Words of the record codes, the same ones arrayctl prints.
std::string pdStateWord(const HD_RAID_Status &raid);
std::string vdStatusWord(const LD_Info &ld);
std::string arrayStatusWord(const DG_Info &dg);
std::string bgaTypeWord(unsigned bga);
std::string bgaStateWord(unsigned state);
bool activityPresent(const LD_Status &st);
std::string batteryStatusWord(const BBU_Info &bbu);
bool batteryLow(const BBU_Info &bbu);
bool batteryFailed(const BBU_Info &bbu);
std::string fieldText(const KX_U8 *field, size_t size);
const char *errorText(int status);

// Enclosure elements: the type's word ("power_supply", "temperature_sensor",
// ...; "type_<n>" for other codes) and the SES status word.
std::string elementTypeWord(unsigned type);
const char *elementStatusWord(unsigned status);
// A temperature byte (value or threshold) in degrees Celsius; false when
// the byte says "no reading" (0).
bool elementCelsius(KX_U8 byte, int &celsius);
// A voltage sensor's reading in volts (bit 15 the sign, tens of mV).
double elementVolts(KX_U16 raw);

constexpr unsigned kEncTypePowerSupply = 2, kEncTypeCooling = 3, kEncTypeTemperature = 4, kEncTypeVoltage = 18;

}  // namespace arraystat

#endif
