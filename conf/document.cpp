#include "document.h"

#include <cstring>
#include <set>
#include <strings.h>

#include <nlohmann/json.hpp>

#include "kx_codes.h"

namespace conf {

using json = nlohmann::json;
using ojson = nlohmann::ordered_json;

const char *const kRateKeys[RATE_COUNT] = {"background", "sync", "init", "rebuild", "migration", "copyback",
                                           "media_patrol"};
const char *const kFlagKeys[FLAG_COUNT] = {"alarm", "auto_rebuild", "smart_polling", "copy_back", "optimize",
                                           "module_consolidation"};

const char *writePolicyWord(WritePolicy p)
{
    switch (p) {
    case WritePolicy::WriteThrough: return "write-through";
    case WritePolicy::Auto: return "auto";
    default: return "write-back";
    }
}

const Disk *AdapterDoc::disk(unsigned id) const
{
    for (const Disk &d : disks)
        if (d.id == id)
            return &d;
    return nullptr;
}

const Array *AdapterDoc::array(const std::string &name) const
{
    for (const Array &a : arrays)
        if (a.name == name)
            return &a;
    return nullptr;
}

bool raidFromName(const std::string &name, unsigned &code)
{
    for (unsigned i = 0; i < KX_RAID_LEVEL_COUNT; ++i)
        if (strcasecmp(name.c_str(), kKxRaidLevels[i].name) == 0) {
            code = kKxRaidLevels[i].code;
            return true;
        }
    return false;
}

namespace {

/* The reader: every check names the place it looks at, and the first
   problem ends the reading (no exceptions: json's own accessors are only
   used after the type was checked). */
class Reader {
public:
    std::string error;

    bool fail(const std::string &where, const std::string &what)
    {
        if (error.empty())
            error = where + ": " + what;
        return false;
    }

    bool keys(const json &obj, const std::string &where, std::initializer_list<const char *> allowed)
    {
        if (!obj.is_object())
            return fail(where, "an object is expected");
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            bool known = false;
            for (const char *k : allowed)
                known = known || it.key() == k;
            if (!known)
                return fail(where, "unknown key \"" + it.key() + "\"");
        }
        return true;
    }

    bool integer(const json &v, const std::string &where, uint64_t max, uint64_t &out)
    {
        if (!v.is_number_unsigned() && !(v.is_number_integer() && v.get<int64_t>() >= 0))
            return fail(where, "a whole number is expected");
        out = v.get<uint64_t>();
        if (out > max)
            return fail(where, "at most " + std::to_string(max) + " is allowed");
        return true;
    }

    bool boolean(const json &obj, const char *key, const std::string &where, std::optional<bool> &out)
    {
        auto it = obj.find(key);
        if (it == obj.end())
            return true;
        if (!it->is_boolean())
            return fail(where + "." + key, "true or false is expected");
        out = it->get<bool>();
        return true;
    }

    bool text(const json &v, const std::string &where, std::string &out)
    {
        if (!v.is_string())
            return fail(where, "a string is expected");
        out = v.get<std::string>();
        return true;
    }

    bool raid(const json &obj, const std::string &where, unsigned &out)
    {
        auto it = obj.find("raid");
        if (it == obj.end())
            return fail(where, "\"raid\" is missing");
        std::string name;
        if (!text(*it, where + ".raid", name))
            return false;
        if (!raidFromName(name, out))
            return fail(where + ".raid", "unknown RAID level \"" + name + "\"");
        return true;
    }

    bool size(const json &obj, const std::string &where, Size &out)
    {
        auto it = obj.find("size");
        out = Size();
        if (it == obj.end() || (it->is_string() && it->get<std::string>() == "all"))
            return true;
        uint64_t v = 0;
        if (!integer(*it, where + ".size", UINT64_MAX, v))
            return fail(where + ".size", "KiB or \"all\" is expected");
        if (v == 0 || v % 1024)
            return fail(where + ".size", "the controller makes sizes in whole MB: a multiple of 1024 KiB, or \"all\"");
        out.all = false;
        out.kib = v;
        return true;
    }

