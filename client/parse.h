/*
 * Numbers and disk lists as administrators type them, checked before any
 * of them reaches a controller record.
 */
#ifndef CLIENT_PARSE_H
#define CLIENT_PARSE_H

#include <string>

#include "kx_codes.h"

namespace client {

/* Decimal digits only, at least one, and no more than max (no overflow on
   the way: a longer number is refused, not wrapped). */
bool parseDecimal(const char *text, unsigned long long max, unsigned long long &out);
bool parseDecimal(const char *text, unsigned long max, unsigned long &out);

/* An ID typed either way: decimal digits, or "0x" and hex digits. Hex
   digits beyond 32 bits (leading zeros aside) are refused instead of
   losing their high digits; the value must not exceed max. */
bool parseDecimalOrHex(const char *text, unsigned long max, unsigned long &out);

/* How a disk list "0,2,4" is read. Every item begins with a decimal digit
   and its value is its leading digits (what follows them up to the next
   comma is not looked at); an ID beyond 16 bits, or more IDs than a
   request holds (KX_MAX_PD_LIST), refuses the list, so nothing is ever
   written past the end of ids. */
struct PdListRules {
    bool dropRepeats;    /* an ID given before is left out */
    bool skipEmptyItems; /* "1,,2" is "1,2"; otherwise an empty item refuses the list */
};

/* The empty text is a list of no IDs. Returns false on a refused list,
   with the refused item in badItem. */
bool parsePdList(const char *text, PdListRules rules, KX_U16 ids[KX_MAX_PD_LIST], int &count,
                 std::string &badItem);

} // namespace client

#endif /* CLIENT_PARSE_H */
