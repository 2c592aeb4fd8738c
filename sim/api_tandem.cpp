// The OS device names of VDs and disks, and reporting a conflicted VD to
// the OS (state and naming rules in fam_tandem.h).
//
// A conflicted VD (LD_Info.Status 11 "conflicted" or 12 "plugin
// conflicted") is one whose configuration on its disks clashes with what
// the adapter already runs, typically disks moved in from another
// adapter that claim an ID or blocks in use. The adapter keeps such a VD
// away from the OS until it is reported: KX_LD_Report ends the conflict,
// the VD takes the status its disks give it, and the OS names it.
#include "api.h"
#include "fam_tandem.h"

using namespace sim;

namespace {

template <class NameOf, class Exists>
uint8_t fillNames(Adapter &a, KX_U8 count, Tandem_Magic *records, NameOf nameOf, Exists exists, uint8_t missing)
{
    if (count == 0)
        return KX_ST_OK;
    if (!records)
        return KX_ST_INVALID_PARAM;
    // Check every ID first, so that a refused request changes no record.
    for (unsigned i = 0; i < count; ++i)
        if (!exists(records[i].ID))
            return missing;
    for (unsigned i = 0; i < count; ++i) {
        const std::string name = nameOf(a, records[i].ID);
        // The text fills the field; only a shorter one is NUL-terminated.
        std::memset(records[i].Magic, 0, sizeof records[i].Magic);
        std::memcpy(records[i].Magic, name.data(), std::min(name.size(), sizeof records[i].Magic));
    }
    return KX_ST_OK;
}

}  // namespace

SIM_EXPORT KX_U8 KX_Tandem_GetVDMagic(KX_U8 adapter, KX_U8 count, Tandem_Magic *records)
{
    SIM_GUARD(return onAdapter("KX_Tandem_GetVDMagic", adapter, [&](Session &, Adapter &a) -> uint8_t {
        return fillNames(
            a, count, records, vdOsName, [&](uint16_t id) { return a.findVD(id) != nullptr; }, KX_ST_BAD_VD);
    });)
}

SIM_EXPORT KX_U8 KX_Tandem_GetHDMagic(KX_U8 adapter, KX_U8 count, Tandem_Magic *records)
{
    SIM_GUARD(return onAdapter("KX_Tandem_GetHDMagic", adapter, [&](Session &, Adapter &a) -> uint8_t {
        return fillNames(
            a, count, records, pdOsName,
            [&](uint16_t id) {
                const PD *pd = a.findPD(id);
                return pd && pd->visible();
            },
            KX_ST_BAD_PD);
    });)
}

SIM_EXPORT KX_U8 KX_LD_Report(KX_U8 adapter, KX_U16 vdId)
{
    SIM_GUARD(return onAdapter("KX_LD_Report", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        LD_Info r;
        buildLDInfo(a, *vd, r);
        if (r.Status != 11 && r.Status != 12)
            return KX_ST_NOT_REPORTABLE;
        vd->status = -1;
        vd->ov.dropField(&kRecord_LD_Info, "Status");
        vd->ov.dropField(&kRecord_LD_Status, "Status");
        s.changed();
        return KX_ST_OK;
    });)
}

namespace {

// The entry table of Tandem VD `id`, made on first use; null with the
// status when the adapter or the VD has none.
TandemTable *tableOf(Adapter &a, KX_U16 id, uint8_t &status)
{
    status = KX_ST_OK;
    if (!(a.info.LogicalDriverMode & KX_LDM_TANDEM_ALL)) {
        status = KX_ST_NOT_SUPPORTED;
        return nullptr;
    }
    const VD *vd = a.findVD(id);
    if (!vd) {
        status = KX_ST_NO_VD;
        return nullptr;
    }
    if (!kxIsTandemRaid(vd->layout.raid)) {
        status = KX_ST_INVALID_REQUEST;
        return nullptr;
    }
    auto &tables = tandemData(a).tables;
    auto it = tables.find(id);
    if (it == tables.end())
        it = tables.emplace(id, TandemTable{kTandemTableCapacity, {}}).first;
    return &it->second;
}

bool overlaps(const TandemEntry &x, const TandemEntry &y)
{
    return x.length && y.length && x.start < y.start + y.length && y.start < x.start + x.length;
}

}  // namespace

SIM_EXPORT KX_U8 KX_Tandem_AddFSEntries(KX_U8 adapter, KX_U16 tandemId, Tandem_FS_Entry_Request *request, KX_U8 flags)
{
    (void)flags;  // no flag is defined; 0 is passed
    SIM_GUARD(return onAdapter("KX_Tandem_AddFSEntries", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!request || request->header.numRequested == 0)
            return KX_ST_INVALID_PARAM;
        uint8_t st;
        TandemTable *t = tableOf(a, tandemId, st);
        if (!t)
            return st;
        const unsigned n = request->header.numRequested;
        if (t->entries.size() + n > t->capacity)
            return KX_ST_NO_RESOURCE;
        // All entries are checked before any is taken, so a refused
        // request leaves the table as it was.
        const uint64_t sectors = a.vdSizeKiB(a.findVD(tandemId)->layout) * 2;
        std::vector<TandemEntry> added;
        for (unsigned i = 0; i < n; ++i) {
            const Tandem_FS_Entry &in = request->entry[i];
            TandemEntry e{kxU64Value(in.StartLBA), in.Length};
            if (e.start > sectors || e.length > sectors - e.start)
                return KX_ST_OUT_OF_RANGE;
            for (const TandemEntry &old : t->entries)
                if (overlaps(e, old))
                    return KX_ST_INVALID_PARAM;
            for (const TandemEntry &other : added)
                if (overlaps(e, other))
                    return KX_ST_INVALID_PARAM;
            added.push_back(e);
        }
        t->entries.insert(t->entries.end(), added.begin(), added.end());
        request->header.numReturned = static_cast<KX_U16>(n);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_Tandem_GetEntriesTableInfo(KX_U8 adapter, KX_U16 tandemId, Tandem_Table_Info *info)
{
    SIM_GUARD(return onAdapter("KX_Tandem_GetEntriesTableInfo", adapter, [&](Session &, Adapter &a) -> uint8_t {
        if (!info)
            return KX_ST_INVALID_PARAM;
        uint8_t st;
        const TandemTable *t = tableOf(a, tandemId, st);
        if (!t)
            return st;
        std::memset(info, 0, sizeof *info);
        info->TotalCount = t->capacity;
        info->RemainCount = t->capacity - static_cast<KX_U32>(t->entries.size());
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_Tandem_RemoveEntriesTable(KX_U8 adapter, KX_U16 tandemId)
{
    SIM_GUARD(return onAdapter("KX_Tandem_RemoveEntriesTable", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        uint8_t st;
        TandemTable *t = tableOf(a, tandemId, st);
        if (!t)
            return st;
        t->entries.clear();
        s.changed();
        return KX_ST_OK;
    });)
}
