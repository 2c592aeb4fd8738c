/*
 * Options, record changes and controller steps shared by doSet and
 * doSetV2 (set_common.h).
 */
#include "set_common.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "Functions/info/info_list.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"

namespace {

/* An option value without the quotes the shell line may have left on it. */
std::string unquoted(const char *arg)
{
    const size_t n = strlen(arg);
    std::vector<char> buf(n + 2, '\0');
    noQuoteStrncpy(buf.data(), arg, static_cast<int>(n + 1));
    return buf.data();
}

/* Decimal digits only, at least one, at most max. */
bool decimal(const char *text, unsigned long max, long &out)
{
    if (text[0] == '\0' || !isNumber(text) || strlen(text) > 10)
        return false;
    unsigned long v = strtoul(text, nullptr, 10);
    if (v > max)
        return false;
    out = static_cast<long>(v);
    return true;
}

/* A rate in percent, stored on the controller's 0-250 scale. */
OptionTake takeRate(const char *text, const char *invalidFmt, const char *rangeFmt, int &out)
{
    if (text[0] == '\0' || !isNumber(text)) {
        fprintf(stream, invalidFmt, text);
        return OPT_REFUSED;
    }
    long p = 0;
    if (!decimal(text, 100, p)) {
        fprintf(stream, rangeFmt, 100);
        return OPT_REFUSED;
    }
    out = static_cast<int>((p * 250 + 50) / 100);
    return OPT_TAKEN;
}

bool validPhyCode(long code)
{
    static const long kCodes[] = {1, 2, 3, 7, 8, 16, 32, 64};
    for (long c : kCodes)
        if (c == code)
            return true;
    return false;
}

bool validName(const char *name)
{
    for (const char *p = name; *p; ++p)
        if (!(*p == ' ' || *p == '_' || isalnum(static_cast<unsigned char>(*p))))
            return false;
    return true;
}

/* A text field of 20 bytes: the text, then blanks or NULs to the end. */
void putText(KX_U8 *field, size_t width, const char *text, bool padWithBlanks)
{
    memset(field, padWithBlanks ? ' ' : 0, width);
    memcpy(field, text, strnlen(text, width));
}

SetObject objectOf(const char *text, bool v2)
{
    char word[16];
    snprintf(word, sizeof word, "%s", text);
    strlwr(word);
    if (strlen(text) >= sizeof word)
        return SET_NONE;
    static const struct { const char *word; SetObject obj; bool v1, v2; } kObjects[] = {
        {"pd", SET_PD, true, true},       {"hd", SET_PD, true, true},     {"vd", SET_VD, true, true},
        {"ld", SET_VD, true, true},       {"hba", SET_HBA, true, true},   {"link", SET_LINK, true, true},
        {"driver", SET_DRIVER, true, false}, {"array", SET_ARRAY, false, true},
        {"bbu", SET_BBU, false, true},    {"mute", SET_MUTE, false, true},
    };
    for (const auto &k : kObjects)
        if (strcmp(word, k.word) == 0 && (v2 ? k.v2 : k.v1))
            return k.obj;
    return SET_NONE;
}

/* One option of set (v2: of the array-based table) into o. */
OptionTake takeOption(int c, const char *arg, bool v2, SetOptions &o)
{
    switch (c) {
    case 'o':
        o.object = objectOf(arg, v2);
        if (o.object == SET_NONE) {
            fprintf(stream, "-o : invalid object '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'i':
        if (!decimal(arg, 0xFFFF, o.id)) {
            fprintf(stream, "-i : invalid id '%s'\n", arg);
            return OPT_REFUSED;
        }
        snprintf(o.idText, sizeof o.idText, "%s", arg);
        return OPT_TAKEN;
    case 'd':
        if (!decimal(arg, 0xFFFF, o.pdId)) {
            fprintf(stream, "-d : invalid pd id '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'n': {
        std::string name = unquoted(arg);
        if (name.size() > SET_NAME_MAX) {
            fprintf(stream, "-n : length of name should be no more than %d characters\n", SET_NAME_MAX);
            return OPT_REFUSED;
        }
        snprintf(o.name, sizeof o.name, "%s", name.c_str());
        o.haveName = true;
        return OPT_TAKEN;
    }
    case 's':
    case 'm': {
        /* All 20 characters are kept: the field holds 20 and needs no
           terminating NUL. */
        std::string text = unquoted(arg);
        if (text.size() > SET_TEXT_MAX) {
            fprintf(stream, c == 's' ? "-s : serial number should not have more than %d characters\n"
                                     : "-m : model should not have more than %d character\n",
                    SET_TEXT_MAX);
            return OPT_REFUSED;
        }
        snprintf(c == 's' ? o.serial : o.model, SET_TEXT_MAX + 1, "%s", text.c_str());
        (c == 's' ? o.haveSerial : o.haveModel) = true;
        return OPT_TAKEN;
    }
    case 'a': {
        long code = 0;
        if (arg[0] == '\0' || !isNumber(arg)) {
            fprintf(stream, "-a : invalid number '%s'\n", arg);
            return OPT_REFUSED;
        }
        if (!decimal(arg, 0xFF, code) || !validPhyCode(code)) {
            fputs(v2 ? "-a : phy ctrl code is invalid value" : "-a : phy ctrl code is invalid value\n", stream);
            return OPT_REFUSED;
        }
        o.phyCode = static_cast<int>(code);
        return OPT_TAKEN;
    }
    case 'w': {
        long port = 0;
        if (arg[0] == '\0' || !isNumber(arg)) {
            fprintf(stream, "-w : invalid vlaue,the valid value is {0-7} '%s'\n", arg);
            return OPT_REFUSED;
        }
        if (!decimal(arg, 7, port)) {
            fputs("-w : portnum is invalid value,the valid value is {0-7}\n", stream);
            return OPT_REFUSED;
        }
        o.port = static_cast<int>(port);
        return OPT_TAKEN;
    }
    case 'r':
        return takeRate(arg, "-r : invalid BGA rate '%s'\n", "-r : BGA rate out of range (0~%d)\n", o.bgaRate);
    case 'e': {
        long ignored = 0;
        if (!v2)
            return OPT_HELP;
        if (!decimal(arg, 0xFFFF, ignored)) {
            fprintf(stream, "-e : invalid id '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    }
    case 'y':
        return takeRate(arg, "-s : invalid Synchronization rate '%s'\n",
                        "-s : Synchronization rate out of range (0~%d)\n", o.syncRate);
    case 't':
        return takeRate(arg, "-t : invalid initialization rate '%s'\n",
                        "-t : initialization rate out of range (0~%d)\n", o.initRate);
    case 'b':
        return takeRate(arg, "-b : invalid rebuild rate '%s'\n", "-b : rebuild rate out of range (0~%d)\n",
                        o.rebuildRate);
    case 'g':
        return takeRate(arg, "-m : invalid migration rate '%s'\n", "-m : migration rate out of range (0~%d)\n",
                        o.migrationRate);
    case 'c':
        return takeRate(arg, "-c : invalid copy back rate '%s'\n", "-c : copy back rate out of range (0~%d)\n",
                        o.copybackRate);
    case 'p':
        if (!v2)
            return OPT_HELP;
        return takeRate(arg, "-p : invalid media patrol rate '%s'\n",
                        "-p : Media Patrol rate out of range (0~%d)\n", o.mediaPatrolRate);
    default:
        return OPT_HELP;
    }
}

}  // namespace

unsigned long SetOptions::named() const
{
    unsigned long n = 0;
    auto mark = [&n](bool given, unsigned long bit) {
        if (given)
            n |= bit;
    };
    mark(haveName, SP_NAME);
    mark(bgaRate >= 0, SP_BGA_RATE);
    mark(syncRate >= 0, SP_SYNC_RATE);
    mark(initRate >= 0, SP_INIT_RATE);
    mark(rebuildRate >= 0, SP_REBUILD_RATE);
    mark(migrationRate >= 0, SP_MIGRATION_RATE);
    mark(copybackRate >= 0, SP_COPYBACK_RATE);
    mark(mediaPatrolRate >= 0, SP_MEDIA_PATROL_RATE);
    mark(haveSerial, SP_SERIAL);
    mark(haveModel, SP_MODEL);
    mark(phyCode >= 0 || port >= 0, SP_PHY);
    mark(readAhead >= 0, SP_READ_AHEAD);
    mark(writePolicy >= 0, SP_WRITE_POLICY);
    mark(restore >= 0, SP_RESTORE);
    mark(autoRebuild >= 0, SP_AUTO_REBUILD);
    mark(cache >= 0, SP_CACHE);
    mark(smart >= 0, SP_SMART);
    mark(buzzer >= 0, SP_BUZZER);
    mark(optimize >= 0, SP_OPTIMIZE);
    mark(power >= 0, SP_POWER);
    mark(pdStatus >= 0, SP_PD_STATUS);
    mark(vatapi >= 0, SP_VATAPI);
    mark(consolidate >= 0, SP_CONSOLIDATE);
    mark(rawUpdate >= 0, SP_RAW_UPDATE);
    mark(copyBack >= 0, SP_COPYBACK);
    mark(bbuAction >= 0, SP_BBU_ACTION);
    mark(pdId >= 0, SP_PD_ID);
    return n;
}

int setParseOptions(int argc, char **argv, cmd_struct *pCmdInfo, bool v2, SetOptions &o)
{
    using cli::kNoArgument;
    using cli::kRequiredArgument;
    /* Flag options store their value straight into the option state. The
       help texts spell "--optmizeoff" and "--mediapatrolrate"; both
       spellings are taken. */
    const cli::option v1Options[] = {
        {"object", kRequiredArgument, nullptr, 'o'},
        {"id", kRequiredArgument, nullptr, 'i'},
        {"name", kRequiredArgument, nullptr, 'n'},
        {"bgarate", kRequiredArgument, nullptr, 'r'},
        {"serial", kRequiredArgument, nullptr, 's'},
        {"model", kRequiredArgument, nullptr, 'm'},
        {"sataphyctrl", kRequiredArgument, nullptr, 'a'},
        {"portnum", kRequiredArgument, nullptr, 'w'},
        {"output", kRequiredArgument, nullptr, 1},
        {"help", kNoArgument, nullptr, 'h'},
        {"password", kNoArgument, nullptr, 'h'},
        {"hbavpd", kNoArgument, nullptr, 'h'},
        {"readaheadon", kNoArgument, &o.readAhead, 1},
        {"readaheadoff", kNoArgument, &o.readAhead, 0},
        {"lookaheadon", kNoArgument, &o.readAhead, 1},
        {"lookaheadoff", kNoArgument, &o.readAhead, 0},
        {"writethrough", kNoArgument, &o.writePolicy, kWriteThrough},
        {"writeback", kNoArgument, &o.writePolicy, kWriteBack},
        {"restoreon", kNoArgument, &o.restore, 1},
        {"restoreoff", kNoArgument, &o.restore, 0},
        {"autorebuildon", kNoArgument, &o.autoRebuild, 1},
        {"autorebuildoff", kNoArgument, &o.autoRebuild, 0},
        {"cacheon", kNoArgument, &o.cache, 1},
        {"cacheoff", kNoArgument, &o.cache, 0},
        {"smarton", kNoArgument, &o.smart, 1},
        {"smartoff", kNoArgument, &o.smart, 0},
        {"buzzeron", kNoArgument, &o.buzzer, 1},
        {"buzzeroff", kNoArgument, &o.buzzer, 0},
        {"optimizeon", kNoArgument, &o.optimize, 1},
        {"optimizeoff", kNoArgument, &o.optimize, 0},
        {"optmizeoff", kNoArgument, &o.optimize, 0},
        {"performance", kNoArgument, &o.power, 1},
        {"powersaving", kNoArgument, &o.power, 0},
        {"setonline", kNoArgument, &o.pdStatus, 0},
        {"setoffline", kNoArgument, &o.pdStatus, 1},
        {"forcesetoffline", kNoArgument, &o.pdStatus, 2},
        {"virtualatapidisable", kNoArgument, &o.vatapi, 0},
        {"virtualatapienable", kNoArgument, &o.vatapi, 1},
        {"moduleconsolidateon", kNoArgument, &o.consolidate, 1},
        {"moduleconsolidateoff", kNoArgument, &o.consolidate, 0},
        {"rawupdateon", kNoArgument, &o.rawUpdate, 0},
        {"rawupdateoff", kNoArgument, &o.rawUpdate, 1},
        {nullptr, 0, nullptr, 0},
    };
    /* --syncrate and --migrationrate reach the rates their help lines
       describe (-y, -g); -s and -m stay the serial number and model. */
    const cli::option v2Options[] = {
        {"object", kRequiredArgument, nullptr, 'o'},
        {"id", kRequiredArgument, nullptr, 'i'},
        {"entry", kRequiredArgument, nullptr, 'e'},
        {"name", kRequiredArgument, nullptr, 'n'},
        {"serial", kRequiredArgument, nullptr, 's'},
        {"model", kRequiredArgument, nullptr, 'm'},
        {"syncrate", kRequiredArgument, nullptr, 'y'},
        {"initrate", kRequiredArgument, nullptr, 't'},
        {"rebuildrate", kRequiredArgument, nullptr, 'b'},
        {"migrationrate", kRequiredArgument, nullptr, 'g'},
        {"copybackrate", kRequiredArgument, nullptr, 'c'},
        {"medialpatrolrate", kRequiredArgument, nullptr, 'p'},
        {"mediapatrolrate", kRequiredArgument, nullptr, 'p'},
        {"sataphyctrl", kRequiredArgument, nullptr, 'a'},
        {"portnum", kRequiredArgument, nullptr, 'w'},
        {"output", kRequiredArgument, nullptr, 1},
        {"help", kNoArgument, nullptr, 'h'},
        {"upper", kNoArgument, nullptr, 'h'},
        {"lower", kNoArgument, nullptr, 'h'},
        {"key", kNoArgument, nullptr, 'h'},
        {"readaheadon", kNoArgument, &o.readAhead, 1},
        {"readaheadoff", kNoArgument, &o.readAhead, 0},
        {"lookaheadon", kNoArgument, &o.readAhead, 1},
        {"lookaheadoff", kNoArgument, &o.readAhead, 0},
        {"writethrough", kNoArgument, &o.writePolicy, kWriteThrough},
        {"writeback", kNoArgument, &o.writePolicy, kWriteBack},
        {"auto", kNoArgument, &o.writePolicy, kWriteAuto},
        {"autorebuildon", kNoArgument, &o.autoRebuild, 1},
        {"autorebuildoff", kNoArgument, &o.autoRebuild, 0},
        {"cacheon", kNoArgument, &o.cache, 1},
        {"cacheoff", kNoArgument, &o.cache, 0},
        {"smarton", kNoArgument, &o.smart, 1},
        {"smartoff", kNoArgument, &o.smart, 0},
        {"buzzeron", kNoArgument, &o.buzzer, 1},
        {"buzzeroff", kNoArgument, &o.buzzer, 0},
        {"optimizeon", kNoArgument, &o.optimize, 1},
        {"optimizeoff", kNoArgument, &o.optimize, 0},
        {"optmizeoff", kNoArgument, &o.optimize, 0},
        {"performance", kNoArgument, &o.power, 1},
        {"powersaving", kNoArgument, &o.power, 0},
        {"setoffline", kNoArgument, &o.pdStatus, 1},
        {"forcesetoffline", kNoArgument, &o.pdStatus, 2},
        {"virtualatapidisable", kNoArgument, &o.vatapi, 0},
        {"virtualatapienable", kNoArgument, &o.vatapi, 1},
        {"moduleconsolidateon", kNoArgument, &o.consolidate, 1},
        {"moduleconsolidateoff", kNoArgument, &o.consolidate, 0},
        {"copybackon", kNoArgument, &o.copyBack, 1},
        {"copybackoff", kNoArgument, &o.copyBack, 0},
        {"relearn", kNoArgument, &o.bbuAction, 0},
        {"charge", kNoArgument, &o.bbuAction, 1},
        {"discharge", kNoArgument, &o.bbuAction, 2},
        {"stop", kNoArgument, &o.bbuAction, 3},
        {nullptr, 0, nullptr, 0},
    };
    /* -d names the disk of a link in both tables. */
    const char *shortOptions = v2 ? "o:i:n:p:s:t:n:b:m:c:a:w:\x01:k:e:g:y:d:h"
                                  : "o:i:n:r:s:m:n:a:w:p:\x01:k:e:d:f:h";
    /* Which letters may be given only once differs between the tables;
       the others may be repeated, the last one counting. */
    OptionLoopRules rules;
    rules.once = v2 ? "oingytbca" : "oinrsm";
    int count[128] = {0};
    int r = runOptionLoop(argc, argv, pCmdInfo, shortOptions, v2 ? v2Options : v1Options, rules, count,
                          [&](int c, const char *arg) { return takeOption(c, arg, v2, o); });
    if (r >= 0)
        return r;
    if (o.haveName && !validName(o.name)) {
        fprintf(stream, "-n, name must be numeric, character, space or underline. Now is %s\n", o.name);
        return 1;
    }
    if (o.object == SET_NONE) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'o');
        return 1;
    }
    return -1;
}

int setCheckObject(const SetOptions &o, unsigned long allowed, const char *invalidSettings,
                   const char *invalidIdFormat, const char *nothingNamed)
{
    if (o.named() & ~allowed) {
        fputs(invalidSettings, stream);
        return 1;
    }
    if (o.id == 255) {
        fprintf(stream, invalidIdFormat, 255);
        return 1;
    }
    if (nothingNamed && o.named() == 0) {
        fputs(nothingNamed, stream);
        return 1;
    }
    return -1;
}

int setPdCapabilities(const SetOptions &o)
{
    /* Both capabilities first, so that a refused request changes nothing. */
    const KX_U32 adv = gAdapterInfo[gCurrentAdapter].AdvancedFeatures;
    if (o.cache >= 0 && setBit(adv, 19)) {
        fputs("\nThis product does not support turning disk cache settings on/off.\n", stream);
        return KX_ST_NOT_SUPPORTED;
    }
    if (o.pdStatus >= 0 && setBit(adv, 18)) {
        fputs("\nThis product does not support set disk free command.\n", stream);
        return KX_ST_NOT_SUPPORTED;
    }
    return -1;
}

bool setVdCacheAllowed(const SetOptions &o)
{
    /* Restore is named only in the table without arrays, "auto" only in
       the other one. */
    const KX_U32 adv = gAdapterInfo[gCurrentAdapter].AdvancedFeatures;
    const char *refusal = nullptr;
    if (setWritePolicy(o) >= 0 && setBit(adv, 14))
        refusal = "VD cache is not supported on adapter %d.\n";
    else if (o.restore >= 0 && (!setBit(adv, 25) || !setBit(adv, 14)))
        refusal = "VD restore option is not supported on adapter %d.\n";
    else if (o.readAhead >= 0 && setBit(adv, 15))
        refusal = "VD read cache is not supported on adapter %d.\n";
    else if (o.writePolicy == kWriteAuto && !setBit(adv, 3))
        refusal = "'auto' cache mode is not supported on adapter %d\n";
    if (!refusal)
        return true;
    fprintf(stream, refusal, gCurrentAdapter);
    return false;
}

bool setReadVdConfig(KX_U16 id, LD_Config &cfg)
{
    KX_U8 st = client::queryOne<LD_Config_Request>(KX_LD_GetConfig, gCurrentAdapter, id, cfg, 8);
    if (st != 0) {
        fprintf(stream, "\nUnable to get configuration info of VD %d (error %d: %s)\n", id, st, ErrorMessage(st));
        return false;
    }
    return true;
}

bool setAnyRefused(std::initializer_list<SetRefusal> checks, int adapter)
{
    for (const SetRefusal &c : checks)
        if (c.refused) {
            fprintf(stream, c.text, adapter);
            return true;
        }
    return false;
}

int setWritePolicy(const SetOptions &o)
{
    if (o.writePolicy >= 0)
        return o.writePolicy;
    if (o.cache >= 0)
        return o.cache ? kWriteBack : kWriteThrough;
    return -1;
}

void setApplyVd(LD_Config &c, const SetOptions &o)
{
    const int policy = setWritePolicy(o);
    if (policy >= 0)
        c.CacheMode = static_cast<KX_U8>((c.CacheMode & ~kWritePolicyBits) | policy);
    if (o.haveName)
        putText(c.Name, sizeof c.Name, o.name, false);
    if (o.readAhead >= 0)
        c.CacheMode = static_cast<KX_U8>(o.readAhead ? c.CacheMode | kReadAheadBit : c.CacheMode & ~kReadAheadBit);
}

void setApplyHba(Adapter_Config_V2 &c, const SetOptions &o, bool padModel)
{
    auto put = [](KX_U8 &field, int value) {
        if (value >= 0)
            field = static_cast<KX_U8>(value);
    };
    put(c.AlarmOn, o.buzzer);
    put(c.AutoRebuildOn, o.autoRebuild);
    put(c.BGARate, o.bgaRate);
    put(c.PollSMARTStatus, o.smart);
    put(c.MediaPatrolRate, o.mediaPatrolRate);
    put(c.CopyBack, o.copyBack);
    put(c.SyncRate, o.syncRate);
    put(c.InitRate, o.initRate);
    put(c.RebuildRate, o.rebuildRate);
    put(c.MigrationRate, o.migrationRate);
    put(c.CopybackRate, o.copybackRate);
    put(c.InterruptCoalescing, o.optimize);
    put(c.ModuleConsolidate, o.consolidate);
    put(c.v_atapi_disable, o.vatapi);
    put(c.rawimg_update_disabled, o.rawUpdate);
    if (o.phyCode >= 0 && o.port >= 0)
        c.port_phy_ctrl[o.port] = static_cast<KX_U8>(o.phyCode);
    if (o.haveSerial && o.serial[0] != '\0')
        putText(c.SerialNo, sizeof c.SerialNo, o.serial, true);
    if (o.haveModel && o.model[0] != '\0')
        putText(c.ModelNumber, sizeof c.ModelNumber, o.model, padModel);
}

KX_U8 setReadAdapterConfig(KX_U8 adapter, Adapter_Config_V2 &out)
{
    unsigned adapters = KX_Adapter_GetCount();
    std::vector<Adapter_Config_V2> configs(adapters ? adapters : 1);
    memset(configs.data(), 0, configs.size() * sizeof configs[0]);
    KX_U8 n = 0;
    KX_U8 st = KX_Adapter_GetConfig(adapter, &n, configs.data());
    if (st == 0 && n == 0)
        st = 13;  /* no record: no such adapter */
    if (st == 0)
        out = configs[0];
    return st;
}

const Adapter_Info &setAdapterCaps(long id)
{
    if (id >= 0 && id < gNumAdaptersFound)
        return gAdapterInfo[id];
    return gAdapterInfo[gCurrentAdapter];
}

int setPdCacheAndStatus(KX_U16 id, const SetOptions &o)
{
    KX_U8 st = 0;
    if (o.cache >= 0) {
        HD_Config cfg;
        st = client::queryOne<HD_Config_Request>(KX_PD_GetConfig, gCurrentAdapter, id, cfg, 9);
        if (st != 0) {
            fprintf(stream, "\nUnable to get configuration data of PD %d (error %d: %s).\n", id, st,
                    ErrorMessage(st));
            return 1;
        }
        if (cfg.WriteCacheOn != o.cache) {
            cfg.WriteCacheOn = static_cast<KX_BOOLEAN>(o.cache);
            st = KX_PD_SetConfig(gCurrentAdapter, id, &cfg);
            if (st != 0) {
                fprintf(stream, "\nFailed to configure PD %d (error %d: %s)\n", id, st, ErrorMessage(st));
                return st;
            }
        }
    }
    if (o.pdStatus >= 0) {
        st = KX_PD_SetHDStatus(gCurrentAdapter, id, static_cast<KX_U8>(o.pdStatus));
        if (st != 0)
            fprintf(stream, "\nFailed to set status on PD %d (error %d: %s)\n", id, st, ErrorMessage(st));
    }
    return st;
}

bool setPhyPairGiven(const SetOptions &o, const char *cmd)
{
    if ((o.phyCode >= 0) == (o.port >= 0))
        return true;
    fprintf(stream, OptionRequired, cmd, o.phyCode >= 0 ? 'w' : 'a');
    return false;
}

int setLink(const SetOptions &o, const char *cmd)
{
    if (o.pdId < 0) {
        fprintf(stream, OptionRequired, cmd, 'd');
        return 1;
    }
    VDHDD_Link link;
    memset(&link, 0, sizeof link);
    /* The VD the user named: the controller's 0xFFFF would let it pick the
       VD by the disk instead. */
    link.VDID = static_cast<KX_U16>(o.id);
    link.HDID = static_cast<KX_U16>(o.pdId);
    KX_U8 st = KX_VDHDD_AddLink(gCurrentAdapter, &link);
    if (st != 0)
        fprintf(stream, "\nFailed to change vd %d linked pd %d (error %d: %s)\n", static_cast<int>(o.id),
                static_cast<int>(o.pdId), st, ErrorMessage(st));
    return st;
}
