#include "evt_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

struct Text {
    unsigned code;
    const char *text;
};

template <size_t N>
const char *lookup(const Text (&table)[N], unsigned code)
{
    for (const Text &t : table)
        if (t.code == code)
            return t.text;
    return nullptr;
}

// Builds one description. Texts of the vocabulary are stored without the
// severity prefix; `prefixed` says whether the console puts the (empty)
// prefix and its blank in front.
class Writer {
public:
    Writer(EvtDialect dialect, char *buf, size_t size) : m_dialect(dialect), m_buf(buf), m_size(size)
    {
        if (m_size)
            m_buf[0] = '\0';
    }

    void vput(bool prefixed, const char *fmt, va_list ap)
    {
        if (!m_size)
            return;
        size_t at = 0;
        if (prefixed && m_dialect == EVT_CONSOLE && m_size > 1) {
            m_buf[0] = ' ';
            m_buf[1] = '\0';
            at = 1;
        }
        std::vsnprintf(m_buf + at, m_size - at, fmt, ap);
    }
    void put(const char *fmt, ...) __attribute__((format(printf, 2, 3)))
    {
        va_list ap;
        va_start(ap, fmt);
        vput(true, fmt, ap);
        va_end(ap);
    }
    void bare(const char *fmt, ...) __attribute__((format(printf, 2, 3)))
    {
        va_list ap;
        va_start(ap, fmt);
        vput(false, fmt, ap);
        va_end(ap);
    }
    bool web() const { return m_dialect == EVT_WEB; }
    size_t length() const { return m_size ? std::strlen(m_buf) : 0; }

private:
    EvtDialect m_dialect;
    char *m_buf;
    size_t m_size;
};

int I(KX_U32 v) { return static_cast<int>(v); }

// ---- class 0: adapter -------------------------------------------------

const Text kAdapterPlain[] = {
    {0, "SMART has been enabled"},
    {1, "SMART has been disabled"},
    {2, "Buzzer has been enabled"},
    {3, "Buzzer has been disabled"},
    {4, "Auto-rebuild has been enabled"},
    {5, "Auto-rebuild has been disabled"},
    {6, "Media patrol rate has been changed"},
    {7, "Copy back has been enabled"},
    {8, "Copy back has been disabled"},
    {10, "Battery backup unit found an ECC error"},
    {12, "Auto starts flush dirty data"},
    {13, "Auto finish flush dirty data"},
    {14, "Page data has an ECC error and can not be flushed"},
};

void describeAdapter(const Event &e, Writer &w)
{
    if (const char *t = lookup(kAdapterPlain, e.Code))
        return w.put("%s", t);
    const int dev = e.DeviceID;
    switch (e.Code) {
    case 9:
        if (e.SenseDataLength != 0) {
            char serial[sizeof e.SenseData + 1];
            size_t n = strnlen(reinterpret_cast<const char *>(e.SenseData), sizeof e.SenseData);
            std::memcpy(serial, e.SenseData, n);
            serial[n] = '\0';
            return w.put("Adapter %d with serial number %s is detected", dev, serial);
        }
        return w.put("Adapter %d is detected, serial number not available", dev);
    case 11: return w.put("Auto dirty data flushed %d/%d", I(e.Params[1]), I(e.Params[0]));
    case 15: return w.put("Adapter %d run as non-cache mode, cause: lacks enough memory", dev);
    case 16:
        return w.web() ? w.put("Adapter %d has been removed", dev) : w.put("Adapter %d removed", dev);
    case 17:
        return w.web() ? w.put("Adapter %d is detected", dev) : w.put("Adapter %d detected", dev);
    case 18: return w.put("Adapter %d event time synchronization success", dev);
    case 0xFFFF:
        return w.put("Event(s) lost. Current seqNum %d, last seqNum %d", I(e.SequenceNo), I(e.Params[2]));
    default: return w.bare("Unknown adapter event code %d", e.Code);
    }
}

// ---- background-activity blocks ----------------------------------------

const char *const kEndings[10] = {
    "started", "restarted", "paused", "resumed", "aborted",
    "completed", "is %d%% done", "failed", "is auto paused", "is auto resumed",
};

