/*
 * enc -o enc|ele|elecfg: the enclosures of the current adapter, the SES
 * status of their elements, and the thresholds set for those elements.
 */
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Functions/info/info_list.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"

namespace {

enum Object { OBJ_NONE, OBJ_ENC, OBJ_ELE, OBJ_ELECFG };

constexpr unsigned kAllEnclosures = 255;
/* Element buffers hold this many records, but the controller counts them
   in one byte: the room it is told of is at most 255. */
constexpr unsigned kElementRecords = 512;
constexpr KX_U8 kElementRoom = 255;
/* The enclosures of one configuration listing are visited from a list of
   at most this many IDs at a time. */
constexpr unsigned kEnclosureIdList = 32;

struct ElementType {
    const char *word;
    KX_U8 code;
    const char *name;
};
const ElementType kTypes[] = {
    {"dev", 1, "Device "},
    {"pow", 2, "Power Supply "},
    {"fan", 3, "Cooling Device "},
    {"tpr", 4, "Temperature Sensor "},
    {"dor", 5, "Door Lock "},
    {"alm", 6, "Audible Alarm "},
    {"dpl", 12, "Display "},
    {"vlt", 18, "Voltage Sensor "},
    {"arydev", 23, "Array Device "},
};
enum : KX_U8 {
    TYPE_DEVICE = 1,
    TYPE_POWER = 2,
    TYPE_COOLING = 3,
    TYPE_TEMPERATURE = 4,
    TYPE_DOOR_LOCK = 5,
    TYPE_ALARM = 6,
    TYPE_DISPLAY = 12,
    TYPE_VOLTAGE = 18,
    TYPE_ARRAY_DEVICE = 23,
};

const char *const kStatusWords[] = {
    "Unsupported", "OK", "Critical", "Non-Critical", "Un-Recoverable",
    "Not installed", "Unknown", "Not Available", "No Access Allowed",
};

const char *const kFanSpeeds[] = {
    "stopped", "at lowest speed", "at 2nd lowest speed", "at 3rd lowest speed",
    "at intermediate speed", "at 3rd highest speed", "at 2rd highest speed", "at highest speed",
};

struct EncOptions {
    Object object = OBJ_NONE;
    bool haveId = false;
    unsigned long enclosureId = kAllEnclosures;
    bool haveElement = false;
    unsigned elementId = 0;
    bool haveType = false;
    KX_U8 type = 0;
};

const char *yesNo(unsigned bit)
{
    return bit ? "yes" : "no";
}

unsigned bitOf(KX_U8 byte, unsigned n)
{
    return (byte >> n) & 1u;
}

void printHeading(KX_U16 enclosureId, KX_U8 type, KX_U8 elementId, KX_U8 status)
{
    fprintf(stream, "EnclosureID:%d\n", enclosureId);
    const ElementType *t = nullptr;
    for (const ElementType &x : kTypes)
        if (x.code == type)
            t = &x;
    if (t)
        fprintf(stream, "%s%d\n", t->name, elementId);
    else
        fprintf(stream, "Unspecified element\n%d\n", elementId);
    if (status < sizeof kStatusWords / sizeof kStatusWords[0])
        fprintf(stream, "status : %s\n", kStatusWords[status]);
    else
        fprintf(stream, "status : %d (Reserved)\n", status);
}

/* Only an element that is there and working has readings and thresholds. */
bool hasDetails(KX_U8 status)
{
    return status >= 1 && status <= 4;
}

/* The type-specific lines of one element; d holds its first data bytes. */
void printElementData(KX_U8 type, const KX_U8 *d)
{
    switch (type) {
    case TYPE_DEVICE:
        fprintf(stream, "  slot address: %d\n", d[0]);
        fprintf(stream, "  locate: %s\n", yesNo(bitOf(d[1], 1)));
        break;
    case TYPE_POWER:
        fprintf(stream, "  hot swappable: %s\n", yesNo(bitOf(d[0], 3)));
        fprintf(stream, "  over temperature warning: %s\n", yesNo(bitOf(d[0], 4)));
        fprintf(stream, "  DC over current: %s\n", yesNo(bitOf(d[0], 2)));
        fprintf(stream, "  DC over voltage: %s\n", yesNo(bitOf(d[0], 0)));
        fprintf(stream, "  DC under voltage: %s\n", yesNo(bitOf(d[0], 1)));
        break;
    case TYPE_COOLING: {
        const KX_U8 code = d[2];
        if (code < sizeof kFanSpeeds / sizeof kFanSpeeds[0])
            fprintf(stream, "  fan: %s\n", kFanSpeeds[code]);
        else
            fprintf(stream, "  fan: unknown speed code %d\n", code);
        fprintf(stream, "  current speed: %d rpm\n", d[0] | (d[1] << 8));
        break;
    }
    case TYPE_TEMPERATURE:
        if (bitOf(d[1], 0))
            fprintf(stream, "  over temperature failure: %s\n", yesNo(1));
        else
            fprintf(stream, "  over temperature warning: %s\n", yesNo(bitOf(d[1], 1)));
        if (bitOf(d[1], 2))
            fprintf(stream, "  under temperature failure: %s\n", yesNo(1));
        else
            fprintf(stream, "  under temperature warning: %s\n", yesNo(bitOf(d[1], 3)));
        /* The sensor reports degrees + 20 so that 0 can mean no reading. */
        if (d[0] == 0)
            fputs("  value: not available\n", stream);
        else
            fprintf(stream, "  value: %d Celsius\n", d[0] - 20);
        break;
    case TYPE_DOOR_LOCK:
        fprintf(stream, "  unlocked: %s\n", yesNo(d[0] != 0));
        break;
    case TYPE_ALARM:
        fprintf(stream, "  muted: %s\n", yesNo(bitOf(d[0], 0)));
        fprintf(stream, "  remind state: %s\n", yesNo(bitOf(d[0], 1)));
        break;
    case TYPE_DISPLAY:
        fprintf(stream, "  character: %c\n", d[0]);
        fprintf(stream, "  mode status: %d\n", d[2]);
        break;
    case TYPE_VOLTAGE: {
        /* Tens of millivolts; bit 15 is the sign. */
        const unsigned v = d[0] | (d[1] << 8);
        if (v & 0x8000)
            fprintf(stream, "  voltage: -%d mini-volts\n", (int)(v & 0x7FFF) * 10);
        else
            fprintf(stream, "  voltage: %d mini-volts\n", (int)v * 10);
        if (bitOf(d[2], 2))
            fprintf(stream, "  critical over voltage: %s\n", yesNo(1));
        else
            fprintf(stream, "  over voltage warning: %s\n", yesNo(bitOf(d[2], 0)));
        if (bitOf(d[2], 3))
            fprintf(stream, "  critical under voltage: %s\n", yesNo(1));
        else
            fprintf(stream, "  under voltage warning: %s\n", yesNo(bitOf(d[2], 1)));
        break;
    }
    case TYPE_ARRAY_DEVICE:
        fprintf(stream, "  hot spare: %s\n", yesNo(bitOf(d[0], 5)));
        fprintf(stream, "  locate: %s\n", yesNo(bitOf(d[1], 1)));
        break;
    default:
        break;
    }
}

void printElement(const EncElementType_Info &e)
{
    printHeading(e.enclosureID, e.type, e.elementID, e.status);
    if (hasDetails(e.status))
        printElementData(e.type, e.element.raw);
    fputs("\n", stream);
}

void thresholdText(char *out, size_t size, KX_U8 type, KX_U8 value)
{
    if (type == TYPE_TEMPERATURE) {
        if (value == 0)
            snprintf(out, size, "Not available");
        else
            snprintf(out, size, "%d Celsius", value - 20);
    } else if (type == TYPE_VOLTAGE) {
        snprintf(out, size, "%d mini-volts", value * 10);
    } else {
        snprintf(out, size, "%d", value);
    }
}

void printConfig(const EncElement_Config &c)
{
    printHeading(c.enclosureID, c.type, c.elementID, c.status);
    if (!hasDetails(c.status))
        return;
    char text[32];
    thresholdText(text, sizeof text, c.type, c.highCriticalThreshold);
    fprintf(stream, "  high critical threshold: %s\n", text);
    thresholdText(text, sizeof text, c.type, c.highWarningThreshold);
    fprintf(stream, "  high warning threshold: %s\n", text);
    thresholdText(text, sizeof text, c.type, c.lowCriticalThreshold);
    fprintf(stream, "  low critical threshold: %s\n", text);
    thresholdText(text, sizeof text, c.type, c.lowWarningThreshold);
    fprintf(stream, "  low warning threshold: %s\n\n", text);
}

/* Prints what -t and -e select of the records: all of them, all of one
   type, or the element that many places after the first of its type.
   Returns 1 when the chosen element is not there, else 0. */
template <class Rec>
int printSelected(const Rec *recs, unsigned count, const EncOptions &o, void (*print)(const Rec &))
{
    if (!o.haveType) {
        for (unsigned i = 0; i < count; ++i)
            print(recs[i]);
        return 0;
    }
    if (!o.haveElement) {
        for (unsigned i = 0; i < count; ++i)
            if (recs[i].type == o.type)
                print(recs[i]);
        return 0;
    }
    for (unsigned p = 0; p < count; ++p) {
        if (recs[p].type != o.type)
            continue;
        const unsigned at = p + o.elementId;
        if (at < count && recs[at].type == o.type) {
            print(recs[at]);
            return 0;
        }
        break;
    }
    fprintf(stream, "Invalid element ID %d\n", o.elementId);
    return 1;
}

int printEnclosure(const void *rec)
{
    Enclosure_Info e;
    memcpy(&e, rec, sizeof e);
    fprintf(stream, "Enclosure ID: %d\n", e.Link.Self.DevID);
    fprintf(stream, "Adapter ID: %d\n", e.AdapterID);
    if (e.Status == 1)
        fputs("Status: OK\n", stream);
    else if (e.Status == 2)
        fputs("Status: Unstable\n", stream);
    const KX_U8 *l = e.LogicalID;
    fprintf(stream, "Logical ID: 0x%02X%02X%02X%02x%02X%02X%02X%02x\n", l[0], l[1], l[2], l[3], l[4], l[5], l[6],
            l[7]);
    /* The texts fill their fields without a terminating NUL when full. */
    fprintf(stream, "Vendor ID: %.*s\n", (int)sizeof e.VendorID, (const char *)e.VendorID);
    fprintf(stream, "Product ID: %.*s\n", (int)sizeof e.ProductID, (const char *)e.ProductID);
    fprintf(stream, "Revision Level: %.*s\n", (int)sizeof e.RevisionLevel, (const char *)e.RevisionLevel);
    fputs("\n", stream);
    return 0;
}

const char kEncInfoError[] = "\nUnable to get enclosure info (error %d: %s)\n";

int listEnclosures(const EncOptions &o, const std::function<int(const void *)> &each, const char *notFound)
{
    const InfoListKind kind = {
        sizeof(Enclosure_Info), 32, nullptr, notFound, nullptr, nullptr, kEncInfoError, 15, nullptr,
    };
    return infoPagedList(
        gAdapterInfo[gCurrentAdapter].MaxBufferSize, kind, !o.haveId, (KX_U16)o.enclosureId, (int)o.enclosureId,
        [](RequestHeader *hdr) {
            return KX_ENC_GetEnclosureInfo(gCurrentAdapter, reinterpret_cast<Enclosure_Info_Request *>(hdr));
        },
        each);
}

int showElements(const EncOptions &o)
{
    EncElementType_Info recs[kElementRecords];
    memset(recs, 0, sizeof recs);
    KX_U8 count = kElementRoom;
    KX_U8 st = KX_ENC_GetElementInfo(gCurrentAdapter, (KX_U16)o.enclosureId, recs, &count);
    if (st != 0) {
        fprintf(stream, kEncInfoError, st, ErrorMessage(st));
        return st;
    }
    return printSelected<EncElementType_Info>(recs, count, o, printElement);
}

/* The configuration of one enclosure's elements. Returns 1 when the
   chosen element is not there, else 0; a controller failure is reported,
   and kept in failure when it is the first. */
int showConfigOf(KX_U16 enclosureId, const EncOptions &o, KX_U8 &failure)
{
    EncElement_Config recs[kElementRecords];
    memset(recs, 0, sizeof recs);
    KX_U8 count = kElementRoom;
    KX_U8 st = KX_ENC_GetElementConfig(gCurrentAdapter, enclosureId, recs, &count);
    if (st != 0) {
        fprintf(stream, "\nUnable to get configuration of enclosure %d (error %d: %s)\n", enclosureId, st,
                ErrorMessage(st));
        if (failure == 0)
            failure = st;
        return 0;
    }
    return printSelected<EncElement_Config>(recs, count, o, printConfig);
}

int showConfigs(const EncOptions &o)
{
    KX_U8 failure = 0;
    if (o.haveId) {
        const int rc = showConfigOf((KX_U16)o.enclosureId, o, failure);
        return failure != 0 ? failure : rc;
    }
    /* A failed enclosure does not stop the others; the first controller
       failure is the result, else 1 when the chosen element was missing
       somewhere. */
    bool missing = false;
    KX_U16 ids[kEnclosureIdList];
    unsigned n = 0;
    auto visit = [&]() {
        for (unsigned i = 0; i < n; ++i) {
            if (showConfigOf(ids[i], o, failure) == 1)
                missing = true;
        }
        n = 0;
    };
    int st = listEnclosures(
        o,
        [&](const void *rec) {
            Enclosure_Info e;
            memcpy(&e, rec, sizeof e);
            if (n == kEnclosureIdList)
                visit();
            ids[n++] = e.Link.Self.DevID;
            return 0;
        },
        nullptr);
    visit();
    if (st != 0)
        return st;
    return failure != 0 ? failure : missing ? 1 : 0;
}

const ElementType *typeByWord(const char *word)
{
    for (const ElementType &t : kTypes)
        if (strcasecmp(word, t.word) == 0)
            return &t;
    return nullptr;
}

/* Returns -1 when the command goes on with o, else the handler's result. */
int parseOptions(int argc, char **argv, cmd_struct *pCmdInfo, EncOptions &o)
{
    static const cli::option longopts[] = {
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"enclosureid", cli::kRequiredArgument, nullptr, 'i'},
        {"elementid", cli::kRequiredArgument, nullptr, 'e'},
        {"elementtype", cli::kRequiredArgument, nullptr, 't'},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {nullptr, 0, nullptr, 0},
    };
    bool objectSeen = false;
    const char *idText = nullptr;
    int counts[128] = {};
    /* A bad enclosure ID is told before a repeated option. */
    OptionLoopRules rules;
    rules.duplicates = DUP_BY_CALLER;
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:i:e:t:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  objectSeen = true;
                                  if (strcasecmp(arg, "enc") == 0) {
                                      o.object = OBJ_ENC;
                                  } else if (strcasecmp(arg, "ele") == 0) {
                                      o.object = OBJ_ELE;
                                  } else if (strcasecmp(arg, "elecfg") == 0) {
                                      o.object = OBJ_ELECFG;
                                  } else {
                                      /* Told, and the command goes on without it. */
                                      fprintf(stream, "-o: invalid option '%s'\n", arg);
                                      return OPT_IGNORED;
                                  }
                                  return OPT_TAKEN;
                              case 'i':
                                  /* An empty ID would read as enclosure 0. */
                                  if (arg[0] == '\0' || !isNumber(arg)) {
                                      fprintf(stream, "-i: invalid enclosure id '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  idText = arg;
                                  o.enclosureId = strtoul(arg, nullptr, 10);
                                  o.haveId = true;
                                  return OPT_TAKEN;
                              case 'e': {
                                  if (arg[0] == '\0' || !isNumber(arg)) {
                                      fprintf(stream, "-e: invalid element id '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  const unsigned long id = strtoul(arg, nullptr, 10);
                                  if (id > 254) {
                                      fputs("-e: element id should be less than 255\n", stream);
                                      return OPT_REFUSED;
                                  }
                                  o.elementId = (unsigned)id;
                                  o.haveElement = true;
                                  return OPT_TAKEN;
                              }
                              case 't': {
                                  const ElementType *t = typeByWord(arg);
                                  if (!t) {
                                      fprintf(stream, "-t: element type error:'%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  o.type = t->code;
                                  o.haveType = true;
                                  return OPT_TAKEN;
                              }
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (o.haveId && o.enclosureId >= kAllEnclosures) {
        /* Digits beyond int range are echoed as typed. */
        if (o.enclosureId > 0x7FFFFFFFUL)
            fprintf(stream, "-i : invalid id %s\n", idText);
        else
            fprintf(stream, "-i : invalid id %d\n", (int)o.enclosureId);
        return 1;
    }
    r = refuseDuplicates(counts, nullptr);
    if (r >= 0)
        return r;
    if (!objectSeen) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'o');
        return 1;
    }
    if (o.haveElement && !o.haveType) {
        fputs("Missing -t: please specify the type of the given element id\n", stream);
        return 1;
    }
    return -1;
}

} // namespace

int doEnclosure(int argc, char **argv, cmd_struct *pCmdInfo)
{
    EncOptions o;
    const int rc = parseOptions(argc, argv, pCmdInfo, o);
    if (rc >= 0)
        return rc;
    switch (o.object) {
    case OBJ_ENC:
        return listEnclosures(o, printEnclosure, "\nNo enclosure is found\n");
    case OBJ_ELE:
        return showElements(o);
    case OBJ_ELECFG:
        return showConfigs(o);
    default:
        /* Only invalid -o words: each was reported, nothing to do. */
        return 0;
    }
}
