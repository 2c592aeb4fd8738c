// The vendor diagnostic calls of the maker's SSDs (state in fam_ssd.h,
// actions and the microcode file format in README.md). A call's buffer is
// a 16-byte header, which the SSD leaves alone, and then the sectors.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "api.h"
#include "fam_ssd.h"
#include "kx_records_ext.h"

using namespace sim;

namespace {

constexpr size_t kEventLogSectors = 3;
constexpr size_t kEventEntryBytes = 64;
constexpr size_t kMaxReadSectors = 64;

void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t get32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// What an action moves: its direction and sector count (0 with a read:
// any count from 1 to 64).
struct Action {
    uint8_t code;
    uint8_t direction;
    uint16_t sectors;
};

const Action kActions[] = {
    {17, KX_SSD_NO_DATA, 0},  {18, KX_SSD_READ, 1},     {48, KX_SSD_WRITE, 1},    {224, KX_SSD_NO_DATA, 0},
    {225, KX_SSD_NO_DATA, 0}, {226, KX_SSD_NO_DATA, 0}, {227, KX_SSD_NO_DATA, 0}, {228, KX_SSD_NO_DATA, 0},
    {229, KX_SSD_NO_DATA, 0}, {230, KX_SSD_NO_DATA, 0}, {231, KX_SSD_NO_DATA, 0}, {232, KX_SSD_NO_DATA, 0},
    {233, KX_SSD_NO_DATA, 0}, {234, KX_SSD_NO_DATA, 0}, {235, KX_SSD_READ, 0},    {236, KX_SSD_READ, 0},
    {237, KX_SSD_READ, 0},    {238, KX_SSD_READ, 0},    {239, KX_SSD_READ, 0},    {240, KX_SSD_READ, 0},
    {241, KX_SSD_READ, 1},    {242, KX_SSD_NO_DATA, 0}, {243, KX_SSD_NO_DATA, 0}, {244, KX_SSD_NO_DATA, 0},
    {245, KX_SSD_WRITE, 2},   {246, KX_SSD_READ, 2},    {247, KX_SSD_READ, 3},    {248, KX_SSD_NO_DATA, 0},
    {249, KX_SSD_WRITE, 8},   {250, KX_SSD_READ, 8},    {251, KX_SSD_WRITE, 9},   {252, KX_SSD_READ, 9},
    {255, KX_SSD_READ, 1},
};

const Action *findAction(uint8_t code)
{
    for (const Action &a : kActions)
        if (a.code == code)
            return &a;
    return nullptr;
}

// The disk's SSD, or the status a disk that is not one answers with.
uint8_t ssdOf(Adapter &a, uint16_t hdId, SsdDisk *&out)
{
    PD *pd = a.findPD(hdId);
    if (!pd || pd->state != PD::ONLINE)
        return KX_ST_BAD_PD;
    out = findSsd(a, hdId);
    return out ? KX_ST_OK : KX_ST_NOT_SUPPORTED;
}

// The words of the table reads (235 .. 240) from word index `first`: the
// defect list (its length, then the blocks) for readDefect, and for the
// others the SSD's internal tables, which the model makes up as the code
// in the top byte over the word's index.
void tableRead(const SsdDisk &d, uint8_t code, uint32_t first, uint8_t *data, size_t words)
{
    for (size_t k = 0; k < words; ++k) {
        const uint64_t index = static_cast<uint64_t>(first) + k;
        uint32_t w;
        if (code == 240)
            w = index == 0 ? static_cast<uint32_t>(d.defects.size())
                           : (index <= d.defects.size() ? d.defects[index - 1] : 0);
        else
            w = static_cast<uint32_t>(code) << 24 | static_cast<uint32_t>(index & 0xFFFFFF);
        put32(data + 4 * k, w);
    }
}

// Word 0: the events from the one asked for to the newest; as many of
// them as the sectors hold follow.
void eventLogRead(const SsdDisk &d, uint32_t first, uint8_t *data)
{
    put32(data, first < d.events.size() ? static_cast<uint32_t>(d.events.size() - first) : 0);
    const size_t room = (kEventLogSectors * kSsdSectorData - kEventEntryBytes) / kEventEntryBytes;
    for (size_t k = 0; k < room && first + k < d.events.size(); ++k) {
        const SsdEvent &e = d.events[first + k];
        uint8_t *p = data + kEventEntryBytes * (k + 1);
        put32(p + 4, e.seq);
        put32(p + 8, e.id);
        p[14] = static_cast<uint8_t>(e.xfer);
        p[15] = static_cast<uint8_t>(e.xfer >> 8);
        for (int i = 0; i < 4; ++i)
            put32(p + 16 + 4 * i, e.params[i]);
    }
}

uint8_t diagnose(Session &s, const PD &pd, SsdDisk &d, const Action &act, uint32_t number, uint16_t sectors,
                 uint8_t *data, uint8_t &done)
{
    done = 1;
    switch (act.code) {
    case 17:  // the user space ratio, kept in the manufacturing record
        if (number < 1 || number > 90)
            return KX_ST_OUT_OF_RANGE;
        d.mfg[kMfgRatio] = static_cast<uint8_t>(number);
        d.mfg[kMfgRatio + 1] = 0;
        put32(&d.mfg[kMfgCrc], mfgCrc(d.mfg.data()));
        d.logEvent(0xC0002, number);
        break;
    case 18: {
        const uint64_t rawSectors = pd.sizeKiB * 2;
        put32(data, 8);
        put32(data + 4, rawSectors > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(rawSectors));
        return KX_ST_OK;
    }
    case 48: {
        const uint8_t *end = static_cast<const uint8_t *>(std::memchr(data, 0, kSsdSectorData));
        d.message.assign(reinterpret_cast<const char *>(data), end ? end - data : kSsdSectorData - 1);
        break;
    }
    case 224:  // an erase of the flash units, finished within the call
        d.pages.clear();
        d.erasing = false;
        break;
    case 225:
        done = d.erasing ? 0 : 1;
        return KX_ST_OK;
    case 232:
        d.defects.push_back(number);
        break;
    case 235: case 236: case 237: case 238: case 239: case 240:
        tableRead(d, act.code, number, data, sectors * kSsdSectorData / 4);
        return KX_ST_OK;
    case 241:
        std::memcpy(data, d.flashId, sizeof d.flashId);
        return KX_ST_OK;
    case 242:
        d.pages.erase(number);
        break;
    case 243:
        d.pages.clear();
        d.formatting = false;
        break;
    case 244:
        done = d.formatting ? 0 : 1;
        return KX_ST_OK;
    case 245:
        if (get32(data + kMfgCrc) != mfgCrc(data))
            return KX_ST_BAD_DATA;
        d.mfg.assign(data, data + kMfgBytes);
        d.logEvent(0xC0001);
        break;
    case 246:
        std::memcpy(data, d.mfg.data(), kMfgBytes);
        return KX_ST_OK;
    case 247:
        eventLogRead(d, number, data);
        return KX_ST_OK;
    case 248:
        d.events.clear();
        break;
    case 249: case 251: {
        std::vector<uint8_t> &page = d.pages[number];
        page.resize(kSsdRawPageBytes, 0xFF);
        std::memcpy(page.data(), data, act.code == 251 ? kSsdRawPageBytes : kSsdPageBytes);
        break;
    }
    case 250: case 252: {
        const bool raw = act.code == 252;
        const size_t n = raw ? kSsdRawPageBytes : kSsdPageBytes;
        auto it = d.pages.find(number);
        if (it == d.pages.end())
            std::memset(data, 0xFF, n);  // erased flash
        else
            std::memcpy(data, it->second.data(), n);
        // A defective block does not keep what was written: its last
        // word reads back inverted.
        if (std::find(d.defects.begin(), d.defects.end(), number) != d.defects.end())
            put32(data + n - 4, ~get32(data + n - 4));
        return KX_ST_OK;
    }
    case 255:
        std::memset(data, 0, kSsdSectorData);
        std::memcpy(data, d.model.data(), d.model.size());
        std::memcpy(data + kSsdFirmwareOffset, d.firmware.data(), d.firmware.size());
        return KX_ST_OK;
    default:  // the debug-port dumps and the housekeeping starts change nothing the host sees
        return KX_ST_OK;
    }
    s.changed();
    return KX_ST_OK;
}

// The microcode file: a 32-byte header ("KXSSDUC1", the 8-byte firmware
// version, the payload length and the payload's CRC, both u32, 8 bytes
// zero) followed by the payload. Returns the version, or false.
bool readMicrocode(const char *file, uint8_t &status, std::string &version)
{
    status = KX_ST_BAD_FILE;
    FILE *f = file ? std::fopen(file, "rb") : nullptr;
    if (!f)
        return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    size_t n;
    bool tooLong = false;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && !tooLong) {
        bytes.insert(bytes.end(), chunk, chunk + n);
        tooLong = bytes.size() > kMicrocodeMaxBytes;
    }
    const bool readError = std::ferror(f) != 0;
    std::fclose(f);
    if (readError)
        return false;
    status = KX_ST_BAD_MICROCODE;
    if (tooLong || bytes.size() <= kMicrocodeHeader || std::memcmp(bytes.data(), "KXSSDUC1", 8) != 0)
        return false;
    const uint32_t length = get32(&bytes[16]);
    if (length != bytes.size() - kMicrocodeHeader ||
        ssdCrc(&bytes[kMicrocodeHeader], length) != get32(&bytes[20]))
        return false;
    const uint8_t *v = &bytes[8];
    const uint8_t *end = static_cast<const uint8_t *>(std::memchr(v, 0, 8));
    version.assign(v, end ? end : v + 8);
    status = KX_ST_OK;
    return true;
}

}  // namespace

