// Families of operations that bring their own part of the controller's
// state: encryption keys, NVSRAM and registers, SSD diagnostics, Tandem
// tables, SMART attributes, enclosure elements. A family keeps its state in
// an adapter's FamilySlots under its name, reads its own keys of the state
// document and writes them back, and adds its share to the built-in default
// controller; the core state reader only lets its keys through. Every
// family is listed once, in families.cpp, so that a reader finds a family's
// state, fixture keys and operations by its name in files side by side.
#ifndef SIM_FAMILY_H
#define SIM_FAMILY_H

#include <string>
#include <vector>

#include "model.h"

namespace sim {

// Checks of JSON values with messages that name the place in the document
// ("adapters[0].pds[2].size: ..."). The first failure sets `error`.
struct ValueReader {
    std::string &error;

    bool fail(const std::string &where, const std::string &what)
    {
        error = where + ": " + what;
        return false;
    }

    bool uint(const json &v, const std::string &where, uint64_t max, uint64_t &out)
    {
        if (!v.is_number_integer())
            return fail(where, std::string("expected an integer, found ") + v.type_name());
        if (!v.is_number_unsigned() && v.get<int64_t>() < 0)
            return fail(where, "negative value");
        uint64_t u = v.get<uint64_t>();
        if (u > max)
            return fail(where, "value " + std::to_string(u) + " is out of range (at most " + std::to_string(max) + ")");
        out = u;
        return true;
    }

    template <class T>
    bool num(const json &v, const std::string &where, uint64_t max, T &out)
    {
        uint64_t u = 0;
        if (!uint(v, where, max, u))
            return false;
        out = static_cast<T>(u);
        return true;
    }

    bool boolean(const json &v, const std::string &where, bool &out)
    {
        if (v.is_boolean()) {
            out = v.get<bool>();
            return true;
        }
        if (v.is_number_integer() && (v.get<int64_t>() == 0 || v.get<int64_t>() == 1)) {
            out = v.get<int64_t>() == 1;
            return true;
        }
        return fail(where, std::string("expected true or false, found ") + v.type_name());
    }

    bool text(const json &v, const std::string &where, std::string &out)
    {
        if (!v.is_string())
            return fail(where, std::string("expected a string, found ") + v.type_name());
        out = v.get<std::string>();
        return true;
    }

    bool idList(const json &v, const std::string &where, std::vector<uint16_t> &out)
    {
        if (!v.is_array())
            return fail(where, std::string("expected a list of IDs, found ") + v.type_name());
        out.clear();
        for (size_t i = 0; i < v.size(); ++i) {
            uint16_t id = 0;
            if (!num(v[i], where + "[" + std::to_string(i) + "]", 0xFFFE, id))
                return false;
            out.push_back(id);
        }
        return true;
    }

    // Hexadecimal text, two digits a byte (either case).
    bool hex(const json &v, const std::string &where, std::vector<uint8_t> &out)
    {
        std::string text;
        if (!this->text(v, where, text))
            return false;
        if (text.size() % 2 != 0)
            return fail(where, "an odd number of hexadecimal digits");
        out.assign(text.size() / 2, 0);
        for (size_t b = 0; b < out.size(); ++b) {
            const int hi = hexDigit(text[2 * b]), lo = hexDigit(text[2 * b + 1]);
            if (hi < 0 || lo < 0)
                return fail(where, "not a hexadecimal digit at " + std::to_string(2 * b));
            out[b] = static_cast<uint8_t>(hi << 4 | lo);
        }
        return true;
    }

    static int hexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }
};

// Bytes as lower-case hexadecimal text, as ValueReader::hex reads them.
inline std::string hexText(const uint8_t *data, size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    s.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) {
        s += digits[data[i] >> 4];
        s += digits[data[i] & 15];
    }
    return s;
}

struct Family {
    const char *name;
    // Keys of an adapter object of the state document that belong to the
    // family.
    std::vector<std::string> adapterKeys;
    // Keys of the objects of an adapter's lists, as {list, key}: list is
    // "pds", "vds", "arrays" or "enclosures".
    std::vector<std::pair<std::string, std::string>> objectKeys;
    // Reads the family's keys of one adapter object `doc` (its objects'
    // keys too, from the lists of `doc`) into `a`, whose core objects are
    // already read. `where` names the adapter in messages. Null: nothing
    // to read.
    bool (*read)(ValueReader &r, const json &doc, const std::string &where, Adapter &a);
    // Adds the family's keys to the adapter object `doc` written back; the
    // lists' objects are already there (docObject finds them). Null:
    // nothing to write.
    void (*write)(const Adapter &a, json &doc);
    // The family's share of the built-in default controller. Null: none.
    void (*defaults)(Adapter &a);
};

// Every family, in a fixed order.
const std::vector<const Family *> &families();
// True when `key` of an object of `list` ("adapter" for the adapter
// object itself) belongs to a family.
bool familyOwnsKey(const char *list, const std::string &key);
// The object of `list` with this ID in an adapter object written back, or
// null.
json *docObject(json &doc, const char *list, uint16_t id);
const json *docObject(const json &doc, const char *list, uint16_t id);

}  // namespace sim

#endif
