#include "record_json.h"

#include <cstring>

namespace sim {

namespace {

struct Compiler {
    Overlay &ov;
    std::string &error;

    bool fail(const std::string &where, const std::string &what)
    {
        error = where + ": " + what;
        return false;
    }

    void putBytes(unsigned offset, unsigned size, uint64_t v)
    {
        for (unsigned i = 0; i < size; ++i) {
            ov.value[offset + i] = static_cast<uint8_t>(v >> (8 * i));
            ov.mask[offset + i] = 0xFF;
        }
    }

    // One integer of `size` bytes; booleans are accepted for byte fields so
    // that flags can be written as true/false.
    bool integer(const json &v, unsigned size, bool isSigned, const std::string &where, uint64_t &out)
    {
        if (v.is_boolean() && size == 1) {
            out = v.get<bool>() ? 1 : 0;
            return true;
        }
        if (!v.is_number_integer())
            return fail(where, std::string("expected an integer, found ") + v.type_name());
        if (v.is_number_unsigned()) {
            uint64_t u = v.get<uint64_t>();
            uint64_t max = size >= 8 ? UINT64_MAX : ((uint64_t(1) << (8 * size)) - 1);
            if (isSigned)
                max >>= 1;
            if (u > max)
                return fail(where, "value " + std::to_string(u) + " does not fit in " +
                                       std::to_string(size) + " byte(s)");
            out = u;
            return true;
        }
        int64_t s = v.get<int64_t>();
        if (s < 0 && !isSigned)
            return fail(where, "negative value " + std::to_string(s) + " for an unsigned field");
        if (size < 8) {
            int64_t lo = -(int64_t(1) << (8 * size - 1));
            int64_t hi = (int64_t(1) << (8 * size - 1)) - 1;
            if (!isSigned)
                hi = (int64_t(1) << (8 * size)) - 1;
            if (s < lo || s > hi)
                return fail(where, "value " + std::to_string(s) + " does not fit in " +
                                       std::to_string(size) + " byte(s)");
        }
        out = static_cast<uint64_t>(s);
        return true;
    }

    bool scalar(const KXFieldDesc &f, unsigned offset, const json &v, const std::string &where)
    {
        uint64_t x = 0;
        switch (f.kind) {
        case KXF_UINT:
        case KXF_INT:
            if (!integer(v, f.elemSize, f.kind == KXF_INT, where, x))
                return false;
            putBytes(offset, f.elemSize, x);
            return true;
        case KXF_U64:
            if (!integer(v, 8, false, where, x))
                return false;
            putBytes(offset, 8, x);
            return true;
        default:
            return fail(where, "internal: not a scalar field");
        }
    }

    bool text(const KXFieldDesc &f, unsigned offset, const json &v, const std::string &where)
    {
        unsigned n = f.count * f.count2;
        std::vector<uint8_t> bytes;
        if (v.is_string()) {
            const std::string &s = v.get_ref<const std::string &>();
            bytes.assign(s.begin(), s.end());
        } else if (v.is_array()) {
            for (size_t i = 0; i < v.size(); ++i) {
                uint64_t b = 0;
                if (!integer(v[i], 1, false, where + "[" + std::to_string(i) + "]", b))
                    return false;
                bytes.push_back(static_cast<uint8_t>(b));
            }
        } else {
            return fail(where, std::string("expected a string, found ") + v.type_name());
        }
        if (bytes.size() > n)
            return fail(where, "text of " + std::to_string(bytes.size()) +
                                   " bytes is longer than the field (" + std::to_string(n) + ")");
        // The whole field is replaced: a text is NUL-padded to its width.
        for (unsigned i = 0; i < n; ++i) {
            ov.value[offset + i] = i < bytes.size() ? bytes[i] : 0;
            ov.mask[offset + i] = 0xFF;
        }
        return true;
    }