    bool optionalInt(const json &obj, const char *key, const std::string &where, uint64_t max, int &out)
    {
        auto it = obj.find(key);
        if (it == obj.end())
            return true;
        uint64_t v = 0;
        if (!integer(*it, where + "." + key, max, v))
            return false;
        out = static_cast<int>(v);
        return true;
    }

    bool settings(const json &s, const std::string &where, Settings &out)
    {
        std::initializer_list<const char *> allowed = {"alarm", "auto_rebuild", "smart_polling", "copy_back",
                                                       "optimize", "module_consolidation", "rates"};
        if (!keys(s, where, allowed))
            return false;
        for (int i = 0; i < FLAG_COUNT; ++i)
            if (!boolean(s, kFlagKeys[i], where, out.flags[i]))
                return false;
        auto it = s.find("rates");
        if (it == s.end())
            return true;
        const std::string w = where + ".rates";
        if (!keys(*it, w, {"background", "sync", "init", "rebuild", "migration", "copyback", "media_patrol"}))
            return false;
        for (int i = 0; i < RATE_COUNT; ++i) {
            auto r = it->find(kRateKeys[i]);
            if (r == it->end())
                continue;
            uint64_t v = 0;
            if (!integer(*r, w + "." + kRateKeys[i], 100, v))
                return false;
            out.rates[i] = static_cast<int>(v);
        }
        return true;
    }

    bool disk(const json &d, const std::string &where, Disk &out)
    {
        if (!keys(d, where, {"id", "serial", "size", "write_cache", "smart"}))
            return false;
        uint64_t v = 0;
        if (!d.contains("id"))
            return fail(where, "\"id\" is missing");
        if (!integer(d["id"], where + ".id", 0xFFFE, v))
            return false;
        out.id = static_cast<unsigned>(v);
        if (d.contains("serial")) {
            std::string s;
            if (!text(d["serial"], where + ".serial", s))
                return false;
            out.serial = s;
        }
        if (!d.contains("size"))
            return fail(where, "\"size\" is missing");
        if (!integer(d["size"], where + ".size", UINT64_MAX, out.size))
            return false;
        return boolean(d, "write_cache", where, out.writeCache) && boolean(d, "smart", where, out.smart);
    }

    bool diskList(const json &v, const std::string &where, bool allowNull, std::vector<int> &out)
    {
        if (!v.is_array() || v.empty())
            return fail(where, "a list of disk IDs is expected");
        if (v.size() > KX_MAX_PD_LIST)
            return fail(where, "at most " + std::to_string(KX_MAX_PD_LIST) + " disks");
        for (size_t i = 0; i < v.size(); ++i) {
            if (allowNull && v[i].is_null()) {
                out.push_back(-1);
                continue;
            }
            uint64_t id = 0;
            if (!integer(v[i], where + "[" + std::to_string(i) + "]", 0xFFFE, id))
                return false;
            out.push_back(static_cast<int>(id));
        }
        return true;
    }

    bool array(const json &a, const std::string &where, Array &out)
    {
        if (!keys(a, where, {"name", "raid", "parity", "stripe", "disks", "size", "write_cache"}))
            return false;
        if (!a.contains("name") || !text(a["name"], where + ".name", out.name))
            return fail(where, "\"name\" is missing");
        uint64_t stripe = 64;
        if (a.contains("stripe") && !integer(a["stripe"], where + ".stripe", 0xFFFF, stripe))
            return false;
        out.stripe = static_cast<unsigned>(stripe);
        std::vector<int> disks;
        if (!a.contains("disks"))
            return fail(where, "\"disks\" is missing");
        if (!diskList(a["disks"], where + ".disks", false, disks))
            return false;
        out.disks.assign(disks.begin(), disks.end());
        return raid(a, where, out.raid) && optionalInt(a, "parity", where, 255, out.parity) &&
               size(a, where, out.size) && boolean(a, "write_cache", where, out.writeCache);
    }