// subject holds one %s and/or %d already filled in; the ending may take the
// percentage.
void activity(Writer &w, const char *subject, unsigned offset, KX_U32 percent, bool initEndings)
{
    const char *ending = kEndings[offset];
    if (initEndings && offset == 8)
        ending = "auto paused";
    if (initEndings && offset == 9)
        ending = "auto resumed";
    char tail[64];
    std::snprintf(tail, sizeof tail, ending, I(percent));
    w.put("%s %s", subject, tail);
}

// Rebuild endings that name the Tandem initialization instead, by dialect.
bool tandemEnding(const Writer &w, unsigned offset)
{
    if (w.web())
        return offset != 2;
    return offset == 0 || offset == 3 || offset == 4 || offset == 5 || offset == 7;
}

// ---- class 1: virtual disk ----------------------------------------------

void describeVD(const Event &e, Writer &w)
{
    const char *kind = e.Params[3] == 1 ? "Tandem" : "Virtual Disk";
    const int dev = e.DeviceID;
    const unsigned code = e.Code;
    char subject[96];
    if (code >= 20 && code <= 99) {
        const unsigned base = code / 10 * 10, offset = code % 10;
        bool initEndings = false;
        switch (base) {
        case 20: std::snprintf(subject, sizeof subject, "Consistency check on %s %d", kind, dev); break;
        case 30: std::snprintf(subject, sizeof subject, "Consistency fix on %s %d", kind, dev); break;
        case 40: std::snprintf(subject, sizeof subject, "Fast initialization on %s %d", kind, dev); break;
        case 50:
            std::snprintf(subject, sizeof subject, "Background initialization on virtual disk %d", dev);
            initEndings = true;
            break;
        case 60:
            std::snprintf(subject, sizeof subject, "Foreground initialization on virtual disk %d", dev);
            initEndings = true;
            break;
        case 70:
            if (e.Params[3] == 1 && tandemEnding(w, offset))
                std::snprintf(subject, sizeof subject, "Initialization data on Tandem %d", dev);
            else
                std::snprintf(subject, sizeof subject, "Rebuild disk on virtual disk %d", dev);
            break;
        case 80: std::snprintf(subject, sizeof subject, "Migration on virtual disk %d", dev); break;
        default: std::snprintf(subject, sizeof subject, "Copy back on virtual disk %d", dev); break;
        }
        return activity(w, subject, offset, e.Params[0], initEndings);
    }
    switch (code) {
    case 0: return w.put("%s %d is offline", kind, dev);
    case 1: return w.put("%s %d is online", kind, dev);
    case 2: return w.put("%s %d is created", kind, dev);
    case 3:
        if (e.Params[0] != 0 && !w.web()) {
            // The name travels in the sixteen bytes of the parameters.
            char name[sizeof e.Params + 1];
            size_t n = strnlen(reinterpret_cast<const char *>(e.Params), sizeof e.Params);
            std::memcpy(name, e.Params, n);
            name[n] = '\0';
            return w.put("%s %s is deleted", kind, name);
        }
        return w.put("%s %d is deleted", kind, dev);
    case 4:
        return w.web() ? w.put("%s %d is degraded", kind, dev) : w.put("Virtual Disk %d is degraded", dev);
    case 5: return w.put("Virtual Disk %d lost a redundancy disk", dev);
    case 6: return w.put("Cache mode on %s %d has been changed", kind, dev);
    case 7: return w.put("Synchronization on %s %d succeeded", kind, dev);
    case 8: return w.put("Synchronization on %s %d failed ", kind, dev);
    case 9: return w.put("virtual disk %d has been imported into disk array %d", dev, I(e.Params[0]));
    case 100:
        if (e.Params[0] != 0)
            return w.put("Consistency check/fix on virtual disk %d found inconsistent LBA 0x%x%08x", dev,
                         e.Params[0], e.Params[1]);
        return w.put("Consistency check/fix on virtual disk %d found inconsistent LBA 0x%x", dev, e.Params[1]);
    default: return w.bare("Unknown VD event code %d", e.Code);
    }
}

// ---- class 2: physical disk ---------------------------------------------

