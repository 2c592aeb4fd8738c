#include "Public/utils.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "kx_api.h"
#include "Public/globals.h"

bool isNumber(const char *text)
{
    for (; *text; ++text)
        if (*text < '0' || *text > '9')
            return false;
    return true;
}

bool isHex(const char *text)
{
    if (text[0] != '0' || (text[1] != 'x' && text[1] != 'X') || text[2] == '\0')
        return false;
    for (const char *p = text + 2; *p; ++p)
        if (!isxdigit(static_cast<unsigned char>(*p)))
            return false;
    return true;
}

KX_U32 atohex(const char *text)
{
    KX_U32 value = 0;
    if (text[0] == '\0' || text[1] == '\0')
        return 0;
    for (const char *p = text + 2; *p; ++p) {
        unsigned d = static_cast<unsigned char>(*p) - '0';
        if (d > 9)
            d = static_cast<unsigned char>(*p) - 55;
        value = (value << 4) | (d & 0xF);
    }
    return value;
}

bool parseDecOrHex32(const char *text, KX_U32 *out)
{
    const bool hex = isHex(text);
    if (!hex && (!*text || !isNumber(text)))
        return false;
    const char *digits = hex ? text + 2 : text;
    while (digits[0] == '0' && digits[1])
        ++digits;
    if (strlen(digits) > (hex ? 8u : 10u))
        return false;
    if (hex) {
        *out = atohex(text);
        return true;
    }
    const unsigned long long value = strtoull(digits, nullptr, 10);
    if (value > 0xFFFFFFFFull)
        return false;
    *out = static_cast<KX_U32>(value);
    return true;
}

char *strlwr(char *text)
{
    for (char *p = text; *p; ++p)
        if (*p >= 'A' && *p <= 'Z')
            *p = static_cast<char>(*p - 'A' + 'a');
    return text;
}

KX_U8 chooseRaidMode(const char *text)
{
    static const struct { const char *word; KX_U8 code; } modes[] = {
        {"0", 0}, {"1", 1}, {"5", 5}, {"6", 6}, {"hc", 10}, {"hs", 11}, {"hybrid", 12},
        {"10", 16}, {"1e", 17}, {"1E", 17}, {"50", 80}, {"60", 96},
    };
    for (const auto &m : modes)
        if (strcmp(text, m.word) == 0)
            return m.code;
    return 255;
}

const char *RaidModeStr(KX_U8 code)
{
    switch (code) {
    case 0: return "RAID0";
    case 1: return "RAID1";
    case 5: return "RAID5";
    case 6: return "RAID6";
    case 10: return "tandem capacity";
    case 11: return "tandem safe";
    case 12: return "tandem hybrid";
    case 15: return "JBOD";
    case 16: return "RAID10";
    case 17: return "RAID1e";
    case 80: return "RAID50";
    case 96: return "RAID60";
    default: return "unknown";
    }
}

KX_U8 chooseBGAAction(const char *text)
{
    static const char *const actions[] = {"start", "restart", "pause", "resume", "stop"};
    for (KX_U8 i = 0; i < 5; ++i)
        if (strcmp(text, actions[i]) == 0)
            return i;
    return 255;
}

void getHdTypeString(char *out, const HD_Info *hdInfo, int useExtension)
{
    char text[CLI_HDTYPE_LEN] = "";
    if (useExtension) {
        const KX_U8 conn = hdInfo->ConnectionType;
        if ((conn & 0x05) == 0x05)
            strcat(text, "SATA");
        else if ((conn & 0x09) == 0x09)
            strcat(text, "PATA");
        else if ((conn & 0x06) == 0x06)
            strcat(text, "SAS");
        if (conn & 0x10)
            strcat(text, " ATAPI");
        if (conn & 0x20)
            strcat(text, " SGPIO");
        switch (hdInfo->DeviceType) {
        case 0: strcat(text, " PD"); break;
        case 1: strcat(text, " TAPE"); break;
        case 2: strcat(text, " PRINTER"); break;
        case 5: strcat(text, " CD/DVD"); break;
        case 13: strcat(text, " ENCLOSURE"); break;
        default: snprintf(text, sizeof text, "unknown 0x%x", hdInfo->DeviceType); break;
        }
    } else {
        const KX_U8 type = hdInfo->HDType;
        if (type & 0x01)
            strcat(text, "SATA");
        else if (type & 0x02)
            strcat(text, "PATA");
        else if (type & 0x04)
            strcat(text, "SAS");
        else
            strcat(text, "unknown");
        if (type & 0x08)
            strcat(text, " ATAPI CD/DVD");
        else if (type & 0x10)
            strcat(text, " TAPE");
        if (!(type & 0x38))
            strcat(text, " PD");
    }
    memcpy(out, text, sizeof text);
}

void getPhyIdString(char *out, size_t outSize, const KX_U16 *ids, int count)
{
    if (outSize == 0)
        return;
    out[0] = '\0';
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        char item[16];
        int n = snprintf(item, sizeof item, i == 0 ? "%d" : ", %d", ids[i]);
        if (used + static_cast<size_t>(n) >= outSize)
            break;
        memcpy(out + used, item, static_cast<size_t>(n) + 1);
        used += static_cast<size_t>(n);
    }
}

KX_U8 HDisFreeDiskForBirch(KX_U16 diskId, KX_U16 sourceVdId)
{
    const Adapter_Info &adapter = gAdapterInfo[gCurrentAdapter];
    if (adapter.DevID <= 0x6300 || arrayBasedRaid)
        return 0;

    size_t perPage = 512;
    if (adapter.MaxBufferSize != 0)
        perPage = (static_cast<size_t>(adapter.MaxBufferSize) * 1024 - sizeof(RequestHeader)) /
                  sizeof(Block_Info);
    /* numRequested is 16 bits wide. */
    if (perPage > 0xFFFF)
        perPage = 0xFFFF;
    if (perPage == 0)
        perPage = 1;
    const size_t bytes = sizeof(RequestHeader) + perPage * sizeof(Block_Info);
    Block_Info_Request *request = static_cast<Block_Info_Request *>(calloc(1, bytes));
    if (!request)
        return 4;

    KX_U8 result = 0;
    KX_U16 start = 0;
    for (;;) {
        memset(&request->header, 0, sizeof request->header);
        request->header.requestType = KX_REQUEST_BY_INDEX;
        request->header.startingIndexOrId = start;
        request->header.numRequested = static_cast<KX_U16>(perPage);
        KX_U8 status = KX_BLK_GetInfo(gCurrentAdapter, request);
        if (status != 0) {
            result = status;
            break;
        }
        size_t returned = request->header.numReturned;
        if (returned > perPage)
            returned = perPage;
        /* The records run past the one-element array of the declaration. */
        const Block_Info *blocks = request->blockInfo;
        bool conflict = false;
        for (size_t i = 0; i < returned; ++i) {
            const Block_Info &blk = blocks[i];
            /* 0xFF and 0xFFFF both mean the block belongs to no VD. */
            if (blk.HDID == diskId && blk.LDID != 0xFF && blk.LDID != 0xFFFF &&
                blk.LDID != sourceVdId) {
                conflict = true;
                break;
            }
        }
        if (conflict) {
            result = 73;
            break;
        }
        const KX_U16 next = request->header.nextStartingIndex;
        /* A list that does not move forward would page for ever. */
        if (next == KX_END_OF_LIST || next <= start)
            break;
        start = next;
    }
    free(request);
    return result;
}