    bool vd(const json &v, const std::string &where, Vd &out)
    {
        if (!keys(v, where, {"name", "raid", "parity", "array", "slot", "disks", "size", "stripe", "write_policy",
                             "read_ahead"}))
            return false;
        if (!v.contains("name") || !text(v["name"], where + ".name", out.name))
            return fail(where, "\"name\" is missing");
        if (v.contains("array") == v.contains("disks"))
            return fail(where, "either \"array\" (the array it lives in) or \"disks\" (its members) is needed");
        if (v.contains("array") && !text(v["array"], where + ".array", out.array))
            return false;
        if (v.contains("disks") && !diskList(v["disks"], where + ".disks", true, out.disks))
            return false;
        uint64_t stripe = 64;
        if (v.contains("stripe") && !integer(v["stripe"], where + ".stripe", 0xFFFF, stripe))
            return false;
        out.stripe = static_cast<unsigned>(stripe);
        if (v.contains("write_policy")) {
            std::string w;
            if (!text(v["write_policy"], where + ".write_policy", w))
                return false;
            if (w == "write-back")
                out.writePolicy = WritePolicy::WriteBack;
            else if (w == "write-through")
                out.writePolicy = WritePolicy::WriteThrough;
            else if (w == "auto")
                out.writePolicy = WritePolicy::Auto;
            else
                return fail(where + ".write_policy", "\"write-back\", \"write-through\" or \"auto\" is expected");
        }
        return raid(v, where, out.raid) && optionalInt(v, "parity", where, 255, out.parity) &&
               optionalInt(v, "slot", where, 255, out.slot) && size(v, where, out.size) &&
               boolean(v, "read_ahead", where, out.readAhead);
    }

    bool spare(const json &s, const std::string &where, Spare &out)
    {
        if (!keys(s, where, {"disk", "array"}))
            return false;
        uint64_t id = 0;
        if (!s.contains("disk"))
            return fail(where, "\"disk\" is missing");
        if (!integer(s["disk"], where + ".disk", 0xFFFE, id))
            return false;
        out.disk = static_cast<unsigned>(id);
        if (s.contains("array") && !s["array"].is_null() && !text(s["array"], where + ".array", out.array))
            return false;
        return true;
    }

    template <typename T, typename F>
    bool list(const json &parent, const char *key, const std::string &where, std::vector<T> &out, F each)
    {
        auto it = parent.find(key);
        if (it == parent.end())
            return true;
        const std::string w = where + "." + key;
        if (!it->is_array())
            return fail(w, "a list is expected");
        for (size_t i = 0; i < it->size(); ++i) {
            T item;
            if (!each((*it)[i], w + "[" + std::to_string(i) + "]", item))
                return false;
            out.push_back(item);
        }
        return true;
    }