const Text kDiskById[] = {
    {1, "Physical disk %d is plugged in"},
    {2, "Physical disk %d is set down"},
    {3, "Request to physical disk %d is timed out"},
    {4, "Physical disk %d read write error."},
    {5, "Physical disk %d  S.M.A.R.T started"},
    {6, "Physical disk %d error being fixed"},
    {9, "Physical disk %d has been assigned as spare drive"},
    {10, "Physical disk %d has been unset as spare drive"},
    {11, "SMART has over threshold on physical disk %d"},
    {12, "SMART polling failed on physical disk %d"},
    {13, "Bad block table on physical disk %d is 80%% full"},
    {14, "Bad block table on physical disk %d is full"},
    {15, "Bad block reassigned on physical disk %d"},
    {16, "Cache mode of physical disk %d has been changed"},
    {54, "Physical disk %d has been set as free disk"},
    {55, "Physical disk %d offline caused by plain disk on AES enabled port"},
    {56, "Physical disk %d offline caused by crypto disk on AES disable port"},
    {57, "Physical disk %d offline caused by cipher is mismatch between disk and port"},
};

void putById(Writer &w, const char *fmt, int id)
{
    // The table formats take exactly one %d: the object's ID.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    char text[200];
    std::snprintf(text, sizeof text, fmt, id);
#pragma GCC diagnostic pop
    w.put("%s", text);
}

void describeDisk(const Event &e, Writer &w)
{
    const int dev = e.DeviceID;
    if (const char *t = lookup(kDiskById, e.Code))
        return putById(w, t, dev);
    if (e.Code >= 17 && e.Code <= 26) {
        char subject[64];
        std::snprintf(subject, sizeof subject, "Media Patrol on physical disk %d", dev);
        return activity(w, subject, e.Code - 17u, e.Params[0], false);
    }
    switch (e.Code) {
    case 0:
        return w.web() ? w.put("Physical disk %d is unplugged", dev) : w.put("Physical disk %d is plugged out", dev);
    case 36:
        return w.put("Command [0x%x] on physical disk %d failed. Sense key=0x%x, ASC=0x%x, ASCQ=0x%x", e.Params[0], dev,
                     e.Params[1], e.Params[2], e.Params[3]);
    case 37:
        return w.put("Bad Sector is detected on disk %d at LBA 0x%x%08x, count=%d, flag=0x%08x.", dev, e.Params[0],
                     e.Params[1], I(e.Params[2]), e.Params[3]);
    case 38:
        return w.put("Bad Sector is fixed on disk %d at LBA 0x%x%08x, count=%d, flag=0x%08x.", dev, e.Params[0],
                     e.Params[1], I(e.Params[2]), e.Params[3]);
    case 59:
        if (e.Params[0] != 0)
            return w.put("Spare disk %d used by disk array %d", I(e.Params[0] & 0xFF), I(e.Params[1]));
        return w.put("Spare disk information changed");
    case 60:
        return w.put("Bad Sector is detected on reading disk %d at LBA 0x%x%08x, count=%d.", dev, e.Params[0],
                     e.Params[1], I(e.Params[2]));
    case 61:
        return w.put("Bad Sector is detected on writing disk %d at LBA 0x%x%08x, count=%d.", dev, e.Params[0],
                     e.Params[1], I(e.Params[2]));
    default: return w.bare("Unknown PD event code %d", e.Code);
    }
}

// ---- class 9: battery, class 10: flash, class 12: miscellaneous --------

const Text kBattery[] = {
    {0, "Battery present"},
    {1, "Battery not present"},
    {2, "New battery detecte"},
    {3, "Battery needs to be replaced"},
    {4, "Battery has been replaced"},
    {5, "Battery is removed"},
    {6, "Battery relearn started"},
    {7, "Battery relearn in progress"},
    {8, "Battery relearn completed"},
    {9, "Battery relearn timed out"},
    {10, "Battery relearn pending: Battery is under charge"},
    {11, "Battery relearn postponed"},
    {12, "Battery relearn will start in 4 days"},
    {13, "Battery relearn will start in 2 days"},
    {14, "Battery relearn will start in 1 day"},
    {15, "Battery relearn will start in 5 hours"},
    {16, "Battery is discharging"},
    {17, "Battery started charging"},
    {18, "Battery completed charging"},
    {19, "Battery/charger problems detected"},
    {20, "Battery capacity is below threshold"},
    {21, "Battery capacity is above threshold"},
    {22, "Battery temperature is low"},
    {23, "Battery temperature back to normal"},
    {24, "Battery temperature is high"},
    {25, "Battery voltage is low"},
    {26, "Battery voltage back to normal"},
    {27, "Battery voltage is high"},
    {28, "Battery status is abnormal, VDs with auto-cache are now in write through mode"},
    {29, "Battery status back to normal, VDs with auto-cache are now in write back mode"},
    {30, "Battery stop charging"},
    {31, "Battery stop discharging"},
    {32, "Battery change charge threshold"},
    {33, "Battery change voltage warning threshold"},
    {34, "Battery change temperature warning threshold"},
};

