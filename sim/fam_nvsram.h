// The adapter's small memories that the host reads and writes byte by
// byte: the battery-backed NVSRAM (KX_Flash_NVSRAM), the flash as a byte
// space (KX_Flash_Byte), and the mailbox and internal registers
// (KX_Adapter_Read_Register / _Write_Register).
#ifndef SIM_FAM_NVSRAM_H
#define SIM_FAM_NVSRAM_H

#include <cstdint>
#include <map>
#include <vector>

#include "kx_records_ext.h"
#include "model.h"

namespace sim {

// A byte space of `size` bytes of which only the written runs are kept;
// every other byte reads as `fill`. Runs are disjoint and never touch, so
// the state document lists each written stretch once.
struct ByteStore {
    uint32_t size = 0;
    uint8_t fill = 0;
    std::map<uint32_t, std::vector<uint8_t>> runs;  // by offset

    bool fits(uint32_t offset, uint32_t n) const { return n <= size && offset <= size - n; }
    // Both need fits(offset, n).
    void read(uint32_t offset, uint32_t n, uint8_t *out) const;
    void write(uint32_t offset, uint32_t n, const uint8_t *in);
};

constexpr uint32_t kNvsramBytes = 32768;
constexpr uint32_t kFlashBytes = 4u << 20;
// Registers the adapter has: mailbox 0 and 1, internal 0 .. 0xFFFF.
constexpr uint32_t kMailboxRegisters = 2;
constexpr uint32_t kInternalRegisters = 0x10000;

struct NvsramData : FamilyDataOf<NvsramData> {
    ByteStore nvsram{kNvsramBytes, 0x00, {}};
    ByteStore flash{kFlashBytes, 0xFF, {}};  // erased flash reads as 0xFF
    std::map<std::pair<uint8_t, uint32_t>, uint32_t> registers;  // (type, address) -> value; others read 0
};

struct Family;
// The family's entry in the list of families.cpp.
extern const Family kNvsramFamily;

// The adapter's memories (made in their initial state on first use), and
// the memories if they were ever touched.
NvsramData &nvsramData(Adapter &a);
const NvsramData *nvsramDataOf(const Adapter &a);

}  // namespace sim

#endif
