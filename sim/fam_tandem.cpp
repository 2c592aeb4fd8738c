// OS device names in the state document: "osName" of a VD or disk object
// (a text of at most 24 bytes; "" for no name at all); and the entry table
// of a Tandem VD: "tandemTable" of the VD object.
#include "fam_tandem.h"

#include "family.h"

namespace sim {

namespace {
constexpr char kName[] = "tandem";
}  // namespace

bool vdVisibleToOs(const Adapter &a, const VD &vd)
{
    LD_Info r;
    buildLDInfo(a, vd, r);
    switch (r.Status) {
    case 0: case 1: case 5: case 14: case 15:
        return true;
    default:
        return false;
    }
}

namespace {

bool pdVisibleToOs(const Adapter &a, const PD &pd)
{
    return pd.state == PD::ONLINE && (a.pdStatusBits(pd) & KX_PD_FREE);
}

// "sda" for 0, "sdz" for 25, "sdaa" for 26, as the Linux disk driver counts.
std::string diskName(unsigned index)
{
    std::string letters;
    for (unsigned n = index + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('a' + (n - 1) % 26));
    return "/dev/sd" + letters;
}

// Place of an object among the devices the OS found; -1 when it found
// none for it.
int vdPlace(const Adapter &a, uint16_t id)
{
    int place = 0;
    for (const auto &v : a.vds) {
        if (!vdVisibleToOs(a, v.second))
            continue;
        if (v.first == id)
            return place;
        ++place;
    }
    return -1;
}

int pdPlace(const Adapter &a, uint16_t id)
{
    int place = 0;
    for (const auto &v : a.vds)
        if (vdVisibleToOs(a, v.second))
            ++place;
    for (const auto &p : a.pds) {
        if (!pdVisibleToOs(a, p.second))
            continue;
        if (p.first == id)
            return place;
        ++place;
    }
    return -1;
}

const std::string *givenName(const Adapter &a, bool vd, uint16_t id)
{
    const TandemData *d = tandemDataOf(a);
    if (!d)
        return nullptr;
    const auto &names = vd ? d->vdOsName : d->pdOsName;
    auto it = names.find(id);
    return it == names.end() ? nullptr : &it->second;
}

bool readNames(ValueReader &r, const json &doc, const std::string &where, const char *list, Adapter &a)
{
    if (!doc.contains(list) || !doc[list].is_array())
        return true;
    const json &objs = doc[list];
    for (size_t i = 0; i < objs.size(); ++i) {
        const json &o = objs[i];
        if (!o.is_object() || !o.contains("osName") || !o.contains("id"))
            continue;
        const std::string w = where + "." + list + "[" + std::to_string(i) + "].osName";
        std::string name;
        if (!r.text(o["osName"], w, name))
            return false;
        if (name.size() > kOsNameBytes)
            return r.fail(w, "longer than " + std::to_string(kOsNameBytes) + " bytes");
        TandemData &d = tandemData(a);
        const uint16_t id = o["id"].get<uint16_t>();
        (std::string(list) == "vds" ? d.vdOsName : d.pdOsName)[id] = name;
    }
    return true;
}

bool readTable(ValueReader &r, const json &v, const std::string &where, TandemTable &t)
{
    if (!v.is_object())
        return r.fail(where, std::string("expected {\"capacity\": n, \"entries\": [...]}, found ") + v.type_name());
    for (auto it = v.begin(); it != v.end(); ++it)
        if (it.key() != "capacity" && it.key() != "entries")
            return r.fail(where + "." + it.key(), "unknown key (capacity, entries)");
    t.capacity = kTandemTableCapacity;
    if (v.contains("capacity") && !r.num(v["capacity"], where + ".capacity", UINT32_MAX, t.capacity))
        return false;
    if (!v.contains("entries"))
        return true;
    const json &list = v["entries"];
    if (!list.is_array())
        return r.fail(where + ".entries", std::string("expected a list, found ") + list.type_name());
    if (list.size() > t.capacity)
        return r.fail(where + ".entries", "more entries than the capacity");
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string w = where + ".entries[" + std::to_string(i) + "]";
        const json &e = list[i];
        if (!e.is_object() || !e.contains("start") || !e.contains("length") || e.size() != 2)
            return r.fail(w, "expected {\"start\": n, \"length\": n}");
        TandemEntry entry;
        if (!r.num(e["start"], w + ".start", UINT64_MAX, entry.start) ||
            !r.num(e["length"], w + ".length", UINT32_MAX, entry.length))
            return false;
        t.entries.push_back(entry);
    }
    return true;
}

bool readTables(ValueReader &r, const json &doc, const std::string &where, Adapter &a)
{
    if (!doc.contains("vds") || !doc["vds"].is_array())
        return true;
    const json &vds = doc["vds"];
    for (size_t i = 0; i < vds.size(); ++i) {
        const json &o = vds[i];
        if (!o.is_object() || !o.contains("tandemTable") || !o.contains("id"))
            continue;
        const std::string w = where + ".vds[" + std::to_string(i) + "].tandemTable";
        const uint16_t id = o["id"].get<uint16_t>();
        const VD *vd = a.findVD(id);
        if (!vd || !kxIsTandemRaid(vd->layout.raid))
            return r.fail(w, "the VD is not a Tandem VD (RAID code 10, 11 or 12)");
        if (!readTable(r, o["tandemTable"], w, tandemData(a).tables[id]))
            return false;
    }
    return true;
}

bool readFamily(ValueReader &r, const json &doc, const std::string &where, Adapter &a)
{
    return readNames(r, doc, where, "vds", a) && readNames(r, doc, where, "pds", a) && readTables(r, doc, where, a);
}

void writeFamily(const Adapter &a, json &doc)
{
    const TandemData *d = tandemDataOf(a);
    if (!d)
        return;
    for (const auto &n : d->vdOsName)
        if (json *o = docObject(doc, "vds", n.first))
            (*o)["osName"] = n.second;
    for (const auto &n : d->pdOsName)
        if (json *o = docObject(doc, "pds", n.first))
            (*o)["osName"] = n.second;
    // A table outlives no VD: the VD written back must still be Tandem.
    for (const auto &t : d->tables) {
        const auto vd = a.vds.find(t.first);
        json *o = docObject(doc, "vds", t.first);
        if (!o || vd == a.vds.end() || !kxIsTandemRaid(vd->second.layout.raid))
            continue;
        json entries = json::array();
        for (const TandemEntry &e : t.second.entries)
            entries.push_back({{"start", e.start}, {"length", e.length}});
        (*o)["tandemTable"] = {{"capacity", t.second.capacity}, {"entries", entries}};
    }
}

}  // namespace

std::string vdOsName(const Adapter &a, uint16_t id)
{
    auto it = a.vds.find(id);
    if (it == a.vds.end())
        return "";
    if (const std::string *given = givenName(a, true, id))
        return *given;
    const int place = vdPlace(a, id);
    return place < 0 ? "" : diskName(static_cast<unsigned>(place));
}

std::string pdOsName(const Adapter &a, uint16_t id)
{
    auto it = a.pds.find(id);
    if (it == a.pds.end() || !it->second.visible())
        return "";
    if (const std::string *given = givenName(a, false, id))
        return *given;
    const int place = pdPlace(a, id);
    return place < 0 ? "" : diskName(static_cast<unsigned>(place));
}

TandemData &tandemData(Adapter &a) { return a.family.get<TandemData>(kName); }

const TandemData *tandemDataOf(const Adapter &a) { return a.family.find<TandemData>(kName); }

extern const Family kTandemFamily = {
    kName, {}, {{"vds", "osName"}, {"pds", "osName"}, {"vds", "tandemTable"}}, readFamily, writeFamily, nullptr,
};

}  // namespace sim
