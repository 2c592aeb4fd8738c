// Reading the keys of a state document's object through its table (see
// state_doc.h): the part of the reader that knows spellings, not objects.
#ifndef SIM_STATE_READER_H
#define SIM_STATE_READER_H

#include <cmath>
#include <type_traits>

#include "state_doc.h"

namespace sim {

namespace tables {

template <class M, class T>
M &ref(const Field<T> &f, T &obj)
{
    return obj.*std::get<M T::*>(f.member);
}

template <class T>
void setNumber(const Field<T> &f, T &obj, uint64_t u)
{
    std::visit(
        [&](auto m) {
            if constexpr (std::is_member_object_pointer_v<decltype(m)>) {
                using V = std::remove_reference_t<decltype(obj.*m)>;
                if constexpr (std::is_integral_v<V>)
                    obj.*m = static_cast<V>(u);
            }
        },
        f.member);
}

}  // namespace tables

struct TableReader : ValueReader {
    int64_t anchorMs;

    TableReader(std::string &e, int64_t anchor) : ValueReader{e}, anchorMs(anchor) {}

    // ---- one key, by its field ----

    template <class T>
    bool field(const Field<T> &f, const json &v, const std::string &w, T &obj)
    {
        switch (f.spelling) {
        case Spelling::Id:
        case Spelling::Special:
            return true;
        case Spelling::Number: {
            uint64_t u = 0;
            if (!uint(v, w, f.max, u))
                return false;
            tables::setNumber(f, obj, u);
            return u >= f.min || fail(w, f.belowMin);
        }
        case Spelling::Flag:
            return boolean(v, w, tables::ref<bool>(f, obj));
        case Spelling::Text:
            return text(v, w, tables::ref<std::string>(f, obj));
        case Spelling::Word: {
            // A key that also takes numbers cannot list every value it takes.
            if (f.max && !v.is_string())
                return num(v, w, f.max, tables::ref<uint8_t>(f, obj));
            std::string t;
            if (!text(v, w, t))
                return false;
            const Word *word = f.words->find(t);
            if (!word)
                return fail(w, std::string("unknown ") + f.words->what + " '" + t + "'" +
                                   (f.max ? "" : " (" + f.words->joined() + ")"));
            tables::ref<uint8_t>(f, obj) = word->value;
            return true;
        }
        case Spelling::OptionalId:
            if (v.is_null()) {
                tables::ref<uint16_t>(f, obj) = kNone16;
                return true;
            }
            return num(v, w, 0xFFFE, tables::ref<uint16_t>(f, obj));
        case Spelling::Spare: {
            int &spare = tables::ref<int>(f, obj);
            if (v.is_string() && v.get<std::string>() == "global") {
                spare = PD::kGlobalSpare;
                return true;
            }
            if (v.is_null()) {
                spare = -1;
                return true;
            }
            uint16_t g = 0;
            if (!num(v, w, 0xFFFE, g))
                return false;
            spare = g;
            return true;
        }
        case Spelling::OptionalNumber: {
            uint8_t n = 0;
            if (!v.is_null() && !num(v, w, f.max, n))
                return false;
            tables::ref<int>(f, obj) = v.is_null() ? -1 : n;
            return true;
        }
        case Spelling::Members:
            return memberList(v, w, tables::ref<std::vector<uint16_t>>(f, obj));
        case Spelling::Ids:
            return idList(v, w, tables::ref<std::vector<uint16_t>>(f, obj));
        case Spelling::Parent:
            return nested(kParentFields, v, w, tables::ref<ParentLink>(f, obj));
        case Spelling::Activity: {
            Bga b;
            b.state = BGAS_RUNNING;
            b.sinceMs = anchorMs;
            if (!nested(kActivityFields, v, w, b))
                return false;
            if (b.type == BGA_NONE)
                b.state = BGAS_NONE;
            tables::ref<Bga>(f, obj) = b;
            return true;
        }
        case Spelling::Percent:
            if (!v.is_number() || v.get<double>() < 0 || v.get<double>() > 100)
                return fail(w, "expected a number from 0 to 100");
            tables::ref<double>(f, obj) = v.get<double>();
            return true;
        case Spelling::Speed:
            if (!v.is_number() || v.get<double>() < 0 || !std::isfinite(v.get<double>()))
                return fail(w, "expected a number of percent per second, not negative");
            tables::ref<double>(f, obj) = v.get<double>();
            return true;
        case Spelling::Millis:
            if (!v.is_number_integer())
                return fail(w, "expected milliseconds since 1970");
            tables::ref<int64_t>(f, obj) = v.get<int64_t>();
            return true;
        }
        return fail(w, "unhandled key");
    }

