// The alarm's mute button and the battery's settings. (SMART and the
// enclosure elements are families of their own: api_smart.cpp,
// api_enclosure.cpp.)
#include "api.h"

using namespace sim;

SIM_EXPORT KX_U8 KX_AdapterMute(KX_U8 adapter)
{
    SIM_GUARD({
        Session s("KX_AdapterMute", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.info.AlarmSupport)
            return ST_NOT_SUPPORTED;
        a.queueEvent(EVC_MISC, 28, a.number, SEV_INFO);
        s.changed();
        return s.finish(ST_OK);
    })
}

// Battery settings. The power mode the GUI chose is kept in the first
// reserved byte of the battery record, so it travels with the state.
SIM_EXPORT KX_U8 KX_BBU_SetStatus(KX_U8 adapter, KX_U8 status)
{
    SIM_GUARD({
        Session s("KX_BBU_SetStatus", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.hasBbu)
            return ST_BAD_BBU;
        a.bbu.prev_status = a.bbu.status;
        a.bbu.status = status;
        s.changed();
        return s.finish(ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_BBU_SetThreshold(KX_U8 adapter, KX_U8 kind, KX_U16 lower, KX_U16 upper)
{
    SIM_GUARD({
        Session s("KX_BBU_SetThreshold", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.hasBbu)
            return ST_BAD_BBU;
        if (lower > upper)
            return ST_INVALID_PARAM;
        if (kind == 1) {
            if (upper > 255)
                return ST_RANGE;
            a.bbu.temp_lowerbound = static_cast<KX_U8>(lower);
            a.bbu.temp_upperbound = static_cast<KX_U8>(upper);
            a.queueEvent(EVC_BATTERY, 34, a.number, SEV_INFO);
        } else if (kind == 2) {
            a.bbu.volt_lowerbound = lower;
            a.bbu.volt_upperbound = upper;
            a.queueEvent(EVC_BATTERY, 33, a.number, SEV_INFO);
        } else {
            return ST_INVALID_PARAM;
        }
        s.changed();
        return s.finish(ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_BBU_ChangePower(KX_U8 adapter, KX_U8 action)
{
    SIM_GUARD({
        Session s("KX_BBU_ChangePower", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.hasBbu)
            return ST_BAD_BBU;
        // 0 normal, 1 stop charging, 2 stop discharging.
        if (action > 2)
            return ST_INVALID_PARAM;
        a.bbu.reserved2[0] = action;
        if (action == 1)
            a.queueEvent(EVC_BATTERY, 30, a.number, SEV_INFO);
        else if (action == 2)
            a.queueEvent(EVC_BATTERY, 31, a.number, SEV_INFO);
        s.changed();
        return s.finish(ST_OK);
    })
}
