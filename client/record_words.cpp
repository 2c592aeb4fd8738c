/*
 * Value texts of the info and status commands (see record_words.h).
 */
#include "record_words.h"

#include <stdio.h>
#include <time.h>

namespace {

std::string format(const char *fmt, long long a)
{
    char buf[64];
    snprintf(buf, sizeof buf, fmt, a);
    return buf;
}

/* Word lists where each set bit adds "word," and the trailing comma goes;
   an empty list stays empty. */
void addWord(std::string &out, const char *word)
{
    out += word;
    out += ',';
}

std::string dropLastComma(std::string s)
{
    if (!s.empty() && s.back() == ',')
        s.pop_back();
    return s;
}

} // namespace

const char *infoBgaTypeWord(unsigned bga)
{
    switch (bga) {
    case 1: return "rebuilding";
    case 2: case 4: return "synchronizing";
    case 8: case 16: case 64: return "initializing";
    case 32: return "migration";
    case 128: return "copy back";
    default: return "unknown bga action";
    }
}

const char *infoBgaStateWord(unsigned state)
{
    switch (state) {
    case 2: return "aborted";
    case 3: return "paused";
    case 4: return "auto paused";
    case 5: return "interrupted";
    default: return nullptr;
    }
}

const char *infoVdBgaStatusWord(unsigned status)
{
    switch (status) {
    case 1: return "running";
    case 2: return "aborted";
    case 3: return "paused";
    case 4: return "auto paused";
    case 5: return "interrupted";
    default: return "N/A";
    }
}

const char *infoVdStatusWord(unsigned status)
{
    switch (status) {
    case 0: return "functional";
    case 1: return "degraded";
    case 2: return "deleted";
    case 4: return "offline";
    case 5: return "partially optimal";
    case 6: return "foreign";
    case 7: return "importable foreign";
    case 8: return "not importable foreign";
    case 11: return "conflicted";
    case 12: return "plugin conflicted";
    case 14: return "using table";
    case 15: return "functional and initialized";
    default: return "unknown";
    }
}

std::string infoFieldText(const KX_U8 *field, size_t max, bool skipLeadingBlanks,
                          bool maskNonPrintable)
{
    std::string out;
    size_t i = 0;
    if (skipLeadingBlanks)
        while (i < max && field[i] == ' ')
            ++i;
    for (; i < max && field[i] != 0; ++i) {
        char c = (char)field[i];
        if (maskNonPrintable && (field[i] < 0x20 || field[i] > 0x7E))
            c = '?';
        out += c;
    }
    return out;
}

std::string infoSasAddress(const KX_U8 *bytes8)
{
    char buf[17];
    for (int i = 0; i < 8; ++i)
        snprintf(buf + 2 * i, 3, "%02X", bytes8[i]);
    return buf;
}

const char *infoPcieSpeed(KX_U8 speed)
{
    switch (speed) {
    case 1: return "2.5Gb/s";
    case 2: return "5Gb/s";
    case 3: return "8Gb/s";
    default: return "Unknown";
    }
}

std::string infoChipRevision(KX_U8 revision)
{
    std::string s = format("%llx", revision);
    if (s[0] >= 'a' && s[0] <= 'z')
        s[0] = (char)(s[0] - 'a' + 'A');
    return s;
}

std::string infoVersion(unsigned a, unsigned b, unsigned c, unsigned d)
{
    char buf[64];
    snprintf(buf, sizeof buf, "%d.%d.%d.%04d", (int)a, (int)b, (int)c, (int)d);
    return buf;
}

std::string infoPortTypes(KX_U8 t)
{
    std::string s;
    if (t & 0x1) s += "SATA ";
    if (t & 0x2) s += "PATA ";
    if (t & 0x4) s += "SAS ";
    return s;
}

std::string infoRaidModes(KX_U16 m)
{
    std::string s;
    for (const KxRaidLevel &l : kKxRaidLevels)
        if (m & (1u << l.modeBit)) {
            s += l.listWord;
            s += ' ';
        }
    return s;
}

std::string infoFeatureWords(KX_U8 f)
{
    static const char *const kWords[8] = {
        "rebuild", "background init", "synchronize", "migration", "media patrol",
        "foreground init", "copy back", "only same type hd for create",
    };
    std::string s;
    for (int bit = 0; bit < 8; ++bit)
        if (f & (1u << bit))
            addWord(s, kWords[bit]);
    return dropLastComma(s);
}