const Text kFlash[] = {
    {1, "Flash Erase Failed"},
    {3, "Flash Recover Failed"},
    {15, "Normal flash write operation failed"},
    {16, "Normal flash read operation failed"},
    {17, "Update image succeeded"},
    {18, "Backup image succeeded"},
    {19, "Update image failed"},
    {20, "Backup image failed"},
    {21, "Image generation invalid"},
    {22, "Dual Images generation both invalid"},
    {23, "Image Header corrupted (Signature invalid)"},
    {24, "Image Data in Flash is invalid"},
    {25, "Image Data and Header are all invalid"},
};

const Text kMiscPlain[] = {
    {7, "Shutdown command received from host"},
    {19, "Previous configuration completely missing at boot"},
    {28, "Adapter buzzer set to mute"},
};

const Text kMiscById[] = {
    {16, "Physical disk missing from virtual disk %d configuration at boot"},
    {17, "Virtual disk %d missing drives and went offline at boot"},
    {18, "Virtual disk %d missing at boot"},
    {20, "Physical disk %d too small to be used for auto-rebuild"},
    {21, "Physical disk %d too small to be used for copy back"},
};

const Text kMiscRate[] = {
    {1, "Background activity rate changed to %d%%"},
    {22, "Synchronization rate has been changed to %d%%"},
    {23, "Initialization rate has been changed to %d%%"},
    {24, "Rebuild rate has been changed to %d%%"},
    {25, "Migration rate has been changed to %d%%"},
    {26, "Copyback rate has been changed to %d%%"},
    {27, "Media patrol rate has been changed to %d%%"},
};

void describeMisc(const Event &e, Writer &w)
{
    if (const char *t = lookup(kMiscPlain, e.Code))
        return w.put("%s", t);
    if (const char *t = lookup(kMiscById, e.Code))
        return putById(w, t, e.DeviceID);
    if (const char *t = lookup(kMiscRate, e.Code))
        return putById(w, t, I(e.Params[0]));
    switch (e.Code) {
    case 5:
        return w.put("Multi-bit ECC error: count = %d, address = 0x%X, module ID = %d", I(e.Params[0]), e.Params[1],
                     I(e.Params[2]));
    case 6: return w.put("Single-bit ECC error: count = %d", I(e.Params[0]));
    default: return w.put("Unknown miscellaneous event: code = %d", e.Code);
    }
}

// ---- class 15: adapter environment --------------------------------------

const Text kEnvironment[] = {
    {0, "Adapter %d temperature check pass"},
    {1, "Adapter %d is high temperature"},
    {2, "Adapter %d is critical temperature, immediate action requested"},
    {3, "Adapter %d Fan %d check pass"},
    {4, "Adapter %d Defective fan %d found"},
    {5, "Adapter %d Absent fan %d found"},
    {6, "Adapter %d power supply %d alert"},
    {7, "Adapter %d power supply %d is optimal"},
    {8, "Adapter %d mute is pressed"},
    {9, "Adapter %d identification is pressed"},
    {10, "Adapter %d identification is on"},
    {11, "Adapter %d identification is off"},
    {12, "Adapter %d intrusion is opened"},
    {13, "Adapter %d intrusion is closed"},
    {14, "Adapter %d become low power status"},
    {15, "Adapter %d become idle status"},
};

void describeEnvironment(const Event &e, Writer &w)
{
    const char *t = lookup(kEnvironment, e.Code);
    if (!t)
        return; // other codes have no description
    if (e.Code == 0 && w.web())
        t = "Adapter %d Temperature check pass";
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    // Formats without a second %d ignore the device number.
    char text[128];
    std::snprintf(text, sizeof text, t, e.AdapterID, e.DeviceID);
#pragma GCC diagnostic pop
    w.put("%s", text);
}

