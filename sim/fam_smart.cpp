// The SMART family's fixture keys and its modelled attribute table.
#include "fam_smart.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace sim {

namespace {
constexpr char kName[] = "smart";

struct ModelledAttribute {
    uint8_t id;
    const char *name;
    uint8_t threshold;
};
const ModelledAttribute kModelled[] = {
    {1, "Raw_Read_Error_Rate", 51},
    {5, "Reallocated_Sector_Ct", 36},
    {9, "Power_On_Hours", 0},
    {12, "Power_Cycle_Count", 0},
    {194, "Temperature_Celsius", 0},
    {197, "Current_Pending_Sector", 0},
};

SMART_INFO blankAttribute()
{
    SMART_INFO r;
    std::memset(&r, 0, sizeof r);
    r.StatusFlags1 = 0x0F;
    r.CurrentValue = 100;
    r.WorstValue = 100;
    return r;
}

void setRaw(SMART_INFO &r, uint64_t raw)
{
    for (size_t i = 0; i < sizeof r.RawValue; ++i)
        r.RawValue[i] = static_cast<KX_U8>(raw >> (8 * i));
}

SMART_INFO modelled(const PD &pd, const ModelledAttribute &at)
{
    SMART_INFO r = blankAttribute();
    r.Id = at.id;
    std::memcpy(r.AttributeName, at.name, std::min(std::strlen(at.name), sizeof r.AttributeName));
    r.ThresholdValue = at.threshold;
    uint64_t raw = 0;
    switch (at.id) {
    case 5:
        raw = reassignedSectors(pd).size();
        if (pd.smartExceeded)
            r.CurrentValue = r.WorstValue = 20;  // below its threshold
        break;
    case 9: raw = 70000ull + pd.id * 1000ull; break;  // beyond 16 bits on purpose
    case 12: raw = 40 + pd.id; break;
    case 194: raw = 30 + pd.id % 10; break;
    default: break;
    }
    setRaw(r, raw);
    return r;
}

const char *selfTestWord(uint8_t t)
{
    return t == SELFTEST_SHORT ? "short" : "extended";
}

// One attribute of a disk's "smart" list.
bool readAttribute(ValueReader &r, const json &o, const std::string &w, SMART_INFO &out)
{
    if (!o.is_object())
        return r.fail(w, std::string("expected an object, found ") + o.type_name());
    static const std::set<std::string> known = {"id", "name", "flags", "status", "current", "worst",
                                                "threshold", "raw"};
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!known.count(it.key()))
            return r.fail(w + "." + it.key(), "unknown key of a SMART attribute");
    if (!o.contains("id"))
        return r.fail(w, "a SMART attribute needs an \"id\"");
    out = blankAttribute();
    if (!r.num(o["id"], w + ".id", 255, out.Id))
        return false;
    if (o.contains("name")) {
        std::string name;
        if (!r.text(o["name"], w + ".name", name))
            return false;
        if (name.size() > sizeof out.AttributeName)
            return r.fail(w + ".name", "longer than " + std::to_string(sizeof out.AttributeName) + " characters");
        std::memcpy(out.AttributeName, name.data(), name.size());
    }
    if ((o.contains("flags") && !r.num(o["flags"], w + ".flags", 255, out.StatusFlags1)) ||
        (o.contains("status") && !r.num(o["status"], w + ".status", 255, out.StatusFlags2)) ||
        (o.contains("current") && !r.num(o["current"], w + ".current", 255, out.CurrentValue)) ||
        (o.contains("worst") && !r.num(o["worst"], w + ".worst", 255, out.WorstValue)) ||
        (o.contains("threshold") && !r.num(o["threshold"], w + ".threshold", 255, out.ThresholdValue)))
        return false;
    if (o.contains("raw")) {
        const json &v = o["raw"];
        const std::string rw = w + ".raw";
        if (v.is_array()) {
            // The bytes as the disk stores them, least significant first.
            if (v.size() > sizeof out.RawValue)
                return r.fail(rw, "at most " + std::to_string(sizeof out.RawValue) + " bytes");
            for (size_t i = 0; i < v.size(); ++i)
                if (!r.num(v[i], rw + "[" + std::to_string(i) + "]", 255, out.RawValue[i]))
                    return false;
        } else {
            uint64_t raw = 0;
            if (!r.uint(v, rw, 0xFFFFFFFFFFFFull, raw))
                return false;
            setRaw(out, raw);
        }
    }
    return true;
}

