// What the host's operating system sees of an adapter: the device names
// it gave the VDs and disks the adapter exposes (KX_Tandem_GetVDMagic,
// KX_Tandem_GetHDMagic). Tandem VDs are exposed like any other VD; the
// Tandem operations that work on those names keep their state here too.
//
// The OS sees every VD that is functional (status 0 functional, 1
// degraded, 5 partially optimal, 14 using table, 15 functional and
// initialized) and every free disk (online, in no VD or array, not a spare,
// not foreign). It names them in the order it finds them, VDs by ID and
// then disks by ID: "/dev/sda", "/dev/sdb", ... "/dev/sdz", "/dev/sdaa".
// A name given in the state document ("osName") replaces the found name
// of that object; every other object keeps its place in the order. A
// member disk, a spare, and a VD that is offline, foreign or conflicted
// has no name.
#ifndef SIM_FAM_TANDEM_H
#define SIM_FAM_TANDEM_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model.h"

namespace sim {

// The entry table of a Tandem VD: ranges of it the file system reported
// empty (KX_Tandem_AddFSEntries), at most `capacity` of them.
struct TandemEntry {
    uint64_t start = 0;   // LBA
    uint32_t length = 0;  // sectors
};
struct TandemTable {
    uint32_t capacity = 0;
    std::vector<TandemEntry> entries;
};
// Entries a new table has room for.
constexpr uint32_t kTandemTableCapacity = 128;

struct TandemData : FamilyDataOf<TandemData> {
    // Names given in the state document, by object ID.
    std::map<uint16_t, std::string> vdOsName, pdOsName;
    // Entry tables by VD ID; a Tandem VD without one has an empty table of
    // kTandemTableCapacity entries.
    std::map<uint16_t, TandemTable> tables;
};

struct Family;
// The family's entry in the list of families.cpp.
extern const Family kTandemFamily;

// The adapter's OS names and entry tables (made empty on first use), and
// the state if it has any.
TandemData &tandemData(Adapter &a);
const TandemData *tandemDataOf(const Adapter &a);

// Room for a name in Tandem_Magic.Magic; a longer name is refused.
constexpr size_t kOsNameBytes = 24;

// The OS device name of a VD or disk of the adapter: empty when the OS has
// none (an object that does not exist has none either).
std::string vdOsName(const Adapter &a, uint16_t vd);
std::string pdOsName(const Adapter &a, uint16_t pd);
// The OS sees this VD (its status counts as functional).
bool vdVisibleToOs(const Adapter &a, const VD &vd);

}  // namespace sim

#endif