    bool bits(const KXFieldDesc &f, unsigned offset, const json &v, const std::string &where)
    {
        uint64_t x = 0;
        if (v.is_boolean())
            x = v.get<bool>() ? 1 : 0;
        else if (!integer(v, 1, false, where, x))
            return false;
        if (x >> f.bitWidth)
            return fail(where, "value " + std::to_string(x) + " does not fit in " +
                                   std::to_string(f.bitWidth) + " bit(s)");
        uint8_t m = static_cast<uint8_t>(((1u << f.bitWidth) - 1) << f.bitPos);
        ov.value[offset] = static_cast<uint8_t>((ov.value[offset] & ~m) | ((x << f.bitPos) & m));
        ov.mask[offset] |= m;
        return true;
    }

    // Arrays: only the elements given are set, the rest keep the modelled
    // values. A two-dimensional array may be given flat or as rows.
    bool array(const KXFieldDesc &f, unsigned offset, const json &v, const std::string &where)
    {
        if (!v.is_array())
            return fail(where, std::string("expected a list, found ") + v.type_name());
        unsigned total = f.count * f.count2;
        bool rows = f.count2 > 1 && !v.empty() && v[0].is_array();
        if (rows) {
            if (v.size() > f.count)
                return fail(where, "list of " + std::to_string(v.size()) + " rows is longer than the field (" +
                                       std::to_string(f.count) + ")");
            for (size_t r = 0; r < v.size(); ++r) {
                std::string w = where + "[" + std::to_string(r) + "]";
                if (!v[r].is_array())
                    return fail(w, "expected a list");
                if (v[r].size() > f.count2)
                    return fail(w, "row longer than " + std::to_string(f.count2));
                for (size_t c = 0; c < v[r].size(); ++c) {
                    unsigned at = offset + static_cast<unsigned>((r * f.count2 + c) * f.elemSize);
                    if (!element(f, at, v[r][c], w + "[" + std::to_string(c) + "]"))
                        return false;
                }
            }
            return true;
        }
        if (v.size() > total)
            return fail(where, "list of " + std::to_string(v.size()) + " entries is longer than the field (" +
                                   std::to_string(total) + ")");
        for (size_t i = 0; i < v.size(); ++i) {
            unsigned at = offset + static_cast<unsigned>(i * f.elemSize);
            if (!element(f, at, v[i], where + "[" + std::to_string(i) + "]"))
                return false;
        }
        return true;
    }

    bool element(const KXFieldDesc &f, unsigned at, const json &v, const std::string &where)
    {
        if (f.kind == KXF_RECORD)
            return record(f.nested, at, v, where);
        return scalar(f, at, v, where);
    }

    bool field(const KXFieldDesc &f, unsigned base, const json &v, const std::string &where)
    {
        unsigned offset = base + f.offset;
        if (f.kind == KXF_TEXT)
            return text(f, offset, v, where);
        if (f.kind == KXF_BITS)
            return bits(f, offset, v, where);
        if (f.count * f.count2 > 1)
            return array(f, offset, v, where);
        return element(f, offset, v, where);
    }

    bool record(const KXRecordDesc *desc, unsigned base, const json &obj, const std::string &where)
    {
        if (!obj.is_object())
            return fail(where, std::string("expected an object of ") + desc->name + " fields, found " +
                                   obj.type_name());
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            const KXFieldDesc *f = findField(desc, it.key().c_str());
            if (!f)
                return fail(where + "." + it.key(), std::string("unknown field of ") + desc->name);
            if (!field(*f, base, it.value(), where + "." + it.key()))
                return false;
        }
        return true;
    }
};

uint64_t getBytes(const uint8_t *p, unsigned size)
{
    uint64_t v = 0;
    for (unsigned i = 0; i < size; ++i)
        v |= uint64_t(p[i]) << (8 * i);
    return v;
}

json dumpElement(const KXFieldDesc &f, const uint8_t *p)
{
    if (f.kind == KXF_RECORD)
        return dumpRecord(f.nested, p);
    if (f.kind == KXF_INT) {
        uint64_t raw = getBytes(p, f.elemSize);
        unsigned shift = 64 - 8 * f.elemSize;
        return static_cast<int64_t>(raw << shift) >> shift;
    }
    return getBytes(p, f.kind == KXF_U64 ? 8 : f.elemSize);
}

}  // namespace

