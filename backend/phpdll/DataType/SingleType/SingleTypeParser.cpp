#include "DataType/SingleType/SingleTypeParser.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

long long kxReadDecimalLong(const std::string &text)
{
    // strtoll has atoi's reading rules but a defined result on overflow,
    // and is 64 bits wide on every target: a 32-bit long would clamp U32
    // values from 2^31 up to 2147483647.
    return std::strtoll(text.c_str(), nullptr, 10);
}

KX_U64 U64Parser::read(const std::string &text)
{
    std::istringstream in(text);
    unsigned long long value = 0;
    in >> value;
    if (in.fail() && value != static_cast<unsigned long long>(-1))
        value = 0;
    return kxU64Make(value);
}

std::string CharParser::format(KX_U8 value)
{
    if (std::isprint(value))
        return std::string(1, static_cast<char>(value));
    return "?";
}

KX_U8 ASCIIParser::read(const std::string &text)
{
    return static_cast<KX_U8>(static_cast<unsigned long>(std::strtol(text.c_str(), nullptr, 16)));
}

std::string ASCIIParser::format(KX_U8 value)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    if (value >= 16)
        out += kDigits[value >> 4];
    out += kDigits[value & 15];
    return out;
}
