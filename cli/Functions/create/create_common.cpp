#include "create_common.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Public/confirm.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"
#include "Public/utils.h"
#include "layout_rules.h"
#include "paging.h"
#include "parse.h"

const char *RaidModeStrInCreate(KX_U8 raidMode)
{
    const KxRaidLevel *level = kxRaidLevel(raidMode);
    return level ? level->shortName : "NA";
}

bool isValidStripe(unsigned long stripe)
{
    Adapter_Info &info = gAdapterInfo[gCurrentAdapter];
    if (info.StripeSizeSupported == 0)
        info.StripeSizeSupported = client::defaultStripeMask(info.AdvancedFeatures);
    return client::stripeAllowed(info.StripeSizeSupported, stripe);
}

bool createStripeOption(const char *arg, bool v2, KX_U16 &stripe)
{
    if (!*arg || !isNumber(arg)) {
        fprintf(stream, "-b : invalid stripe block size '%s'.\n", arg);
        return false;
    }
    /* Digits beyond any stripe size stand for 0, which no adapter takes. */
    unsigned long long v = 0;
    if (!client::parseDecimal(arg, 0xFFFFFFFFULL, v))
        v = 0;
    if (!isValidStripe(static_cast<unsigned long>(v))) {
        fprintf(stream,
                v2 ? "-b : invalid stripe block size '%s'. Please refer to info -o hba command to get detail "
                     "stripe size support information.\n"
                   : "-b : invalid stripe block size '%s'.Please refer to info -o hba command to get detail "
                     "stripe size support information.\n",
                arg);
        return false;
    }
    stripe = static_cast<KX_U16>(v);
    return true;
}

bool createWritePolicyOption(const char *arg, bool allowAuto, KX_U8 &bits)
{
    const Adapter_Info &info = gAdapterInfo[gCurrentAdapter];
    if (info.AdvancedFeatures & (1u << 14)) {
        fprintf(stream, "VD write cache is not supported on adapter %d.\n", gCurrentAdapter);
        return false;
    }
    if (strcmp(arg, "wt") == 0) {
        bits |= 1;
    } else if (allowAuto && strcmp(arg, "auto") == 0) {
        if (!(info.AdvancedFeatures & (1u << 3))) {
            fprintf(stream, "'auto' cache mode is not supported\n");
            return false;
        }
        bits |= 8;
    } else if (strcmp(arg, "wb") != 0) {
        fprintf(stream, "-w : invalid write policy '%s'\n", arg);
        return false;
    }
    return true;
}

bool createReadPolicyOption(const char *arg, KX_U8 &policy)
{
    if (gAdapterInfo[gCurrentAdapter].AdvancedFeatures & (1u << 15)) {
        fprintf(stream, "VD read cache is not supported on adapter %d.\n", gCurrentAdapter);
        return false;
    }
    if (strcmp(arg, "ra") == 0) {
        policy |= 4;
    } else if (strcmp(arg, "none") != 0) {
        fprintf(stream, "-p : invalid read policy '%s'\n", arg);
        return false;
    }
    return true;
}

bool createRoundingOption(const char *arg, bool v2, KX_U8 &rounding)
{
    if (gAdapterInfo[gCurrentAdapter].AdvancedFeatures & (1u << 17)) {
        fputs(v2 ? "giga byte rounding scheme is not support\n" : "Gigabyte rounding scheme is not supported\n",
              stream);
        return false;
    }
    if (strcmp(arg, "0") == 0) {
        rounding = 0;
    } else if (strcmp(arg, "1") == 0) {
        rounding = 1;
    } else if (strcmp(arg, "10") == 0) {
        rounding = 2;
    } else {
        fprintf(stream, "-g : invalid giga byte rounding scheme '%s'\n", arg);
        return false;
    }
    return true;
}

bool createInitOption(const char *arg, bool allowForeground, KX_U8 &init)
{
    if (strcmp(arg, "none") == 0) {
        init = 3;
    } else if (strcmp(arg, "quick") == 0) {
        init = 0;
    } else if (allowForeground && strcmp(arg, "foreground") == 0) {
        init = 1;
    } else if (strcmp(arg, "intelligent") == 0) {
        init = 5;
    } else if (strcmp(arg, "background") == 0) {
        if (!(gAdapterInfo[gCurrentAdapter].Features & (1u << 1))) {
            fprintf(stream, "-i : initialization mode '%s' is not supported\n", arg);
            return false;
        }
        init = 2;
    } else {
        fprintf(stream, "-i : invalid initialization mode '%s'\n", arg);
        return false;
    }
    return true;
}