std::string infoAdvancedFeatureWords(KX_U32 adv, KX_U8 features, KX_U32 adv2)
{
    auto set = [adv](int bit) { return (adv & (1u << bit)) != 0; };
    std::string s;
    static const char *const kLow[11] = {
        "event sense code", "big stripe", "flash bios", "bbu", "config in flash",
        "cpu efficiency", "multi VD", "spc 4", "ses2", "module consolidate", "image health",
    };
    for (int bit = 0; bit <= 10; ++bit)
        if (set(bit))
            addWord(s, kLow[bit]);
    if (set(11)) addWord(s, "phy control by port");
    if (set(12)) addWord(s, "crypto");
    /* Bit 11 names two capabilities; both words are shown. */
    if (set(11)) addWord(s, "sata phy ctrl");
    if (set(13)) addWord(s, "time setting by application");
    /* Bits 14..19 announce a missing capability: clear means supported. */
    static const char *const kInverted[6] = {
        "vd write cache", "vd read cache", "smart", "rounding", "hd set free", "hd write cache",
    };
    for (int bit = 14; bit <= 19; ++bit)
        if (!set(bit))
            addWord(s, kInverted[bit - 14]);
    if (set(22)) addWord(s, "aes partition");
    if (set(23)) addWord(s, "tandem intelligent init");
    if (!set(24) && (features & 0x1)) addWord(s, "set spare");
    if (set(25)) addWord(s, "hybrid switch");
    if (set(26)) addWord(s, "hot plug");
    if (set(27)) addWord(s, "ata pass through");
    if (set(28)) addWord(s, "remap");
    if (set(29)) addWord(s, "access register");
    if (set(30)) addWord(s, "oem data");
    if (set(31) && !(adv2 & 0x8)) {
        addWord(s, "flash predata");
        addWord(s, "raw update");
    }
    return dropLastComma(s);
}

std::string infoAdvancedFeature2Words(KX_U32 adv2)
{
    std::string s;
    if ((adv2 & 0x1) && !(adv2 & 0x8)) addWord(s, "flash twice");
    if (adv2 & 0x2) addWord(s, "vd_da group");
    if (adv2 & 0x8) addWord(s, "flash not support");
    return dropLastComma(s);
}

std::string infoStripeSizes(KX_U16 supported, KX_U32 adv)
{
    unsigned bits = supported;
    if (bits == 0)
        bits = (adv & 0x2) ? 127 : 15;
    std::string s;
    for (int j = 0; j < 7; ++j)
        if (bits & (1u << j))
            s += format("%lldK ", 1LL << (j + 4));
    return s;
}

InfoPdKind infoPdKind(const HD_Info &hd, bool extended)
{
    InfoPdKind k;
    if (extended) {
        k.sas = (hd.ConnectionType & 0x06) == 0x06;
        k.pata = (hd.ConnectionType & 0x09) == 0x09;
        k.notDisk = hd.DeviceType != 0;
        k.diskDevice = hd.DeviceType == 0;
    } else {
        k.sas = (hd.HDType & 0x04) != 0;
        k.pata = hd.HDType == 2;
        k.notDisk = (hd.HDType & 0x08) != 0;
        k.diskDevice = (hd.HDType & 0x38) == 0;
    }
    return k;
}

std::string infoLinkedAt(const HD_Info &hd)
{
    const Link_Endpoint &p = hd.Link.Parent;
    char buf[96];
    switch (p.DevType) {
    case 255:
        snprintf(buf, sizeof buf, "HBA port %d", p.PhyID[0]);
        break;
    case 3:
        snprintf(buf, sizeof buf, "Expander %d, port %d", p.DevID, p.PhyID[0]);
        break;
    case 2:
        snprintf(buf, sizeof buf, "PM %d, port %d", p.DevID, p.PhyID[0]);
        break;
    case 12:
        snprintf(buf, sizeof buf, "enclosure %d, HBA port %d", hd.Link.Self.EnclosureID,
                 p.PhyID[0]);
        break;
    default:
        snprintf(buf, sizeof buf, "unknown device, type %d, id %d, port %d", p.DevType,
                 p.DevID, p.PhyID[0]);
        break;
    }
    return buf;
}

std::string infoSupportedSpeeds(KX_U32 fs)
{
    std::string s;
    if (fs & (1u << 2)) s += "1.5 ";
    if (fs & (1u << 3)) s += "3 ";
    if (fs & (1u << 7)) s += "6 ";
    if (fs & (1u << 10)) s += "12 ";
    /* A 12 Gb/s-only disk needs its unit as much as the slower ones. */
    if (fs & ((1u << 2) | (1u << 3) | (1u << 7) | (1u << 10)))
        s += "Gb/s";
    return s;
}

