// Disk encryption: the key entries and encryption ports of an adapter.
// An adapter has Adapter_Info.MaxAESEntry entries and MaxAESPort ports.
// An entry holds a key (up to 32 bytes) guarded by a password (up to 32
// bytes); a port has encryption on or off and is linked to one entry or to
// none. The keys and passwords are kept in the state file as they are: it
// stands for the controller's own storage.
#ifndef SIM_FAM_AES_H
#define SIM_FAM_AES_H

#include <cstdint>
#include <map>

#include "model.h"

namespace sim {

constexpr unsigned kAesFieldSize = 32;  // key_content, user_auth
constexpr uint8_t kAesNoEntry = 0xFF;

struct AesEntry {
    uint8_t keyLength = kAesFieldSize;
    // Both fields are zero after their text: a key and a password compare
    // as whole fields, the way the controller compares them.
    uint8_t key[kAesFieldSize] = {};
    uint8_t password[kAesFieldSize] = {};
};

struct AesPort {
    bool enabled = false;
    uint8_t entry = kAesNoEntry;
};

struct AesData : FamilyDataOf<AesData> {
    std::map<uint8_t, AesEntry> entries;  // the entries that hold a key
    std::map<uint8_t, AesPort> ports;     // ports not in their initial state (off, unlinked)

    AesPort port(uint8_t id) const
    {
        auto it = ports.find(id);
        return it == ports.end() ? AesPort() : it->second;
    }
};

struct Family;
// The family's entry in the list of families.cpp.
extern const Family kAesFamily;

// The adapter's encryption state (made empty on first use), and the state
// if it has any.
AesData &aesData(Adapter &a);
const AesData *aesDataOf(const Adapter &a);

}  // namespace sim

#endif
