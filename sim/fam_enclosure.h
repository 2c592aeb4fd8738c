// The enclosure family: the SES elements of each enclosure (power
// supplies, fans, sensors, ...) with their status, data bytes and
// thresholds.
//
// An enclosure has the ten modelled elements unless the fixture gives its
// "elements" list (which may be empty).
#ifndef SIM_FAM_ENCLOSURE_H
#define SIM_FAM_ENCLOSURE_H

#include <map>
#include <vector>

#include "family.h"

namespace sim {

struct EncElement {
    uint8_t type = 0;
    uint8_t id = 0;      // ordinal within its type
    uint8_t status = 1;  // SES status code, 1 OK
    uint8_t data[8] = {};
    uint8_t highCritical = 0, highWarning = 0, lowCritical = 0, lowWarning = 0;
};

struct EnclosureElements {
    std::vector<EncElement> list;
    json source;  // the list as given, written back
};

struct EnclosureData : FamilyDataOf<EnclosureData> {
    std::map<uint16_t, EnclosureElements> enclosures;  // by enclosure ID; others are modelled
};

// The family's entry in the list of families.cpp.
extern const Family kEnclosureFamily;

// The adapter's enclosure elements given by the state document (made empty
// on first use), and those if there are any.
EnclosureData &enclosureData(Adapter &a);
const EnclosureData *enclosureDataOf(const Adapter &a);

// The elements of an enclosure, in the order the controller reports them.
std::vector<EncElement> enclosureElements(const Adapter &a, uint16_t encId);

}  // namespace sim

#endif
