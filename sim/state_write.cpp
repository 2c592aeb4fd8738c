// Writing the model back as a state document: the same keys, through the
// same tables (state_doc.h), as the reader takes them, so a state file is
// itself a fixture.
#include <type_traits>

#include "state_doc.h"

namespace sim {

namespace {

template <class M, class T>
const M &ref(const Field<T> &f, const T &obj)
{
    return obj.*std::get<M T::*>(f.member);
}

json memberJson(const std::vector<uint16_t> &ids)
{
    json out = json::array();
    for (uint16_t id : ids)
        out.push_back(id == kLostMember ? json(nullptr) : json(id));
    return out;
}

template <class T>
void put(const ObjectFields<T> &t, const T &obj, json &o);

template <class T>
json value(const Field<T> &f, const T &obj)
{
    switch (f.spelling) {
    case Spelling::Id:
    case Spelling::Number:
    case Spelling::OptionalNumber:
        return std::visit(
            [&](auto m) -> json {
                if constexpr (std::is_member_object_pointer_v<decltype(m)>) {
                    using V = std::remove_reference_t<decltype(obj.*m)>;
                    if constexpr (std::is_integral_v<V>)
                        return json(obj.*m);
                }
                return json(nullptr);
            },
            f.member);
    case Spelling::Flag:
        return ref<bool>(f, obj);
    case Spelling::Text:
        return ref<std::string>(f, obj);
    case Spelling::Word: {
        // A value given as a number that has no word goes back as that
        // number: as the first word it would read back as another value.
        const uint8_t v = ref<uint8_t>(f, obj);
        return f.max && !f.words->has(v) ? json(v) : json(f.words->wordOf(v));
    }
    case Spelling::OptionalId: {
        const uint16_t id = ref<uint16_t>(f, obj);
        return id == kNone16 ? json(nullptr) : json(id);
    }
    case Spelling::Spare: {
        const int spare = ref<int>(f, obj);
        return spare == PD::kGlobalSpare ? json("global") : json(spare);
    }
    case Spelling::Members:
        return memberJson(ref<std::vector<uint16_t>>(f, obj));
    case Spelling::Ids:
        return ref<std::vector<uint16_t>>(f, obj);
    case Spelling::Parent: {
        json o = json::object();
        put(kParentFields, ref<ParentLink>(f, obj), o);
        return o;
    }
    case Spelling::Activity: {
        json o = json::object();
        put(kActivityFields, ref<Bga>(f, obj), o);
        return o;
    }
    case Spelling::Percent:
    case Spelling::Speed:
        return ref<double>(f, obj);
    case Spelling::Millis:
        return ref<int64_t>(f, obj);
    case Spelling::Special:
        break;
    }
    return json(nullptr);
}

// Every key of the table that the object has (Special parts are the
// caller's).
template <class T>
void put(const ObjectFields<T> &t, const T &obj, json &o)
{
    for (const Field<T> &f : t.fields)
        if (f.spelling != Spelling::Special && (!f.written || f.written(obj)))
            o[f.key] = value(f, obj);
}

void putOverlays(json &o, const Overlays &ov)
{
    for (const Overlay &x : ov.list)
        o[x.desc->name] = x.source;
}

template <class T>
json objectJson(const ObjectFields<T> &t, const T &obj)
{
    json o = json::object();
    put(t, obj, o);
    putOverlays(o, obj.ov);
    return o;
}

json faultsJson(const std::map<std::string, Fault> &faults)
{
    json out = json::object();
    for (const auto &f : faults) {
        if (!f.second.counted()) {
            out[f.first] = f.second.status;
            continue;
        }
        json &o = out[f.first] = json::object();
        put(kFaultFields, f.second, o);
    }
    return out;
}

json adapterJson(const Adapter &a)
{
    json j = json::object();
    j[kRecord_Adapter_Info.name] = dumpRecord(&kRecord_Adapter_Info, &a.info);
    j[kRecord_Adapter_Config_V2.name] = dumpRecord(&kRecord_Adapter_Config_V2, &a.config);
    j[kRecord_BBU_Info.name] = dumpRecord(&kRecord_BBU_Info, &a.bbu);
    put(kAdapterFields, a, j);

    json &enclosures = j[kAdapterFields.keyOf(Part::Enclosures)] = json::array();
    for (const auto &x : a.enclosures)
        enclosures.push_back(objectJson(kEnclosureFields, x.second));
    json &expanders = j[kAdapterFields.keyOf(Part::Expanders)] = json::array();
    for (const auto &x : a.expanders)
        expanders.push_back(objectJson(kExpanderFields, x.second));
    json &pms = j[kAdapterFields.keyOf(Part::Pms)] = json::array();
    for (const auto &x : a.pms)
        pms.push_back(objectJson(kPmFields, x.second));
    json &pds = j[kAdapterFields.keyOf(Part::Pds)] = json::array();
    for (const auto &x : a.pds)
        pds.push_back(objectJson(kPdFields, x.second));
    json &blocks = j[kAdapterFields.keyOf(Part::Blocks)] = json::array();
    for (const auto &x : a.blocks)
        blocks.push_back(objectJson(kBlockFields, x.second));
    json &vds = j[kAdapterFields.keyOf(Part::Vds)] = json::array();
    for (const auto &x : a.vds) {
        const VD &v = x.second;
        json o = objectJson(kVdFields, v);
        put(kLayoutFields, v.layout, o);
        if (v.hasTarget) {
            json t = json::object();
            put(kLayoutFields, v.target, t);
            if (!v.targetOv.empty())
                t[v.targetOv.desc->name] = v.targetOv.source;
            o[kVdFields.keyOf(Part::Target)] = t;
        }
        vds.push_back(o);
    }
    json &arrays = j[kAdapterFields.keyOf(Part::Arrays)] = json::array();
    for (const auto &x : a.arrays) {
        const Array &g = x.second;
        json o = objectJson(kArrayFields, g);
        if (g.hasTarget) {
            json t = json::object();
            put(kArrayTargetFields, g.target, t);
            o[kArrayFields.keyOf(Part::Target)] = t;
        }
        arrays.push_back(o);
    }
    json &events = j[kAdapterFields.keyOf(Part::Events)] = json::array();
    for (const Event &e : a.events)
        events.push_back(json{{kRecord_Event.name, dumpRecord(&kRecord_Event, &e)}});
    j[kAdapterFields.keyOf(Part::Faults)] = faultsJson(a.faults);
    for (const Family *f : families())
        if (f->write)
            f->write(a, j);
    return j;
}

}  // namespace

json stateToJson(const State &s)
{
    json doc = json::object();
    json adapters = json::array();
    for (const Adapter &a : s.adapters)
        adapters.push_back(adapterJson(a));
    doc[kDocumentAdapters] = adapters;
    doc[kAdapterFields.keyOf(Part::Faults)] = faultsJson(s.faults);
    return doc;
}

}  // namespace sim