    /* What one adapter's parts say about each other. */
    bool consistent(const AdapterDoc &a, const std::string &where)
    {
        std::set<unsigned> ids;
        for (size_t i = 0; i < a.disks.size(); ++i)
            if (!ids.insert(a.disks[i].id).second)
                return fail(where + ".disks[" + std::to_string(i) + "]", "disk " + std::to_string(a.disks[i].id) +
                                                                          " is listed twice");
        auto known = [&](int id, const std::string &w) {
            return id < 0 || ids.count(static_cast<unsigned>(id)) ||
                   fail(w, "disk " + std::to_string(id) + " is not among the adapter's disks");
        };
        std::set<std::string> names;
        std::set<unsigned> members;
        for (size_t i = 0; i < a.arrays.size(); ++i) {
            const Array &g = a.arrays[i];
            const std::string w = where + ".arrays[" + std::to_string(i) + "]";
            if (g.name.empty() || !names.insert(g.name).second)
                return fail(w + ".name", "arrays are matched by name: each needs a name of its own");
            for (unsigned d : g.disks) {
                if (!known(static_cast<int>(d), w + ".disks"))
                    return false;
                if (!members.insert(d).second)
                    return fail(w + ".disks", "disk " + std::to_string(d) + " is in two arrays or twice in one");
            }
        }
        names.clear();
        bool direct = false;
        for (size_t i = 0; i < a.vds.size(); ++i) {
            const Vd &v = a.vds[i];
            const std::string w = where + ".vds[" + std::to_string(i) + "]";
            if (v.name.empty() || !names.insert(v.name).second)
                return fail(w + ".name", "VDs are matched by name: each needs a name of its own");
            if (!v.array.empty()) {
                const Array *g = a.array(v.array);
                if (!g)
                    return fail(w + ".array", "no array is named \"" + v.array + "\"");
                if (g->raid != v.raid)
                    return fail(w + ".raid", "a VD has the RAID level of its array");
            } else {
                direct = true;
                std::set<int> seen;
                for (int d : v.disks) {
                    if (!known(d, w + ".disks"))
                        return false;
                    if (d >= 0 && !seen.insert(d).second)
                        return fail(w + ".disks", "disk " + std::to_string(d) + " is named twice");
                    if (d >= 0)
                        members.insert(static_cast<unsigned>(d));
                }
            }
        }
        if (direct && !a.arrays.empty())
            return fail(where, "VDs are made either in arrays or straight from disks, not both on one adapter");
        std::set<unsigned> spares;
        for (size_t i = 0; i < a.spares.size(); ++i) {
            const Spare &s = a.spares[i];
            const std::string w = where + ".spares[" + std::to_string(i) + "]";
            if (!known(static_cast<int>(s.disk), w + ".disk"))
                return false;
            if (!spares.insert(s.disk).second)
                return fail(w + ".disk", "disk " + std::to_string(s.disk) + " is a spare twice");
            if (members.count(s.disk))
                return fail(w + ".disk", "disk " + std::to_string(s.disk) + " is a member and a spare");
            if (!s.array.empty() && !a.array(s.array))
                return fail(w + ".array", "no array is named \"" + s.array + "\"");
        }
        return true;
    }

    bool adapter(const json &j, const std::string &where, AdapterDoc &out)
    {
        if (!keys(j, where, {"adapter", "serial", "model", "settings", "disks", "arrays", "vds", "spares"}))
            return false;
        uint64_t n = 0;
        if (!j.contains("adapter"))
            return fail(where, "\"adapter\" (its number) is missing");
        if (!integer(j["adapter"], where + ".adapter", 254, n))
            return false;
        out.number = static_cast<unsigned>(n);
        if (j.contains("serial")) {
            std::string s;
            if (!text(j["serial"], where + ".serial", s))
                return false;
            out.serial = s;
        }
        if (j.contains("model") && !text(j["model"], where + ".model", out.model))
            return false;
        if (j.contains("settings") && !settings(j["settings"], where + ".settings", out.settings))
            return false;
        return list(j, "disks", where, out.disks, [this](const json &v, const std::string &w, Disk &d) { return disk(v, w, d); }) &&
               list(j, "arrays", where, out.arrays, [this](const json &v, const std::string &w, Array &a) { return array(v, w, a); }) &&
               list(j, "vds", where, out.vds, [this](const json &v, const std::string &w, Vd &d) { return vd(v, w, d); }) &&
               list(j, "spares", where, out.spares, [this](const json &v, const std::string &w, Spare &s) { return spare(v, w, s); }) &&
               consistent(out, where);
    }
};

ojson sizeJson(const Size &s)
{
    return s.all ? ojson("all") : ojson(s.kib);
}

} // namespace