void describe(const Event &e, Writer &w)
{
    switch (e.Class) {
    case 0: return describeAdapter(e, w);
    case 1: return describeVD(e, w);
    case 2: return describeDisk(e, w);
    case 3: return w.put("Unknown PM event class: code = %d", e.Code);
    case 4:
        if (e.Code == 0)
            return w.put("Expander %d is plugged in", e.DeviceID);
        if (e.Code == 1)
            return w.web() ? w.put("Expander %d is unplugged", e.DeviceID)
                           : w.put("Expander %d is plugged out", e.DeviceID);
        return w.bare("Unknown expander event code %d", e.Code);
    case 5: return w.put("Unknown MDD event class: code = %d", e.Code);
    case 6: return w.put("Unknown BSL event class: code = %d", e.Code);
    case 7: return w.put("Unknown SAS event class: code = %d", e.Code);
    case 8: return w.put("Unknown Enclosure event class: code = %d", e.Code);
    case 9:
        if (const char *t = lookup(kBattery, e.Code))
            return w.put("%s", t);
        return w.bare("Unknown battery event code %d", e.Code);
    case 10: {
        // The GUI has always said "write" for the read failure too.
        const char *t = lookup(kFlash, w.web() && e.Code == 16 ? 15u : e.Code);
        if (t)
            return w.put("%s", t);
        return w.put("Unknown Flash event class: code = %d", e.Code);
    }
    case 11: return w.put("Unknown Cache event class: code = %d", e.Code);
    case 12: return describeMisc(e, w);
    case 13:
        if (e.Code == 0)
            return w.put("Array %d is created", e.DeviceID);
        if (e.Code == 1)
            return w.put("Array %d is deleted", e.DeviceID);
        return;
    case 15: return describeEnvironment(e, w);
    default: return w.bare("WARNING: Unknown event class %d, code %d", e.Class, e.Code);
    }
}

bool isAdapterDetected(const Event &e) { return e.Class == 0 && e.Code == 9; }

struct tm eventTime(const Event &e, int clockMode)
{
    time_t t = static_cast<time_t>(e.TimeStamp);
    struct tm tmv;
    std::memset(&tmv, 0, sizeof tmv);
    if (!isAdapterDetected(e) && clockMode == EVT_CLOCK_LOCAL)
        gmtime_r(&t, &tmv);
    else
        localtime_r(&t, &tmv);
    return tmv;
}

size_t formatTime(const Event *event, int clockMode, const char *fmt, char *buf, size_t size)
{
    if (!buf || !size)
        return 0;
    buf[0] = '\0';
    if (!event)
        return 0;
    struct tm tmv = eventTime(*event, clockMode);
    size_t n = std::strftime(buf, size, fmt, &tmv);
    if (n == 0)
        buf[0] = '\0'; // too small: strftime leaves the buffer undefined
    return n;
}

size_t appendf(char *buf, size_t size, size_t at, const char *fmt, ...) __attribute__((format(printf, 4, 5)));
size_t appendf(char *buf, size_t size, size_t at, const char *fmt, ...)
{
    if (at + 1 >= size)
        return at;
    va_list ap;
    va_start(ap, fmt);
    int n = std::vsnprintf(buf + at, size - at, fmt, ap);
    va_end(ap);
    if (n < 0)
        return at;
    size_t end = at + static_cast<size_t>(n);
    return end < size ? end : size - 1;
}

// Looks for needle in line; it does not count on a comment line, nor right
// behind a '#' ("# UTC=true" must not switch the clock mode).
bool uncommented(const char *line, const char *needle)
{
    const char *p = line;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '#')
        return false;
    p = std::strstr(line, needle);
    return p && !(p > line && p[-1] == '#');
}

} // namespace

