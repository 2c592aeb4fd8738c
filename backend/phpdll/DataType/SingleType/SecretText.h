#ifndef KX_SECRET_TEXT_H
#define KX_SECRET_TEXT_H

#include <cstring>
#include <string>

#include "Parser/ValuesMap.h"

enum SecretTextResult { kSecretAbsent, kSecretRead, kSecretTooLong };

// Reads a password or key parameter into its fixed-size field one byte per
// character, as names are read, but keeps no copy of the text anywhere (a
// name parser holds on to its last text until the next request). When the
// request carries the parameter, the field gets the text's bytes up to its
// size; the rest of the field is left as it is (zero in a cleared record).
// A text longer than the field is cut and reported as kSecretTooLong.
inline SecretTextResult kxReadSecretText(const ValuesMap &params, const char *name, void *field, unsigned size)
{
    const std::string *text = findValue(params, name);
    if (!text)
        return kSecretAbsent;
    const std::size_t n = text->size() < size ? text->size() : size;
    std::memcpy(field, text->data(), n);
    return text->size() > size ? kSecretTooLong : kSecretRead;
}

#endif
