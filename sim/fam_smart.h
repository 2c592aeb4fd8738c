// The SMART family: what a disk's SMART facility reports (its attribute
// table, reassigned sectors, the verdict of SMART RETURN STATUS) and the
// self-test it was last asked to run.
//
// A disk's attributes are modelled from the disk (its ID and its
// smartExceeded flag) unless the fixture gives them with the disk's
// "smart" key; "selfTest" records the last self-test started through a
// pass-through command.
#ifndef SIM_FAM_SMART_H
#define SIM_FAM_SMART_H

#include <map>
#include <vector>

#include "family.h"
#include "kx_records_ext.h"

namespace sim {

enum SelfTest : uint8_t { SELFTEST_NONE = 0, SELFTEST_SHORT = 1, SELFTEST_EXTENDED = 2 };

struct SmartDisk {
    bool attributesGiven = false;
    std::vector<SMART_INFO> attributes;  // when given
    json attributesSource;               // the list as given, written back
    uint8_t selfTest = SELFTEST_NONE;
};

struct SmartData : FamilyDataOf<SmartData> {
    std::map<uint16_t, SmartDisk> disks;  // by PD ID; disks without entries are modelled
};

// The family's entry in the list of families.cpp.
extern const Family kSmartFamily;

// The adapter's SMART state (made empty on first use), and the state if
// it has any.
SmartData &smartData(Adapter &a);
const SmartData *smartDataOf(const Adapter &a);

// The attributes KX_PD_GET_SMART_INFO lists for a disk, in order.
std::vector<SMART_INFO> smartAttributes(const Adapter &a, const PD &pd);
// Entries of the disk's reassigned-sector table.
std::vector<RCT_Entry> reassignedSectors(const PD &pd);
// SMART RETURN STATUS: true when the disk is past a threshold (the same
// verdict that HD_SMART_Status reports).
bool smartThresholdExceeded(const Adapter &a, const PD &pd);

}  // namespace sim

#endif