bool readDisk(ValueReader &r, const json &o, const std::string &w, SmartDisk &d)
{
    if (o.contains("smart")) {
        const json &l = o["smart"];
        const std::string lw = w + ".smart";
        if (!l.is_array())
            return r.fail(lw, std::string("expected a list of attributes, found ") + l.type_name());
        d.attributesGiven = true;
        d.attributesSource = l;
        for (size_t i = 0; i < l.size(); ++i) {
            SMART_INFO at;
            if (!readAttribute(r, l[i], lw + "[" + std::to_string(i) + "]", at))
                return false;
            d.attributes.push_back(at);
        }
    }
    if (o.contains("selfTest")) {
        const json &v = o["selfTest"];
        if (v == "short")
            d.selfTest = SELFTEST_SHORT;
        else if (v == "extended")
            d.selfTest = SELFTEST_EXTENDED;
        else if (!v.is_null())
            return r.fail(w + ".selfTest", "expected \"short\", \"extended\" or null");
    }
    return true;
}

bool readFamily(ValueReader &r, const json &doc, const std::string &where, Adapter &a)
{
    if (!doc.contains("pds") || !doc["pds"].is_array())
        return true;
    const json &pds = doc["pds"];
    for (size_t i = 0; i < pds.size(); ++i) {
        const json &o = pds[i];
        if (!o.contains("smart") && !o.contains("selfTest"))
            continue;
        SmartDisk d;
        if (!readDisk(r, o, where + ".pds[" + std::to_string(i) + "]", d))
            return false;
        smartData(a).disks[o["id"].get<uint16_t>()] = std::move(d);
    }
    return true;
}

void writeFamily(const Adapter &a, json &doc)
{
    const SmartData *data = smartDataOf(a);
    if (!data)
        return;
    for (const auto &d : data->disks) {
        json *o = docObject(doc, "pds", d.first);
        if (!o)
            continue;
        if (d.second.attributesGiven)
            (*o)["smart"] = d.second.attributesSource;
        if (d.second.selfTest != SELFTEST_NONE)
            (*o)["selfTest"] = selfTestWord(d.second.selfTest);
    }
}

const SmartDisk *smartDisk(const Adapter &a, uint16_t pd)
{
    const SmartData *data = smartDataOf(a);
    if (!data)
        return nullptr;
    auto it = data->disks.find(pd);
    return it == data->disks.end() ? nullptr : &it->second;
}

}  // namespace

SmartData &smartData(Adapter &a) { return a.family.get<SmartData>(kName); }

const SmartData *smartDataOf(const Adapter &a) { return a.family.find<SmartData>(kName); }

extern const Family kSmartFamily = {
    kName, {}, {{"pds", "smart"}, {"pds", "selfTest"}}, readFamily, writeFamily, nullptr,
};

std::vector<RCT_Entry> reassignedSectors(const PD &pd)
{
    // A disk over its SMART threshold has reassigned sectors, a healthy
    // one none.
    std::vector<RCT_Entry> out;
    if (!pd.smartExceeded)
        return out;
    for (unsigned i = 0; i < 3; ++i) {
        RCT_Entry e;
        std::memset(&e, 0, sizeof e);
        e.lba = kxU64Make(0x100000ull * (i + 1) + pd.id);
        e.sec = 8u << i;
        e.flag = static_cast<KX_U8>(i == 2 ? 0 : 1);
        out.push_back(e);
    }
    return out;
}

std::vector<SMART_INFO> smartAttributes(const Adapter &a, const PD &pd)
{
    const SmartDisk *d = smartDisk(a, pd.id);
    if (d && d->attributesGiven)
        return d->attributes;
    std::vector<SMART_INFO> out;
    for (const ModelledAttribute &at : kModelled)
        out.push_back(modelled(pd, at));
    return out;
}

bool smartThresholdExceeded(const Adapter &a, const PD &pd)
{
    HD_SMART_Status st;
    buildHDSmartStatus(a, pd, st);
    return st.SmartThresholdExceeded != 0;
}

}  // namespace sim