    // An object inside an object (a parent link, an activity).
    template <class T>
    bool nested(const ObjectFields<T> &t, const json &v, const std::string &w, T &out)
    {
        if (!v.is_object()) {
            std::string keys;
            for (const Field<T> &f : t.fields)
                keys += (keys.empty() ? "" : ", ") + std::string(f.key);
            return fail(w, "expected an object {" + keys + "}");
        }
        return this->keys(t, v, w, out, nullptr, [](const std::string &, const Part *, const json &,
                                                    const std::string &) { return 0; });
    }

    // Members of a VD (blocks) or an array (disks): IDs, or null for a
    // member that lost its disk's configuration.
    bool memberList(const json &v, const std::string &where, std::vector<uint16_t> &out)
    {
        if (!v.is_array())
            return fail(where, std::string("expected a list of IDs, found ") + v.type_name());
        out.clear();
        for (size_t i = 0; i < v.size(); ++i) {
            uint16_t id = kLostMember;
            if (!v[i].is_null() && !num(v[i], where + "[" + std::to_string(i) + "]", 0xFFFE, id))
                return false;
            out.push_back(id);
        }
        return true;
    }

    // A key naming a controller record: compile it when objects of this
    // kind carry it. Returns 1 handled, 0 not a record name, -1 error.
    template <class T>
    int record(const ObjectFields<T> &t, const std::string &key, const json &v, const std::string &where,
               Overlays &ov)
    {
        const KXRecordDesc *d = kxFindRecord(key.c_str());
        if (!d)
            return 0;
        if (!t.carries(d)) {
            fail(where, "record " + key + " does not belong to " + t.what);
            return -1;
        }
        Overlay o;
        if (!compileOverlay(d, v, where, o, error))
            return -1;
        ov.list.push_back(std::move(o));
        return 1;
    }

    // Every key of object `o` by the table `t`, in the document's order.
    // `extra(key, part, value, where)` reads what the table leaves to the
    // object's own code: a Special key (its part) or a key the table does
    // not name (part null); it returns 1 handled, 0 not its key, -1 error.
    template <class T, class Extra>
    bool keys(const ObjectFields<T> &t, const json &o, const std::string &w, T &out, Overlays *ov, Extra extra)
    {
        for (auto it = o.begin(); it != o.end(); ++it) {
            const std::string &k = it.key();
            const std::string kw = w + "." + k;
            if (ov) {
                const int r = record(t, k, it.value(), kw, *ov);
                if (r < 0)
                    return false;
                if (r > 0)
                    continue;
            }
            const Field<T> *f = t.find(k);
            if (f && f->spelling != Spelling::Special) {
                if (!field(*f, it.value(), kw, out))
                    return false;
                continue;
            }
            const int r = extra(k, f ? std::get_if<Part>(&f->member) : nullptr, it.value(), kw);
            if (r < 0)
                return false;
            if (r > 0 || f)
                continue;
            if (t.list && familyOwnsKey(t.list, k))
                continue;
            return fail(kw, std::string("unknown key of ") + t.what);
        }
        return true;
    }

    template <class T>
    bool objectId(const ObjectFields<T> &t, const Adapter &a, const json &obj, const std::string &where, uint16_t &id)
    {
        if (!obj.is_object())
            return fail(where, std::string("expected an object, found ") + obj.type_name());
        if (!obj.contains("id"))
            return fail(where, "missing \"id\"");
        if (!num(obj["id"], where + ".id", 0xFFFE, id))
            return false;
        const uint64_t limit = t.idLimit ? t.idLimit(a) : 0;
        if (limit && id >= limit)
            return fail(where + ".id", "ID " + std::to_string(id) + " is out of range (" + t.limitName + " is " +
                                           std::to_string(limit) + ")");
        return true;
    }

    // For objects whose every key is in their table.
    static int none(const std::string &, const Part *, const json &, const std::string &) { return 0; }
};

}  // namespace sim

#endif
