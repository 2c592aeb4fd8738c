#include "snapshot.h"

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

void readVds(AdapterSnapshot &a)
{
    const KX_U8 ad = static_cast<KX_U8>(a.index);
    KX_U8 st = readList<LD_Info_Request, LD_Info>(
        a.info.MaxBufferSize, [&](LD_Info_Request *req) { return KX_LD_GetInfo(ad, req); },
        [&](const LD_Info &ld) {
            VdEntry e;
            e.info = ld;
            std::memset(&e.status, 0, sizeof e.status);
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
}

void readAdapter(AdapterSnapshot &a, const Scope &scope)
{
    const KX_U8 ad = static_cast<KX_U8>(a.index);
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
    if (scope.wants("bbu")) {
        std::memset(&a.battery, 0, sizeof a.battery);
        st = KX_BBU_GetInfo(ad, &a.battery);
        if (st == 0)
            a.haveBattery = a.battery.status != 0;
        else
            note(a, "KX_BBU_GetInfo", st);
    }
    if (scope.wants("pd") || scope.wants("spare"))
        readPds(a);
    if (scope.wants("array") && (!a.haveInfo || a.info.MaxDiskGroup != 0)) {
        st = readList<DG_Info_Request, DG_Info>(
            a.info.MaxBufferSize, [&](DG_Info_Request *req) { return KX_DG_GetInfo(ad, req); },
            [&](const DG_Info &dg) { a.arrays.push_back(dg); });
        if (st != KX_ST_OK && st != KX_ST_PD_MISSING)
            note(a, "KX_DG_GetInfo", st);
    }
    if (scope.wants("vd"))
        readVds(a);
    if (scope.wants("enc")) {
        st = readList<Enclosure_Info_Request, Enclosure_Info>(
            a.info.MaxBufferSize, [&](Enclosure_Info_Request *req) { return KX_ENC_GetEnclosureInfo(ad, req); },
            [&](const Enclosure_Info &e) { a.enclosures.push_back(e); });
        if (st != KX_ST_OK && st != KX_ST_PD_MISSING)
            note(a, "KX_ENC_GetEnclosureInfo", st);
    }
    if (scope.wants("exp") && (!a.haveInfo || a.info.MaxExpander != 0)) {
        st = readList<Exp_Info_Request, Exp_Info>(
            a.info.MaxBufferSize, [&](Exp_Info_Request *req) { return KX_PD_GetExpanderInfo(ad, req); },
            [&](const Exp_Info &e) { a.expanders.push_back(e); });
        if (st != KX_ST_OK && st != KX_ST_PD_MISSING)
            note(a, "KX_PD_GetExpanderInfo", st);
    }
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
        readAdapter(a, scope);
        s.adapters.push_back(std::move(a));
    }
    if (scope.adapter >= s.adapterCount)
        s.errors.push_back(CallError{"KX_Adapter_GetCount", 16, scope.adapter});
    if (scope.wants("events"))
        readStore(s);
    return s;
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

std::string fieldText(const KX_U8 *field, size_t size)
{
    // Controllers pad their text fields with blanks.
    std::string text = infoFieldText(field, size, true, true);
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

const char *errorText(int status) { return ErrorMessage(static_cast<KX_U8>(status)); }

}  // namespace arraystat