SIM_EXPORT KX_U8 KX_SSD_Diagnostic(KX_U8 adapter, KX_U16 hdId, KX_U8 code, KX_U8 direction, KX_U32 number,
                                   KX_U16 sectors, KX_U8 *buffer, KX_U8 *done)
{
    SIM_GUARD(return onAdapter("KX_SSD_Diagnostic", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        SsdDisk *d = nullptr;
        const uint8_t st = ssdOf(a, hdId, d);
        if (st != KX_ST_OK)
            return st;
        const Action *act = findAction(code);
        if (!act)
            return KX_ST_NOT_SUPPORTED;
        const bool anyCount = act->direction == KX_SSD_READ && act->sectors == 0;
        if (direction != act->direction || (anyCount ? sectors < 1 || sectors > kMaxReadSectors : sectors != act->sectors))
            return KX_ST_INVALID_PARAM;
        if (sectors && !buffer)
            return KX_ST_INVALID_PARAM;
        uint8_t finished = 1;
        const uint8_t r = diagnose(s, *a.findPD(hdId), *d, *act, number, sectors,
                                   buffer ? buffer + KX_SSD_HEADER_BYTES : nullptr, finished);
        if (r == KX_ST_OK && done)
            *done = finished;
        return r;
    });)
}

SIM_EXPORT KX_U8 KX_SSD_SmartReadData(KX_U8 adapter, KX_U16 hdId, KX_U8 *buffer)
{
    SIM_GUARD(return onAdapter("KX_SSD_SmartReadData", adapter, [&](Session &, Adapter &a) -> uint8_t {
        SsdDisk *d = nullptr;
        const uint8_t st = ssdOf(a, hdId, d);
        if (st != KX_ST_OK)
            return st;
        if (!buffer)
            return KX_ST_INVALID_PARAM;
        uint8_t *data = buffer + KX_SSD_HEADER_BYTES;
        std::memset(data, 0, kSsdSectorData);
        data[0] = 0x10;  // revision of the attribute table
        struct {
            uint8_t id;
            uint32_t raw;
        } attrs[] = {{9, 1000u + hdId}, {12, 40u + hdId}, {19, d->eraseCount}, {194, 35}};
        uint8_t *entry = data + 2;
        for (const auto &at : attrs) {
            if (at.id == 19 && !d->hasEraseCount)
                continue;
            entry[0] = at.id;
            entry[1] = 0x32;  // flags
            entry[3] = entry[4] = 100;
            put32(entry + 5, at.raw);
            entry += 12;
        }
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_Download_SSD_Microcode(KX_U8 adapter, KX_U16 hdId, const char *file)
{
    SIM_GUARD(return onAdapter("KX_Download_SSD_Microcode", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        SsdDisk *d = nullptr;
        uint8_t st = ssdOf(a, hdId, d);
        if (st != KX_ST_OK)
            return st;
        std::string version;
        if (!readMicrocode(file, st, version))
            return st;
        d->firmware = version;
        d->logEvent(0xA0005);
        s.changed();
        return KX_ST_OK;
    });)
}