bool createNameOption(const char *arg, int maxChars, char *out)
{
    /* Unquoted, the copy cuts the name to maxChars; only a quoted name
       arrives whole and can be too long. */
    noQuoteStrncpy(out, arg, maxChars + 1);
    if (static_cast<int>(strlen(out)) > maxChars) {
        fprintf(stream, "-n : length of name should be no more than %d characters\n", maxChars);
        return false;
    }
    return true;
}

bool createNameCharsOk(const char *name)
{
    for (const char *p = name; *p; ++p) {
        char c = *p;
        bool ok = c == ' ' || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!ok) {
            fprintf(stream, "-n, name must be numeric, character, space or underline. Now is %s\n", name);
            return false;
        }
    }
    return true;
}

OptionTake createTakeOption(int opt, const char *arg, bool v2, CreateOptions &o)
{
    const Adapter_Info &info = gAdapterInfo[gCurrentAdapter];
    std::string bad;
    switch (opt) {
    case 'r':
        return takeRaidLevel(arg, o.raid);
    case 'q':
        return takeParityDisks(arg, o.parity);
    case 'd':
        if (!client::parsePdList(arg, client::PdListRules{true, true}, o.pds.ids, o.pds.count, bad)) {
            if (v2)
                fprintf(stream, "-d : invalid PD IDs '%s'\n", arg);
            else
                fprintf(stream, "-d : invalid PD ID '%s'\n", bad.c_str());
            return OPT_REFUSED;
        }
        if (v2 && o.pds.count == 0) {
            fprintf(stream, "-d : no PD ID is specified.\n");
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'n':
        return createNameOption(arg, v2 ? 16 : 10, o.name) ? OPT_TAKEN : OPT_REFUSED;
    case 'b':
        return createStripeOption(arg, v2, o.stripe) ? OPT_TAKEN : OPT_REFUSED;
    case 's':
        if (!client::parseDecimal(arg, ~0ULL, o.size) || (v2 && o.size == 0)) {
            fprintf(stream, "-s : invalid size '%s'.\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'c':
        if (info.AdvancedFeatures & (1u << 14)) {
            fprintf(stream, "VD cache is not supported on adapter %d.\n", gCurrentAdapter);
            return OPT_REFUSED;
        }
        if (strcmp(arg, "off") == 0) {
            o.policy = v2 ? static_cast<KX_U8>(o.policy | 1) : 1;
        } else if (strcmp(arg, "on") == 0) {
            if (!v2)
                o.policy = 0;
        } else if (v2 && strcmp(arg, "auto") == 0) {
            if (!(info.AdvancedFeatures & (1u << 3))) {
                fprintf(stream, "'auto' cache mode is not supported\n");
                return OPT_REFUSED;
            }
            o.policy |= 8;
        } else {
            fprintf(stream, "-c : invalid cache mode '%s'\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'w':
        if (!createWritePolicyOption(arg, v2, o.writeBits))
            return OPT_REFUSED;
        o.policy |= o.writeBits;
        return OPT_TAKEN;
    case 'p':
        return createReadPolicyOption(arg, o.policy) ? OPT_TAKEN : OPT_REFUSED;
    case 'g':
        return createRoundingOption(arg, v2, o.rounding) ? OPT_TAKEN : OPT_REFUSED;
    case 'i':
        return createInitOption(arg, v2, o.init) ? OPT_TAKEN : OPT_REFUSED;
    case CREATE_OPT_WAIVE:
        o.waive = true;
        return OPT_TAKEN;
    default:
        return OPT_HELP;
    }
}

bool createRaidAndDisksGiven(const CreateOptions &o, const char *cmd)
{
    if (!o.seen['r'])
        fprintf(stream, OptionRequired, cmd, 'r');
    if (!o.seen['d'])
        fprintf(stream, OptionRequired, cmd, 'd');
    return o.seen['r'] && o.seen['d'];
}

int createParityAllowed(const CreateOptions &o)
{
    if (o.seen['q'] && o.raid != 6 && o.raid != 96) {
        fprintf(stream, "RAID mode %s don't support the setting of parity disks.\n", RaidModeStr(o.raid));
        return KX_ST_NOT_SUPPORTED;
    }
    return -1;
}

bool createDiskCountFits(client::LayoutRules rules, CreateOptions &o)
{
    int parity = o.seen['q'] ? o.parity : -1;
    std::string message;
    if (!client::checkDiskCount(rules, o.raid, o.pds.count, parity, gAdapterInfo[gCurrentAdapter].MaxParityDisks,
                                message)) {
        fputs(message.c_str(), stream);
        return false;
    }
    if (parity >= 0)
        o.parity = static_cast<KX_U8>(parity);
    return true;
}

bool createDiskStateUsable(KX_U16 id, KX_U8 status, bool array)
{
    /* The array's offline line spells the word as the tool always has. */
    const char *text = nullptr;
    if (status & KX_PD_OFFLINE)
        text = array ? "Offline disk %d can not be used to create arrray.\n"
                     : "Offline disk %d can not be used to create VD.\n";
    else if (status & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE))
        text = array ? "Spare disk %d can not be used to create array.\n"
                     : "Spare disk %d can not be used to create VD.\n";
    else if (status & KX_PD_FOREIGN)
        text = array ? "Foreign disk %d can not be used to create array.\n"
                     : "Foreign disk %d can not be used to create VD.\n";
    if (!text)
        return true;
    fprintf(stream, text, id);
    return false;
}

void createSetName(KX_U8 *field, size_t size, const char *fmt, ...)
{
    char text[64];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    size_t len = strlen(text);
    memset(field, 0, size);
    memcpy(field, text, len < size ? len : size);
}

int createCountObjects(bool arrays, int &count)
{
    const size_t recordSize = arrays ? sizeof(DG_Info) : sizeof(LD_Info);
    const KX_U16 maxBuffer = gAdapterInfo[gCurrentAdapter].MaxBufferSize;
    const size_t perPage = client::recordsPerPage(maxBuffer, recordSize, arrays ? 64 : 32);
    const size_t bytes = sizeof(RequestHeader) + perPage * recordSize;
    void *buffer = calloc(1, bytes);
    if (!buffer) {
        fprintf(stream, "Unable to allocate buffer for %d bytes.\n", static_cast<int>(bytes));
        return KX_ST_NO_RESOURCE;
    }
    RequestHeader *h = static_cast<RequestHeader *>(buffer);
    count = 0;
    unsigned start = 0;
    for (;;) {
        memset(h, 0, sizeof *h);
        h->requestType = KX_REQUEST_BY_INDEX;
        h->startingIndexOrId = static_cast<KX_U16>(start);
        h->numRequested = static_cast<KX_U16>(perPage);
        KX_U8 st = arrays ? KX_DG_GetInfo(gCurrentAdapter, static_cast<DG_Info_Request *>(buffer))
                          : KX_LD_GetInfo(gCurrentAdapter, static_cast<LD_Info_Request *>(buffer));
        if (st != 0)
            break;
        count += h->numReturned;
        /* A next index that does not move on would page for ever. */
        if (h->nextStartingIndex == KX_END_OF_LIST || h->nextStartingIndex <= start)
            break;
        start = h->nextStartingIndex;
    }
    free(buffer);
    return 0;
}

int createConfirmDisks(const KX_U16 *ids, int count, const char *what)
{
    HD_MBR_Info mbr;
    memset(&mbr, 0, sizeof mbr);
    mbr.HDCount = static_cast<KX_U8>(count);
    memcpy(mbr.HDIDs, ids, sizeof(KX_U16) * static_cast<size_t>(count));
    KX_U8 st = KX_PD_GetMBRInfo(gCurrentAdapter, &mbr);
    if (st != 0) {
        fprintf(stream, "\nFailed to create virtual disk (error %d: %s).\n", st, ErrorMessage(st));
        return 1;
    }
    std::string found;
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (mbr.hasMBR[i]) {
            found += std::to_string(ids[i]) + " ";
            ++n;
        }
    }
    if (n == 0)
        return -1;
    if (n == 1)
        fprintf(stream, "PD %shas file system on it. Data will be lost if it is used to create %s.\n", found.c_str(),
                what);
    else
        fprintf(stream, "PD %shave file system on them. Data will be lost if they are used to create %s.\n",
                found.c_str(), what);
    switch (askConfirm("Do you still want to create the VD? (y or n)\n")) {
    case CONFIRM_YES: return -1;
    case CONFIRM_NO: return 0;
    default: return 1;
    }
}
