// The maker's SSDs in the state document: the "korvexSsd" object of a disk
// (keys in README.md). Written back whole for every SSD; a manufacturing
// record goes back as its fields when they rebuild it byte for byte, as
// null when it is all zero, else as hexadecimal text.
#include "fam_ssd.h"

#include <algorithm>
#include <cstring>

#include "family.h"

namespace sim {

namespace {
constexpr char kName[] = "ssd";
}  // namespace

void SsdDisk::logEvent(uint32_t id, uint32_t p0)
{
    SsdEvent e;
    e.seq = nextEventSeq++;
    e.id = id;
    e.params[0] = p0;
    events.push_back(e);
}

uint32_t ssdCrc(const uint8_t *data, size_t n)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
}

namespace {

uint32_t get32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t get16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void put32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(uint8_t *p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// A text field: the text, NUL-padded (not terminated when it fills the field).
void putText(uint8_t *p, size_t field, const std::string &text)
{
    std::memset(p, 0, field);
    std::memcpy(p, text.data(), std::min(field, text.size()));
}
std::string getText(const uint8_t *p, size_t field)
{
    const uint8_t *end = std::find(p, p + field, 0);
    return std::string(p, end);
}

}  // namespace

uint32_t mfgCrc(const uint8_t *record)
{
    uint8_t copy[kMfgBytes];
    std::memcpy(copy, record, kMfgBytes);
    put32(copy + kMfgCrc, 0xFFFFFFFFu);
    return ssdCrc(copy, kMfgBytes);
}

std::vector<uint8_t> makeMfgRecord(uint32_t version, const std::string &model, const std::string &serial,
                                   uint16_t supported, uint16_t enabled, uint16_t ratio)
{
    std::vector<uint8_t> r(kMfgBytes, 0);
    put32(&r[kMfgVersion], version);
    putText(&r[kMfgModel], kMfgModelBytes, model);
    putText(&r[kMfgSerial], kMfgSerialBytes, serial);
    put16(&r[kMfgSupported], supported);
    put16(&r[kMfgEnabled], enabled);
    put16(&r[kMfgRatio], ratio);
    put32(&r[kMfgCrc], mfgCrc(r.data()));
    return r;
}

SsdDisk *findSsd(Adapter &a, uint16_t pd)
{
    const SsdData *d = ssdDataOf(a);
    if (!d || !d->disks.count(pd))
        return nullptr;
    return &ssdData(a).disks[pd];
}

namespace {

bool onlyKeys(ValueReader &r, const json &o, const std::string &where, std::initializer_list<const char *> keys)
{
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool known = false;
        std::string list;
        for (const char *k : keys) {
            known = known || it.key() == k;
            list += list.empty() ? k : std::string(", ") + k;
        }
        if (!known)
            return r.fail(where + "." + it.key(), "unknown key (" + list + ")");
    }
    return true;
}

bool boundedText(ValueReader &r, const json &o, const char *key, const std::string &where, size_t max,
                 std::string &out)
{
    if (!o.contains(key))
        return true;
    if (!r.text(o[key], where + "." + key, out))
        return false;
    if (out.size() > max)
        return r.fail(where + "." + key, "longer than " + std::to_string(max) + " bytes");
    return true;
}

std::vector<uint8_t> defaultRecord(uint16_t pd)
{
    return makeMfgRecord(1, "Korvex SSD          ", "KXSSD" + std::to_string(pd), 0x0003, 0x0001, 80);
}

bool readRecord(ValueReader &r, const json &v, const std::string &where, uint16_t pd, std::vector<uint8_t> &out)
{
    if (v.is_null()) {
        out.assign(kMfgBytes, 0);
        return true;
    }
    if (!v.is_object())
        return r.fail(where, std::string("expected null, an object of fields or {\"hex\": ...}, found ") +
                                 v.type_name());
    if (v.contains("hex")) {
        if (v.size() != 1)
            return r.fail(where, "hex stands alone");
        if (!r.hex(v["hex"], where + ".hex", out))
            return false;
        if (out.size() != kMfgBytes)
            return r.fail(where + ".hex", "expected " + std::to_string(kMfgBytes) + " bytes");
        return true;
    }
    if (!onlyKeys(r, v, where, {"version", "model", "serial", "supportedFeatures", "enabledFeatures", "ratio"}))
        return false;
    const std::vector<uint8_t> def = defaultRecord(pd);
    uint32_t version = get32(&def[kMfgVersion]);
    uint16_t supported = get16(&def[kMfgSupported]), enabled = get16(&def[kMfgEnabled]),
             ratio = get16(&def[kMfgRatio]);
    std::string model = getText(&def[kMfgModel], kMfgModelBytes), serial = getText(&def[kMfgSerial], kMfgSerialBytes);
    if ((v.contains("version") && !r.num(v["version"], where + ".version", UINT32_MAX, version)) ||
        (v.contains("supportedFeatures") &&
         !r.num(v["supportedFeatures"], where + ".supportedFeatures", 0xFFFF, supported)) ||
        (v.contains("enabledFeatures") && !r.num(v["enabledFeatures"], where + ".enabledFeatures", 0xFFFF, enabled)) ||
        (v.contains("ratio") && !r.num(v["ratio"], where + ".ratio", 0xFFFF, ratio)) ||
        !boundedText(r, v, "model", where, kMfgModelBytes, model) ||
        !boundedText(r, v, "serial", where, kMfgSerialBytes, serial))
        return false;
    out = makeMfgRecord(version, model, serial, supported, enabled, ratio);
    return true;
}

json writeRecord(const std::vector<uint8_t> &rec)
{
    if (std::all_of(rec.begin(), rec.end(), [](uint8_t b) { return b == 0; }))
        return nullptr;
    const uint8_t *p = rec.data();
    const std::string model = getText(p + kMfgModel, kMfgModelBytes), serial = getText(p + kMfgSerial, kMfgSerialBytes);
    if (makeMfgRecord(get32(p + kMfgVersion), model, serial, get16(p + kMfgSupported), get16(p + kMfgEnabled),
                      get16(p + kMfgRatio)) == rec)
        return {{"version", get32(p + kMfgVersion)},
                {"model", model},
                {"serial", serial},
                {"supportedFeatures", get16(p + kMfgSupported)},
                {"enabledFeatures", get16(p + kMfgEnabled)},
                {"ratio", get16(p + kMfgRatio)}};
    return {{"hex", hexText(p, rec.size())}};
}

bool readEvents(ValueReader &r, const json &v, const std::string &where, SsdDisk &d)
{
    if (!v.is_array())
        return r.fail(where, std::string("expected a list, found ") + v.type_name());
    for (size_t i = 0; i < v.size(); ++i) {
        const std::string w = where + "[" + std::to_string(i) + "]";
        const json &e = v[i];
        if (!e.is_object())
            return r.fail(w, "expected {\"seq\": n, \"id\": n, \"xfer\": n, \"params\": [...]}");
        if (!onlyKeys(r, e, w, {"seq", "id", "xfer", "params"}))
            return false;
        if (!e.contains("id"))
            return r.fail(w, "id is required");
        SsdEvent ev;
        ev.seq = d.nextEventSeq;
        if ((e.contains("seq") && !r.num(e["seq"], w + ".seq", UINT32_MAX, ev.seq)) ||
            !r.num(e["id"], w + ".id", UINT32_MAX, ev.id) ||
            (e.contains("xfer") && !r.num(e["xfer"], w + ".xfer", 0xFFFF, ev.xfer)))
            return false;
        if (e.contains("params")) {
            const json &p = e["params"];
            if (!p.is_array() || p.size() > 4)
                return r.fail(w + ".params", "expected a list of at most four numbers");
            for (size_t k = 0; k < p.size(); ++k)
                if (!r.num(p[k], w + ".params[" + std::to_string(k) + "]", UINT32_MAX, ev.params[k]))
                    return false;
        }
        d.nextEventSeq = std::max<uint32_t>(d.nextEventSeq, ev.seq + 1);
        d.events.push_back(ev);
    }
    return true;
}

// One part of a page: a word that fills it, or its bytes as hexadecimal
// text.
bool readPagePart(ValueReader &r, const json &v, const std::string &where, uint8_t *out, size_t bytes)
{
    if (v.is_string()) {
        std::vector<uint8_t> data;
        if (!r.hex(v, where, data))
            return false;
        if (data.size() != bytes)
            return r.fail(where, "expected " + std::to_string(bytes) + " bytes");
        std::copy(data.begin(), data.end(), out);
        return true;
    }
    uint32_t word = 0;
    if (!r.num(v, where, UINT32_MAX, word))
        return false;
    for (size_t k = 0; k < bytes; k += 4)
        put32(out + k, word);
    return true;
}

json writePagePart(const uint8_t *data, size_t bytes)
{
    const uint32_t first = get32(data);
    for (size_t k = 0; k < bytes; k += 4)
        if (get32(data + k) != first)
            return hexText(data, bytes);
    return first;
}

bool readPages(ValueReader &r, const json &v, const std::string &where, SsdDisk &d)
{
    if (!v.is_array())
        return r.fail(where, std::string("expected a list, found ") + v.type_name());
    for (size_t i = 0; i < v.size(); ++i) {
        const std::string w = where + "[" + std::to_string(i) + "]";
        const json &p = v[i];
        if (!p.is_object() || !p.contains("number"))
            return r.fail(w, "expected {\"number\": n, \"data\": word or \"hex\", \"spare\": word or \"hex\"}");
        if (!onlyKeys(r, p, w, {"number", "data", "spare"}))
            return false;
        uint32_t number = 0;
        if (!r.num(p["number"], w + ".number", UINT32_MAX, number))
            return false;
        std::vector<uint8_t> page(kSsdRawPageBytes, 0xFF);
        if ((p.contains("data") && !readPagePart(r, p["data"], w + ".data", page.data(), kSsdPageBytes)) ||
            (p.contains("spare") &&
             !readPagePart(r, p["spare"], w + ".spare", page.data() + kSsdPageBytes, kSsdRawPageBytes - kSsdPageBytes)))
            return false;
        d.pages[number] = std::move(page);
    }
    return true;
}

bool readSsd(ValueReader &r, const json &v, const std::string &where, uint16_t pd, SsdDisk &d)
{
    if (!v.is_object())
        return r.fail(where, std::string("expected an object, found ") + v.type_name());
    if (!onlyKeys(r, v, where,
                  {"model", "firmware", "manufacture", "events", "nextEventSeq", "defects", "erasing", "formatting",
                   "eraseCount", "message", "flashId", "pages"}))
        return false;
    d.mfg = defaultRecord(pd);
    d.eraseCount = 120 + pd;
    if (!boundedText(r, v, "model", where, kMfgModelBytes, d.model) ||
        !boundedText(r, v, "firmware", where, 8, d.firmware) ||
        !boundedText(r, v, "message", where, kSsdSectorData - 1, d.message))
        return false;
    if (v.contains("manufacture") && !readRecord(r, v["manufacture"], where + ".manufacture", pd, d.mfg))
        return false;
    if (v.contains("events") && !readEvents(r, v["events"], where + ".events", d))
        return false;
    if (v.contains("nextEventSeq")) {
        uint32_t next = 0;
        if (!r.num(v["nextEventSeq"], where + ".nextEventSeq", UINT32_MAX, next))
            return false;
        d.nextEventSeq = std::max(d.nextEventSeq, next);
    }
    if (v.contains("defects")) {
        const json &list = v["defects"];
        if (!list.is_array())
            return r.fail(where + ".defects", std::string("expected a list, found ") + list.type_name());
        for (size_t i = 0; i < list.size(); ++i) {
            uint32_t block = 0;
            if (!r.num(list[i], where + ".defects[" + std::to_string(i) + "]", UINT32_MAX, block))
                return false;
            d.defects.push_back(block);
        }
    }
    if ((v.contains("erasing") && !r.boolean(v["erasing"], where + ".erasing", d.erasing)) ||
        (v.contains("formatting") && !r.boolean(v["formatting"], where + ".formatting", d.formatting)))
        return false;
    if (v.contains("eraseCount")) {
        d.hasEraseCount = !v["eraseCount"].is_null();
        if (d.hasEraseCount && !r.num(v["eraseCount"], where + ".eraseCount", UINT32_MAX, d.eraseCount))
            return false;
    }
    if (v.contains("flashId")) {
        const json &id = v["flashId"];
        if (!id.is_array() || id.size() != 4)
            return r.fail(where + ".flashId", "expected a list of four bytes");
        for (size_t i = 0; i < 4; ++i)
            if (!r.num(id[i], where + ".flashId[" + std::to_string(i) + "]", 0xFF, d.flashId[i]))
                return false;
    }
    return !v.contains("pages") || readPages(r, v["pages"], where + ".pages", d);
}

bool readFamily(ValueReader &r, const json &doc, const std::string &where, Adapter &a)
{
    if (!doc.contains("pds") || !doc["pds"].is_array())
        return true;
    const json &pds = doc["pds"];
    for (size_t i = 0; i < pds.size(); ++i) {
        const json &o = pds[i];
        if (!o.is_object() || !o.contains("korvexSsd") || !o.contains("id"))
            continue;
        const uint16_t id = o["id"].get<uint16_t>();
        SsdDisk &d = ssdData(a).disks[id];
        if (!readSsd(r, o["korvexSsd"], where + ".pds[" + std::to_string(i) + "].korvexSsd", id, d))
            return false;
    }
    return true;
}

void writeFamily(const Adapter &a, json &doc)
{
    const SsdData *data = ssdDataOf(a);
    if (!data)
        return;
    for (const auto &s : data->disks) {
        json *o = docObject(doc, "pds", s.first);
        if (!o)
            continue;
        const SsdDisk &d = s.second;
        json events = json::array();
        for (const SsdEvent &e : d.events)
            events.push_back({{"seq", e.seq},
                              {"id", e.id},
                              {"xfer", e.xfer},
                              {"params", {e.params[0], e.params[1], e.params[2], e.params[3]}}});
        json pages = json::array();
        for (const auto &p : d.pages)
            pages.push_back({{"number", p.first},
                             {"data", writePagePart(p.second.data(), kSsdPageBytes)},
                             {"spare", writePagePart(p.second.data() + kSsdPageBytes,
                                                     kSsdRawPageBytes - kSsdPageBytes)}});
        (*o)["korvexSsd"] = {{"model", d.model},
                             {"firmware", d.firmware},
                             {"manufacture", writeRecord(d.mfg)},
                             {"events", events},
                             {"nextEventSeq", d.nextEventSeq},
                             {"defects", d.defects},
                             {"erasing", d.erasing},
                             {"formatting", d.formatting},
                             {"eraseCount", d.hasEraseCount ? json(d.eraseCount) : json(nullptr)},
                             {"message", d.message},
                             {"flashId", {d.flashId[0], d.flashId[1], d.flashId[2], d.flashId[3]}},
                             {"pages", pages}};
    }
}

}  // namespace

SsdData &ssdData(Adapter &a) { return a.family.get<SsdData>(kName); }

const SsdData *ssdDataOf(const Adapter &a) { return a.family.find<SsdData>(kName); }

extern const Family kSsdFamily = {
    kName, {}, {{"pds", "korvexSsd"}}, readFamily, writeFamily, nullptr,
};

}  // namespace sim
