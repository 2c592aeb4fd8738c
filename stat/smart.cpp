#include "smart.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "kx_api.h"
#include "paging.h"
#include "record_words.h"

namespace arraystat {
namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

double since(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::string text(const KX_U8 *field, size_t size)
{
    std::string t = infoFieldText(field, size, true, true);
    const std::size_t end = t.find_last_not_of(' ');
    return end == std::string::npos ? "" : t.substr(0, end + 1);
}

SmartAttribute attribute(const SMART_INFO &r)
{
    SmartAttribute a;
    a.id = r.Id;
    a.name = text(r.AttributeName, sizeof r.AttributeName);
    a.flags = r.StatusFlags1;
    a.status = r.StatusFlags2;
    a.current = r.CurrentValue;
    a.worst = r.WorstValue;
    a.threshold = r.ThresholdValue;
    for (int i = 5; i >= 0; --i)
        a.raw = (a.raw << 8) | r.RawValue[i];
    return a;
}

void readAdapter(int index, SmartPass &pass)
{
    const KX_U8 ad = static_cast<KX_U8>(index);
    Adapter_Info info;
    std::memset(&info, 0, sizeof info);
    KX_U8 n = 0;
    KX_U8 st = KX_Adapter_GetInfo(ad, &n, &info);
    if (st != KX_ST_OK) {
        // Default pages still work without MaxBufferSize.
        std::memset(&info, 0, sizeof info);
        pass.errors.push_back({index, CallError{"KX_Adapter_GetInfo", st, -1}});
    }
    std::vector<std::pair<HD_Info, bool>> disks;
    bool extended = true;
    st = client::walkList<HD_Info_Request, HD_Info>(
        info.MaxBufferSize, 128,
        [&](HD_Info_Request *req) {
            KX_U8 rc = client::pdInfoPage(ad, req, extended);
            return rc == KX_ST_PD_MISSING ? KX_U8(KX_ST_OK) : rc;
        },
        [&](const HD_Info &hd) {
            disks.push_back({hd, extended});
            return true;
        });
    if (st != KX_ST_OK) {
        pass.errors.push_back({index, CallError{"KX_PD_GetHDInfo_Ext", st, -1}});
        return;
    }
    for (const auto &d : disks) {
        const HD_Info &hd = d.first;
        SmartDisk disk;
        disk.adapter = index;
        disk.id = hd.Link.Self.DevID;
        disk.serial = text(hd.SerialNo, sizeof hd.SerialNo);
        if (infoPdKind(hd, d.second).sas) {
            disk.supported = false;
            disk.note = "SAS disk: no SMART data";
            pass.disks.push_back(disk);
            continue;
        }
        const auto t0 = Clock::now();
        std::vector<SmartAttribute> attrs;
        // One try per disk and pass: a disk that does not answer is slow
        // to say so, and the next pass comes soon enough.
        st = client::walkList<SMART_INFO_Request, SMART_INFO>(
            info.MaxBufferSize, 30,
            [&](SMART_INFO_Request *req) { return KX_PD_GET_SMART_INFO(ad, static_cast<KX_U16>(disk.id), req); },
            [&](const SMART_INFO &r) {
                attrs.push_back(attribute(r));
                return true;
            });
        disk.seconds = since(t0);
        if (st != KX_ST_OK) {
            disk.haveError = true;
            disk.error = CallError{"KX_PD_GET_SMART_INFO", st, static_cast<int>(disk.id)};
        } else {
            disk.attributes = std::move(attrs);
        }
        pass.disks.push_back(std::move(disk));
    }
}

json errorJson(const CallError &e)
{
    json j = {{"operation", e.operation}, {"status", e.status}};
    if (e.object >= 0)
        j["object"] = e.object;
    return j;
}

CallError errorFrom(const json &j)
{
    CallError e;
    e.operation = j.at("operation").get<std::string>();
    e.status = j.at("status").get<int>();
    e.object = j.contains("object") ? j.at("object").get<int>() : -1;
    return e;
}

}  // namespace

const SmartAttribute *SmartDisk::find(unsigned attrId) const
{
    for (const SmartAttribute &a : attributes)
        if (a.id == attrId)
            return &a;
    return nullptr;
}

SmartPass collectSmart(int adapter)
{
    SmartPass pass;
    pass.takenAt = static_cast<int64_t>(std::time(nullptr));
    const auto t0 = Clock::now();
    const int count = KX_Adapter_GetCount();
    for (int i = 0; i < count; ++i)
        if (adapter < 0 || adapter == i)
            readAdapter(i, pass);
    if (adapter >= count)
        pass.errors.push_back({adapter, CallError{"KX_Adapter_GetCount", KX_ST_BAD_ADAPTER, adapter}});
    pass.seconds = since(t0);
    return pass;
}

std::string renderSmartCache(const SmartPass &pass)
{
    json disks = json::array();
    for (const SmartDisk &d : pass.disks) {
        json j = {{"adapter", d.adapter}, {"HDID", d.id}, {"SerialNo", d.serial}, {"supported", d.supported},
                  {"seconds", d.seconds}};
        if (!d.note.empty())
            j["note"] = d.note;
        j["error"] = d.haveError ? errorJson(d.error) : json(nullptr);
        // One row per attribute, in the order of "attribute_columns": the
        // minutely snapshot reads the whole cache, so it is kept small.
        json attrs = json::array();
        for (const SmartAttribute &a : d.attributes)
            attrs.push_back({a.id, a.name, a.flags, a.status, a.current, a.worst, a.threshold, a.raw});
        j["attributes"] = attrs;
        disks.push_back(j);
    }
    json errors = json::array();
    for (const auto &e : pass.errors) {
        json j = errorJson(e.second);
        j["adapter"] = e.first;
        errors.push_back(j);
    }
    json doc = {{"smart_cache_version", kSmartCacheVersion},
                {"taken_at", pass.takenAt},
                {"seconds", pass.seconds},
                {"attribute_columns", {"Id", "AttributeName", "StatusFlags1", "StatusFlags2", "CurrentValue",
                                       "WorstValue", "ThresholdValue", "RawValue"}},
                {"disks", disks},
                {"errors", errors}};
    return doc.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

SmartLoad loadSmartCache(const std::string &path)
{
    SmartLoad load;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        load.problem = "cannot read " + path + ": " + std::strerror(errno);
        return load;
    }
    std::stringstream buf;
    buf << in.rdbuf();
    json doc = json::parse(buf.str(), nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) {
        load.problem = path + " is not a SMART cache";
        return load;
    }
    try {
        if (doc.at("smart_cache_version").get<int>() != kSmartCacheVersion) {
            load.problem = path + " has another cache version";
            return load;
        }
        load.pass.takenAt = doc.at("taken_at").get<int64_t>();
        load.pass.seconds = doc.at("seconds").get<double>();
        for (const json &j : doc.at("disks")) {
            SmartDisk d;
            d.adapter = j.at("adapter").get<int>();
            d.id = j.at("HDID").get<unsigned>();
            d.serial = j.at("SerialNo").get<std::string>();
            d.supported = j.at("supported").get<bool>();
            d.seconds = j.at("seconds").get<double>();
            if (j.contains("note"))
                d.note = j.at("note").get<std::string>();
            if (!j.at("error").is_null()) {
                d.haveError = true;
                d.error = errorFrom(j.at("error"));
            }
            for (const json &a : j.at("attributes")) {
                SmartAttribute x;
                x.id = a.at(0).get<unsigned>();
                x.name = a.at(1).get<std::string>();
                x.flags = a.at(2).get<unsigned>();
                x.status = a.at(3).get<unsigned>();
                x.current = a.at(4).get<unsigned>();
                x.worst = a.at(5).get<unsigned>();
                x.threshold = a.at(6).get<unsigned>();
                x.raw = a.at(7).get<uint64_t>();
                d.attributes.push_back(x);
            }
            load.pass.disks.push_back(std::move(d));
        }
        for (const json &e : doc.at("errors"))
            load.pass.errors.push_back({e.at("adapter").get<int>(), errorFrom(e)});
    } catch (const json::exception &) {
        load.problem = path + " is not a SMART cache";
        load.pass = SmartPass();
        return load;
    }
    load.ok = true;
    return load;
}

const std::vector<KnownAttribute> &knownAttributes()
{
    static const std::vector<KnownAttribute> known = {
        {5, "reallocated_sectors", "Reallocated sectors (SMART attribute 5, raw value).", 1},
        {9, "power_on_seconds", "Power-on time (SMART attribute 9, raw value in hours).", 3600},
        {187, "reported_uncorrectable_errors", "Errors the disk could not correct (SMART attribute 187, raw value).", 1},
        {188, "command_timeouts", "Commands aborted by a timeout (SMART attribute 188, raw value).", 1},
        {194, "temperature_celsius", "Disk temperature (SMART attribute 194, low byte of the raw value).", 0},
        {197, "pending_sectors", "Sectors waiting to be reallocated (SMART attribute 197, raw value).", 1},
        {198, "offline_uncorrectable_sectors", "Sectors found uncorrectable offline (SMART attribute 198, raw value).", 1},
        {199, "udma_crc_errors", "Interface CRC errors (SMART attribute 199, raw value).", 1},
    };
    return known;
}

double knownValue(const KnownAttribute &k, uint64_t raw)
{
    // Temperature attributes keep the current value in the low byte and
    // often the lowest and highest seen in the bytes above.
    if (k.scale == 0)
        return static_cast<double>(raw & 0xFF);
    return static_cast<double>(raw) * k.scale;
}

}  // namespace arraystat
