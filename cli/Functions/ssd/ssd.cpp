// ssd -a <action> -d <device> [...]: vendor diagnostics of the maker's own
// SSDs behind the current adapter.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <string>
#include <vector>

#include "Functions/handlers.h"
#include "Functions/ssd/ssd_events.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "parse.h"
#include "Public/ssd_module.h"
#include "Public/utils.h"
#include "kx_api.h"

namespace {

enum SsdKind {
    K_FIND,
    K_SMART,      /* readData */
    K_RATIO,      /* setUserSpaceRatio */
    K_SOFTAU,
    K_MESSAGE,
    K_NODATA,     /* an action without data; eraseUnitDone and formatDone report the done flag */
    K_TABLE,      /* the table reads: a word dump of -c sectors counted from -n */
    K_FLASHID,
    K_WRITE_MFG,
    K_READ_MFG,
    K_READ_EVENT,
    K_WRITE,      /* a page of the pattern */
    K_READ,       /* a page, dumped */
    K_COMPARE,
    K_DOWNLOAD,
};

/* What an action passes as its number. */
enum SsdNumber { N_ZERO, N_OPTION };

struct SsdAction {
    const char *name;
    SsdKind kind;
    KX_U8 code;
    KX_U8 readCode; /* the compares: the code that reads the page back */
    SsdNumber number;
};

const SsdAction kActions[] = {
    {"find", K_FIND, 0, 0, N_ZERO},
    {"readData", K_SMART, 0, 0, N_ZERO},
    {"setUserSpaceRatio", K_RATIO, SSD_ACT_SET_RATIO, 0, N_ZERO},
    {"softwareau", K_SOFTAU, 18, 0, N_OPTION},
    {"message", K_MESSAGE, 48, 0, N_ZERO},
    {"eraseUnit", K_NODATA, 224, 0, N_ZERO},
    {"eraseUnitDone", K_NODATA, 225, 0, N_ZERO},
    {"flashSystemVector", K_NODATA, 226, 0, N_ZERO},
    {"startWearLeveling", K_NODATA, 227, 0, N_ZERO},
    {"enableCmdLog", K_NODATA, 228, 0, N_ZERO},
    {"disableCmdLog", K_NODATA, 229, 0, N_ZERO},
    {"dumpFlashID", K_NODATA, 230, 0, N_ZERO},
    {"dumpDefect", K_NODATA, 231, 0, N_ZERO},
    {"addDefect", K_NODATA, 232, 0, N_OPTION},
    {"dumpWeruDesc", K_NODATA, 233, 0, N_OPTION},
    {"dumpEraseCount", K_NODATA, 234, 0, N_OPTION},
    {"readECC", K_TABLE, 235, 0, N_OPTION},
    {"readWeruDesc", K_TABLE, 236, 0, N_OPTION},
    {"readLUT", K_TABLE, 237, 0, N_OPTION},
    {"readSLUT", K_TABLE, 238, 0, N_OPTION},
    {"readEraseCount", K_TABLE, 239, 0, N_OPTION},
    {"readDefect", K_TABLE, 240, 0, N_OPTION},
    {"readFlashID", K_FLASHID, 241, 0, N_OPTION},
    {"eraseWERU", K_NODATA, 242, 0, N_OPTION},
    {"format", K_NODATA, 243, 0, N_OPTION},
    {"formatDone", K_NODATA, 244, 0, N_OPTION},
    {"writeManufactureInfo", K_WRITE_MFG, 245, SSD_ACT_READ_MFG, N_ZERO},
    {"readManufactureInfo", K_READ_MFG, SSD_ACT_READ_MFG, 0, N_ZERO},
    {"readEvent", K_READ_EVENT, 247, 0, N_OPTION},
    {"clearEvent", K_NODATA, 248, 0, N_ZERO},
    {"writePhysical", K_WRITE, 249, 0, N_OPTION},
    {"readPhysical", K_READ, 250, 0, N_OPTION},
    {"writePhysicalRaw", K_WRITE, 251, 0, N_OPTION},
    {"readPhysicalRaw", K_READ, 252, 0, N_OPTION},
    {"comparePhysical", K_COMPARE, 249, 250, N_OPTION},
    {"comparePhysicalRaw", K_COMPARE, 251, 252, N_OPTION},
    {"download", K_DOWNLOAD, 0, 0, N_ZERO},
};

const KX_U8 kEraseUnitDone = 225, kFormatDone = 244;
const KX_U8 kWritePhysicalRaw = 251, kReadPhysicalRaw = 252;

/* Sectors of a page transfer; a raw page carries its spare area too, which
   makes 1056 data words of the nine sectors instead of 1152. */
const unsigned kPageSectors = 8, kRawPageSectors = 9;
const size_t kPageWords = 1024, kRawPageWords = 1056;
const unsigned kEventSectors = 3;
const size_t kEventEntryOffset = 64, kEventEntryBytes = 64;
const KX_U32 kMaxEventsShown = 20;

const size_t kSerialMax = 20;
const size_t kFileMax = 255;
const size_t kMessageMax = 119; /* the text and its NUL fill 120 bytes */
const unsigned kMaxSectors = 64;

struct SsdOptions {
    const SsdAction *action = nullptr;
    KX_U16 device = 0;
    KX_U32 number = 0;
    unsigned count = 1;
    KX_U32 pattern = 0xF0F0F0F0;
    KX_U32 ratio = 80;
    std::string serial, file, message;
    int seen[128] = {0};
};

const SsdAction *findAction(const char *name)
{
    for (const SsdAction &a : kActions)
        if (strcasecmp(a.name, name) == 0)
            return &a;
    return nullptr;
}

/* Option text as typed in the shell, which keeps the quotes of a quoted
   word: the quotes are dropped. */
std::string unquoted(const char *text)
{
    size_t n = strlen(text);
    if (n >= 2 && text[0] == '"' && text[n - 1] == '"')
        return std::string(text + 1, n - 2);
    return text;
}

int commandFailed(KX_U8 st)
{
    fprintf(stream, "\nCommand failed (error %d: %s).\n", st, ErrorMessage(st));
    return st;
}

KX_U32 le32(const KX_U8 *p)
{
    KX_U32 v;
    memcpy(&v, p, sizeof v);
    return v;
}

KX_U16 le16(const KX_U8 *p)
{
    KX_U16 v;
    memcpy(&v, p, sizeof v);
    return v;
}

/* Eight words a line, each line led by the index of its first word plus
   `first`. */
void dumpWords(const SsdBuffer &buf, size_t words, KX_U32 first)
{
    for (size_t i = 0; i < words; ++i) {
        if (i % 8 == 0)
            fprintf(stream, "%04X: ", (unsigned)(i + first));
        fprintf(stream, "%08X ", buf.word(i));
        if (i % 8 == 7)
            fputc('\n', stream);
    }
    fputc('\n', stream);
}

int doFind()
{
    std::vector<KX_U16> disks, found;
    KX_U8 st = listDiskIds(disks);
    for (KX_U16 id : disks)
        if (isKorvexSsd(id))
            found.push_back(id);
    if (found.empty()) {
        fprintf(stream, "No Korvex SSD device is found.\n");
    } else {
        fprintf(stream, "Found %d Korvex SSD devices: ", (int)found.size());
        for (KX_U16 id : found)
            fprintf(stream, "%d ", id);
        fputc('\n', stream);
    }
    return st;
}

int doDownload(const SsdOptions &o)
{
    HD_Info info;
    if (queryHDInfo(o.device, info) != 0) {
        fprintf(stream, "Invalid PD ID %d.\n", o.device);
        return 9;
    }
    /* Small disks skip the signature test. */
    if (kxU64Value(info.Size) > 0x100000 && !isKorvexSsd(o.device)) {
        fprintf(stream, "PD %d is not a Korvex SSD device.\n", o.device);
        return 1;
    }
    KX_U8 st = KX_Download_SSD_Microcode(gCurrentAdapter, o.device, o.file.c_str());
    switch (st) {
    case 0:
        return 0;
    case 165:
        fprintf(stream, "Invalid file '%s'\n", o.file.c_str());
        return 1;
    case 166:
        fprintf(stream, "File is not a valid microcode.\n");
        return 1;
    default:
        fprintf(stream, "Download microcode failed.  status = %d\n", st);
        return 1;
    }
}

int doSmartData(KX_U16 device)
{
    SsdBuffer buf(1);
    if (!buf.ok()) {
        fprintf(stream, "malloc() failed");
        return KX_ST_NO_RESOURCE;
    }
    KX_U8 st = KX_SSD_SmartReadData(gCurrentAdapter, device, buf.buffer());
    if (st != 0)
        return commandFailed(st);
    const size_t kEntries = 30, kEntryBytes = 12, kFirstEntry = 2, kAverageEraseCount = 19;
    for (size_t i = 0; i < kEntries; ++i) {
        const KX_U8 *e = buf.data() + kFirstEntry + i * kEntryBytes;
        if (e[0] == kAverageEraseCount) {
            fprintf(stderr, "Average erase count is %d\n", (int)le32(e + 5));
            return 0;
        }
    }
    fprintf(stderr, "Average erase count not found\n");
    return 0;
}

int doRatio(const SsdOptions &o)
{
    HD_RAID_Status rs;
    KX_U8 st = queryHDRaidStatus(o.device, rs);
    if (st != 0)
        return commandFailed(st);
    if (rs.Status & KX_PD_ASSIGNED) {
        fprintf(stream, "Cannot change user space ratio on SSD %d because it is part of a VD.\n", o.device);
        return 1;
    }
    KX_U16 id = o.device;
    st = KX_DiskHasOS(gCurrentAdapter, 1, 1, &id);
    if (st != 0) {
        fprintf(stream, "Cannot change user space ratio on SSD %d because it has running OS on it.\n", o.device);
        return st;
    }
    st = ssdDiagnostic(o.device, o.action->code, KX_SSD_NO_DATA, o.ratio, nullptr);
    return st ? commandFailed(st) : 0;
}

const char *flashVendor(KX_U8 code)
{
    switch (code) {
    case 0x2C: return "Micron";
    case 0x89: return "Intel";
    case 0xAD: return "Hynix";
    case 0xEC: return "Samsung";
    default: return "Unknown";
    }
}

void printFlashId(const KX_U8 *d)
{
    static const char *const kBlockSizes[] = {"64KB", "128KB", "256KB", "512KB"};
    const unsigned cell = (d[2] >> 2) & 3;
    fprintf(stream, "Vendor:     %s\n", flashVendor(d[0]));
    fprintf(stream, "NAND type:  %s\n", cell == 0 ? "SLC" : cell == 1 ? "MLC" : "Unknown");
    fprintf(stream, "Block size: %s\n", kBlockSizes[(d[3] >> 4) & 3]);
}

void printManufactureInfo(const KX_U8 *d)
{
    char model[41], serial[21];
    memcpy(model, d + 8, 40);
    model[40] = '\0';
    memcpy(serial, d + 56, 20);
    serial[20] = '\0';
    fprintf(stream, "version = %d\n", (int)le32(d + 4));
    fprintf(stream, "model num = '%s'\n", model);
    fprintf(stream, "serial num = '%s'\n", serial);
    fprintf(stream, "supported feature = %x\n", le16(d + 186));
    fprintf(stream, "enabled feature = %x\n", le16(d + 188));
    fprintf(stream, "user block percentage = %d\n", le16(d + SSD_MFG_RATIO));
}

/* CRC-32 (reflected polynomial 0xEDB88320, initial 0xFFFFFFFF, no final
   inversion) over the 1024 record bytes with the CRC field at 0xFFFFFFFF. */
KX_U32 manufactureCrc(KX_U8 *d)
{
    const KX_U32 ones = 0xFFFFFFFF;
    memcpy(d, &ones, sizeof ones);
    KX_U32 crc = 0xFFFFFFFF;
    for (size_t i = 0; i < 1024; ++i) {
        crc ^= d[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
}

/* Text padded with blanks to the field's width (the field is not NUL
   terminated then). */
void putPadded(KX_U8 *field, const char *text, size_t width)
{
    memset(field, ' ', width);
    memcpy(field, text, strnlen(text, width));
}

int doWriteManufactureInfo(const SsdOptions &o, SsdBuffer &buf)
{
    KX_U8 st = ssdDiagnostic(o.device, o.action->readCode, KX_SSD_READ, 0, &buf);
    if (st != 0)
        return commandFailed(st);
    KX_U8 *d = buf.data();
    bool empty = true;
    for (size_t i = 0; i < 128 && empty; ++i)
        empty = buf.word(i) == 0;
    const bool haveSerial = o.seen['s'] != 0, haveRatio = o.seen['u'] != 0;
    if (empty) {
        memset(d, 0, buf.dataBytes());
        const KX_U32 version = 1;
        memcpy(d + 4, &version, sizeof version);
        putPadded(d + 8, "Korvex SSD", 20);
        putPadded(d + 56, haveSerial ? o.serial.c_str() : "QOXA 88xx ", haveSerial ? kSerialMax : 10);
        const KX_U16 ratio = (KX_U16)(haveRatio ? o.ratio : 80);
        memcpy(d + SSD_MFG_RATIO, &ratio, sizeof ratio);
    } else {
        if (haveSerial)
            putPadded(d + 56, o.serial.c_str(), kSerialMax);
        if (haveRatio) {
            const KX_U16 ratio = (KX_U16)o.ratio;
            memcpy(d + SSD_MFG_RATIO, &ratio, sizeof ratio);
        }
    }
    const KX_U32 crc = manufactureCrc(d);
    memcpy(d, &crc, sizeof crc);
    st = ssdDiagnostic(o.device, o.action->code, KX_SSD_WRITE, 0, &buf);
    return st ? commandFailed(st) : 0;
}

int doReadEvent(const SsdOptions &o, SsdBuffer &buf)
{
    KX_U8 st = ssdDiagnostic(o.device, o.action->code, KX_SSD_READ, o.number, &buf);
    if (st != 0)
        return commandFailed(st);
    const KX_U32 count = buf.word(0);
    fprintf(stream, "%d events reported.\n\n", (int)count);
    for (KX_U32 i = 0; i < count && i < kMaxEventsShown; ++i) {
        const KX_U8 *e = buf.data() + kEventEntryOffset + i * kEventEntryBytes;
        KX_U32 params[4];
        for (int k = 0; k < 4; ++k)
            params[k] = le32(e + 16 + 4 * k);
        fprintf(stream, "Sequence Number: %d\n", (int)le32(e + 4));
        printSsdEvent(stream, le32(e + 8), params, le16(e + 14));
        fputc('\n', stream);
    }
    return 0;
}

size_t pageWords(KX_U8 code) { return code == kWritePhysicalRaw || code == kReadPhysicalRaw ? kRawPageWords : kPageWords; }

int writePattern(const SsdOptions &o, KX_U8 code, SsdBuffer &buf)
{
    for (size_t i = 0; i < pageWords(code); ++i)
        buf.setWord(i, o.pattern);
    KX_U8 st = ssdDiagnostic(o.device, code, KX_SSD_WRITE, o.number, &buf);
    return st ? commandFailed(st) : 0;
}

int doCompare(const SsdOptions &o, SsdBuffer &buf)
{
    int rc = writePattern(o, o.action->code, buf);
    if (rc != 0)
        return rc;
    memset(buf.data(), 0, buf.dataBytes());
    KX_U8 st = ssdDiagnostic(o.device, o.action->readCode, KX_SSD_READ, o.number, &buf);
    if (st != 0)
        return commandFailed(st);
    for (size_t i = 0; i < pageWords(o.action->readCode); ++i)
        if (buf.word(i) != o.pattern) {
            fprintf(stream, "Expecting 0x%08X, got 0x%08X on word %d\n", o.pattern, buf.word(i), (int)i);
            return 0;
        }
    fprintf(stream, "Data are identical.\n");
    return 0;
}

unsigned sectorsOf(const SsdOptions &o)
{
    switch (o.action->kind) {
    case K_TABLE: return o.count;
    case K_WRITE_MFG: case K_READ_MFG: return SSD_MFG_SECTORS;
    case K_READ_EVENT: return kEventSectors;
    case K_WRITE: case K_READ: case K_COMPARE:
        return o.action->code == kWritePhysicalRaw || o.action->code == kReadPhysicalRaw ? kRawPageSectors
                                                                                         : kPageSectors;
    case K_NODATA: case K_RATIO: return 0;
    default: return 1;
    }
}

/* Every action that talks to the SSD itself, after the signature test. */
int runOnSsd(const SsdOptions &o)
{
    if (!isKorvexSsd(o.device)) {
        fprintf(stream, "PD %d is not a Korvex SSD device.\n", o.device);
        return 1;
    }
    SsdBuffer buf(sectorsOf(o));
    if (!buf.ok()) {
        fprintf(stream, "malloc() failed");
        return KX_ST_NO_RESOURCE;
    }
    const KX_U32 number = o.action->number == N_OPTION ? o.number : 0;
    const KX_U8 code = o.action->code;
    KX_U8 st = 0, done = 0;
    switch (o.action->kind) {
    case K_SMART:
        return doSmartData(o.device);
    case K_RATIO:
        return doRatio(o);
    case K_SOFTAU:
        st = ssdDiagnostic(o.device, code, KX_SSD_READ, number, &buf);
        if (st != 0)
            return commandFailed(st);
        fprintf(stderr, "Software AU is %lu\n", (unsigned long)buf.word(0));
        fprintf(stderr, "Raw physical size is %lu sectors\n", (unsigned long)buf.word(1));
        return 0;
    case K_MESSAGE:
        memcpy(buf.data(), o.message.c_str(), o.message.size() + 1);
        st = ssdDiagnostic(o.device, code, KX_SSD_WRITE, number, &buf);
        return st ? commandFailed(st) : 0;
    case K_NODATA:
        st = ssdDiagnostic(o.device, code, KX_SSD_NO_DATA, number, nullptr, &done);
        if (st != 0)
            return commandFailed(st);
        if (code == kEraseUnitDone)
            fprintf(stderr, done ? "Erase unit is done\n" : "Erase unit is not done\n");
        else if (code == kFormatDone)
            fprintf(stderr, done ? "Format is done\n" : "Format is not done\n");
        return 0;
    case K_TABLE:
    case K_READ:
        st = ssdDiagnostic(o.device, code, KX_SSD_READ, number, &buf);
        if (st != 0)
            return commandFailed(st);
        if (o.action->kind == K_TABLE)
            dumpWords(buf, buf.dataBytes() / 4, number);
        else
            dumpWords(buf, pageWords(code), 0);
        return 0;
    case K_FLASHID:
        st = ssdDiagnostic(o.device, code, KX_SSD_READ, number, &buf);
        if (st != 0)
            return commandFailed(st);
        printFlashId(buf.data());
        return 0;
    case K_READ_MFG:
        st = ssdDiagnostic(o.device, code, KX_SSD_READ, number, &buf);
        if (st != 0)
            return commandFailed(st);
        printManufactureInfo(buf.data());
        return 0;
    case K_WRITE_MFG:
        return doWriteManufactureInfo(o, buf);
    case K_READ_EVENT:
        return doReadEvent(o, buf);
    case K_WRITE:
        return writePattern(o, code, buf);
    case K_COMPARE:
        return doCompare(o, buf);
    default:
        return 1;
    }
}

/* Takes one option. -m is not counted: it is the one option that may be
   given again (the last text counts). */
OptionTake takeOption(int c, const char *arg, SsdOptions &o)
{
    switch (c) {
    case 'a':
        o.action = findAction(arg);
        if (!o.action) {
            fprintf(stream, "-a : invalid action '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'd': {
        unsigned long id = 0;
        if (!client::parseDecimal(arg, 0xFFFF, id)) {
            fprintf(stream, "-d : invalid device id '%s'\n", arg);
            return OPT_REFUSED;
        }
        o.device = (KX_U16)id;
        return OPT_TAKEN;
    }
    case 'n':
        if (!parseDecOrHex32(arg, &o.number)) {
            fprintf(stream, "-n : invalid number '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'c': {
        unsigned long n = 0;
        if (!client::parseDecimal(arg, kMaxSectors, n) || n == 0) {
            fprintf(stream, "-c : sector count should be a positive number <= 64\n");
            return OPT_REFUSED;
        }
        o.count = (unsigned)n;
        return OPT_TAKEN;
    }
    case 'p':
        if (!parseDecOrHex32(arg, &o.pattern)) {
            fprintf(stream, "-p : invalid pattern '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'u':
        if (!parseDecOrHex32(arg, &o.ratio)) {
            fprintf(stream, "-u : invalid user space ratio '%s'\n", arg);
            return OPT_REFUSED;
        }
        if (o.ratio < 1 || o.ratio > 90) {
            fprintf(stream, "User space ratio should be a number between 1 and 90\n");
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 's':
        o.serial = unquoted(arg);
        if (o.serial.size() > kSerialMax) {
            fprintf(stream, "-s : serial number should be no more than %d characters\n", (int)kSerialMax);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'f':
        o.file = unquoted(arg);
        if (o.file.size() > kFileMax) {
            fprintf(stream, "-f : file name should be no more than %d characters\n", (int)kFileMax);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'm':
        o.message = unquoted(arg);
        if (o.message.size() > kMessageMax) {
            fprintf(stream, "-m : message should be no more than %d characters\n", (int)kMessageMax + 1);
            return OPT_REFUSED;
        }
        o.seen['m'] = 1;
        return OPT_IGNORED;
    default:
        return OPT_HELP;
    }
}

/* The checks after parsing; -1 when the options hold together. */
int checkOptions(const SsdOptions &o, const cmd_struct *pCmdInfo)
{
    if (!o.action) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'a');
        return 1;
    }
    const SsdKind k = o.action->kind;
    if (!o.seen['d'] && k != K_FIND) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'd');
        return 1;
    }
    if (o.seen['s'] && k != K_WRITE_MFG) {
        fprintf(stream, "Invalid option '-s'\n");
        return 1;
    }
    if (o.seen['m'] && k != K_MESSAGE) {
        fprintf(stream, "Invalid option '-m'\n");
        return 1;
    }
    if (o.seen['u'] && k != K_WRITE_MFG && k != K_RATIO) {
        fprintf(stream, "Invalid option '-u'\n");
        return 1;
    }
    if (o.seen['p'] && k != K_WRITE && k != K_COMPARE) {
        fprintf(stream, "Invalid option 'p'\n");
        return 1;
    }
    if (o.action->code == 232 && !o.seen['n']) {
        fprintf(stream, "Please specify option 'n'\n");
        return 1;
    }
    if (k == K_DOWNLOAD && !o.seen['f']) {
        fprintf(stream, "Please specify microcode filename, option 'f'.\n");
        return 1;
    }
    return -1;
}

} // namespace

int doSsdDiagnostic(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"deviceid", cli::kRequiredArgument, nullptr, 'd'},
        {"number", cli::kRequiredArgument, nullptr, 'n'},
        {"count", cli::kRequiredArgument, nullptr, 'c'},
        {"pattern", cli::kRequiredArgument, nullptr, 'p'},
        {"serial", cli::kRequiredArgument, nullptr, 's'},
        {"userblock", cli::kRequiredArgument, nullptr, 'u'},
        {"filename", cli::kRequiredArgument, nullptr, 'f'},
        {"messge", cli::kRequiredArgument, nullptr, 'm'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    SsdOptions o;
    int rc = runOptionLoop(argc, argv, pCmdInfo, "a:d:n:c:p:s:u:f:m:\x01:h", longopts, false, o.seen,
                           [&](int c, const char *arg) { return takeOption(c, arg, o); });
    if (rc >= 0)
        return rc;
    rc = checkOptions(o, pCmdInfo);
    if (rc != -1)
        return rc;
    switch (o.action->kind) {
    case K_FIND:
        return doFind();
    case K_DOWNLOAD:
        return doDownload(o);
    default:
        return runOnSsd(o);
    }
}
