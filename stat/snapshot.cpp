#include "snapshot.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>

#include "record_words.h"
#include "paging.h"
#include "status_text.h"
#include "qta_api.h"

namespace arraystat {
namespace {

// Every record of a paged list operation; the first failing call's status.
template <typename Request, typename Record>
KX_U8 readList(KX_U16 maxBufferKiB, const std::function<KX_U8(Request *)> &call,
               const std::function<void(const Record &)> &each)
{
    return client::walkList<Request, Record>(maxBufferKiB, 128, call, [&](const Record &r) {
        each(r);
        return true;
    });
}

void note(AdapterSnapshot &a, const char *operation, KX_U8 status, int object = -1)
{
    a.errors.push_back(CallError{operation, status, object});
}

using Clock = std::chrono::steady_clock;

// Runs one part of an adapter's collection, timed; it failed when it
// recorded an error.
void part(Snapshot &s, AdapterSnapshot &a, const char *name, const std::function<void()> &read)
{
    const size_t before = a.errors.size();
    const auto t0 = Clock::now();
    read();
    s.parts.push_back(PartResult{name, a.index, a.errors.size() == before,
                                 std::chrono::duration<double>(Clock::now() - t0).count()});
}

void readPds(AdapterSnapshot &a)
{
    const KX_U8 ad = static_cast<KX_U8>(a.index);
    bool extended = true;
    KX_U8 st = readList<HD_Info_Request, HD_Info>(
        a.info.MaxBufferSize,
        [&](HD_Info_Request *req) {
            KX_U8 rc = client::pdInfoPage(ad, req, extended);
            // No disk at all is an empty list, not a failure.
            return rc == KX_ST_PD_MISSING ? KX_U8(KX_ST_OK) : rc;
        },
        [&](const HD_Info &hd) {
            PdEntry e;
            e.info = hd;
            e.extended = extended;
            e.sas = infoPdKind(hd, extended).sas;
            std::memset(&e.raid, 0, sizeof e.raid);
            a.pds.push_back(e);
        });
    if (st != 0) {
        note(a, "KX_PD_GetHDInfo_Ext", st);
        return;
    }
    std::map<KX_U16, HD_RAID_Status> raid;
    st = readList<HD_RAID_Status_Request, HD_RAID_Status>(
        a.info.MaxBufferSize, [&](HD_RAID_Status_Request *req) { return KX_PD_GetHDRaidStatus(ad, req); },
        [&](const HD_RAID_Status &r) { raid[r.HDID] = r; });
    if (st != KX_ST_OK && st != KX_ST_PD_MISSING)
        note(a, "KX_PD_GetHDRaidStatus", st);
    for (PdEntry &e : a.pds) {
        auto it = raid.find(e.info.Link.Self.DevID);
        if (it != raid.end()) {
            e.raid = it->second;
            e.haveRaidStatus = true;
        }
    }
}

// The SMART threshold flag of every disk: one list call, cheap enough for
// every snapshot (the attributes are the SMART pass's).
void readSmartStatus(AdapterSnapshot &a)
{
    const KX_U8 ad = static_cast<KX_U8>(a.index);
    std::map<KX_U16, bool> exceeded;
    KX_U8 st = readList<HD_SMART_Status_Request, HD_SMART_Status>(
        a.info.MaxBufferSize, [&](HD_SMART_Status_Request *req) { return KX_PD_GetSmartStatus(ad, req); },
        [&](const HD_SMART_Status &r) { exceeded[r.HDID] = r.SmartThresholdExceeded != 0; });
    if (st != KX_ST_OK && st != KX_ST_PD_MISSING) {
        note(a, "KX_PD_GetSmartStatus", st);
        return;
    }
    for (PdEntry &e : a.pds) {
        auto it = exceeded.find(e.info.Link.Self.DevID);
        if (it != exceeded.end()) {
            e.haveSmartStatus = true;
            e.smartThresholdExceeded = it->second;
        }
    }
}

// The write policy asked for and the one the VD runs with. A VD keeps
// write-back only with a battery that is fitted and neither low nor
// failed (a Tandem hybrid VD on an adapter that allows it excepted); the
// controller's own report (LD_Info) wins when it already says
// write-through.
WritePolicy writePolicy(const AdapterSnapshot &a, const VdEntry &v)
{
    WritePolicy p;
    auto word = [](unsigned bits) -> std::string {
        switch (bits & 0x0B) {
        case 0: return "write-back";
        case 1: return "write-through";
        case 8: return "auto";
        default: return "unknown";
        }
    };
    p.asked = v.haveConfig ? word(v.config.CacheMode) : "unknown";
    const std::string running = word(v.info.CacheMode);
    if (running == "write-through") {
        p.effective = running;
        if (p.asked != "write-through")
            p.reason = "controller";
        return p;
    }
    if (running == "unknown" || !a.batteryRead) {
        p.effective = "unknown";
        return p;
    }
    const bool hybridKeeps = v.info.RaidMode == KX_RAID_TANDEM_HYBRID && a.haveInfo &&
                             (a.info.AdvancedFeatures & KX_ADV_HYBRID_WRITE_BACK);
    const bool batteryUsable = a.haveBattery && !batteryLow(a.battery) && !batteryFailed(a.battery);
    if (batteryUsable || hybridKeeps) {
        p.effective = "write-back";
    } else {
        p.effective = "write-through";
        p.reason = "battery";
    }
    return p;
}

void readVds(AdapterSnapshot &a)
{
    const KX_U8 ad = static_cast<KX_U8>(a.index);
    KX_U8 st = readList<LD_Info_Request, LD_Info>(
        a.info.MaxBufferSize, [&](LD_Info_Request *req) { return KX_LD_GetInfo(ad, req); },
        [&](const LD_Info &ld) {
            VdEntry e;
            e.info = ld;
            std::memset(&e.status, 0, sizeof e.status);
            std::memset(&e.config, 0, sizeof e.config);
            a.vds.push_back(e);
        });
    if (st != KX_ST_OK && st != KX_ST_PD_MISSING) {
        note(a, "KX_LD_GetInfo", st);
        return;
    }
    for (VdEntry &e : a.vds) {
        // A listed VD whose status does not come back was not read.
        st = client::queryOne<LD_Status_Request>(KX_LD_GetStatus, ad, e.info.ID, e.status, KX_ST_BAD_VD);
        if (st != KX_ST_OK)
            note(a, "KX_LD_GetStatus", st, e.info.ID);
        else
            e.haveStatus = true;
    }
    if (a.vds.empty())
        return;
    std::map<KX_U16, LD_Config> configs;
    st = readList<LD_Config_Request, LD_Config>(
        a.info.MaxBufferSize, [&](LD_Config_Request *req) { return KX_LD_GetConfig(ad, req); },
        [&](const LD_Config &c) { configs[c.LDID] = c; });
    if (st != KX_ST_OK && st != KX_ST_PD_MISSING)
        note(a, "KX_LD_GetConfig", st);
    for (VdEntry &e : a.vds) {
        auto it = configs.find(e.info.ID);
        if (it != configs.end()) {
            e.config = it->second;
            e.haveConfig = true;
        }
        e.policy = writePolicy(a, e);
    }
}

// The elements of one enclosure with their thresholds. 255 records is all
// an 8-bit count can report.
void readElements(AdapterSnapshot &a, EnclosureEntry &enc)
{
    const KX_U8 ad = static_cast<KX_U8>(a.index);
    const KX_U16 id = enc.info.Link.Self.DevID;
    std::vector<EncElementType_Info> infos(255);
    KX_U8 count = 255;
    KX_U8 st = KX_ENC_GetElementInfo(ad, id, infos.data(), &count);
    if (st != KX_ST_OK) {
        note(a, "KX_ENC_GetElementInfo", st, id);
        return;
    }
    enc.haveElements = true;
    for (unsigned i = 0; i < count && i < infos.size(); ++i) {
        ElementEntry e;
        e.info = infos[i];
        std::memset(&e.config, 0, sizeof e.config);
        enc.elements.push_back(e);
    }
    std::vector<EncElement_Config> configs(255);
    count = 255;
    st = KX_ENC_GetElementConfig(ad, id, configs.data(), &count);
    if (st != KX_ST_OK) {
        note(a, "KX_ENC_GetElementConfig", st, id);
        return;
    }
    for (unsigned i = 0; i < count && i < configs.size(); ++i)
        for (ElementEntry &e : enc.elements)
            if (!e.haveConfig && e.info.type == configs[i].type && e.info.elementID == configs[i].elementID) {
                e.config = configs[i];
                e.haveConfig = true;
                break;
            }
}

void readAdapter(Snapshot &s, AdapterSnapshot &a, const Scope &scope)
{
    const KX_U8 ad = static_cast<KX_U8>(a.index);
    part(s, a, "adapter", [&] {
        KX_U8 n = 0;
        std::memset(&a.info, 0, sizeof a.info);
        KX_U8 st = KX_Adapter_GetInfo(ad, &n, &a.info);
        if (st != 0) {
            // Without MaxBufferSize the lists still work with default pages.
            std::memset(&a.info, 0, sizeof a.info);
            note(a, "KX_Adapter_GetInfo", st);
        } else {
            a.haveInfo = true;
        }
    });
    // The VDs' write policy in effect depends on the battery.
    if (scope.wants("bbu") || scope.wants("vd"))
        part(s, a, "battery", [&] {
            std::memset(&a.battery, 0, sizeof a.battery);
            KX_U8 st = KX_BBU_GetInfo(ad, &a.battery);
            if (st == 0) {
                a.batteryRead = true;
                a.haveBattery = a.battery.status != 0;
            } else {
                note(a, "KX_BBU_GetInfo", st);
            }
        });
    if (scope.wants("pd") || scope.wants("spare")) {
        part(s, a, "pd", [&] { readPds(a); });
        if (scope.wants("pd"))
            part(s, a, "smart_status", [&] { readSmartStatus(a); });
    }
    if (scope.wants("array") && (!a.haveInfo || a.info.MaxDiskGroup != 0))
        part(s, a, "array", [&] {
            KX_U8 st = readList<DG_Info_Request, DG_Info>(
                a.info.MaxBufferSize, [&](DG_Info_Request *req) { return KX_DG_GetInfo(ad, req); },
                [&](const DG_Info &dg) { a.arrays.push_back(dg); });
            if (st != KX_ST_OK && st != KX_ST_PD_MISSING)
                note(a, "KX_DG_GetInfo", st);
        });
    if (scope.wants("vd"))
        part(s, a, "vd", [&] { readVds(a); });
    if (scope.wants("enc"))
        part(s, a, "enclosure", [&] {
            KX_U8 st = readList<Enclosure_Info_Request, Enclosure_Info>(
                a.info.MaxBufferSize,
                [&](Enclosure_Info_Request *req) { return KX_ENC_GetEnclosureInfo(ad, req); },
                [&](const Enclosure_Info &e) {
                    EnclosureEntry entry;
                    entry.info = e;
                    a.enclosures.push_back(entry);
                });
            if (st != KX_ST_OK && st != KX_ST_PD_MISSING)
                note(a, "KX_ENC_GetEnclosureInfo", st);
            for (EnclosureEntry &e : a.enclosures)
                readElements(a, e);
        });
    if (scope.wants("exp") && (!a.haveInfo || a.info.MaxExpander != 0))
        part(s, a, "expander", [&] {
            KX_U8 st = readList<Exp_Info_Request, Exp_Info>(
                a.info.MaxBufferSize, [&](Exp_Info_Request *req) { return KX_PD_GetExpanderInfo(ad, req); },
                [&](const Exp_Info &e) { a.expanders.push_back(e); });
            if (st != KX_ST_OK && st != KX_ST_PD_MISSING)
                note(a, "KX_PD_GetExpanderInfo", st);
        });
}

void readStore(Snapshot &s)
{
    std::memset(&s.store.counters, 0, sizeof s.store.counters);
    QTA_GetEventChangeStatus(&s.store.counters);
    // One read of the whole log: the store holds at most 50000 events, and
    // paging would walk the deleted ones again for every page.
    std::vector<ServiceEvent> events(50000);
    KX_U32 count = static_cast<KX_U32>(events.size());
    QTA_GetEvent(0, &count, events.data());
    if (count > events.size())
        count = static_cast<KX_U32>(events.size());
    for (KX_U32 i = 0; i < count; ++i) {
        const Event &e = events[i].kxevent;
        s.store.eventsByClass[e.AdapterID][e.Class]++;
        uint32_t &newest = s.store.newestSequence[e.AdapterID];
        if (e.SequenceNo > newest)
            newest = e.SequenceNo;
    }
    s.haveStore = true;
}

}  // namespace

Snapshot collect(const Scope &scope)
{
    Snapshot s;
    s.takenAt = static_cast<int64_t>(std::time(nullptr));
    const char *version = KX_API_Version();
    s.libraryVersion = version ? version : "";
    s.adapterCount = KX_Adapter_GetCount();
    for (int i = 0; i < s.adapterCount; ++i) {
        if (scope.adapter >= 0 && scope.adapter != i)
            continue;
        AdapterSnapshot a;
        a.index = i;
        readAdapter(s, a, scope);
        s.adapters.push_back(std::move(a));
    }
    if (scope.adapter >= s.adapterCount)
        s.errors.push_back(CallError{"KX_Adapter_GetCount", 16, scope.adapter});
    if (scope.wants("events")) {
        // The event store reports nothing: reading it cannot fail.
        const auto t0 = Clock::now();
        readStore(s);
        s.parts.push_back(PartResult{"events", -1, true, std::chrono::duration<double>(Clock::now() - t0).count()});
    }
    return s;
}

void attachSmart(Snapshot &s, SmartLoad load, double seconds)
{
    s.smartWanted = true;
    s.smart = std::move(load);
    bool ok = s.smart.ok;
    if (ok) {
        for (const SmartDisk &d : s.smart.pass.disks)
            ok = ok && !d.haveError;
        ok = ok && s.smart.pass.errors.empty();
    }
    s.parts.push_back(PartResult{"smart", -1, ok, seconds});
    if (!s.smart.ok)
        return;
    for (AdapterSnapshot &a : s.adapters)
        for (PdEntry &p : a.pds) {
            const std::string serial = fieldText(p.info.SerialNo, sizeof p.info.SerialNo);
            for (const SmartDisk &d : s.smart.pass.disks)
                // Another serial number under the same ID is a disk put in
                // since the pass: its data is not this disk's.
                if (d.adapter == a.index && d.id == p.info.Link.Self.DevID && d.serial == serial)
                    p.smart = &d;
        }
}

std::string pdStateWord(const HD_RAID_Status &raid)
{
    const KX_U8 st = raid.Status;
    if (st & 0x08) return "offline";
    if (st & 0x04) return "global spare";
    if (st & 0x40) return "dedicated spare";
    if (st & 0x80) return "foreign disk";
    if (st & 0x02) return "assigned";
    if (st & 0x01) return "free";
    return "unknown";
}

std::string vdStatusWord(const LD_Info &ld) { return infoVdStatusWord(ld.Status); }
std::string arrayStatusWord(const DG_Info &dg) { return infoArrayStatus(dg.Status); }
std::string bgaTypeWord(unsigned bga) { return infoBgaTypeWord(bga); }

std::string bgaStateWord(unsigned state)
{
    if (state == 1)
        return "running";
    const char *w = infoBgaStateWord(state);
    return w ? w : "none";
}

bool activityPresent(const LD_Status &st)
{
    return st.Bga != 0 && st.BgaState >= 1 && st.BgaState <= 5;
}

std::string batteryStatusWord(const BBU_Info &bbu) { return infoBbuStatus(bbu); }
bool batteryLow(const BBU_Info &bbu) { return (bbu.status & 0x2) != 0; }
// Over- or under-temperature or voltage errors (the warnings are not).
bool batteryFailed(const BBU_Info &bbu) { return (bbu.status & (0x80 | 0x200 | 0x800 | 0x2000)) != 0; }

std::string elementTypeWord(unsigned type)
{
    switch (type) {
    case 1: return "device";
    case kEncTypePowerSupply: return "power_supply";
    case kEncTypeCooling: return "cooling";
    case kEncTypeTemperature: return "temperature_sensor";
    case 5: return "door_lock";
    case 6: return "audible_alarm";
    case 12: return "display";
    case kEncTypeVoltage: return "voltage_sensor";
    case 23: return "array_device";
    default: return "type_" + std::to_string(type);
    }
}

const char *elementStatusWord(unsigned status)
{
    static const char *const words[] = {"Unsupported", "OK", "Critical", "Non-Critical", "Un-Recoverable",
                                        "Not installed", "Unknown", "Not Available", "No Access Allowed"};
    return status < sizeof words / sizeof words[0] ? words[status] : "Reserved";
}

bool elementCelsius(KX_U8 byte, int &celsius)
{
    if (byte == 0)
        return false;
    celsius = static_cast<int>(byte) - 20;
    return true;
}

double elementVolts(KX_U16 raw)
{
    const double v = (raw & 0x7FFF) * 10 / 1000.0;
    return (raw & 0x8000) ? -v : v;
}

std::string fieldText(const KX_U8 *field, size_t size)
{
    // Controllers pad their text fields with blanks.
    std::string text = infoFieldText(field, size, true, true);
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

const char *errorText(int status) { return ErrorMessage(static_cast<KX_U8>(status)); }

}  // namespace arraystat
