/*
 * get: the configuration records that set changes (PD, array, VD and
 * adapter settings), one object or all of a kind, as label/value lines.
 */
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <string>
#include <vector>

#include "Functions/handlers.h"
#include "Functions/info/info_list.h"
#include "record_words.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"

namespace {

enum GetObject { GET_NONE, GET_PD, GET_VD, GET_ARRAY, GET_HBA, GET_DRIVER, GET_HBAVPD };

const int kWidth = 24;
const unsigned kAll = 255;

bool bit(KX_U32 value, int n)
{
    return (value >> n) & 1u;
}

const char *onOff(KX_U8 value)
{
    return value == 1 ? "on" : "off";
}

/* Controller rates run from 0 to 250; shown in percent, truncated. */
long percent(KX_U8 rate)
{
    return rate * 100L / 250;
}

GetObject objectOf(const char *text)
{
    static const struct { const char *word; GetObject obj; } kObjects[] = {
        {"pd", GET_PD}, {"hd", GET_PD}, {"vd", GET_VD}, {"ld", GET_VD}, {"array", GET_ARRAY},
        {"hba", GET_HBA}, {"driver", GET_DRIVER}, {"hbavpd", GET_HBAVPD},
    };
    for (const auto &k : kObjects)
        if (strcasecmp(text, k.word) == 0)
            return k.obj;
    return GET_NONE;
}

void hdGet_printf(const HD_Config &c)
{
    static const char *const kSpeeds[] = {"N/A", "1.5 Gb/s", "3 Gb/s", "6 Gb/s", "12 Gb/s"};
    infoNum(kWidth, "hard disk id:", (long)c.HDID);
    infoStr(kWidth, "write cache:", onOff(c.WriteCacheOn));
    infoStr(kWidth, "drive speed:", c.DriveSpeed <= 4 ? kSpeeds[c.DriveSpeed] : "N/A");
    infoOut("\n");
}

void dgGet_printf(const DG_Config &c)
{
    infoNum(kWidth, "array id:", (long)c.DGID);
    infoStr(kWidth, "write cache:", onOff(c.WriteCacheOn));
    infoOut("\n");
}

void ldGet_printf(const LD_Config &c)
{
    const KX_U8 policy = c.CacheMode & 0x0B;
    infoNum(kWidth, "virtual disk id:", (long)c.LDID);
    if (bit(gAdapterInfo[gCurrentAdapter].AdvancedFeatures, 25))
        infoStr(kWidth, "restore:", policy == 0 ? "Off " : policy == 1 ? "On " : "Unknown ");
    else
        infoStr(kWidth, "cache mode:", policy == 1 ? "Off " : policy == 0 ? "On " : policy == 8 ? "Auto " : " ");
    infoOut("\n");
}

void hbaGet_printf(unsigned position, const Adapter_Config_V2 &c)
{
    const KX_U32 currentAdv = gAdapterInfo[gCurrentAdapter].AdvancedFeatures;
    /* The table holds the adapters found at start-up; a position beyond it
       has no capability record. */
    static const Adapter_Info kNone = {};
    const Adapter_Info &own = position < CLI_MAX_ADAPTERS ? gAdapterInfo[position] : kNone;
    infoNum(kWidth, "HBA Index:", (long)position);
    infoStr(kWidth, "Auto Rebuild:", bit(currentAdv, 24) ? "not support" : onOff(c.AutoRebuildOn));
    if (bit(own.AdvancedFeatures, 5))
        infoStr(kWidth, "Optimize CPU efficiency:", onOff(c.InterruptCoalescing));
    if (own.DevID <= 0x6145)
        infoNum(kWidth, "BGA Rate:", percent(c.BGARate));
    infoNum(kWidth, "Syncronization Rate:", percent(c.SyncRate));
    infoNum(kWidth, "Initialization Rate:", percent(c.InitRate));
    infoNum(kWidth, "Rebuild Rate:", percent(c.RebuildRate));
    infoNum(kWidth, "Migration Rate:", percent(c.MigrationRate));
    infoNum(kWidth, "Copyback Rate:", percent(c.CopybackRate));
    infoNum(kWidth, "Media Patrol Rate:", percent(c.MediaPatrolRate));
    infoStr(kWidth, "Poll SMART Status:", onOff(c.PollSMARTStatus));
    infoStr(kWidth, "Copy Back:", onOff(c.CopyBack));
    infoStr(kWidth, "Module Consolidation:", onOff(c.ModuleConsolidate));
    infoStr(kWidth, "Raw Update:", bit(currentAdv, 31) && c.rawimg_update_disabled == 0 ? "on" : "off");
    /* 20-character fields, full without a terminating NUL. */
    if (c.ModelNumber[0] != 0)
        infoStr(kWidth, "Model:", infoFieldText(c.ModelNumber, sizeof c.ModelNumber, false, false).c_str());
    if (c.SerialNo[0] != 0)
        infoStr(kWidth, "Serial:", infoFieldText(c.SerialNo, sizeof c.SerialNo, false, false).c_str());
    infoOut("\n");
}

int getHba(unsigned id)
{
    if (id > 0xFF) {
        infoOut("\nUnable to get configuration info of hba %d (error %d: %s)\n", (int)id, 13, infoErr(13));
        return KX_ST_BAD_ADAPTER;
    }
    /* Room for one record per adapter: asked for all of them (255), the
       library fills one each. */
    const unsigned adapters = KX_Adapter_GetCount();
    std::vector<Adapter_Config_V2> configs(adapters ? adapters : 1);
    memset(configs.data(), 0, configs.size() * sizeof configs[0]);
    KX_U8 count = 0;
    KX_U8 st = KX_Adapter_GetConfig((KX_U8)id, &count, configs.data());
    if (st != 0) {
        infoOut("\nUnable to get configuration info of hba %d (error %d: %s)\n", (int)id, st, infoErr(st));
        return st;
    }
    for (unsigned i = 0; i < count && i < configs.size(); ++i)
        hbaGet_printf(i, configs[i]);
    return 0;
}

int getList(GetObject obj, unsigned id)
{
    const bool all = id == kAll;
    const KX_U16 maxBuffer = gAdapterInfo[gCurrentAdapter].MaxBufferSize;
    InfoListKind kind = {};
    kind.allocFailText = "";
    std::function<KX_U8(RequestHeader *)> call;
    std::function<int(const void *)> each;
    switch (obj) {
    case GET_PD:
        kind.recordSize = sizeof(HD_Config);
        kind.defaultPerPage = 128;
        kind.notFound = all ? "\nNo PD is found\n" : nullptr;
        kind.errWithId = "\nUnable to get configuration of hard disk %d (error %d : %s).\n";
        call = [](RequestHeader *h) { return KX_PD_GetConfig(gCurrentAdapter, (HD_Config_Request *)h); };
        each = [](const void *r) { hdGet_printf(*static_cast<const HD_Config *>(r)); return 0; };
        break;
    case GET_ARRAY:
        kind.recordSize = sizeof(DG_Config);
        kind.defaultPerPage = 64;
        kind.notFound = "\nNo array is found\n";
        /* A failed array request says nothing; its status is the result. */
        kind.errWithId = "";
        call = [](RequestHeader *h) { return KX_DG_GetConfig(gCurrentAdapter, (DG_Config_Request *)h); };
        each = [](const void *r) { dgGet_printf(*static_cast<const DG_Config *>(r)); return 0; };
        break;
    default:
        kind.recordSize = sizeof(LD_Config);
        kind.defaultPerPage = 32;
        kind.notFound = all ? "\nNo VD is found\n" : nullptr;
        kind.errWithId = "\nVD %d is invalid (error %d: %s)\n";
        call = [](RequestHeader *h) { return KX_LD_GetConfig(gCurrentAdapter, (LD_Config_Request *)h); };
        each = [](const void *r) { ldGet_printf(*static_cast<const LD_Config *>(r)); return 0; };
        break;
    }
    return infoPagedList(maxBuffer, kind, all, (KX_U16)id, (int)id, call, each);
}

}  // namespace