const char *infoDriveSpeed(KX_U8 speed)
{
    switch (speed) {
    case 1: return "1.5 Gb/s";
    case 2: return "3 Gb/s";
    case 3: return "6 Gb/s";
    case 4: return "12 Gb/s";
    default: return "unknown";
    }
}

bool infoLocateLedShown(const HD_Info &hd)
{
    KX_U8 t = hd.Link.Parent.DevType;
    return (hd.ConnectionType & 0x20) || t == 3 || t == 11 || t == 12;
}

const char *infoPdRunningOs(KX_U8 status)
{
    if (status == 158 || status == 159)
        return "yes";
    return status == 0 ? "no" : "unknown";
}

const char *infoVdRunningOs(KX_U8 status)
{
    if (status == 158)
        return "yes";
    return status == 0 ? "no" : "unknown";
}

bool infoPdBgaLine(const HD_BGA_Status &bga, std::string &label, std::string &value)
{
    if (bga.Bga == 1)
        label = "Media patrol: ";
    else if (bga.Bga == 2)
        label = "Data scrub: ";
    else
        return false;
    char buf[96];
    switch (bga.BgaStatus) {
    case 0:
        return false;
    case 1:
        if (bga.Percentage == 255)
            snprintf(buf, sizeof buf,
                     " Percentage is %d%% ,Invalid,suggest updating PD LD or RCT", bga.Percentage);
        else if (bga.Percentage > 100)
            snprintf(buf, sizeof buf, "Invalid Percentage  %d%% ", bga.Percentage);
        else
            snprintf(buf, sizeof buf, "running, %d%% done", bga.Percentage);
        break;
    case 2:
        snprintf(buf, sizeof buf, "aborted");
        break;
    case 3:
        snprintf(buf, sizeof buf, "paused at %d%%", bga.Percentage);
        break;
    case 4:
        snprintf(buf, sizeof buf, "auto-paused");
        break;
    default:
        snprintf(buf, sizeof buf, "unknown BGA status %d", bga.BgaStatus);
        break;
    }
    value = buf;
    return true;
}

std::vector<KX_U16> infoHdBlockIds(const HD_Block_Info &hb)
{
    const unsigned cap = sizeof hb.BlockIDs / sizeof hb.BlockIDs[0];
    std::vector<KX_U16> ids;
    if (hb.BlkCount != 0) {
        unsigned n = hb.BlkCount < cap ? hb.BlkCount : cap;
        for (unsigned i = 0; i < n; ++i)
            ids.push_back(hb.BlockIDs[i]);
        return ids;
    }
    for (unsigned i = 0; i < cap; ++i)
        if (hb.BlockIDs[i] != 255 && hb.BlockIDs[i] != 0xFFFF)
            ids.push_back(hb.BlockIDs[i]);
    return ids;
}

unsigned infoVdBlockSlots(const LD_Info &ld)
{
    const unsigned cap = sizeof ld.BlockIDs / sizeof ld.BlockIDs[0];
    if (ld.BlkCount == 0)
        return 16;
    return ld.BlkCount < cap ? ld.BlkCount : cap;
}

bool infoVdBlockMissing(const LD_Info &ld, KX_U16 blockId)
{
    if (blockId == 0xFFFF)
        return true;
    return ld.BlkCount == 0 && blockId == 255;
}

unsigned infoVdGroupSize(const LD_Info &ld)
{
    switch (ld.RaidMode) {
    case 16: return 2;
    case 80: case 96: return ld.HDCount / 2u;
    default: return ld.HDCount;
    }
}

std::string infoVdBlockIds(const LD_Info &ld)
{
    std::string s;
    const unsigned slots = infoVdBlockSlots(ld);
    for (unsigned i = 0; i < slots; ++i) {
        if (ld.BlkCount == 0 && infoVdBlockMissing(ld, ld.BlockIDs[i]))
            continue;
        s += format("%lld ", ld.BlockIDs[i]);
    }
    return s;
}

std::string infoPdRaidSetup(const LD_Info &ld,
                            const std::function<KX_U8(KX_U16 blockId, KX_U16 &hdId)> &lookup)
{
    std::string s;
    const unsigned slots = infoVdBlockSlots(ld);
    const unsigned group = infoVdGroupSize(ld);
    for (unsigned i = 0; i < slots; ++i) {
        KX_U16 id = ld.BlockIDs[i];
        KX_U16 hd = 0;
        if (infoVdBlockMissing(ld, id))
            s += "* ";
        else if (lookup(id, hd) != 0)
            s += "? ";
        else
            s += format("%lld ", hd);
        /* A group size of 0 (too few member disks reported) means one
           group: no separator rather than a division by zero. */
        if (group != 0 && (i + 1) % group == 0 && i + 1 < slots)
            s += "| ";
    }
    return s;
}

