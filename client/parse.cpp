#include "parse.h"

#include <string.h>

namespace client {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexDigit(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool parseDecimal(const char *text, unsigned long long max, unsigned long long &out)
{
    if (!text || !*text)
        return false;
    unsigned long long v = 0;
    for (const char *p = text; *p; ++p) {
        if (!isDigit(*p))
            return false;
        unsigned d = static_cast<unsigned>(*p - '0');
        if (d > max || v > (max - d) / 10)
            return false;
        v = v * 10 + d;
    }
    out = v;
    return true;
}

bool parseDecimal(const char *text, unsigned long max, unsigned long &out)
{
    unsigned long long v = 0;
    if (!parseDecimal(text, static_cast<unsigned long long>(max), v))
        return false;
    out = static_cast<unsigned long>(v);
    return true;
}

bool parseDecimalOrHex(const char *text, unsigned long max, unsigned long &out)
{
    if (!text || !*text)
        return false;
    if (text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return parseDecimal(text, max, out);
    const char *digits = text + 2;
    if (!*digits)
        return false;
    for (const char *p = digits; *p; ++p)
        if (hexDigit(*p) < 0)
            return false;
    while (*digits == '0' && digits[1])
        ++digits;
    if (strlen(digits) > 8)
        return false;
    unsigned long v = 0;
    for (const char *p = digits; *p; ++p)
        v = (v << 4) | static_cast<unsigned long>(hexDigit(*p));
    if (v > max)
        return false;
    out = v;
    return true;
}

bool parsePdList(const char *text, PdListRules rules, KX_U16 ids[KX_MAX_PD_LIST], int &count,
                 std::string &badItem)
{
    count = 0;
    badItem.clear();
    const char *p = text;
    while (*p) {
        const char *end = strchr(p, ',');
        const size_t len = end ? static_cast<size_t>(end - p) : strlen(p);
        const std::string item(p, len);
        if (len > 0 || !rules.skipEmptyItems) {
            if (len == 0 || !isDigit(item[0])) {
                badItem = item;
                return false;
            }
            /* The ID as typed: its leading digits must fit 16 bits before
               anything is stored, or 65540 would become disk 4. */
            unsigned long v = 0;
            for (size_t i = 0; i < len && isDigit(item[i]); ++i) {
                v = v * 10 + static_cast<unsigned>(item[i] - '0');
                if (v > 0xFFFF) {
                    badItem = item;
                    return false;
                }
            }
            const KX_U16 id = static_cast<KX_U16>(v);
            bool repeat = false;
            for (int i = 0; rules.dropRepeats && i < count && !repeat; ++i)
                repeat = ids[i] == id;
            if (!repeat) {
                if (count == KX_MAX_PD_LIST) {
                    badItem = item;
                    return false;
                }
                ids[count++] = id;
            }
        }
        if (!end)
            break;
        p = end + 1;
        /* A trailing comma leaves one last, empty item. */
        if (!*p && !rules.skipEmptyItems) {
            badItem.clear();
            return false;
        }
    }
    return true;
}

} // namespace client