int doGet(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"id", cli::kRequiredArgument, nullptr, 'i'},
        {"size", cli::kRequiredArgument, nullptr, 's'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    GetObject obj = GET_NONE;
    unsigned long id = kAll;
    int counts[128] = {};
    /* -s is checked, not used, and may be given again. */
    OptionLoopRules rules;
    rules.once = "oi";
    rules.required = "o";
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:i:\x01:s:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  obj = objectOf(arg);
                                  if (obj == GET_NONE) {
                                      infoOut("-o : invalid object '%s', should be VD, PD or Array\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  if (obj == GET_ARRAY && gAdapterInfo[gCurrentAdapter].MaxDiskGroup == 0) {
                                      infoOut("-o : array is not supported on this adapter\n");
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'i':
                                  /* An empty or overlong ID would read as another object. */
                                  if (arg[0] == '\0' || !isNumber(arg) || strlen(arg) > 5 ||
                                      (id = strtoul(arg, nullptr, 10)) > 0xFFFF) {
                                      infoOut("-i : id is not a number\n");
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 's':
                                  if (arg[0] == '\0' || !isNumber(arg)) {
                                      infoOut("-s : invalid size '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    switch (obj) {
    case GET_DRIVER:
        infoOut("\nLinux CLI needn't support :get -o driver.\n");
        return 1;
    case GET_HBAVPD:
        return 0;
    case GET_HBA:
        return getHba(counts['i'] > 0 ? (unsigned)id : gCurrentAdapter);
    default:
        return getList(obj, (unsigned)id);
    }
}