const KXFieldDesc *findField(const KXRecordDesc *desc, const char *name)
{
    for (unsigned i = 0; i < desc->nfields; ++i)
        if (std::strcmp(desc->fields[i].name, name) == 0)
            return &desc->fields[i];
    return nullptr;
}

void Overlay::apply(void *record) const
{
    if (!desc)
        return;
    uint8_t *r = static_cast<uint8_t *>(record);
    const size_t n = mask.size();
    for (size_t i = 0; i < n; ++i)
        if (mask[i])
            r[i] = static_cast<uint8_t>((r[i] & ~mask[i]) | (value[i] & mask[i]));
}

void Overlay::dropField(const char *field)
{
    if (!desc || !source.contains(field))
        return;
    json rest = source;
    rest.erase(field);
    const KXRecordDesc *d = desc;
    *this = Overlay();
    if (rest.empty())
        return;
    std::string ignored;
    compileOverlay(d, rest, d->name, *this, ignored);
}

bool compileOverlay(const KXRecordDesc *desc, const json &obj, const std::string &where,
                    Overlay &out, std::string &error)
{
    Overlay ov;
    ov.desc = desc;
    ov.mask.assign(desc->size, 0);
    ov.value.assign(desc->size, 0);
    Compiler c{ov, error};
    if (!c.record(desc, 0, obj, where))
        return false;
    ov.source = obj;
    out = std::move(ov);
    return true;
}

bool applyJson(const KXRecordDesc *desc, const json &obj, const std::string &where,
               void *record, std::string &error)
{
    Overlay ov;
    if (!compileOverlay(desc, obj, where, ov, error))
        return false;
    ov.apply(record);
    return true;
}

json dumpRecord(const KXRecordDesc *desc, const void *record)
{
    const uint8_t *r = static_cast<const uint8_t *>(record);
    json out = json::object();
    for (unsigned i = 0; i < desc->nfields; ++i) {
        const KXFieldDesc &f = desc->fields[i];
        const uint8_t *p = r + f.offset;
        if (f.kind == KXF_BITS) {
            out[f.name] = (p[0] >> f.bitPos) & ((1u << f.bitWidth) - 1);
        } else if (f.kind == KXF_TEXT) {
            unsigned n = f.count * f.count2, len = 0;
            bool plain = true;
            while (len < n && p[len])
                ++len;
            for (unsigned k = 0; k < n; ++k)
                if ((k < len && (p[k] < 0x20 || p[k] > 0x7E)) || (k >= len && p[k]))
                    plain = false;
            if (plain) {
                out[f.name] = std::string(reinterpret_cast<const char *>(p), len);
            } else {
                json bytes = json::array();
                for (unsigned k = 0; k < n; ++k)
                    bytes.push_back(p[k]);
                out[f.name] = bytes;
            }
        } else if (f.count * f.count2 == 1) {
            out[f.name] = dumpElement(f, p);
        } else if (f.count2 > 1) {
            json rows = json::array();
            for (unsigned a = 0; a < f.count; ++a) {
                json row = json::array();
                for (unsigned b = 0; b < f.count2; ++b)
                    row.push_back(dumpElement(f, p + (a * f.count2 + b) * f.elemSize));
                rows.push_back(row);
            }
            out[f.name] = rows;
        } else {
            json list = json::array();
            for (unsigned a = 0; a < f.count; ++a)
                list.push_back(dumpElement(f, p + a * f.elemSize));
            out[f.name] = list;
        }
    }
    return out;
}

}  // namespace sim