bool parseDocument(const std::string &text, Document &doc, std::string &error)
{
    json j = json::parse(text, nullptr, false);
    if (j.is_discarded()) {
        error = "not a JSON document";
        return false;
    }
    Reader r;
    if (!r.keys(j, "document", {"schema_version", "adapters"})) {
        error = r.error;
        return false;
    }
    uint64_t version = 0;
    if (!j.contains("schema_version") || !r.integer(j["schema_version"], "schema_version", 0xFFFF, version)) {
        error = r.error.empty() ? "schema_version is missing" : r.error;
        return false;
    }
    if (version != static_cast<uint64_t>(kSchemaVersion)) {
        error = "schema_version " + std::to_string(version) + " is not the one this arrayconf reads (" +
                std::to_string(kSchemaVersion) + ")";
        return false;
    }
    std::set<unsigned> numbers;
    bool ok = r.list(j, "adapters", "document", doc.adapters,
                     [&](const json &v, const std::string &w, AdapterDoc &a) {
                         return r.adapter(v, w, a) &&
                                (numbers.insert(a.number).second || r.fail(w + ".adapter", "adapter listed twice"));
                     });
    if (!ok)
        error = r.error;
    return ok;
}

std::string renderDocument(const Document &doc)
{
    ojson root = ojson::object();
    root["schema_version"] = kSchemaVersion;
    ojson adapters = ojson::array();
    for (const AdapterDoc &a : doc.adapters) {
        ojson ja = ojson::object();
        ja["adapter"] = a.number;
        if (a.serial)
            ja["serial"] = *a.serial;
        ja["model"] = a.model;
        ojson s = ojson::object();
        for (int i = 0; i < FLAG_COUNT; ++i)
            if (a.settings.flags[i])
                s[kFlagKeys[i]] = *a.settings.flags[i];
        ojson rates = ojson::object();
        for (int i = 0; i < RATE_COUNT; ++i)
            if (a.settings.rates[i])
                rates[kRateKeys[i]] = *a.settings.rates[i];
        s["rates"] = rates;
        ja["settings"] = s;
        ojson disks = ojson::array();
        for (const Disk &d : a.disks) {
            ojson jd = ojson::object();
            jd["id"] = d.id;
            if (d.serial)
                jd["serial"] = *d.serial;
            jd["size"] = d.size;
            if (d.writeCache)
                jd["write_cache"] = *d.writeCache;
            if (d.smart)
                jd["smart"] = *d.smart;
            disks.push_back(jd);
        }
        ja["disks"] = disks;
        ojson arrays = ojson::array();
        for (const Array &g : a.arrays) {
            ojson jg = ojson::object();
            jg["name"] = g.name;
            jg["raid"] = kxRaidName(g.raid);
            if (g.parity >= 0)
                jg["parity"] = g.parity;
            jg["disks"] = g.disks;
            jg["stripe"] = g.stripe;
            jg["size"] = sizeJson(g.size);
            if (g.writeCache)
                jg["write_cache"] = *g.writeCache;
            arrays.push_back(jg);
        }
        ja["arrays"] = arrays;
        ojson vds = ojson::array();
        for (const Vd &v : a.vds) {
            ojson jv = ojson::object();
            jv["name"] = v.name;
            jv["raid"] = kxRaidName(v.raid);
            if (v.parity >= 0)
                jv["parity"] = v.parity;
            if (!v.array.empty()) {
                jv["array"] = v.array;
                if (v.slot >= 0)
                    jv["slot"] = v.slot;
            } else {
                ojson members = ojson::array();
                for (int d : v.disks)
                    members.push_back(d < 0 ? ojson(nullptr) : ojson(d));
                jv["disks"] = members;
            }
            jv["stripe"] = v.stripe;
            jv["size"] = sizeJson(v.size);
            if (v.writePolicy)
                jv["write_policy"] = writePolicyWord(*v.writePolicy);
            if (v.readAhead)
                jv["read_ahead"] = *v.readAhead;
            vds.push_back(jv);
        }
        ja["vds"] = vds;
        ojson spares = ojson::array();
        for (const Spare &sp : a.spares) {
            ojson js = ojson::object();
            js["disk"] = sp.disk;
            js["array"] = sp.array.empty() ? ojson(nullptr) : ojson(sp.array);
            spares.push_back(js);
        }
        ja["spares"] = spares;
        adapters.push_back(ja);
    }
    root["adapters"] = adapters;
    return root.dump(2) + "\n";
}

} // namespace conf
