// Library life cycle, adapters and battery.
#include "api.h"

using namespace sim;

namespace {

// Queues the adapter events of a settings change.
void configEvents(Adapter &a, const Adapter_Config_V2 &o, const Adapter_Config_V2 &n)
{
    auto flag = [&](KX_BOOLEAN before, KX_BOOLEAN after, uint16_t onCode) {
        if (!before != !after)
            a.queueEvent(EVC_ADAPTER, after ? onCode : static_cast<uint16_t>(onCode + 1), a.number, SEV_INFO);
    };
    flag(o.PollSMARTStatus, n.PollSMARTStatus, 0);
    flag(o.AlarmOn, n.AlarmOn, 2);
    flag(o.AutoRebuildOn, n.AutoRebuildOn, 4);
    if (o.MediaPatrolRate != n.MediaPatrolRate)
        a.queueEvent(EVC_ADAPTER, 6, a.number, SEV_INFO);
    flag(o.CopyBack, n.CopyBack, 7);
    // The other rates are told with their new value, in percent as the
    // event texts show it.
    auto rate = [&](KX_U8 before, KX_U8 after, uint16_t code) {
        if (before != after)
            a.queueEvent(EVC_MISC, code, a.number, SEV_INFO, ratePercent(after));
    };
    rate(o.BGARate, n.BGARate, 1);
    rate(o.SyncRate, n.SyncRate, 22);
    rate(o.InitRate, n.InitRate, 23);
    rate(o.RebuildRate, n.RebuildRate, 24);
    rate(o.MigrationRate, n.MigrationRate, 25);
    rate(o.CopybackRate, n.CopybackRate, 26);
}

bool validRates(const Adapter_Config_V2 &c)
{
    const KX_U8 rates[] = {c.BGARate, c.MediaPatrolRate, c.SyncRate, c.InitRate,
                           c.RebuildRate, c.MigrationRate, c.CopybackRate};
    for (KX_U8 r : rates)
        if (r > kFullRate)
            return false;
    return true;
}

}  // namespace

SIM_EXPORT KX_U8 KX_API_Initialize(void)
{
    SIM_GUARD({
        Session s("KX_API_Initialize", -1);
        return s.finish(s.status());
    })
}

SIM_EXPORT KX_U8 KX_API_Finalize(void)
{
    SIM_GUARD({
        Session s("KX_API_Finalize", -1);
        return s.finish(s.status());
    })
}

SIM_EXPORT const char *KX_API_Version(void)
{
    return "5.0.0-sim";
}

SIM_EXPORT KX_U8 KX_API_RescanAdapter(void)
{
    SIM_GUARD({
        Session s("KX_API_RescanAdapter", -1);
        if (!s.ok())
            return s.status();
        for (Adapter &a : s.state().adapters)
            ++a.rescanCount;
        s.changed();
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U16 KX_API_GetRescanCount(KX_BOOLEAN force)
{
    (void)force;
    try {
        Session s("KX_API_GetRescanCount", -1);
        if (s.status() != KX_ST_OK || s.state().adapters.empty())
            return 0;
        return s.state().adapters[0].rescanCount;
    } catch (...) {
        return 0;
    }
}

SIM_EXPORT KX_U8 KX_Adapter_GetCount(void)
{
    try {
        Session s("KX_Adapter_GetCount", -1);
        if (s.status() != KX_ST_OK)
            return 0;
        return static_cast<KX_U8>(s.state().adapters.size());
    } catch (...) {
        return 0;
    }
}

SIM_EXPORT KX_U8 KX_Adapter_GetInfo(KX_U8 adapter, KX_U8 *count, Adapter_Info *info)
{
    SIM_GUARD({
        Session s("KX_Adapter_GetInfo", adapter);
        if (!s.ok())
            return s.status();
        if (!count || !info)
            return KX_ST_INVALID_PARAM;
        if (adapter == 0xFF) {
            const auto &list = s.state().adapters;
            for (size_t i = 0; i < list.size(); ++i)
                info[i] = list[i].info;
            *count = static_cast<KX_U8>(list.size());
        } else {
            *info = s.adapter().info;
            *count = 1;
        }
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_Adapter_GetConfig(KX_U8 adapter, KX_U8 *count, Adapter_Config_V2 *config)
{
    SIM_GUARD({
        Session s("KX_Adapter_GetConfig", adapter);
        if (!s.ok())
            return s.status();
        if (!count || !config)
            return KX_ST_INVALID_PARAM;
        if (adapter == 0xFF) {
            const auto &list = s.state().adapters;
            for (size_t i = 0; i < list.size(); ++i)
                config[i] = list[i].config;
            *count = static_cast<KX_U8>(list.size());
        } else {
            *config = s.adapter().config;
            *count = 1;
        }
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_Adapter_SetConfig(KX_U8 adapter, const Adapter_Config_V2 *config)
{
    SIM_GUARD({
        Session s("KX_Adapter_SetConfig", adapter);
        if (!s.ok())
            return s.status();
        if (!config || adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        if (!validRates(*config))
            return KX_ST_OUT_OF_RANGE;
        Adapter &a = s.adapter();
        Adapter_Config_V2 next = *config;
        // An empty serial number or model leaves the adapter's own; a
        // caller that fills only the settings must not wipe them.
        if (next.SerialNo[0] == 0)
            std::memcpy(next.SerialNo, a.config.SerialNo, sizeof next.SerialNo);
        if (next.ModelNumber[0] == 0)
            std::memcpy(next.ModelNumber, a.config.ModelNumber, sizeof next.ModelNumber);
        if (std::memcmp(&next, &a.config, sizeof next) != 0) {
            configEvents(a, a.config, next);
            a.config = next;
            // The adapter has one serial number and one model: what the
            // configuration sets is what the adapter reports from then on.
            std::memcpy(a.info.SerialNo, next.SerialNo, sizeof a.info.SerialNo);
            std::memcpy(a.info.ModelNumber, next.ModelNumber, sizeof a.info.ModelNumber);
            s.changed();
        }
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_BBU_GetInfo(KX_U8 adapter, BBU_Info *info)
{
    SIM_GUARD({
        Session s("KX_BBU_GetInfo", adapter);
        if (!s.ok())
            return s.status();
        if (!info || adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        const Adapter &a = s.adapter();
        if (a.hasBbu)
            *info = a.bbu;
        else
            std::memset(info, 0, sizeof *info);  // status 0: no battery unit
        return s.finish(KX_ST_OK);
    })
}
