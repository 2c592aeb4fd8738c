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
            return KX_ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.info.AlarmSupport)
            return KX_ST_NOT_SUPPORTED;
        a.queueEvent(EVC_MISC, 28, a.number, SEV_INFO);
        s.changed();
        return s.finish(KX_ST_OK);
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
            return KX_ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.hasBbu)
            return KX_ST_BAD_BBU;
        a.bbu.prev_status = a.bbu.status;
        a.bbu.status = status;
        s.changed();
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_BBU_SetThreshold(KX_U8 adapter, KX_U8 kind, KX_U16 lower, KX_U16 upper)
{
    SIM_GUARD({
        Session s("KX_BBU_SetThreshold", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.hasBbu)
            return KX_ST_BAD_BBU;
        if (lower > upper)
            return KX_ST_INVALID_PARAM;
        if (kind == 1) {
            if (upper > 255)
                return KX_ST_OUT_OF_RANGE;
            a.bbu.temp_lowerbound = static_cast<KX_U8>(lower);
            a.bbu.temp_upperbound = static_cast<KX_U8>(upper);
            a.queueEvent(EVC_BATTERY, 34, a.number, SEV_INFO);
        } else if (kind == 2) {
            a.bbu.volt_lowerbound = lower;
            a.bbu.volt_upperbound = upper;
            a.queueEvent(EVC_BATTERY, 33, a.number, SEV_INFO);
        } else {
            return KX_ST_INVALID_PARAM;
        }
        s.changed();
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_BBU_ChangePower(KX_U8 adapter, KX_U8 action)
{
    SIM_GUARD({
        Session s("KX_BBU_ChangePower", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.hasBbu)
            return KX_ST_BAD_BBU;
        // 0 relearn, 1 charge, 2 discharge, 3 stop; the battery's status
        // bits tell what it is doing.
        constexpr KX_U32 kCharging = 0x04, kFull = 0x08, kDischarging = 0x10, kRelearn = 0x20,
                         kStopAll = 0x8000;
        if (action > 3)
            return KX_ST_INVALID_PARAM;
        const KX_U32 before = a.bbu.status;
        KX_U32 st = before;
        uint16_t code = 0;
        if (action == 0) {
            st |= kRelearn;
            code = 6;
        } else if (action == 1) {
            st = (st & ~(kDischarging | kStopAll | kFull)) | kCharging;
            code = 17;
        } else if (action == 2) {
            st = (st & ~(kCharging | kStopAll | kFull)) | kDischarging;
            code = 16;
        } else {
            st = (st & ~(kCharging | kDischarging | kRelearn)) | kStopAll;
            code = (before & kDischarging) && !(before & kCharging) ? 31 : 30;
        }
        if (st == before)
            return s.finish(KX_ST_OK);
        a.bbu.prev_status = before;
        a.bbu.status = st;
        a.queueEvent(EVC_BATTERY, code, a.number, SEV_INFO);
        s.changed();
        return s.finish(KX_ST_OK);
    })
}
