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
bool rate(const char *text, const char *invalidFmt, const char *rangeFmt, int &out)
{
    if (text[0] == '\0' || !isNumber(text)) {
        fprintf(stream, invalidFmt, text);
        return false;
    }
    long p = 0;
    if (!decimal(text, 100, p)) {
        fprintf(stream, rangeFmt, 100);
        return false;
    }
    out = static_cast<int>((p * 250 + 50) / 100);
    return true;
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
    int count[128] = {0};
    cli::optind = 1;
    int c;
    while ((c = cli::getopt_long(argc, argv, shortOptions, v2 ? v2Options : v1Options, nullptr)) != -1) {
        if (c > 0 && c < 128)
            ++count[c];
        const char *arg = cli::optarg;
        switch (c) {
        case 0:
        case 1:
            break;
        case '?':
            return 1;
        case 'o':
            o.object = objectOf(arg, v2);
            if (o.object == SET_NONE) {
                fprintf(stream, "-o : invalid object '%s'\n", arg);
                return 1;
            }
            break;
        case 'i':
            if (!decimal(arg, 0xFFFF, o.id)) {
                fprintf(stream, "-i : invalid id '%s'\n", arg);
                return 1;
            }
            snprintf(o.idText, sizeof o.idText, "%s", arg);
            break;
        case 'd':
            if (!decimal(arg, 0xFFFF, o.pdId)) {
                fprintf(stream, "-d : invalid pd id '%s'\n", arg);
                return 1;
            }
            break;
        case 'n': {
            std::string name = unquoted(arg);
            if (name.size() > SET_NAME_MAX) {
                fprintf(stream, "-n : length of name should be no more than %d characters\n", SET_NAME_MAX);
                return 1;
            }
            snprintf(o.name, sizeof o.name, "%s", name.c_str());
            o.haveName = true;
            break;
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
                return 1;
            }
            snprintf(c == 's' ? o.serial : o.model, SET_TEXT_MAX + 1, "%s", text.c_str());
            (c == 's' ? o.haveSerial : o.haveModel) = true;
            break;
        }
        case 'a': {
            long code = 0;
            if (arg[0] == '\0' || !isNumber(arg)) {
                fprintf(stream, "-a : invalid number '%s'\n", arg);
                return 1;
            }
            if (!decimal(arg, 0xFF, code) || !validPhyCode(code)) {
                fputs(v2 ? "-a : phy ctrl code is invalid value" : "-a : phy ctrl code is invalid value\n", stream);
                return 1;
            }
            o.phyCode = static_cast<int>(code);
            break;
        }
        case 'w': {
            long port = 0;
            if (arg[0] == '\0' || !isNumber(arg)) {
                fprintf(stream, "-w : invalid vlaue,the valid value is {0-7} '%s'\n", arg);
                return 1;
            }
            if (!decimal(arg, 7, port)) {
                fputs("-w : portnum is invalid value,the valid value is {0-7}\n", stream);
                return 1;
            }
            o.port = static_cast<int>(port);
            break;
        }
        case 'r':
            if (!rate(arg, "-r : invalid BGA rate '%s'\n", "-r : BGA rate out of range (0~%d)\n", o.bgaRate))
                return 1;
            break;
        case 'e': {
            long ignored = 0;
            if (!v2) {
                printCommandHelp(pCmdInfo);
                return 0;
            }
            if (!decimal(arg, 0xFFFF, ignored)) {
                fprintf(stream, "-e : invalid id '%s'\n", arg);
                return 1;
            }
            break;
        }
        case 'y':
            if (!rate(arg, "-s : invalid Synchronization rate '%s'\n",
                      "-s : Synchronization rate out of range (0~%d)\n", o.syncRate))
                return 1;
            break;
        case 't':
            if (!rate(arg, "-t : invalid initialization rate '%s'\n",
                      "-t : initialization rate out of range (0~%d)\n", o.initRate))
                return 1;
            break;
        case 'b':
            if (!rate(arg, "-b : invalid rebuild rate '%s'\n", "-b : rebuild rate out of range (0~%d)\n",
                      o.rebuildRate))
                return 1;
            break;
        case 'g':
            if (!rate(arg, "-m : invalid migration rate '%s'\n", "-m : migration rate out of range (0~%d)\n",
                      o.migrationRate))
                return 1;
            break;
        case 'c':
            if (!rate(arg, "-c : invalid copy back rate '%s'\n", "-c : copy back rate out of range (0~%d)\n",
                      o.copybackRate))
                return 1;
            break;
        case 'p':
            if (!v2) {
                printCommandHelp(pCmdInfo);
                return 0;
            }
            if (!rate(arg, "-p : invalid media patrol rate '%s'\n", "-p : Media Patrol rate out of range (0~%d)\n",
                      o.mediaPatrolRate))
                return 1;
            break;
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }

    const char *once = v2 ? "oingytbca" : "oinrsm";
    for (const char *p = once; *p; ++p)
        if (count[static_cast<int>(*p)] > 1) {
            fputs(ErrorDuplicate, stream);
            return 1;
        }
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
