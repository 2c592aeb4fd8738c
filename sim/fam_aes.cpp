// The encryption family's part of the state document: the adapter key
// "aes" with its key entries and ports (see README.md, "Disk encryption").
#include "fam_aes.h"

#include <cstring>
#include <set>

#include "family.h"

namespace sim {

namespace {
constexpr char kName[] = "aes";
}  // namespace

AesData &aesData(Adapter &a) { return a.family.get<AesData>(kName); }

const AesData *aesDataOf(const Adapter &a) { return a.family.find<AesData>(kName); }

namespace {

// A key or password: a string of at most 32 bytes, or a list of byte
// values; never empty. The rest of the field stays zero.
bool readSecret(ValueReader &r, const json &v, const std::string &where, uint8_t (&out)[kAesFieldSize])
{
    std::memset(out, 0, sizeof out);
    size_t n = 0;
    if (v.is_string()) {
        const std::string s = v.get<std::string>();
        if (s.size() > kAesFieldSize)
            return r.fail(where, "longer than " + std::to_string(kAesFieldSize) + " bytes");
        std::memcpy(out, s.data(), s.size());
        n = s.size();
    } else if (v.is_array()) {
        if (v.size() > kAesFieldSize)
            return r.fail(where, "longer than " + std::to_string(kAesFieldSize) + " bytes");
        for (size_t i = 0; i < v.size(); ++i)
            if (!r.num(v[i], where + "[" + std::to_string(i) + "]", 0xFF, out[i]))
                return false;
        n = v.size();
    } else {
        return r.fail(where, std::string("expected a string or a list of bytes, found ") + v.type_name());
    }
    bool any = false;
    for (size_t i = 0; i < n; ++i)
        any = any || out[i] != 0;
    return any ? true : r.fail(where, "must not be empty");
}

// Written back as text when that reads back to the same bytes, else as a
// list of byte values (a state file must stay valid UTF-8).
json secretJson(const uint8_t (&field)[kAesFieldSize])
{
    size_t n = kAesFieldSize;
    while (n > 0 && field[n - 1] == 0)
        --n;
    bool printable = true;
    for (size_t i = 0; i < n; ++i)
        printable = printable && field[i] >= 0x20 && field[i] < 0x7F;
    if (printable)
        return std::string(reinterpret_cast<const char *>(field), n);
    json list = json::array();
    for (size_t i = 0; i < n; ++i)
        list.push_back(field[i]);
    return list;
}

bool onlyKeys(ValueReader &r, const json &o, const std::string &where, const std::set<std::string> &keys)
{
    if (!o.is_object())
        return r.fail(where, std::string("expected an object, found ") + o.type_name());
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!keys.count(it.key()))
            return r.fail(where + "." + it.key(), "unknown key");
    return true;
}

// The "id" of an object of a list: present, below `limit` (named by
// `limitName`) and not given twice.
bool readId(ValueReader &r, const json &o, const std::string &where, unsigned limit, const char *limitName,
            std::set<unsigned> &seen, uint8_t &id)
{
    if (!o.contains("id"))
        return r.fail(where, "\"id\" is required");
    if (!r.num(o["id"], where + ".id", 0xFF, id))
        return false;
    if (id >= limit)
        return r.fail(where + ".id", "id " + std::to_string(id) + " is not below " + limitName + " (" +
                                         std::to_string(limit) + ")");
    if (!seen.insert(id).second)
        return r.fail(where + ".id", "id " + std::to_string(id) + " is given twice");
    return true;
}

bool readFamily(ValueReader &r, const json &doc, const std::string &where, Adapter &a)
{
    if (!doc.contains("aes"))
        return true;
    const std::string w = where + ".aes";
    const json &j = doc["aes"];
    if (!onlyKeys(r, j, w, {"entries", "ports"}))
        return false;
    AesData &d = aesData(a);
    d.entries.clear();
    d.ports.clear();
    std::set<unsigned> seen;
    if (j.contains("entries")) {
        const json &list = j["entries"];
        if (!list.is_array())
            return r.fail(w + ".entries", std::string("expected a list, found ") + list.type_name());
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string ew = w + ".entries[" + std::to_string(i) + "]";
            const json &o = list[i];
            uint8_t id = 0;
            if (!onlyKeys(r, o, ew, {"id", "key", "keyLength", "password"}) ||
                !readId(r, o, ew, a.info.MaxAESEntry, "MaxAESEntry", seen, id))
                return false;
            if (!o.contains("key") || !o.contains("password"))
                return r.fail(ew, "an entry holds a \"key\" and its \"password\"");
            AesEntry e;
            if (!readSecret(r, o["key"], ew + ".key", e.key) || !readSecret(r, o["password"], ew + ".password", e.password))
                return false;
            if (o.contains("keyLength") && !r.num(o["keyLength"], ew + ".keyLength", kAesFieldSize, e.keyLength))
                return false;
            if (e.keyLength == 0)
                return r.fail(ew + ".keyLength", "must be 1 to 32");
            // Only the first keyLength bytes are the key.
            std::memset(e.key + e.keyLength, 0, kAesFieldSize - e.keyLength);
            d.entries[id] = e;
        }
    }
    seen.clear();
    if (j.contains("ports")) {
        const json &list = j["ports"];
        if (!list.is_array())
            return r.fail(w + ".ports", std::string("expected a list, found ") + list.type_name());
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string pw = w + ".ports[" + std::to_string(i) + "]";
            const json &o = list[i];
            uint8_t id = 0;
            if (!onlyKeys(r, o, pw, {"id", "enabled", "entry"}) ||
                !readId(r, o, pw, a.info.MaxAESPort, "MaxAESPort", seen, id))
                return false;
            AesPort p;
            if (o.contains("enabled") && !r.boolean(o["enabled"], pw + ".enabled", p.enabled))
                return false;
            if (o.contains("entry") && !o["entry"].is_null()) {
                if (!r.num(o["entry"], pw + ".entry", 0xFE, p.entry))
                    return false;
                if (!d.entries.count(p.entry))
                    return r.fail(pw + ".entry", "no entry " + std::to_string(p.entry) + " holding a key");
            }
            d.ports[id] = p;
        }
    }
    return true;
}

void writeFamily(const Adapter &a, json &doc)
{
    const AesData *d = aesDataOf(a);
    if (!d || (d->entries.empty() && d->ports.empty()))
        return;
    json entries = json::array();
    for (const auto &e : d->entries)
        entries.push_back(json{{"id", e.first},
                               {"key", secretJson(e.second.key)},
                               {"keyLength", e.second.keyLength},
                               {"password", secretJson(e.second.password)}});
    json ports = json::array();
    for (const auto &p : d->ports) {
        json o{{"id", p.first}, {"enabled", p.second.enabled}};
        o["entry"] = p.second.entry == kAesNoEntry ? json(nullptr) : json(p.second.entry);
        ports.push_back(o);
    }
    doc["aes"] = json{{"entries", entries}, {"ports", ports}};
}

}  // namespace

extern const Family kAesFamily = {kName, {"aes"}, {}, readFamily, writeFamily, nullptr};

}  // namespace sim
