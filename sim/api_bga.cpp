// Control of running background activities: restart, pause, resume, stop.
#include "api.h"

using namespace sim;

namespace {

enum Action : uint8_t { RESTART = 1, PAUSE = 2, RESUME = 3, STOP = 4, STOP_EVERY = 7 };

// Applies one control action to an activity. Returns the event offset of
// the change, or -1 with *status set when the action does not apply.
int control(Bga &b, uint8_t action, double percentNow, int64_t now, uint8_t *status)
{
    switch (action) {
    case RESTART:
        if (!b.active())
            break;
        b.state = BGAS_RUNNING;
        b.percent = 0;
        b.sinceMs = now;
        return BGAE_RESTARTED;
    case PAUSE:
        if (!b.running())
            break;
        b.percent = percentNow;
        b.state = BGAS_PAUSED;
        return BGAE_PAUSED;
    case RESUME:
        if (!b.active() || (b.state != BGAS_PAUSED && b.state != BGAS_AUTO_PAUSED))
            break;
        b.state = BGAS_RUNNING;
        b.sinceMs = now;
        return BGAE_RESUMED;
    case STOP:
    case STOP_EVERY:
        if (!b.active())
            break;
        b = Bga();
        return BGAE_ABORTED;
    default:
        *status = KX_ST_BAD_BGA_ACTION;
        return -1;
    }
    // Stopping everything of a VD that runs nothing is not an error: the
    // delete path always asks for it first.
    *status = action == STOP_EVERY ? KX_ST_OK : KX_ST_BAD_BGA_ACTION;
    return -1;
}

}  // namespace

SIM_EXPORT KX_U8 KX_LD_BGAControl(KX_U8 adapter, KX_U16 vdId, KX_U8 action)
{
    SIM_GUARD(return onAdapter("KX_LD_BGAControl", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        VD *vd = a.findVD(vdId);
        if (!vd)
            return KX_ST_NO_VD;
        uint8_t type = vd->bga.type;
        double p = a.bgaPercent(vd->bga, a.rateFor(type, false), s.now());
        uint8_t st = KX_ST_OK;
        int offset = control(vd->bga, action, p, s.now(), &st);
        if (offset < 0)
            return st;
        if (offset == BGAE_ABORTED && type == BGA_MIGRATION)
            dropMigrationTarget(a, *vd);
        dropBgaOverlays(*vd);
        if (uint16_t base = vdEventBase(type))
            a.queueEvent(EVC_VD, static_cast<uint16_t>(base + offset), vd->id, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_PD_BGAControl(KX_U8 adapter, KX_U16 hdId, KX_U8 action)
{
    SIM_GUARD(return onAdapter("KX_PD_BGAControl", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        PD *pd = a.findPD(hdId);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        if (action == STOP_EVERY)
            return KX_ST_BAD_BGA_ACTION;
        double p = a.bgaPercent(pd->bga, a.rateFor(pd->bga.type, true), s.now());
        uint8_t st = KX_ST_OK;
        int offset = control(pd->bga, action, p, s.now(), &st);
        if (offset < 0)
            return st;
        dropBgaOverlays(*pd);
        a.queueEvent(EVC_PD, static_cast<uint16_t>(kPdMediaPatrolBase + offset), pd->id, SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_DG_BGAControl(KX_U8 adapter, KX_U16 dgId, KX_U8 action)
{
    SIM_GUARD(return onAdapter("KX_DG_BGAControl", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        Array *g = a.findArray(dgId);
        if (!g)
            return KX_ST_BAD_ARRAY;
        if (action == STOP_EVERY)
            return KX_ST_BAD_BGA_ACTION;
        uint8_t type = g->bga.type;
        double p = a.bgaPercent(g->bga, a.rateFor(type, false), s.now());
        uint8_t st = KX_ST_OK;
        int offset = control(g->bga, action, p, s.now(), &st);
        if (offset < 0)
            return st;
        if (offset == BGAE_ABORTED && type == BGA_MIGRATION)
            dropMigrationTarget(*g);
        dropBgaOverlays(*g);
        if (uint16_t base = vdEventBase(type))
            a.queueArrayEvent(g->id, static_cast<uint16_t>(base + offset), SEV_INFO);
        s.changed();
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_LD_PauseAll(KX_U8 adapter)
{
    SIM_GUARD(return onAdapter("KX_LD_PauseAll", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        int64_t now = s.now();
        uint8_t ignored = KX_ST_OK;
        for (auto &v : a.vds) {
            VD &vd = v.second;
            uint8_t type = vd.bga.type;
            if (control(vd.bga, PAUSE, a.bgaPercent(vd.bga, a.rateFor(type, false), now), now, &ignored) >= 0) {
                dropBgaOverlays(vd);
                if (uint16_t base = vdEventBase(type))
                    a.queueEvent(EVC_VD, base + BGAE_PAUSED, vd.id, SEV_INFO);
                s.changed();
            }
        }
        for (auto &p : a.pds) {
            PD &pd = p.second;
            if (control(pd.bga, PAUSE, a.bgaPercent(pd.bga, a.rateFor(pd.bga.type, true), now), now, &ignored) >= 0) {
                dropBgaOverlays(pd);
                a.queueEvent(EVC_PD, kPdMediaPatrolBase + BGAE_PAUSED, pd.id, SEV_INFO);
                s.changed();
            }
        }
        for (auto &x : a.arrays) {
            Array &g = x.second;
            uint8_t type = g.bga.type;
            if (control(g.bga, PAUSE, a.bgaPercent(g.bga, a.rateFor(type, false), now), now, &ignored) >= 0) {
                dropBgaOverlays(g);
                if (uint16_t base = vdEventBase(type))
                    a.queueArrayEvent(g.id, base + BGAE_PAUSED, SEV_INFO);
                s.changed();
            }
        }
        return KX_ST_OK;
    });)
}
