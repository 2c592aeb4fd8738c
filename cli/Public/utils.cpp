#include "Public/utils.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "kx_api.h"
#include "Public/globals.h"
#include "paging.h"

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
    /* "1E" is the one word also taken in capitals. */
    if (strcmp(text, "1E") == 0)
        return KX_RAID1E;
    for (const KxRaidLevel &l : kKxRaidLevels)
        if (l.optionWord && strcmp(text, l.optionWord) == 0)
            return l.code;
    return KX_RAID_NONE;
}

const char *RaidModeStr(KX_U8 code)
{
    return kxRaidName(code);
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

    KX_U8 result = KX_ST_OK;
    KX_U8 st = client::walkList<Block_Info_Request, Block_Info>(
        adapter.MaxBufferSize, 512, [](Block_Info_Request *req) { return KX_BLK_GetInfo(gCurrentAdapter, req); },
        [&](const Block_Info &blk) {
            /* Either sentinel means the block belongs to no VD. */
            if (blk.HDID == diskId && blk.LDID != KX_ID8_NONE && blk.LDID != KX_ID_NONE && blk.LDID != sourceVdId) {
                result = KX_ST_BLOCK_OF_VD;
                return false;
            }
            return true;
        });
    return st != KX_ST_OK ? st : result;
}