const char *infoCacheMode(KX_U8 cacheMode)
{
    switch (cacheMode & 0x0B) {
    case 0: return "On ";
    case 1: return "Off ";
    default: return "";
    }
}

std::string infoVdProgress(const LD_Status &st)
{
    char buf[128];
    const char *type = infoBgaTypeWord(st.Bga);
    if (st.BgaState == 1) {
        snprintf(buf, sizeof buf, "%s is %d%% done", type, st.BgaPercentage);
        return buf;
    }
    const char *state = infoBgaStateWord(st.BgaState);
    if (!state)
        return "";
    snprintf(buf, sizeof buf, "%s is %s", type, state);
    std::string s = buf;
    if (st.BgaState == 3 || st.BgaState == 4)
        s += format(" at %lld%%", st.BgaPercentage);
    return s;
}

const char *infoTandemStatusWord(const LD_Info &ld, const LD_Status &st)
{
    switch (ld.Status) {
    case 0: return "functional";
    case 1: return st.Bga == 1 ? "initializing" : "unknown";
    case 14: return "using table";
    case 15: return "functional and initialized";
    default: return "unknown";
    }
}

std::string infoLastWriteTime(const LD_Info &ld)
{
    static const char kDay[7][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char kMonth[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    time_t t = (time_t)((unsigned long)ld.time_hi * 65536UL + ld.time_low);
    struct tm tm;
    if (!gmtime_r(&t, &tm))
        return "\n";
    /* asctime's own layout, written here so that no static buffer is
       shared and no year can overrun it. */
    char buf[64];
    snprintf(buf, sizeof buf, "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", kDay[tm.tm_wday % 7],
             kMonth[tm.tm_mon % 12], tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
             1900 + tm.tm_year);
    return buf;
}

std::string infoArrayBga(const DG_Info &dg)
{
    const char *type = infoBgaTypeWord(dg.BgaType);
    if (dg.BgaState == 1)
        return type;
    const char *state = infoBgaStateWord(dg.BgaState);
    if (!state)
        return "none";
    return std::string(type) + " " + state;
}

const char *infoArrayStatus(KX_U8 status)
{
    switch (status) {
    case 0: return "functional";
    case 1: return "At least one PD is missing from this array";
    default: return "offline";
    }
}

const char *infoBlockStatus(KX_U16 flags)
{
    if (flags & 0x2)
        return "assigned";
    if (flags & 0x1)
        return "free";
    return "invalid";
}

std::string infoSpareStatus(const HD_RAID_Status &rs)
{
    if (rs.Status & 0x08)
        return "offline";
    if (rs.Status & 0x04)
        return "global spare";
    if (rs.Status & 0x40)
        return format("dedicated spare to array %lld", rs.DGID);
    if (rs.Status & 0x80)
        return "foreign disk";
    return "none spare";
}

std::string infoBbuStatus(const BBU_Info &b)
{
    std::string s;
    const KX_U32 st = b.status;
    if (st & 0x2) s += "low battery, ";
    if (st & 0x8) s += "full charged, ";
    if (st & 0x10) s += format("discharging and %lld minutes to empty, ", b.time_to_empty);
    if (st & 0x4) s += format("charging and %lld minutes to full, ", b.time_to_full);
    static const struct { KX_U32 bit; const char *phrase; } kRest[] = {
        {0x20, "relearn, "},
        {0x40, "over temperature warning, "},
        {0x80, "over temperature error, "},
        {0x100, "under temperature warning, "},
        {0x200, "under temperature error, "},
        {0x400, "over voltage warning, "},
        {0x800, "over voltage error, "},
        {0x1000, "under voltage warning, "},
        {0x2000, "under voltage error, "},
        {0x4000, "greater lowerbound, "},
        {0x8000, "power stop all, "},
    };
    for (const auto &e : kRest)
        if (st & e.bit)
            s += e.phrase;
    if (s.empty())
        return (st & 0x1) ? "OK" : "Unknow";
    s.resize(s.size() - 2);
    return s;
}

std::string infoBbuSensors(KX_U16 fs)
{
    std::string s;
    if (fs & 0x1) s += "temperature ";
    if (fs & 0x2) s += "voltage ";
    if (fs & 0x4) s += "Ecapacity";
    return s.empty() ? "N/A" : s;
}
