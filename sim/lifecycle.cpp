// The life cycle of the model's objects: deleting VDs and arrays, giving
// up migration targets, and the clock that lets background activities
// progress and complete (with migrations applied when they finish).
#include "model.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "kx_record_fields.h"

namespace sim {

int64_t nowMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// ---- background activities ------------------------------------------------

// Record values a fixture gave for an activity described that activity;
// once the library changes it they would hide the change.
Bga startedBga(uint8_t type, int64_t nowMs)
{
    Bga b;
    b.type = type;
    b.state = BGAS_RUNNING;
    b.percent = 0;
    b.sinceMs = nowMs;
    return b;
}

bool arrayBusy(const Adapter &a, const Array &g)
{
    if (g.bga.active())
        return true;
    for (const auto &v : a.vds)
        if (v.second.array == g.id && v.second.bga.active())
            return true;
    return false;
}

void dropBgaOverlays(VD &vd)
{
    vd.ov.dropField(&kRecord_LD_Status, "Bga");
    vd.ov.dropField(&kRecord_LD_Status, "BgaState");
    vd.ov.dropField(&kRecord_LD_Status, "BgaPercentage");
    vd.ov.dropField(&kRecord_LD_Info, "BGAStatus");
}

void dropBgaOverlays(PD &pd)
{
    pd.ov.dropField(&kRecord_HD_BGA_Status, "Bga");
    pd.ov.dropField(&kRecord_HD_BGA_Status, "BgaStatus");
    pd.ov.dropField(&kRecord_HD_BGA_Status, "Percentage");
}

void dropBgaOverlays(Array &g)
{
    g.ov.dropField(&kRecord_DG_Info, "BgaType");
    g.ov.dropField(&kRecord_DG_Info, "BgaState");
}

void deleteVd(Adapter &a, uint16_t id)
{
    auto it = a.vds.find(id);
    if (it == a.vds.end())
        return;
    VD &vd = it->second;
    // The event carries the VD's name in its four parameters.
    KX_U32 params[4] = {0, 0, 0, 0};
    std::memcpy(params, vd.name.data(), std::min<size_t>(vd.name.size(), sizeof params));
    // A stopped activity is reported like one stopped by hand.
    if (vd.bga.active() && vd.bga.state != BGAS_ABORTED)
        if (uint16_t base = vdEventBase(vd.bga.type))
            a.queueEvent(EVC_VD, base + BGAE_ABORTED, id, SEV_INFO);
    a.freeBlocksOf(id);
    a.vds.erase(it);
    a.queueEvent(EVC_VD, 3, id, SEV_INFO, params[0], params[1], params[2], params[3]);
}

void deleteArray(Adapter &a, uint16_t id)
{
    for (auto &p : a.pds)
        if (p.second.spare == id) {
            p.second.spare = -1;
            p.second.ov.dropField(&kRecord_HD_RAID_Status, "Status");
            p.second.ov.dropField(&kRecord_HD_RAID_Status, "DGID");
        }
    a.arrays.erase(id);
    a.queueEvent(EVC_ARRAY, 1, id, SEV_INFO);
}

void dropMigrationTarget(Adapter &a, VD &vd)
{
    for (uint16_t b : vd.target.blocks) {
        if (std::find(vd.layout.blocks.begin(), vd.layout.blocks.end(), b) != vd.layout.blocks.end())
            continue;
        auto it = a.blocks.find(b);
        if (it != a.blocks.end() && it->second.vd == vd.id)
            it->second.vd = kNone16;
    }
    vd.hasTarget = false;
    vd.target = Layout();
    vd.targetOv = Overlay();
}

void dropMigrationTarget(Array &g)
{
    g.hasTarget = false;
    g.target = ArrayTarget();
}

uint16_t vdEventBase(uint8_t type)
{
    switch (type) {
    case BGA_SYNC: return 20;
    case BGA_SYNC_FIX: return 30;
    case BGA_FAST_INIT: return 40;
    case BGA_BACKGROUND_INIT: return 50;
    case BGA_FOREGROUND_INIT: return 60;
    case BGA_REBUILD: return 70;
    case BGA_MIGRATION: return 80;
    case BGA_COPYBACK: return 90;
    default: return 0;
    }
}

namespace {


// Fixture values of a VD's layout described the layout it had.
void dropLayoutOverlays(VD &vd)
{
    for (const char *f : {"RaidMode", "HDCount", "BlkCount", "BlockIDs", "Size", "NumParityDisk", "SubLDCount",
                          "StripeBlockSize"})
        vd.ov.dropField(&kRecord_LD_Info, f);
}

// An array migration completes: the array takes its new level and disks,
// and each of its VDs, keeping its size, is laid out anew over them in ID
// order (the migration was only started when they all fit).
void completeArrayMigration(Adapter &a, Array &g)
{
    std::vector<VD *> vds;
    for (auto &v : a.vds)
        if (v.second.array == g.id)
            vds.push_back(&v.second);
    std::vector<uint64_t> sizes;
    for (VD *vd : vds) {
        sizes.push_back(a.vdSizeKiB(vd->layout));
        a.freeBlocksOf(vd->id);
    }
    g.raid = g.target.raid;
    g.parity = g.target.parity;
    g.subVDs = g.target.subVDs;
    g.pds = g.target.pds;
    // The migrated array manages all its new members give, the size the
    // migration answered when it started.
    g.sizeKiB = 0;
    dropMigrationTarget(g);
    for (const char *f : {"RaidMode", "NumParityDisk", "SubVDCount", "PDCount", "PDIDs", "TotalManagedSpace",
                          "RemainingManagedSpace", "SmallestAvailablePDSize", "VDSlotCount", "VDSlotSize", "VDIDs"})
        g.ov.dropField(&kRecord_DG_Info, f);
    const unsigned data = dataDiskCount(g.raid, static_cast<unsigned>(g.pds.size()), g.parity, g.subVDs);
    for (size_t i = 0; i < vds.size(); ++i) {
        VD &vd = *vds[i];
        vd.layout.raid = g.raid;
        vd.layout.parity = g.parity;
        vd.layout.subVDs = g.subVDs;
        vd.layout.sizeKiB = sizes[i];
        vd.layout.blocks.clear();
        for (uint16_t pd : g.pds)
            vd.layout.blocks.push_back(a.allocateBlock(pd, (sizes[i] + data - 1) / data, vd.id));
        dropLayoutOverlays(vd);
    }
}

void completeVd(Adapter &a, VD &vd)
{
    uint8_t type = vd.bga.type;
    vd.bga = Bga();
    if (type == BGA_FAST_INIT || type == BGA_BACKGROUND_INIT || type == BGA_FOREGROUND_INIT)
        vd.initialized = true;
    if (type == BGA_MIGRATION && vd.hasTarget) {
        // The old members that the new layout does not reuse become free.
        for (uint16_t b : vd.layout.blocks)
            if (std::find(vd.target.blocks.begin(), vd.target.blocks.end(), b) == vd.target.blocks.end()) {
                auto it = a.blocks.find(b);
                if (it != a.blocks.end())
                    it->second.vd = kNone16;
            }
        vd.layout = vd.target;
        vd.target = Layout();
        vd.targetOv = Overlay();
        vd.hasTarget = false;
        dropLayoutOverlays(vd);
    }
    dropBgaOverlays(vd);
    uint16_t base = vdEventBase(type);
    if (base)
        a.queueEvent(EVC_VD, base + kEndCompleted, vd.id, SEV_INFO);
}

}  // namespace

bool advance(State &s, int64_t now)
{
    bool changed = false;
    for (Adapter &a : s.adapters) {
        for (auto &v : a.vds) {
            VD &vd = v.second;
            if (vd.bga.running() && a.bgaPercent(vd.bga, a.rateFor(vd.bga.type, false), now) >= 100.0) {
                completeVd(a, vd);
                changed = true;
            }
        }
        for (auto &p : a.pds) {
            PD &pd = p.second;
            if (pd.bga.running() && a.bgaPercent(pd.bga, a.rateFor(pd.bga.type, true), now) >= 100.0) {
                pd.bga = Bga();
                dropBgaOverlays(pd);
                a.queueEvent(EVC_PD, kPdMediaPatrolBase + kEndCompleted, pd.id, SEV_INFO);
                changed = true;
            }
        }
        for (auto &g : a.arrays) {
            Array &arr = g.second;
            if (arr.bga.running() && a.bgaPercent(arr.bga, a.rateFor(arr.bga.type, false), now) >= 100.0) {
                uint16_t base = vdEventBase(arr.bga.type);
                if (arr.bga.type == BGA_MIGRATION && arr.hasTarget)
                    completeArrayMigration(a, arr);
                arr.bga = Bga();
                dropBgaOverlays(arr);
                a.queueArrayEvent(arr.id, base + kEndCompleted, SEV_INFO);
                changed = true;
            }
        }
    }
    return changed;
}

}  // namespace sim
