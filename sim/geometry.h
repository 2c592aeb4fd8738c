// RAID geometry: what a layout of n member disks holds and survives. Pure
// functions of the RAID code and the member count, shared by the record
// builders, the state reader and the operations that create and change
// layouts.
#ifndef SIM_GEOMETRY_H
#define SIM_GEOMETRY_H

#include <cstdint>

namespace sim {

// A size in KiB rounded down by a RoundingScheme: 1 to whole GiB, 2 to
// 10 GiB, anything else not at all.
uint64_t roundedSize(uint64_t sizeKiB, uint8_t scheme);
// Disks' worth of data in a layout of n members.
unsigned dataDiskCount(uint8_t raid, unsigned n, uint8_t parity, uint8_t subVDs);
// Whether n member disks make a layout of this RAID code.
bool countFits(uint8_t raid, unsigned n, uint8_t parity);
// How many failed members a layout survives.
unsigned survivableFailures(uint8_t raid, uint8_t parity);

}  // namespace sim

#endif
