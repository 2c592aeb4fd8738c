// OS device names in the state document: "osName" of a VD or disk object
// (a text of at most 24 bytes; "" for no name at all).
#include "fam_tandem.h"

#include "family.h"

namespace sim {

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
    return pd.state == PD::ONLINE && (a.pdStatusBits(pd) & PDS_FREE);
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
    const TandemData *d = a.family.find<TandemData>(kTandemFamily);
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
        TandemData &d = a.family.get<TandemData>(kTandemFamily);
        const uint16_t id = o["id"].get<uint16_t>();
        (std::string(list) == "vds" ? d.vdOsName : d.pdOsName)[id] = name;
    }
    return true;
}

bool readFamily(ValueReader &r, const json &doc, const std::string &where, Adapter &a)
{
    return readNames(r, doc, where, "vds", a) && readNames(r, doc, where, "pds", a);
}

void writeFamily(const Adapter &a, json &doc)
{
    const TandemData *d = a.family.find<TandemData>(kTandemFamily);
    if (!d)
        return;
    for (const auto &n : d->vdOsName)
        if (json *o = docObject(doc, "vds", n.first))
            (*o)["osName"] = n.second;
    for (const auto &n : d->pdOsName)
        if (json *o = docObject(doc, "pds", n.first))
            (*o)["osName"] = n.second;
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

extern const Family gTandemFamily = {
    kTandemFamily, {}, {{"vds", "osName"}, {"pds", "osName"}}, readFamily, writeFamily, nullptr,
};

}  // namespace sim
