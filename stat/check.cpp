#include "check.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "record_words.h"

namespace arraystat {
namespace {

struct Finding {
    CheckState state;
    std::string text;
};

// Worse first: CRITICAL, then UNKNOWN (nothing known is worse than a known
// warning), then WARNING, then OK, as Nagios and Icinga rank them.
int rank(CheckState s)
{
    switch (s) {
    case CHECK_CRITICAL: return 3;
    case CHECK_UNKNOWN: return 2;
    case CHECK_WARNING: return 1;
    default: return 0;
    }
}

const char *stateWord(CheckState s)
{
    switch (s) {
    case CHECK_OK: return "OK";
    case CHECK_WARNING: return "WARNING";
    case CHECK_CRITICAL: return "CRITICAL";
    default: return "UNKNOWN";
    }
}

std::string num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string plural(size_t n, const char *one, const char *many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

class Checker {
public:
    Checker(const Snapshot &s, const CheckOptions &o) : m_s(s), m_o(o) {}

    CheckResult run()
    {
        for (const CallError &e : m_s.errors)
            callFailed(e, -1);
        if (m_s.adapterCount == 0 && m_s.errors.empty())
            add(CHECK_UNKNOWN, "no adapter found");
        for (const AdapterSnapshot &a : m_s.adapters)
            adapter(a);
        smartFreshness();
        return result();
    }

private:
    void add(CheckState st, const std::string &text) { m_findings.push_back(Finding{st, text}); }

    void perf(const std::string &label, const std::string &value)
    {
        m_perf.push_back("'" + label + "'=" + value);
    }

    // Objects of adapter 0 go by their plain names; those of other adapters
    // carry the adapter, so that names stay the same as adapters come and go.
    std::string who(const AdapterSnapshot &a, const std::string &what) const
    {
        return a.index == 0 ? what : "adapter " + std::to_string(a.index) + " " + what;
    }
    std::string label(const AdapterSnapshot &a, const std::string &what) const
    {
        return a.index == 0 ? what : "a" + std::to_string(a.index) + "_" + what;
    }

    void callFailed(const CallError &e, int adapter)
    {
        std::string t = e.operation + " failed";
        if (adapter >= 0)
            t += " on adapter " + std::to_string(adapter);
        if (e.object >= 0)
            t += " for " + std::to_string(e.object);
        t += " (error " + std::to_string(e.status) + ": " + errorText(e.status) + ")";
        add(CHECK_UNKNOWN, t);
    }

    void adapter(const AdapterSnapshot &a)
    {
        for (const CallError &e : a.errors)
            callFailed(e, a.index);
        m_disks += a.pds.size();
        m_vds += a.vds.size();
        m_arrays += a.arrays.size();
        battery(a);
        for (const PdEntry &p : a.pds)
            disk(a, p);
        for (const DG_Info &dg : a.arrays) {
            const std::string name = who(a, "array " + std::to_string(dg.DGID));
            if (dg.Status == 1)
                add(CHECK_CRITICAL, name + " degraded (a disk is missing)");
            else if (dg.Status >= 2)
                add(CHECK_CRITICAL, name + " offline");
        }
        for (const VdEntry &v : a.vds)
            vd(a, v);
        for (const EnclosureEntry &e : a.enclosures)
            for (const ElementEntry &el : e.elements)
                element(a, e, el);
    }

    void battery(const AdapterSnapshot &a)
    {
        if (!a.haveBattery)
            return;
        const BBU_Info &b = a.battery;
        if (batteryFailed(b))
            add(CHECK_CRITICAL, who(a, "battery: " + batteryStatusWord(b)));
        else if (batteryLow(b))
            add(CHECK_WARNING, who(a, "battery low (" + std::to_string(b.percentage) + "%)"));
        perf(label(a, "bbu_charge"), std::to_string(b.percentage) + "%;;;0;100");
        if (b.featureSupport & 0x1)
            perf(label(a, "bbu_temp"), num(b.temperature / 100.0));
    }

    void disk(const AdapterSnapshot &a, const PdEntry &p)
    {
        const unsigned id = p.info.Link.Self.DevID;
        const std::string name = who(a, "disk " + std::to_string(id));
        const std::string pl = label(a, "pd" + std::to_string(id));
        if (p.haveRaidStatus && (p.raid.Status & KX_PD_OFFLINE))
            add(CHECK_CRITICAL, name + " offline");
        if (p.smartThresholdExceeded)
            add(CHECK_WARNING, name + " predictive failure (SMART threshold exceeded)");
        if (!p.smart)
            return;
        const SmartDisk &d = *p.smart;
        if (d.haveError)
            add(CHECK_WARNING, name + " did not answer the SMART read (error " + std::to_string(d.error.status) +
                                   ": " + errorText(d.error.status) + ")");
        for (const SmartAttribute &at : d.attributes)
            if (at.failed())
                add(CHECK_WARNING, name + " SMART attribute " + std::to_string(at.id) + " " + at.name + " failed");
        for (const KnownAttribute &k : knownAttributes()) {
            const SmartAttribute *at = d.find(k.id);
            if (!at)
                continue;
            const double v = knownValue(k, at->raw);
            if (k.id == 194) {
                if (m_o.critical.alerts(v))
                    add(CHECK_CRITICAL, name + " at " + num(v) + " C");
                else if (m_o.warning.alerts(v))
                    add(CHECK_WARNING, name + " at " + num(v) + " C");
                perf(pl + "_temp", num(v) + ";" + m_o.warning.text + ";" + m_o.critical.text);
            } else if (k.id == 5) {
                perf(pl + "_reallocated", num(v) + "c");
            } else if (k.id == 197) {
                perf(pl + "_pending", num(v));
            }
        }
    }

    void vd(const AdapterSnapshot &a, const VdEntry &v)
    {
        const std::string name = who(a, "VD " + std::to_string(v.info.ID));
        switch (v.info.Status) {
        case 0: case 14: case 15: break;
        case 1: case 4: add(CHECK_CRITICAL, name + " " + vdStatusWord(v.info)); break;
        default: add(CHECK_WARNING, name + " " + vdStatusWord(v.info)); break;
        }
        if (v.policy.fallback())
            add(CHECK_WARNING, name + " writes through instead of write-back (" +
                                   (v.policy.reason == "battery" ? "battery" : "controller") + ")");
        if (v.haveStatus && activityPresent(v.status)) {
            std::string act = name + " " + bgaTypeWord(v.status.Bga) + " " + std::to_string(v.status.BgaPercentage) + "%";
            if (v.status.BgaState != KX_BGA_RUNNING)
                act += " (" + bgaStateWord(v.status.BgaState) + ")";
            m_activities.push_back(act);
            perf(label(a, "vd" + std::to_string(v.info.ID) + "_progress"),
                 std::to_string(v.status.BgaPercentage) + "%;;;0;100");
        }
    }

    void element(const AdapterSnapshot &a, const EnclosureEntry &e, const ElementEntry &el)
    {
        const EncElementType_Info &i = el.info;
        std::string type = elementTypeWord(i.type);
        for (char &c : type)
            if (c == '_')
                c = ' ';
        if (i.type == kEncTypeCooling)
            type = "fan";
        const std::string encName = "enclosure " + std::to_string(e.info.Link.Self.DevID);
        const std::string name = who(a, encName + " " + type + " " + std::to_string(i.elementID));
        if (i.status == 2 || i.status == 4)
            add(CHECK_CRITICAL, name + " " + elementStatusWord(i.status));
        else if (i.status == 3)
            add(CHECK_WARNING, name + " " + elementStatusWord(i.status));
        else if (i.status >= 5 && (i.type == kEncTypeCooling || i.type == kEncTypePowerSupply))
            add(CHECK_WARNING, name + " " + elementStatusWord(i.status));
        int c = 0;
        if (i.type != kEncTypeTemperature || !elementCelsius(i.element.temperaturesensor.temperature, c))
            return;
        int hc = 0, hw = 0, lc = 0, lw = 0;
        const bool hasHc = el.haveConfig && elementCelsius(el.config.highCriticalThreshold, hc);
        const bool hasHw = el.haveConfig && elementCelsius(el.config.highWarningThreshold, hw);
        const bool hasLc = el.haveConfig && elementCelsius(el.config.lowCriticalThreshold, lc);
        const bool hasLw = el.haveConfig && elementCelsius(el.config.lowWarningThreshold, lw);
        const std::string reading = name + " at " + std::to_string(c) + " C";
        if ((hasHc && c > hc) || (hasLc && c < lc))
            add(CHECK_CRITICAL, reading);
        else if ((hasHw && c > hw) || (hasLw && c < lw))
            add(CHECK_WARNING, reading);
        perf(label(a, "enc" + std::to_string(e.info.Link.Self.DevID) + "_temp" + std::to_string(i.elementID)),
             std::to_string(c) + ";" + (hasHw ? std::to_string(hw) : "") + ";" + (hasHc ? std::to_string(hc) : ""));
    }

    void smartFreshness()
    {
        if (!m_s.smartWanted)
            return;
        if (!m_s.smart.ok) {
            add(CHECK_WARNING, "no SMART data: " + m_s.smart.problem);
            return;
        }
        const double age = static_cast<double>(m_s.takenAt - m_s.smart.pass.takenAt);
        if (age > m_o.smartMaxAge)
            add(CHECK_WARNING, "SMART data is " + std::to_string(static_cast<long long>(age / 60)) + " minutes old");
        for (const auto &e : m_s.smart.pass.errors)
            add(CHECK_WARNING, "SMART pass: " + e.second.operation + " failed on adapter " + std::to_string(e.first) +
                                   " (error " + std::to_string(e.second.status) + ": " + errorText(e.second.status) + ")");
        perf("smart_age", num(age) + "s");
    }

    CheckResult result()
    {
        CheckResult r;
        std::vector<Finding> sorted = m_findings;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const Finding &x, const Finding &y) { return rank(x.state) > rank(y.state); });
        r.state = sorted.empty() ? CHECK_OK : sorted.front().state;
        std::string text;
        // The status line names the worst findings; the long text all of them.
        const size_t shown = 4;
        if (sorted.empty()) {
            text = plural(m_s.adapters.size(), "adapter", "adapters") + ", " + plural(m_disks, "disk", "disks") + ", " +
                   plural(m_vds, "VD", "VDs");
            if (m_arrays)
                text += ", " + plural(m_arrays, "array", "arrays");
            text += " fine";
        } else {
            for (size_t i = 0; i < sorted.size() && i < shown; ++i)
                text += (i ? ", " : "") + sorted[i].text;
            if (sorted.size() > shown)
                text += ", and " + std::to_string(sorted.size() - shown) + " more";
        }
        for (const std::string &act : m_activities)
            text += "; " + act;
        r.output = std::string("ARRAY ") + stateWord(r.state) + " - " + text;
        if (!m_perf.empty()) {
            r.output += " |";
            for (const std::string &p : m_perf)
                r.output += " " + p;
        }
        r.output += "\n";
        if (sorted.size() > shown)
            for (const Finding &f : sorted)
                r.output += std::string(stateWord(f.state)) + ": " + f.text + "\n";
        return r;
    }