extern "C" {

const char *evt_severity_label(unsigned severity)
{
    static const char *const labels[8] = {"[UNKNOWN]", "[OTHER]", "[INFO]", "[WARNING]",
                                          "[MINOR]", "[MAJOR]", "[CRITICAL]", "[FATAL]"};
    return severity < 8 ? labels[severity] : "[UNDEFINED]";
}

size_t evt_describe(const Event *event, enum EvtDialect dialect, char *buf, size_t size)
{
    if (!buf || !size)
        return 0;
    buf[0] = '\0';
    if (!event)
        return 0;
    Writer w(dialect, buf, size);
    describe(*event, w);
    return w.length();
}

int evt_has_sense(const Event *event)
{
    return event && event->SenseDataLength != 0 && !isAdapterDetected(*event);
}

size_t evt_sense_text(const Event *event, char *buf, size_t size)
{
    if (!buf || !size)
        return 0;
    buf[0] = '\0';
    if (!event)
        return 0;
    size_t n = event->SenseDataLength;
    if (n > sizeof event->SenseData)
        n = sizeof event->SenseData;
    size_t at = 0;
    for (size_t i = 0; i < n; ++i)
        at = appendf(buf, size, at, "%02X ", event->SenseData[i]);
    return at;
}

int evt_clock_mode(const char *path)
{
    if (!path) {
        path = std::getenv("ARRAY_CLOCK_FILE");
        if (!path || !*path)
            path = "/etc/sysconfig/clock";
    }
    FILE *f = std::fopen(path, "r");
    if (!f)
        return EVT_CLOCK_UNKNOWN;
    char line[1024];
    int mode = EVT_CLOCK_UNKNOWN;
    while (mode == EVT_CLOCK_UNKNOWN && std::fgets(line, sizeof line, f)) {
        if (uncommented(line, "HWCLOCK=\"-u\""))
            mode = EVT_CLOCK_UTC;
        else if (uncommented(line, "HWCLOCK=\"--localtime\""))
            mode = EVT_CLOCK_LOCAL;
    }
    if (mode == EVT_CLOCK_UNKNOWN) {
        std::rewind(f);
        while (mode == EVT_CLOCK_UNKNOWN && std::fgets(line, sizeof line, f)) {
            if (uncommented(line, "UTC=true"))
                mode = EVT_CLOCK_UTC;
            else if (uncommented(line, "UTC=false"))
                mode = EVT_CLOCK_LOCAL;
        }
    }
    std::fclose(f);
    return mode;
}

size_t evt_console_time(const Event *event, int clockMode, char *buf, size_t size)
{
    return formatTime(event, clockMode, "%a %b %e %H:%M:%S %Y", buf, size);
}

size_t evt_web_time(const Event *event, int clockMode, char *buf, size_t size)
{
    // asctime's own form, newline included, without its fixed buffer (and
    // without its overflow for years past 9999).
    return formatTime(event, clockMode, "%a %b %e %H:%M:%S %Y\n", buf, size);
}

size_t evt_format_block(const Event *event, int clockMode, char *buf, size_t size)
{
    if (!buf || !size)
        return 0;
    buf[0] = '\0';
    if (!event)
        return 0;
    char desc[256];
    char when[200];
    evt_describe(event, EVT_CONSOLE, desc, sizeof desc);
    evt_console_time(event, clockMode, when, sizeof when);
    size_t at = 0;
    // Unsigned: a long is 32 bits wide on the i386 target.
    at = appendf(buf, size, at, "%-*s %lu\n", 13, "Sequence:", static_cast<unsigned long>(event->SequenceNo));
    at = appendf(buf, size, at, "%-*s %s\n", 13, "Time:", when);
    at = appendf(buf, size, at, "%-*s %s\n", 13, "Level:", evt_severity_label(event->Severity));
    at = appendf(buf, size, at, "%-*s %s\n", 12, "Description:", desc);
    if (evt_has_sense(event)) {
        char sense[3 * sizeof event->SenseData + 1];
        evt_sense_text(event, sense, sizeof sense);
        at = appendf(buf, size, at, "%-*s %s\n", 13, "Sense Code :", sense);
    }
    return appendf(buf, size, at, "\n");
}

void evt_fprintf(FILE *out, Event *event, int clockMode)
{
    if (!out || !event)
        return;
    char block[1024];
    size_t n = evt_format_block(event, clockMode, block, sizeof block);
    std::fwrite(block, 1, n, out);
    if (isAdapterDetected(*event))
        event->SenseDataLength = 0;
    else if (event->SenseDataLength > sizeof event->SenseData)
        event->SenseDataLength = sizeof event->SenseData;
}

size_t evt_web_message(const ServiceEvent *event, char *buf, size_t size)
{
    if (!buf || !size)
        return 0;
    buf[0] = '\0';
    if (!event)
        return 0;
    if (event->from == 1) {
        const char *t = event->kxevent.Code == 1   ? "Scheduled maintenance started"
                        : event->kxevent.Code == 2 ? "Default acceleration started"
                                                   : "";
        return appendf(buf, size, 0, "%s", t);
    }
    size_t at = evt_describe(&event->kxevent, EVT_WEB, buf, size);
    if (evt_has_sense(&event->kxevent)) {
        char sense[3 * sizeof event->kxevent.SenseData + 1];
        evt_sense_text(&event->kxevent, sense, sizeof sense);
        at = appendf(buf, size, at, "%s", sense);
    }
    return at;
}

} // extern "C"
