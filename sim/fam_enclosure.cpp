// The enclosure family's fixture keys and its modelled elements.
#include "fam_enclosure.h"

#include <cstring>
#include <set>

namespace sim {

namespace {
constexpr char kName[] = "enclosure";

// SES element type codes that have a record of their own.
const KXRecordDesc *elementRecord(uint8_t type)
{
    switch (type) {
    case 1: return &kRecord_EncDevice_Element;
    case 2: return &kRecord_EncPower_Element;
    case 3: return &kRecord_EncCooling_Element;
    case 4: return &kRecord_EncTemperatureSensor_Element;
    case 5: return &kRecord_EncDoorLock_Element;
    case 6: return &kRecord_EncAudibleAlarm_Element;
    case 12: return &kRecord_EncDisplay_Element;
    case 18: return &kRecord_EncVoltageSensor_Element;
    case 23: return &kRecord_EncArrayDevice_Element;
    default: return nullptr;
    }
}

constexpr uint8_t kTemperatureSensor = 4, kVoltageSensor = 18;

// Thresholds are bytes in the element's own units: a temperature byte
// is degrees Celsius + 20, a voltage byte tens of millivolts.
void defaultThresholds(EncElement &e)
{
    if (e.type == kTemperatureSensor) {
        e.highCritical = 70;  // 50 C
        e.highWarning = 60;   // 40 C
        e.lowWarning = 5;     // -15 C
        e.lowCritical = 0;    // none
    } else if (e.type == kVoltageSensor) {
        e.highCritical = 15;  // 150 mV
        e.highWarning = 10;
        e.lowWarning = 10;
        e.lowCritical = 15;
    }
}

EncElement element(uint8_t type, uint8_t id, uint8_t d0, uint8_t d1, uint8_t d2)
{
    EncElement e;
    e.type = type;
    e.id = id;
    e.data[0] = d0;
    e.data[1] = d1;
    e.data[2] = d2;
    defaultThresholds(e);
    return e;
}

// The elements of an enclosure the fixture says nothing about.
std::vector<EncElement> modelledElements()
{
    return {
        element(2, 0, 0x00, 0, 0),         // power supply, fine
        element(2, 1, 0x10, 0, 0),         // power supply, over-temperature warning
        element(3, 0, 0x58, 0x0B, 3),      // fan at 2904 rpm, speed code 3
        element(3, 1, 0x00, 0x00, 0),      // fan stopped
        element(4, 0, 38, 0x00, 0),        // temperature sensor, 18 C
        element(4, 1, 61, 0x02, 0),        // temperature sensor, 41 C, over-temperature warning
        element(5, 0, 1, 0, 0),            // door lock, unlocked
        element(6, 0, 0x01, 0, 0),         // audible alarm, muted
        element(12, 0, 'O', 'K', 1),       // display
        element(18, 0, 0xF4, 0x01, 0x01),  // voltage sensor, 5000 mV (500 x 10), over-voltage warning
    };
}

bool readElement(ValueReader &r, const json &o, const std::string &w, const std::map<uint8_t, uint8_t> &perType,
                 EncElement &e)
{
    if (!o.is_object())
        return r.fail(w, std::string("expected an object, found ") + o.type_name());
    static const std::set<std::string> known = {"type", "id", "status", "data", "thresholds"};
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!known.count(it.key()))
            return r.fail(w + "." + it.key(), "unknown key of an enclosure element");
    if (!o.contains("type"))
        return r.fail(w, "an element needs a \"type\"");
    if (!r.num(o["type"], w + ".type", 255, e.type))
        return false;
    auto n = perType.find(e.type);
    e.id = n == perType.end() ? 0 : n->second;
    if ((o.contains("id") && !r.num(o["id"], w + ".id", 255, e.id)) ||
        (o.contains("status") && !r.num(o["status"], w + ".status", 255, e.status)))
        return false;
    if (o.contains("data")) {
        const json &v = o["data"];
        const std::string dw = w + ".data";
        if (v.is_array()) {
            if (v.size() > sizeof e.data)
                return r.fail(dw, "at most " + std::to_string(sizeof e.data) + " bytes");
            for (size_t i = 0; i < v.size(); ++i)
                if (!r.num(v[i], dw + "[" + std::to_string(i) + "]", 255, e.data[i]))
                    return false;
        } else {
            const KXRecordDesc *desc = elementRecord(e.type);
            if (!desc)
                return r.fail(dw, "element type " + std::to_string(e.type) + " has no record: give its data as a list of bytes");
            if (!applyJson(desc, v, dw, e.data, r.error))
                return false;
        }
    }
    defaultThresholds(e);
    if (o.contains("thresholds")) {
        const json &t = o["thresholds"];
        const std::string tw = w + ".thresholds";
        if (!t.is_object())
            return r.fail(tw, std::string("expected an object, found ") + t.type_name());
        const std::pair<const char *, uint8_t *> keys[] = {
            {"highCritical", &e.highCritical},
            {"highWarning", &e.highWarning},
            {"lowCritical", &e.lowCritical},
            {"lowWarning", &e.lowWarning},
        };
        for (auto it = t.begin(); it != t.end(); ++it) {
            bool found = false;
            for (const auto &k : keys)
                if (it.key() == k.first) {
                    found = true;
                    if (!r.num(it.value(), tw + "." + it.key(), 255, *k.second))
                        return false;
                }
            if (!found)
                return r.fail(tw + "." + it.key(), "unknown threshold");
        }
    }
    return true;
}

bool readEnclosure(ValueReader &r, const json &l, const std::string &w, EnclosureElements &out)
{
    if (!l.is_array())
        return r.fail(w, std::string("expected a list of elements, found ") + l.type_name());
    // The controller counts the elements it reports in one byte.
    if (l.size() > 255)
        return r.fail(w, "at most 255 elements");
    out.source = l;
    std::map<uint8_t, uint8_t> perType;  // next ordinal of each type
    for (size_t i = 0; i < l.size(); ++i) {
        EncElement e;
        if (!readElement(r, l[i], w + "[" + std::to_string(i) + "]", perType, e))
            return false;
        perType[e.type] = static_cast<uint8_t>(e.id + 1);
        out.list.push_back(e);
    }
    return true;
}

bool readFamily(ValueReader &r, const json &doc, const std::string &where, Adapter &a)
{
    if (!doc.contains("enclosures") || !doc["enclosures"].is_array())
        return true;
    const json &encs = doc["enclosures"];
    for (size_t i = 0; i < encs.size(); ++i) {
        const json &o = encs[i];
        if (!o.contains("elements"))
            continue;
        EnclosureElements e;
        if (!readEnclosure(r, o["elements"], where + ".enclosures[" + std::to_string(i) + "].elements", e))
            return false;
        enclosureData(a).enclosures[o["id"].get<uint16_t>()] = std::move(e);
    }
    return true;
}

void writeFamily(const Adapter &a, json &doc)
{
    const EnclosureData *data = enclosureDataOf(a);
    if (!data)
        return;
    for (const auto &e : data->enclosures)
        if (json *o = docObject(doc, "enclosures", e.first))
            (*o)["elements"] = e.second.source;
}

}  // namespace

EnclosureData &enclosureData(Adapter &a) { return a.family.get<EnclosureData>(kName); }

const EnclosureData *enclosureDataOf(const Adapter &a) { return a.family.find<EnclosureData>(kName); }

extern const Family kEnclosureFamily = {
    kName, {}, {{"enclosures", "elements"}}, readFamily, writeFamily, nullptr,
};

std::vector<EncElement> enclosureElements(const Adapter &a, uint16_t encId)
{
    const EnclosureData *data = enclosureDataOf(a);
    if (data) {
        auto it = data->enclosures.find(encId);
        if (it != data->enclosures.end())
            return it->second.list;
    }
    return modelledElements();
}

}  // namespace sim
