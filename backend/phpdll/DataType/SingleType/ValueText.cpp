#include "DataType/SingleType/ValueText.h"

#include <cstring>

std::string kxText(const KX_U8 *bytes, unsigned width)
{
    std::string out;
    for (unsigned i = 0; i < width && bytes[i]; ++i)
        out += CharParser::format(bytes[i]);
    return out;
}

namespace {
template <typename T>
std::string numberList(const T *values, unsigned count)
{
    std::string out;
    for (unsigned i = 0; i < count; ++i) {
        T v; // fields of packed records may sit at odd addresses
        std::memcpy(&v, reinterpret_cast<const unsigned char *>(values) + i * sizeof(T), sizeof(T));
        if (i)
            out += ' ';
        out += kxDecimal(v);
    }
    return out;
}
} // namespace

std::string kxNumberList(const KX_U8 *values, unsigned count) { return numberList(values, count); }
std::string kxNumberList(const KX_U16 *values, unsigned count) { return numberList(values, count); }