    const Snapshot &m_s;
    const CheckOptions &m_o;
    std::vector<Finding> m_findings;
    std::vector<std::string> m_perf;
    std::vector<std::string> m_activities;
    size_t m_disks = 0, m_vds = 0, m_arrays = 0;
};

bool parseNumber(const std::string &t, double &out)
{
    if (t.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    out = std::strtod(t.c_str(), &end);
    return *end == 0 && errno == 0 && std::isfinite(out);
}

}  // namespace

bool Range::alerts(double v) const
{
    if (!set)
        return false;
    const bool within = (lowInf || v >= low) && (highInf || v <= high);
    return inside ? within : !within;
}

bool parseRange(const std::string &text, Range &out)
{
    Range r;
    r.set = true;
    r.text = text;
    std::string t = text;
    if (!t.empty() && t[0] == '@') {
        r.inside = true;
        t.erase(0, 1);
    }
    const size_t colon = t.find(':');
    if (colon == std::string::npos) {
        // "N": 0 .. N
        r.low = 0;
        r.highInf = false;
        if (!parseNumber(t, r.high))
            return false;
    } else {
        const std::string lo = t.substr(0, colon), hi = t.substr(colon + 1);
        if (lo == "~")
            r.lowInf = true;
        else if (lo.empty())
            r.low = 0;
        else if (!parseNumber(lo, r.low))
            return false;
        if (!hi.empty()) {
            r.highInf = false;
            if (!parseNumber(hi, r.high))
                return false;
        }
        if (!r.lowInf && !r.highInf && r.low > r.high)
            return false;
    }
    out = r;
    return true;
}

CheckResult evaluate(const Snapshot &s, const CheckOptions &opts)
{
    return Checker(s, opts).run();
}

}  // namespace arraystat
