#include "Public/aes_options.h"

#include <ctype.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "Public/globals.h"
#include "Public/utils.h"
#include "parse.h"

void wipeSecret(void *p, size_t n)
{
    if (p)
        explicit_bzero(p, n);
}

AesText::AesText() : length(0) { memset(bytes, 0, sizeof bytes); }

AesText::~AesText() { wipeSecret(bytes, sizeof bytes); }

bool AesText::set(const char *value)
{
    size_t n = strlen(value);
    /* A value typed in the shell keeps its quotes ("my key"). */
    if (n >= 2 && value[0] == '"' && value[n - 1] == '"') {
        ++value;
        n -= 2;
    }
    if (n > CLI_AES_TEXT_MAX)
        return false;
    wipeSecret(bytes, sizeof bytes);
    memcpy(bytes, value, n);
    length = n;
    return true;
}

bool parseAesId(const char *text, unsigned long max, unsigned long *value)
{
    /* Hex IDs keep to "0x" and eight digits, leading zeros included. */
    if (text && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && strlen(text) > 10)
        return false;
    return client::parseDecimalOrHex(text, max, *value);
}

OptionTake takeAesId(const char *arg, unsigned long max, const char *badIdFormat, unsigned long &id)
{
    if (!parseAesId(arg, max, &id)) {
        fprintf(stream, badIdFormat, arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

OptionTake takePassword(const char *arg, AesText &password)
{
    if (!password.set(arg)) {
        fprintf(stream, "-n : password of aes should be no more than %d characters\n", CLI_AES_TEXT_MAX);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

OptionTake takeKey(const char *arg, AesText &key)
{
    if (!key.set(arg)) {
        fprintf(stream, "-k : length of AES key should be no more than %d characters\n", CLI_AES_TEXT_MAX);
        return OPT_REFUSED;
    }
    if (key.length == 0) {
        fprintf(stream, "-k : key can not be NULL\n");
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

bool lineMayHoldSecret(const char *line)
{
    static const char *const kCommands[] = {"aesop", "aesentry", "aesport"};
    while (*line == ' ' || *line == '\t')
        ++line;
    size_t n = strcspn(line, " \t");
    if (n == 0)
        return false;
    for (const char *command : kCommands)
        if (n <= strlen(command) && strncasecmp(line, command, n) == 0)
            return true;
    return false;
}
