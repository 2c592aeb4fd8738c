// The maker's own SSDs behind the adapter and what their firmware answers
// to the vendor diagnostic calls (KX_SSD_Diagnostic, KX_SSD_SmartReadData,
// KX_Download_SSD_Microcode).
//
// A disk is one of the maker's SSDs when the state document gives it a
// "korvexSsd" object; every other disk refuses the vendor calls. Each SSD
// keeps its identification, its firmware version, its 1024-byte
// manufacturing record, its internal event log, the pages written by the
// physical write actions, its defect list and whether an erase or a
// format still runs.
#ifndef SIM_FAM_SSD_H
#define SIM_FAM_SSD_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model.h"

namespace sim {

// Manufacturing record: 1024 bytes, fields at these offsets.
constexpr size_t kMfgBytes = 1024;
constexpr size_t kMfgCrc = 0, kMfgVersion = 4, kMfgModel = 8, kMfgSerial = 56, kMfgSupported = 186,
                 kMfgEnabled = 188, kMfgRatio = 216;
constexpr size_t kMfgModelBytes = 40, kMfgSerialBytes = 20;

// Data bytes of one sector; of a physical page (eight sectors); of a raw
// page, which carries the page's spare area too (1056 words, not the 1152
// of nine full sectors).
constexpr size_t kSsdSectorData = 512;
constexpr size_t kSsdPageBytes = 4096;
constexpr size_t kSsdRawPageBytes = 4224;
// Where the identification sector holds the firmware version (the model
// text starts the sector).
constexpr size_t kSsdFirmwareOffset = 64;
// The microcode file (README.md): header bytes, and the largest file taken.
constexpr size_t kMicrocodeHeader = 32;
constexpr size_t kMicrocodeMaxBytes = 16u << 20;

// One entry of the SSD's event log.
struct SsdEvent {
    uint32_t seq = 0;
    uint32_t id = 0;
    uint16_t xfer = 0;
    uint32_t params[4] = {0, 0, 0, 0};
};

struct SsdDisk {
    std::string model = "Korvex SSD";  // identification text, at most 40 bytes
    std::string firmware = "KXF10001";  // exactly 8 bytes, NUL-padded when shorter
    std::vector<uint8_t> mfg;           // kMfgBytes
    std::vector<SsdEvent> events;       // oldest first
    uint32_t nextEventSeq = 1;
    std::vector<uint32_t> defects;      // blocks added with addDefect, in order
    bool erasing = false, formatting = false;
    bool hasEraseCount = true;          // SMART attribute 19 is present
    uint32_t eraseCount = 0;
    std::string message;                // the last text sent with the message action
    // Identification of the flash chips: maker code, device code, and the
    // cell type and block size bits of bytes 2 and 3 (Micron MLC 256KB).
    uint8_t flashId[4] = {0x2C, 0x88, 0x04, 0x20};
    // Pages written by the physical write actions, by number: the page's
    // data and then its spare area (kSsdRawPageBytes). A plain write sets
    // the data, a raw one both; erased bytes are 0xFF.
    std::map<uint32_t, std::vector<uint8_t>> pages;

    // Appends an event with the next sequence number.
    void logEvent(uint32_t id, uint32_t p0 = 0);
};

struct SsdData : FamilyDataOf<SsdData> {
    std::map<uint16_t, SsdDisk> disks;  // by PD ID
};

struct Family;
// The family's entry in the list of families.cpp.
extern const Family kSsdFamily;

// The adapter's SSD state (made empty on first use), and the state if it
// has any.
SsdData &ssdData(Adapter &a);
const SsdData *ssdDataOf(const Adapter &a);

// CRC-32 of the manufacturing record: reflected polynomial 0xEDB88320,
// initial value 0xFFFFFFFF, no final inversion, over all 1024 bytes with
// the CRC field holding 0xFFFFFFFF.
uint32_t mfgCrc(const uint8_t *record);
// The same CRC over any bytes (the microcode file's payload).
uint32_t ssdCrc(const uint8_t *data, size_t n);
// A record from its fields, CRC included.
std::vector<uint8_t> makeMfgRecord(uint32_t version, const std::string &model, const std::string &serial,
                                   uint16_t supported, uint16_t enabled, uint16_t ratio);

// The SSD state of a disk, or null when the disk is not one of the maker's.
SsdDisk *findSsd(Adapter &a, uint16_t pd);

}  // namespace sim

#endif
