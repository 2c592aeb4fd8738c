#ifndef KX_VALUE_TEXT_H
#define KX_VALUE_TEXT_H

#include <string>

#include "DataType/SingleType/SingleTypeParser.h"

// Value texts of responses, one overload per field width, so that a record
// field is formatted by the parser of its own type whatever the caller
// believes its width to be.
inline std::string kxDecimal(KX_U8 v) { return U8Parser::format(v); }
inline std::string kxDecimal(KX_U16 v) { return U16Parser::format(v); }
inline std::string kxDecimal(KX_U32 v) { return U32Parser::format(v); }
inline std::string kxDecimal(KX_I16 v) { return std::to_string(v); }
inline std::string kxDecimal(const KX_U64 &v) { return U64Parser::format(v); }

// A text field: bytes up to the first zero or width bytes, whichever comes
// first; bytes that are not printable show as "?".
std::string kxText(const KX_U8 *bytes, unsigned width);

// Every element of an array field, decimal, separated by single blanks.
std::string kxNumberList(const KX_U8 *values, unsigned count);
std::string kxNumberList(const KX_U16 *values, unsigned count);

#endif
