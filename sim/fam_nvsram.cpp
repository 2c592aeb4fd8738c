// NVSRAM, flash bytes and registers in the state document:
//
//   "nvsram":     {"size": 32768, "data": [{"offset": 256, "hex": "5a5a"}]}
//   "flashBytes": {"size": 4194304, "data": [...]}       (same shape)
//   "registers":  [{"type": "mailbox", "address": 1, "value": 7}]
//
// Only what differs from a fresh adapter is written back: the written
// runs of the byte spaces and the registers that were set.
#include "fam_nvsram.h"

#include <algorithm>

#include "family.h"

namespace sim {

namespace {
constexpr char kName[] = "nvsram";
}  // namespace

void ByteStore::read(uint32_t offset, uint32_t n, uint8_t *out) const
{
    std::fill(out, out + n, fill);
    const uint64_t end = static_cast<uint64_t>(offset) + n;
    // The run that starts at or before offset may reach into the range.
    auto it = runs.upper_bound(offset);
    if (it != runs.begin())
        --it;
    for (; it != runs.end() && it->first < end; ++it) {
        const uint64_t runEnd = it->first + static_cast<uint64_t>(it->second.size());
        const uint64_t from = std::max<uint64_t>(it->first, offset);
        const uint64_t to = std::min<uint64_t>(runEnd, end);
        if (from < to)
            std::copy(it->second.begin() + (from - it->first), it->second.begin() + (to - it->first),
                      out + (from - offset));
    }
}

void ByteStore::write(uint32_t offset, uint32_t n, const uint8_t *in)
{
    if (n == 0)
        return;
    // The new run swallows every run it overlaps or touches.
    uint64_t start = offset, end = static_cast<uint64_t>(offset) + n;
    auto first = runs.upper_bound(offset);
    if (first != runs.begin()) {
        auto prev = std::prev(first);
        if (prev->first + static_cast<uint64_t>(prev->second.size()) >= start)
            first = prev;
    }
    auto last = first;
    for (; last != runs.end() && last->first <= end; ++last) {
        start = std::min<uint64_t>(start, last->first);
        end = std::max<uint64_t>(end, last->first + static_cast<uint64_t>(last->second.size()));
    }
    std::vector<uint8_t> merged(end - start);
    read(static_cast<uint32_t>(start), static_cast<uint32_t>(end - start), merged.data());
    std::copy(in, in + n, merged.begin() + (offset - start));
    runs.erase(first, last);
    runs[static_cast<uint32_t>(start)] = std::move(merged);
}

namespace {

bool readBytes(ValueReader &r, const json &v, const std::string &where, ByteStore &out)
{
    if (!v.is_object())
        return r.fail(where, std::string("expected an object (size, data), found ") + v.type_name());
    for (auto it = v.begin(); it != v.end(); ++it)
        if (it.key() != "size" && it.key() != "data")
            return r.fail(where + "." + it.key(), "unknown key (size, data)");
    if (v.contains("size") && !r.num(v["size"], where + ".size", UINT32_MAX, out.size))
        return false;
    if (!v.contains("data"))
        return true;
    const json &data = v["data"];
    if (!data.is_array())
        return r.fail(where + ".data", std::string("expected a list, found ") + data.type_name());
    for (size_t i = 0; i < data.size(); ++i) {
        const std::string w = where + ".data[" + std::to_string(i) + "]";
        const json &run = data[i];
        if (!run.is_object() || !run.contains("offset") || !run.contains("hex") || run.size() != 2)
            return r.fail(w, "expected {\"offset\": n, \"hex\": \"...\"}");
        uint32_t offset = 0;
        std::vector<uint8_t> bytes;
        if (!r.num(run["offset"], w + ".offset", UINT32_MAX, offset) || !r.hex(run["hex"], w + ".hex", bytes))
            return false;
        if (bytes.size() > UINT32_MAX || !out.fits(offset, static_cast<uint32_t>(bytes.size())))
            return r.fail(w, "runs past the end (size " + std::to_string(out.size) + ")");
        out.write(offset, static_cast<uint32_t>(bytes.size()), bytes.data());
    }
    return true;
}

json writeBytes(const ByteStore &s)
{
    json data = json::array();
    for (const auto &run : s.runs)
        data.push_back({{"offset", run.first}, {"hex", hexText(run.second.data(), run.second.size())}});
    return {{"size", s.size}, {"data", data}};
}

bool readRegisters(ValueReader &r, const json &v, const std::string &where, NvsramData &d)
{
    if (!v.is_array())
        return r.fail(where, std::string("expected a list, found ") + v.type_name());
    for (size_t i = 0; i < v.size(); ++i) {
        const std::string w = where + "[" + std::to_string(i) + "]";
        const json &reg = v[i];
        if (!reg.is_object())
            return r.fail(w, "expected {\"type\": ..., \"address\": n, \"value\": n}");
        for (auto it = reg.begin(); it != reg.end(); ++it)
            if (it.key() != "type" && it.key() != "address" && it.key() != "value")
                return r.fail(w + "." + it.key(), "unknown key (type, address, value)");
        if (!reg.contains("type") || !reg.contains("address"))
            return r.fail(w, "type and address are required");
        std::string type;
        if (!r.text(reg["type"], w + ".type", type))
            return false;
        if (type != "mailbox" && type != "internal")
            return r.fail(w + ".type", "unknown register type '" + type + "' (mailbox, internal)");
        const uint8_t t = type == "mailbox" ? KX_REGISTER_MAILBOX : KX_REGISTER_INTERNAL;
        uint32_t address = 0, value = 0;
        const uint32_t count = t == KX_REGISTER_MAILBOX ? kMailboxRegisters : kInternalRegisters;
        if (!r.num(reg["address"], w + ".address", count - 1, address))
            return false;
        if (reg.contains("value") && !r.num(reg["value"], w + ".value", UINT32_MAX, value))
            return false;
        d.registers[{t, address}] = value;
    }
    return true;
}

bool readFamily(ValueReader &r, const json &doc, const std::string &where, Adapter &a)
{
    if (!doc.contains("nvsram") && !doc.contains("flashBytes") && !doc.contains("registers"))
        return true;
    NvsramData &d = nvsramData(a);
    if (doc.contains("nvsram") && !readBytes(r, doc["nvsram"], where + ".nvsram", d.nvsram))
        return false;
    if (doc.contains("flashBytes") && !readBytes(r, doc["flashBytes"], where + ".flashBytes", d.flash))
        return false;
    return !doc.contains("registers") || readRegisters(r, doc["registers"], where + ".registers", d);
}

void writeFamily(const Adapter &a, json &doc)
{
    const NvsramData *d = nvsramDataOf(a);
    if (!d)
        return;
    doc["nvsram"] = writeBytes(d->nvsram);
    doc["flashBytes"] = writeBytes(d->flash);
    json regs = json::array();
    for (const auto &reg : d->registers)
        regs.push_back({{"type", reg.first.first == KX_REGISTER_MAILBOX ? "mailbox" : "internal"},
                        {"address", reg.first.second},
                        {"value", reg.second}});
    doc["registers"] = regs;
}

}  // namespace

NvsramData &nvsramData(Adapter &a) { return a.family.get<NvsramData>(kName); }

const NvsramData *nvsramDataOf(const Adapter &a) { return a.family.find<NvsramData>(kName); }

extern const Family kNvsramFamily = {
    kName, {"nvsram", "flashBytes", "registers"}, {}, readFamily, writeFamily, nullptr,
};

}  // namespace sim
