// The JSON document: record fields under their record names, codes also
// as the words arrayctl prints (fields ending in _word).
#include <cstring>

#include <nlohmann/json.hpp>

#include "record_words.h"
#include "render.h"

namespace arraystat {
namespace {

using nlohmann::json;

std::string trimmed(const std::string &text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

std::string version(const Version_Info_CIM &v)
{
    return infoVersion(v.MajorVersion, v.MinorVersion, v.RevisionNumber, v.BuildNumber);
}

json errorsJson(const std::vector<CallError> &errors)
{
    json out = json::array();
    for (const CallError &e : errors) {
        json j = {{"operation", e.operation}, {"status", e.status}, {"message", errorText(e.status)}};
        if (e.object >= 0)
            j["object"] = e.object;
        out.push_back(j);
    }
    return out;
}

// The IDs of a packed record's array, read element by element (a packed
// array may be unaligned).
json idList(const void *ids, unsigned count, unsigned max)
{
    json out = json::array();
    const unsigned char *p = static_cast<const unsigned char *>(ids);
    for (unsigned i = 0; i < count && i < max; ++i) {
        KX_U16 v;
        std::memcpy(&v, p + i * sizeof v, sizeof v);
        out.push_back(v);
    }
    return out;
}

json adapterInfo(const Adapter_Info &a)
{
    return {{"ModelNumber", fieldText(a.ModelNumber, sizeof a.ModelNumber)},
            {"SerialNo", fieldText(a.SerialNo, sizeof a.SerialNo)},
            {"FirmwareVersion", version(a.FirmwareVersion)},
            {"BIOSVersion", version(a.BIOSVersion)},
            {"VenID", a.VenID}, {"DevID", a.DevID}, {"SubVenID", a.SubVenID}, {"SubDevID", a.SubDevID},
            {"PortCount", a.PortCount}, {"MaxHD", a.MaxHD}, {"MaxHD_Ext", a.MaxHD_Ext},
            {"MaxLogicalDrive", a.MaxLogicalDrive}, {"MaxDiskGroup", a.MaxDiskGroup},
            {"MaxExpander", a.MaxExpander}, {"MaxBufferSize", a.MaxBufferSize},
            {"LogicalDriverMode", a.LogicalDriverMode},
            {"LogicalDriverMode_word", infoRaidModes(a.LogicalDriverMode)}};
}

json batteryJson(const AdapterSnapshot &a)
{
    if (!a.batteryRead)
        return nullptr;
    const BBU_Info &b = a.battery;
    json j = {{"present", a.haveBattery}};
    if (!a.haveBattery)
        return j;
    j["status"] = b.status;
    j["status_word"] = batteryStatusWord(b);
    j["percentage"] = b.percentage;
    j["recharge_cycle"] = b.recharge_cycle;
    j["featureSupport"] = b.featureSupport;
    if (b.featureSupport & 0x1)
        j["temperature"] = b.temperature / 100.0;
    if (b.featureSupport & 0x2)
        j["voltage"] = b.voltage / 1000.0;
    if (b.featureSupport & 0x4) {
        j["curCapacity"] = b.curCapacity / 100.0;
        j["maxCapacity"] = b.maxCapacity / 100.0;
    }
    return j;
}

json pdJson(const PdEntry &p)
{
    const HD_Info &hd = p.info;
    json j = {{"HDID", hd.Link.Self.DevID},
              {"EnclosureID", hd.Link.Self.EnclosureID},
              {"Model", fieldText(hd.Model, sizeof hd.Model)},
              {"SerialNo", fieldText(hd.SerialNo, sizeof hd.SerialNo)},
              {"FWVersion", fieldText(hd.FWVersion, sizeof hd.FWVersion)},
              {"Size", kxU64Value(hd.Size)},
              {"BlockSize", hd.BlockSize},
              {"HD_SSD_Type", hd.HD_SSD_Type}};
    if (p.haveRaidStatus)
        j["raid_status"] = {{"Status", p.raid.Status}, {"DGID", p.raid.DGID}, {"Status_word", pdStateWord(p.raid)}};
    else
        j["raid_status"] = nullptr;
    j["SmartThresholdExceeded"] = p.haveSmartStatus ? json(p.smartThresholdExceeded) : json(nullptr);
    if (p.sas) {
        j["smart"] = {{"supported", false}, {"note", "SAS disk: no SMART data"}};
    } else if (p.smart) {
        const SmartDisk &d = *p.smart;
        json attrs = json::array();
        for (const SmartAttribute &a : d.attributes)
            attrs.push_back({{"Id", a.id}, {"AttributeName", a.name}, {"StatusFlags1", a.flags},
                             {"StatusFlags2", a.status}, {"CurrentValue", a.current}, {"WorstValue", a.worst},
                             {"ThresholdValue", a.threshold}, {"RawValue", a.raw}, {"failed", a.failed()}});
        json known = json::object();
        for (const KnownAttribute &k : knownAttributes())
            if (const SmartAttribute *a = d.find(k.id))
                known[k.metric] = knownValue(k, a->raw);
        j["smart"] = {{"supported", true}, {"attributes", attrs}, {"known", known}, {"seconds", d.seconds}};
        if (d.haveError)
            j["smart"]["error"] = errorsJson({d.error})[0];
    } else {
        j["smart"] = nullptr;
    }
    return j;
}

json activityJson(unsigned type, unsigned state)
{
    return {{"type", type}, {"type_word", bgaTypeWord(type)}, {"state", state}, {"state_word", bgaStateWord(state)}};
}

json arrayJson(const DG_Info &dg)
{
    json j = {{"DGID", dg.DGID},
              {"Name", fieldText(dg.Name, sizeof dg.Name)},
              {"RaidMode", dg.RaidMode},
              {"RaidMode_word", kxRaidName(dg.RaidMode)},
              {"Status", dg.Status},
              {"Status_word", arrayStatusWord(dg)},
              {"TotalManagedSpace", kxU64Value(dg.TotalManagedSpace)},
              {"RemainingManagedSpace", kxU64Value(dg.RemainingManagedSpace)},
              {"PDIDs", idList(dg.PDIDs, dg.PDCount, 128)},
              {"VDIDs", idList(dg.VDIDs, dg.VDSlotCount, 32)},
              {"SparePDIDs", idList(dg.SparePDIDs, dg.SparePDCount, 8)}};
    j["activity"] = dg.BgaType != 0 && dg.BgaState >= 1 && dg.BgaState <= 5 ? activityJson(dg.BgaType, dg.BgaState)
                                                                             : json(nullptr);
    return j;
}

json vdJson(const VdEntry &v)
{
    const LD_Info &ld = v.info;
    json j = {{"ID", ld.ID},
              {"Name", fieldText(ld.Name, sizeof ld.Name)},
              {"Status", ld.Status},
              {"Status_word", vdStatusWord(ld)},
              {"RaidMode", ld.RaidMode},
              {"RaidMode_word", kxRaidName(ld.RaidMode)},
              {"Size", kxU64Value(ld.Size)},
              {"StripeBlockSize", ld.StripeBlockSize},
              {"HDCount", ld.HDCount},
              {"DGID", ld.DGID},
              {"CacheMode", ld.CacheMode},
              {"CacheMode_word", trimmed(infoCacheMode(ld.CacheMode))}};
    if (v.haveStatus && activityPresent(v.status)) {
        json act = activityJson(v.status.Bga, v.status.BgaState);
        act["BgaPercentage"] = v.status.BgaPercentage;
        j["activity"] = act;
    } else {
        j["activity"] = nullptr;
    }
    j["write_policy"] = {{"asked", v.policy.asked},
                         {"effective", v.policy.effective},
                         {"fallback", v.policy.fallback()},
                         {"reason", v.policy.reason.empty() ? json(nullptr) : json(v.policy.reason)},
                         {"LD_Config_CacheMode", v.haveConfig ? json(v.config.CacheMode) : json(nullptr)}};
    return j;
}

json elementJson(const ElementEntry &el)
{
    const EncElementType_Info &i = el.info;
    json j = {{"type", i.type}, {"type_word", elementTypeWord(i.type)}, {"elementID", i.elementID},
              {"status", i.status}, {"status_word", elementStatusWord(i.status)}};
    json raw = json::array();
    for (KX_U8 b : i.element.raw)
        raw.push_back(b);
    j["data"] = raw;
    const std::pair<const char *, KX_U8> thresholds[] = {
        {"highCritical", el.config.highCriticalThreshold}, {"highWarning", el.config.highWarningThreshold},
        {"lowCritical", el.config.lowCriticalThreshold}, {"lowWarning", el.config.lowWarningThreshold}};
    json th = el.haveConfig ? json::object() : json(nullptr);
    int c = 0;
    switch (i.type) {
    case kEncTypeTemperature:
        j["celsius"] = elementCelsius(i.element.temperaturesensor.temperature, c) ? json(c) : json(nullptr);
        if (el.haveConfig)
            for (const auto &t : thresholds)
                th[t.first] = elementCelsius(t.second, c) ? json(c) : json(nullptr);
        break;
    case kEncTypeVoltage: {
        KX_U16 raw16;
        std::memcpy(&raw16, &i.element.raw[0], sizeof raw16);
        j["volts"] = elementVolts(raw16);
        if (el.haveConfig)
            for (const auto &t : thresholds)
                th[t.first] = t.second * 10 / 1000.0;
        break;
    }
    case kEncTypeCooling: {
        KX_U16 rpm;
        std::memcpy(&rpm, &i.element.raw[0], sizeof rpm);
        j["rpm"] = rpm;
        if (el.haveConfig)
            for (const auto &t : thresholds)
                th[t.first] = t.second;
        break;
    }
    default:
        if (el.haveConfig)
            for (const auto &t : thresholds)
                th[t.first] = t.second;
        break;
    }
    j["thresholds"] = th;
    return j;
}

json storeJson(const StoreSnapshot &st)
{
    const Event_ChangeCounters &c = st.counters;
    json counters = {{"Adapter_Change", c.Adapter_Change}, {"HD_Change", c.HD_Change},
                     {"MDD_Change", c.MDD_Change}, {"LD_Change", c.LD_Change},
                     {"BSL_Change", c.BSL_Change}, {"Expander_Change", c.Expander_Change},
                     {"PM_Change", c.PM_Change}, {"SAS_Change", c.SAS_Change},
                     {"ENCL_Change", c.ENCL_Change}, {"BAT_Change", c.BAT_Change},
                     {"FLASH_Change", c.FLASH_Change}, {"Whatever_Change", c.Whatever_Change},
                     {"CACHE_Change", c.CACHE_Change}, {"MISC_Change", c.MISC_Change},
                     {"ARRAY_Change", c.ARRAY_Change}, {"Accelerator_Change", c.Accelerator_Change}};
    json adapters = json::array();
    for (const auto &kv : st.eventsByClass) {
        json byClass = json::object();
        uint64_t total = 0;
        for (const auto &cls : kv.second) {
            byClass[std::to_string(cls.first)] = cls.second;
            total += cls.second;
        }
        auto newest = st.newestSequence.find(kv.first);
        adapters.push_back({{"AdapterID", kv.first},
                            {"stored", total},
                            {"by_class", byClass},
                            {"newest_SequenceNo", newest == st.newestSequence.end() ? 0u : newest->second}});
    }
    return {{"change_counters", counters}, {"adapters", adapters}};
}

}  // namespace

std::string renderJson(const Snapshot &s)
{
    json doc = {{"schema_version", kSchemaVersion},
                {"taken_at", s.takenAt},
                {"library_version", s.libraryVersion},
                {"adapter_count", s.adapterCount}};
    json adapters = json::array();
    for (const AdapterSnapshot &a : s.adapters) {
        json j = {{"adapter", a.index}};
        j["info"] = a.haveInfo ? adapterInfo(a.info) : json(nullptr);
        j["battery"] = batteryJson(a);
        json pds = json::array(), spares = json::array();
        for (const PdEntry &p : a.pds) {
            pds.push_back(pdJson(p));
            if (p.haveRaidStatus && (p.raid.Status & (0x04 | 0x40)))
                spares.push_back({{"HDID", p.raid.HDID}, {"DGID", p.raid.DGID},
                                  {"Status_word", infoSpareStatus(p.raid)}});
        }
        j["pds"] = pds;
        j["spares"] = spares;
        json arrays = json::array();
        for (const DG_Info &dg : a.arrays)
            arrays.push_back(arrayJson(dg));
        j["arrays"] = arrays;
        json vds = json::array();
        for (const VdEntry &v : a.vds)
            vds.push_back(vdJson(v));
        j["vds"] = vds;
        json encs = json::array();
        for (const EnclosureEntry &entry : a.enclosures) {
            const Enclosure_Info &e = entry.info;
            json elements = json(nullptr);
            if (entry.haveElements) {
                elements = json::array();
                for (const ElementEntry &el : entry.elements)
                    elements.push_back(elementJson(el));
            }
            encs.push_back({{"ID", e.Link.Self.DevID},
                            {"Status", e.Status},
                            {"LogicalID", fieldText(e.LogicalID, sizeof e.LogicalID)},
                            {"VendorID", fieldText(e.VendorID, sizeof e.VendorID)},
                            {"ProductID", fieldText(e.ProductID, sizeof e.ProductID)},
                            {"RevisionLevel", fieldText(e.RevisionLevel, sizeof e.RevisionLevel)},
                            {"ExpanderIDs", idList(e.ExpanderIDs, e.ExpanderCount, 8)},
                            {"elements", elements}});
        }
        j["enclosures"] = encs;
        json exps = json::array();
        for (const Exp_Info &e : a.expanders)
            exps.push_back({{"ID", e.Link.Self.DevID},
                            {"PhyCount", e.PhyCount},
                            {"VendorID", fieldText(e.VendorID, sizeof e.VendorID)},
                            {"ProductID", fieldText(e.ProductID, sizeof e.ProductID)},
                            {"ProductRev", fieldText(e.ProductRev, sizeof e.ProductRev)}});
        j["expanders"] = exps;
        j["errors"] = errorsJson(a.errors);
        adapters.push_back(j);
    }
    doc["adapters"] = adapters;
    doc["events"] = s.haveStore ? storeJson(s.store) : json(nullptr);
    if (s.smartWanted) {
        json smart = {{"ok", s.smart.ok}};
        if (s.smart.ok) {
            smart["taken_at"] = s.smart.pass.takenAt;
            smart["age_seconds"] = s.takenAt - s.smart.pass.takenAt;
            smart["seconds"] = s.smart.pass.seconds;
            json errors = json::array();
            for (const auto &e : s.smart.pass.errors) {
                json x = errorsJson({e.second})[0];
                x["adapter"] = e.first;
                errors.push_back(x);
            }
            for (const SmartDisk &d : s.smart.pass.disks)
                if (d.haveError) {
                    json x = errorsJson({d.error})[0];
                    x["adapter"] = d.adapter;
                    errors.push_back(x);
                }
            smart["errors"] = errors;
        } else {
            smart["problem"] = s.smart.problem;
        }
        doc["smart"] = smart;
    } else {
        doc["smart"] = nullptr;
    }
    json parts = json::array();
    for (const PartResult &p : s.parts) {
        json x = {{"collector", p.name}, {"success", p.ok}, {"seconds", p.seconds}};
        if (p.adapter >= 0)
            x["adapter"] = p.adapter;
        parts.push_back(x);
    }
    doc["collectors"] = parts;
    doc["errors"] = errorsJson(s.errors);
    // Invalid UTF-8 in a controller's text field is replaced, not thrown.
    return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace arraystat
