#include "create_common.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Public/confirm.h"
#include "Public/dispatch.h"
#include "Public/errors.h"
#include "Public/globals.h"
#include "Public/utils.h"

const char *RaidModeStrInCreate(KX_U8 raidMode)
{
    switch (raidMode) {
    case 0: return "R0";
    case 1: return "R1";
    case 5: return "R5";
    case 6: return "R6";
    case 10: return "Tandem_c";
    case 11: return "Tandem_s";
    case 12: return "Hybrid";
    case 15: return "JBD";
    case 16: return "R10";
    case 17: return "R1E";
    case 80: return "R50";
    case 96: return "R60";
    default: return "NA";
    }
}

int createRaidModeBit(KX_U8 raidMode)
{
    switch (raidMode) {
    case 0: return 0;
    case 1: return 1;
    case 16: return 2;
    case 17: return 3;
    case 5: return 4;
    case 6: return 5;
    case 80: return 6;
    case 15: return 7;
    case 96: return 8;
    case 10: return 9;
    case 11: return 10;
    case 12: return 11;
    default: return -1;
    }
}

int createDiskCountCommon(KX_U8 raid, int n)
{
    const char *refusal = nullptr;
    switch (raid) {
    case 0:
        if (n < 2) {
            fprintf(stream, "RAID0 needs at least %d PD.\n", 2);
            return 0;
        }
        return 1;
    case 1:
        refusal = n != 2 ? "RAID1 needs exactly 2 PDs.\n" : nullptr;
        break;
    case 16:
        refusal = n < 4 || n % 2 ? "RAID10 needs at least 4 or more even number of PDs.\n" : nullptr;
        break;
    case 17:
        refusal = n < 3 || n % 2 == 0 ? "RAID1E needs at least 3 or more odd number of PDs.\n" : nullptr;
        break;
    case 5:
        refusal = n < 3 ? "RAID5 needs at least 3 PDs.\n" : nullptr;
        break;
    case 80:
        refusal = n < 6 || n % 2 ? "RAID50 needs least 6 or more even number of PDs.\n" : nullptr;
        break;
    default:
        return -1;
    }
    if (refusal) {
        fputs(refusal, stream);
        return 0;
    }
    return 1;
}

bool isValidStripe(unsigned long stripe)
{
    Adapter_Info &info = gAdapterInfo[gCurrentAdapter];
    if (info.StripeSizeSupported == 0)
        info.StripeSizeSupported = (info.AdvancedFeatures & (1u << 1)) ? 127 : 15;
    /* 0 would pass every mask, and a multiple of 16 beyond 12 bits of
       stripe / 16 would be checked on its low bits only: 65536 passes as 0
       and lands in the 16-bit field as 0. */
    if (stripe == 0 || stripe % 16 != 0 || stripe / 16 > 0xFFF)
        return false;
    unsigned long units = stripe / 16;
    return (units & ~static_cast<unsigned long>(info.StripeSizeSupported)) == 0;
}

bool createNumber(const char *text, unsigned long long max, unsigned long long &out)
{
    if (!text || !*text)
        return false;
    unsigned long long v = 0;
    for (const char *p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        unsigned d = static_cast<unsigned>(*p - '0');
        if (v > (max - d) / 10)
            return false;
        v = v * 10 + d;
    }
    out = v;
    return true;
}

bool createParsePdList(const char *text, CreatePdList &list, std::string &badItem)
{
    list.count = 0;
    const char *p = text;
    while (*p) {
        const char *end = strchr(p, ',');
        size_t len = end ? static_cast<size_t>(end - p) : strlen(p);
        if (len > 0) {
            std::string item(p, len);
            if (item[0] < '0' || item[0] > '9') {
                badItem = item;
                return false;
            }
            /* The ID as typed: its leading digits must fit 16 bits before
               anything is stored, or 65540 would become disk 4. */
            unsigned long v = 0;
            for (size_t i = 0; i < len && item[i] >= '0' && item[i] <= '9'; ++i) {
                v = v * 10 + static_cast<unsigned>(item[i] - '0');
                if (v > 0xFFFF) {
                    badItem = item;
                    return false;
                }
            }
            KX_U16 id = static_cast<KX_U16>(v);
            bool seen = false;
            for (int i = 0; i < list.count && !seen; ++i)
                seen = list.ids[i] == id;
            if (!seen) {
                if (list.count == CLI_MAX_PD_LIST) {
                    badItem = item;
                    return false;
                }
                list.ids[list.count++] = id;
            }
        }
        if (!end)
            break;
        p = end + 1;
    }
    return true;
}

bool createStripeOption(const char *arg, bool v2, KX_U16 &stripe)
{
    if (!*arg || !isNumber(arg)) {
        fprintf(stream, "-b : invalid stripe block size '%s'.\n", arg);
        return false;
    }
    /* Digits beyond any stripe size stand for 0, which no adapter takes. */
    unsigned long long v = 0;
    if (!createNumber(arg, 0xFFFFFFFFULL, v))
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
    size_t perPage = arrays ? 64 : 32;
    if (maxBuffer != 0)
        perPage = (static_cast<size_t>(maxBuffer) * 1024 - sizeof(RequestHeader)) / recordSize;
    if (perPage == 0)
        perPage = 1;
    if (perPage > 0xFFFF)
        perPage = 0xFFFF;
    const size_t bytes = sizeof(RequestHeader) + perPage * recordSize;
    void *buffer = calloc(1, bytes);
    if (!buffer) {
        fprintf(stream, "Unable to allocate buffer for %d bytes.\n", static_cast<int>(bytes));
        return 4;
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
