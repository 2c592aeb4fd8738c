// The Prometheus text exposition: one family per metric with HELP and
// TYPE, base units in the names, adapter and object ids as labels.
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <vector>

#include "render.h"

namespace arraystat {
namespace {

std::string escapeLabel(const std::string &v)
{
    if (v.find_first_of("\\\"\n") == std::string::npos)
        return v;
    std::string out;
    for (char c : v) {
        if (c == '\\') out += "\\\\";
        else if (c == '"') out += "\\\"";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string number(double v)
{
    char buf[64];
    // Whole numbers (sizes, counters, ids) exactly; fractions in their
    // shortest usual form (0.98, not 0.97999999999999998).
    if (v == static_cast<double>(static_cast<long long>(v)) && v < 9007199254740992.0 && v > -9007199254740992.0)
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
    else
        std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

typedef std::vector<std::pair<std::string, std::string>> Labels;

// Samples are gathered per family so that each family is written in one
// block, as the format requires. A snapshot of a full shelf runs to
// thousands of samples (SMART attributes), so lines are appended in place.
class Exposition {
public:
    void family(const std::string &name, const char *type, const char *help)
    {
        if (!m_index.count(name)) {
            m_index[name] = m_families.size();
            m_families.push_back(Family{name, type, help, {}});
            m_lastName.clear();  // the vector may have moved
        }
    }
    void sample(const std::string &name, const Labels &labels, double value)
    {
        if (name != m_lastName) {
            m_last = &m_families[m_index.at(name)];
            m_lastName = name;
        }
        std::string &out = m_last->lines;
        out += name;
        if (!labels.empty()) {
            out += '{';
            for (std::size_t i = 0; i < labels.size(); ++i) {
                if (i)
                    out += ',';
                out += labels[i].first;
                out += "=\"";
                out += escapeLabel(labels[i].second);
                out += '"';
            }
            out += '}';
        }
        out += ' ';
        out += number(value);
        out += '\n';
    }
    std::string text() const
    {
        std::string out;
        size_t size = 0;
        for (const Family &f : m_families)
            size += f.lines.size() + f.help.size() + f.name.size() * 2 + 32;
        out.reserve(size);
        for (const Family &f : m_families) {
            if (f.lines.empty())
                continue;
            out += "# HELP " + f.name + " " + f.help + "\n# TYPE " + f.name + " " + f.type + "\n";
            out += f.lines;
        }
        return out;
    }

private:
    struct Family {
        std::string name, type, help;
        std::string lines;
    };
    std::vector<Family> m_families;  // in the order they were declared
    std::map<std::string, size_t> m_index;
    std::string m_lastName;
    Family *m_last = nullptr;
};

std::string id(unsigned v) { return std::to_string(v); }

// An enclosure element: its status, and for sensors and fans the reading
// and the four thresholds, in base units.
void element(Exposition &e, const std::string &ad, const std::string &enc, const ElementEntry &el)
{
    const EncElementType_Info &i = el.info;
    const std::string element = id(i.elementID);
    e.sample("array_enclosure_element_status",
             {{"adapter", ad}, {"enclosure", enc}, {"type", elementTypeWord(i.type)}, {"element", element}}, i.status);
    const Labels l = {{"adapter", ad}, {"enclosure", enc}, {"element", element}};
    const std::pair<const char *, KX_U8> thresholds[] = {
        {"high_critical", el.config.highCriticalThreshold}, {"high_warning", el.config.highWarningThreshold},
        {"low_critical", el.config.lowCriticalThreshold}, {"low_warning", el.config.lowWarningThreshold}};
    auto withThreshold = [&](const char *which) {
        Labels t = l;
        t.push_back({"threshold", which});
        return t;
    };
    int celsius = 0;
    switch (i.type) {
    case kEncTypeTemperature:
        if (elementCelsius(i.element.temperaturesensor.temperature, celsius))
            e.sample("array_enclosure_temperature_celsius", l, celsius);
        if (el.haveConfig)
            for (const auto &t : thresholds)
                if (elementCelsius(t.second, celsius))
                    e.sample("array_enclosure_temperature_threshold_celsius", withThreshold(t.first), celsius);
        break;
    case kEncTypeVoltage: {
        KX_U16 raw;
        std::memcpy(&raw, &i.element.raw[0], sizeof raw);
        e.sample("array_enclosure_voltage_volts", l, elementVolts(raw));
        if (el.haveConfig)
            for (const auto &t : thresholds)
                e.sample("array_enclosure_voltage_threshold_volts", withThreshold(t.first), t.second * 10 / 1000.0);
        break;
    }
    case kEncTypeCooling: {
        KX_U16 rpm;
        std::memcpy(&rpm, &i.element.raw[0], sizeof rpm);
        e.sample("array_enclosure_fan_speed_rpm", l, rpm);
        if (el.haveConfig)
            for (const auto &t : thresholds)
                e.sample("array_enclosure_fan_threshold", withThreshold(t.first), t.second);
        break;
    }
    default:
        break;
    }
}

}  // namespace

std::string renderPrometheus(const Snapshot &s)
{
    Exposition e;
    e.family("array_scrape_error", "gauge",
             "Controller calls of this snapshot that failed (1 per call; 0 without labels when none did).");
    e.family("array_snapshot_timestamp_seconds", "gauge", "When this snapshot was taken.");
    e.family("array_adapters", "gauge", "Adapters the controller library reports.");
    e.family("array_adapter_info", "gauge", "Adapter identity; always 1.");
    e.family("array_battery_present", "gauge", "1 when the adapter has a battery backup unit.");
    e.family("array_battery_charge_ratio", "gauge", "Battery power remaining, 0 to 1.");
    e.family("array_battery_low", "gauge", "1 when the battery reports low battery.");
    e.family("array_battery_failed", "gauge", "1 when the battery reports an over- or under-temperature or voltage error.");
    e.family("array_battery_temperature_celsius", "gauge", "Battery temperature.");
    e.family("array_battery_voltage_volts", "gauge", "Battery voltage.");
    e.family("array_pd_info", "gauge", "Physical disk identity; always 1.");
    e.family("array_pd_size_bytes", "gauge", "Physical disk size.");
    e.family("array_pd_state", "gauge", "Physical disk RAID state as a label (offline, global spare, dedicated spare, foreign disk, assigned, free, unknown); always 1.");
    e.family("array_array_state", "gauge", "Disk array status as a label; always 1.");
    e.family("array_array_size_bytes", "gauge", "Space the disk array manages.");
    e.family("array_array_free_bytes", "gauge", "Space of the disk array not used by virtual disks.");
    e.family("array_vd_info", "gauge", "Virtual disk identity; always 1.");
    e.family("array_vd_size_bytes", "gauge", "Virtual disk size.");
    e.family("array_vd_state", "gauge", "Virtual disk status as a label (functional, degraded, offline, ...); always 1.");
    e.family("array_vd_bga_state", "gauge", "Background activity of a virtual disk, type and state as labels; always 1.");
    e.family("array_vd_bga_progress_ratio", "gauge", "Progress of a virtual disk's background activity, 0 to 1.");
    e.family("array_enclosure_status", "gauge", "Enclosure status code.");
    e.family("array_expander_info", "gauge", "Expander identity; always 1.");
    e.family("array_event_changes_total", "counter", "Change counters of the event store by kind.");
    e.family("array_events_total", "counter", "Events in the event store by adapter and class (a clear of the store resets them).");
    e.family("array_event_newest_sequence", "gauge", "Newest sequence number stored for the adapter.");
    e.family("array_collector_success", "gauge", "1 when every call of this part of the collection succeeded, else 0.");
    e.family("array_collector_duration_seconds", "gauge", "Time this part of the collection took.");
    e.family("array_pd_smart_threshold_exceeded", "gauge", "1 when the disk reports a SMART threshold exceeded (predictive failure).");
    e.family("array_pd_smart_supported", "gauge", "1 for a disk with SMART attributes, 0 for one without (SAS).");
    e.family("array_pd_smart_attribute_value", "gauge", "Current normalised value of a SMART attribute.");
    e.family("array_pd_smart_attribute_worst", "gauge", "Worst normalised value of a SMART attribute.");
    e.family("array_pd_smart_attribute_threshold", "gauge", "Threshold of a SMART attribute.");
    e.family("array_pd_smart_attribute_raw", "gauge", "Raw value of a SMART attribute (48 bits).");
    e.family("array_pd_smart_attribute_failed", "gauge", "1 when the disk flags the SMART attribute as failed.");
    for (const KnownAttribute &k : knownAttributes())
        e.family(std::string("array_pd_") + k.metric, "gauge", k.help);
    e.family("array_smart_snapshot_timestamp_seconds", "gauge", "When the SMART pass whose data this is was taken.");
    e.family("array_smart_age_seconds", "gauge", "Age of the SMART data when this snapshot was taken.");
    e.family("array_smart_pass_duration_seconds", "gauge", "Time the last SMART pass took.");
    e.family("array_vd_write_policy", "gauge", "Write policy of a virtual disk, asked for and in effect, as labels; always 1.");
    e.family("array_vd_write_cache_fallback", "gauge", "1 when write-back was asked for but the virtual disk writes through.");
    e.family("array_enclosure_element_status", "gauge", "SES status code of an enclosure element (0 unsupported, 1 OK, 2 critical, 3 non-critical, 4 unrecoverable, 5 not installed, 6 unknown, 7 not available, 8 no access).");
    e.family("array_enclosure_temperature_celsius", "gauge", "Reading of an enclosure temperature sensor.");
    e.family("array_enclosure_temperature_threshold_celsius", "gauge", "Thresholds of an enclosure temperature sensor.");
    e.family("array_enclosure_voltage_volts", "gauge", "Reading of an enclosure voltage sensor.");
    e.family("array_enclosure_voltage_threshold_volts", "gauge", "Thresholds of an enclosure voltage sensor.");
    e.family("array_enclosure_fan_speed_rpm", "gauge", "Speed of an enclosure fan.");
    e.family("array_enclosure_fan_threshold", "gauge", "Thresholds of an enclosure fan, in the enclosure's units.");

    int failures = 0;
    auto fail = [&](const CallError &err, const std::string &adapter) {
        Labels l;
        if (!adapter.empty())
            l.push_back({"adapter", adapter});
        l.push_back({"operation", err.operation});
        l.push_back({"status", std::to_string(err.status)});
        if (err.object >= 0)
            l.push_back({"object", std::to_string(err.object)});
        e.sample("array_scrape_error", l, 1);
        ++failures;
    };
    for (const CallError &err : s.errors)
        fail(err, "");
    for (const AdapterSnapshot &a : s.adapters)
        for (const CallError &err : a.errors)
            fail(err, id(a.index));
    if (s.smartWanted && s.smart.ok) {
        for (const auto &err : s.smart.pass.errors)
            fail(err.second, id(err.first));
        for (const SmartDisk &d : s.smart.pass.disks)
            if (d.haveError)
                fail(d.error, id(d.adapter));
    }
    if (failures == 0)
        e.sample("array_scrape_error", {}, 0);

    e.sample("array_snapshot_timestamp_seconds", {}, static_cast<double>(s.takenAt));
    e.sample("array_adapters", {}, s.adapterCount);
    for (const AdapterSnapshot &a : s.adapters) {
        const std::string ad = id(a.index);
        if (a.haveInfo)
            e.sample("array_adapter_info",
                     {{"adapter", ad}, {"model", fieldText(a.info.ModelNumber, sizeof a.info.ModelNumber)},
                      {"serial", fieldText(a.info.SerialNo, sizeof a.info.SerialNo)}},
                     1);
        if (a.batteryRead)
            e.sample("array_battery_present", {{"adapter", ad}}, a.haveBattery ? 1 : 0);
        if (a.haveBattery) {
            const BBU_Info &b = a.battery;
            e.sample("array_battery_charge_ratio", {{"adapter", ad}}, b.percentage / 100.0);
            e.sample("array_battery_low", {{"adapter", ad}}, batteryLow(b) ? 1 : 0);
            e.sample("array_battery_failed", {{"adapter", ad}}, batteryFailed(b) ? 1 : 0);
            if (b.featureSupport & 0x1)
                e.sample("array_battery_temperature_celsius", {{"adapter", ad}}, b.temperature / 100.0);
            if (b.featureSupport & 0x2)
                e.sample("array_battery_voltage_volts", {{"adapter", ad}}, b.voltage / 1000.0);
        }
        for (const PdEntry &p : a.pds) {
            const std::string pd = id(p.info.Link.Self.DevID);
            e.sample("array_pd_info",
                     {{"adapter", ad}, {"pd", pd}, {"model", fieldText(p.info.Model, sizeof p.info.Model)},
                      {"serial", fieldText(p.info.SerialNo, sizeof p.info.SerialNo)},
                      {"firmware", fieldText(p.info.FWVersion, sizeof p.info.FWVersion)}},
                     1);
            e.sample("array_pd_size_bytes", {{"adapter", ad}, {"pd", pd}},
                     static_cast<double>(kxU64Value(p.info.Size)) * 1024.0);
            if (p.haveRaidStatus)
                e.sample("array_pd_state", {{"adapter", ad}, {"pd", pd}, {"state", pdStateWord(p.raid)}}, 1);
            if (p.haveSmartStatus)
                e.sample("array_pd_smart_threshold_exceeded", {{"adapter", ad}, {"pd", pd}},
                         p.smartThresholdExceeded ? 1 : 0);
            e.sample("array_pd_smart_supported", {{"adapter", ad}, {"pd", pd}}, p.sas ? 0 : 1);
            if (!p.smart)
                continue;
            for (const SmartAttribute &at : p.smart->attributes) {
                const Labels l = {{"adapter", ad}, {"pd", pd}, {"id", std::to_string(at.id)}, {"name", at.name}};
                e.sample("array_pd_smart_attribute_value", l, at.current);
                e.sample("array_pd_smart_attribute_worst", l, at.worst);
                e.sample("array_pd_smart_attribute_threshold", l, at.threshold);
                e.sample("array_pd_smart_attribute_raw", l, static_cast<double>(at.raw));
                e.sample("array_pd_smart_attribute_failed", l, at.failed() ? 1 : 0);
            }
            for (const KnownAttribute &k : knownAttributes())
                if (const SmartAttribute *at = p.smart->find(k.id))
                    e.sample(std::string("array_pd_") + k.metric, {{"adapter", ad}, {"pd", pd}}, knownValue(k, at->raw));
        }
        for (const DG_Info &dg : a.arrays) {
            const std::string arr = id(dg.DGID);
            e.sample("array_array_state", {{"adapter", ad}, {"array", arr}, {"state", arrayStatusWord(dg)}}, 1);
            e.sample("array_array_size_bytes", {{"adapter", ad}, {"array", arr}},
                     static_cast<double>(kxU64Value(dg.TotalManagedSpace)) * 1024.0);
            e.sample("array_array_free_bytes", {{"adapter", ad}, {"array", arr}},
                     static_cast<double>(kxU64Value(dg.RemainingManagedSpace)) * 1024.0);
        }
        for (const VdEntry &v : a.vds) {
            const std::string vd = id(v.info.ID);
            e.sample("array_vd_info",
                     {{"adapter", ad}, {"vd", vd}, {"name", fieldText(v.info.Name, sizeof v.info.Name)},
                      {"raid_level", std::to_string(v.info.RaidMode)}},
                     1);
            e.sample("array_vd_size_bytes", {{"adapter", ad}, {"vd", vd}},
                     static_cast<double>(kxU64Value(v.info.Size)) * 1024.0);
            e.sample("array_vd_state", {{"adapter", ad}, {"vd", vd}, {"state", vdStatusWord(v.info)}}, 1);
            if (v.haveStatus && activityPresent(v.status)) {
                const std::string type = bgaTypeWord(v.status.Bga);
                e.sample("array_vd_bga_state",
                         {{"adapter", ad}, {"vd", vd}, {"activity", type}, {"state", bgaStateWord(v.status.BgaState)}}, 1);
                e.sample("array_vd_bga_progress_ratio", {{"adapter", ad}, {"vd", vd}, {"activity", type}},
                         v.status.BgaPercentage / 100.0);
            }
            e.sample("array_vd_write_policy",
                     {{"adapter", ad}, {"vd", vd}, {"asked", v.policy.asked}, {"effective", v.policy.effective}}, 1);
            e.sample("array_vd_write_cache_fallback", {{"adapter", ad}, {"vd", vd}}, v.policy.fallback() ? 1 : 0);
        }
        for (const EnclosureEntry &en : a.enclosures) {
            const std::string enc = id(en.info.Link.Self.DevID);
            e.sample("array_enclosure_status", {{"adapter", ad}, {"enclosure", enc}}, en.info.Status);
            for (const ElementEntry &el : en.elements)
                element(e, ad, enc, el);
        }
        for (const Exp_Info &x : a.expanders)
            e.sample("array_expander_info",
                     {{"adapter", ad}, {"expander", id(x.Link.Self.DevID)},
                      {"vendor", fieldText(x.VendorID, sizeof x.VendorID)},
                      {"product", fieldText(x.ProductID, sizeof x.ProductID)}},
                     1);
    }
    if (s.haveStore) {
        const Event_ChangeCounters &c = s.store.counters;
        const std::pair<const char *, KX_U32> kinds[] = {
            {"Adapter", c.Adapter_Change}, {"HD", c.HD_Change}, {"MDD", c.MDD_Change}, {"LD", c.LD_Change},
            {"BSL", c.BSL_Change}, {"Expander", c.Expander_Change}, {"PM", c.PM_Change}, {"SAS", c.SAS_Change},
            {"ENCL", c.ENCL_Change}, {"BAT", c.BAT_Change}, {"FLASH", c.FLASH_Change},
            {"Whatever", c.Whatever_Change}, {"CACHE", c.CACHE_Change}, {"MISC", c.MISC_Change},
            {"ARRAY", c.ARRAY_Change}, {"Accelerator", c.Accelerator_Change}};
        for (const auto &k : kinds)
            e.sample("array_event_changes_total", {{"kind", k.first}}, k.second);
        for (const auto &kv : s.store.eventsByClass)
            for (const auto &cls : kv.second)
                e.sample("array_events_total", {{"adapter", id(kv.first)}, {"class", id(cls.first)}},
                         static_cast<double>(cls.second));
        for (const auto &kv : s.store.newestSequence)
            e.sample("array_event_newest_sequence", {{"adapter", id(kv.first)}}, kv.second);
    }
    if (s.smartWanted && s.smart.ok) {
        e.sample("array_smart_snapshot_timestamp_seconds", {}, static_cast<double>(s.smart.pass.takenAt));
        e.sample("array_smart_age_seconds", {}, static_cast<double>(s.takenAt - s.smart.pass.takenAt));
        e.sample("array_smart_pass_duration_seconds", {}, s.smart.pass.seconds);
    }
    for (const PartResult &p : s.parts) {
        Labels l;
        if (p.adapter >= 0)
            l.push_back({"adapter", id(p.adapter)});
        l.push_back({"collector", p.name});
        e.sample("array_collector_success", l, p.ok ? 1 : 0);
        e.sample("array_collector_duration_seconds", l, p.seconds);
    }
    return e.text();
}

}  // namespace arraystat
