// The SMART pass: every SMART attribute of every SATA disk, read on its
// own cadence (arraystat --smart, a timer of its own) because one read per
// disk is slow on real controllers, and kept in a cache file that the
// minutely snapshot reads. A disk that does not answer is recorded with
// its error and skipped; the pass does not try it again.
#ifndef ARRAYSTAT_SMART_H
#define ARRAYSTAT_SMART_H

#include <cstdint>
#include <string>
#include <vector>

#include "call_error.h"

namespace arraystat {

// Bumped when a field of the cache changes meaning or goes away.
constexpr int kSmartCacheVersion = 1;

struct SmartAttribute {
    unsigned id = 0;
    std::string name;
    unsigned flags = 0;   // StatusFlags1
    unsigned status = 0;  // StatusFlags2: 0 OK, anything else failed
    unsigned current = 0, worst = 0, threshold = 0;
    uint64_t raw = 0;     // all 48 bits
    bool failed() const { return status != 0; }
};

struct SmartDisk {
    int adapter = 0;
    unsigned id = 0;          // HDID
    std::string serial;       // to tell a replaced disk from the one read
    bool supported = true;    // false: a disk without ATA SMART (SAS)
    std::string note;         // why there is no data
    bool haveError = false;   // the read failed: error holds it
    CallError error;
    double seconds = 0;       // time the disk took
    std::vector<SmartAttribute> attributes;
    // The attribute with this id, or null.
    const SmartAttribute *find(unsigned attrId) const;
};

struct SmartPass {
    int64_t takenAt = 0;
    double seconds = 0;
    std::vector<SmartDisk> disks;
    // Calls that failed outside a disk (the adapter, the disk list), with
    // the adapter they were about.
    std::vector<std::pair<int, CallError>> errors;
};

// Reads the pass; adapter -1 for every adapter. The library is initialised
// by the caller.
SmartPass collectSmart(int adapter);

std::string renderSmartCache(const SmartPass &pass);

// The cache as read by a snapshot: the pass, or why there is none.
struct SmartLoad {
    bool ok = false;
    std::string problem;  // when !ok: the file is missing, unreadable or not a cache
    SmartPass pass;
};
SmartLoad loadSmartCache(const std::string &path);

// Well-known attributes exported under names of their own, with units.
struct KnownAttribute {
    unsigned id;
    const char *metric;  // array_pd_<metric>
    const char *help;
    double scale;        // raw value times scale; 0: the raw value's low byte (temperature)
};
const std::vector<KnownAttribute> &knownAttributes();
double knownValue(const KnownAttribute &k, uint64_t raw);

}  // namespace arraystat

#endif
