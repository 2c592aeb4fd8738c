// Disk and enclosure diagnostics: SMART attributes, the reassigned-sector
// table, enclosure element status and thresholds, the alarm's mute button
// and the battery's settings.
//
// The values are modelled from the objects (a disk's ID and its
// smartExceeded flag, an enclosure's ID), so every process sees the same
// answers without the state file carrying them.
#include <algorithm>

#include "api.h"

using namespace sim;

namespace {

// Entries of the reassigned-sector table of a disk: a disk over its SMART
// threshold has reassigned sectors, a healthy one none.
std::vector<RCT_Entry> rctOf(const PD &pd)
{
    std::vector<RCT_Entry> out;
    if (!pd.smartExceeded)
        return out;
    for (unsigned i = 0; i < 3; ++i) {
        RCT_Entry e;
        std::memset(&e, 0, sizeof e);
        e.lba = kxU64Make(0x100000ull * (i + 1) + pd.id);
        e.sec = 8u << i;
        e.flag = static_cast<KX_U8>(i == 2 ? 0 : 1);
        out.push_back(e);
    }
    return out;
}

struct Attribute {
    uint8_t id;
    const char *name;
    uint8_t threshold;
};
const Attribute kAttributes[] = {
    {1, "Raw_Read_Error_Rate", 51},
    {5, "Reallocated_Sector_Ct", 36},
    {9, "Power_On_Hours", 0},
    {12, "Power_Cycle_Count", 0},
    {194, "Temperature_Celsius", 0},
    {197, "Current_Pending_Sector", 0},
};

SMART_INFO smartOf(const PD &pd, const Attribute &at)
{
    SMART_INFO r;
    std::memset(&r, 0, sizeof r);
    r.Id = at.id;
    std::memcpy(r.AttributeName, at.name, std::min(std::strlen(at.name), sizeof r.AttributeName));
    r.StatusFlags1 = 0x0F;
    r.StatusFlags2 = 0x00;
    r.CurrentValue = 100;
    r.WorstValue = 100;
    r.ThresholdValue = at.threshold;
    uint64_t raw = 0;
    switch (at.id) {
    case 5:
        raw = rctOf(pd).size();
        if (pd.smartExceeded)
            r.CurrentValue = r.WorstValue = 20;  // below its threshold
        break;
    case 9: raw = 70000ull + pd.id * 1000ull; break;  // beyond 16 bits on purpose
    case 12: raw = 40 + pd.id; break;
    case 194: raw = 30 + pd.id % 10; break;
    default: break;
    }
    for (int i = 0; i < 6; ++i)
        r.RawValue[i] = static_cast<KX_U8>(raw >> (8 * i));
    return r;
}

// The elements every modelled enclosure has, with their status bytes.
struct Element {
    uint8_t type, id;
    uint8_t b4, b5, b6;  // type-specific bytes of the status record
};
const Element kElements[] = {
    {2, 0, 0x00, 0, 0},        // power supply, fine
    {2, 1, 0x10, 0, 0},        // power supply, temperature warning
    {3, 0, 0x58, 0x0B, 3},     // fan at 2904 rpm, speed code 3
    {3, 1, 0x00, 0x00, 0},     // fan stopped
    {4, 0, 38, 0x00, 0},       // temperature sensor, 38 C
    {4, 1, 61, 0x02, 0},       // temperature sensor, over-temperature warning
    {5, 0, 1, 0, 0},           // door lock, unlocked
    {6, 0, 0x01, 0, 0},        // alarm, muted
    {12, 0, 'O', 'K', 1},      // display
    {18, 0, 0xF4, 0x01, 0x01}, // voltage sensor, 500 (x10 mV), over warning
};

bool findEnclosure(const Adapter &a, uint16_t id)
{
    return a.enclosures.count(id) != 0;
}

template <class Fill>
uint8_t listElements(Adapter &a, KX_U16 encId, KX_U8 *count, Fill fill)
{
    const unsigned room = *count;
    unsigned n = 0;
    for (const auto &e : a.enclosures) {
        if (encId != 0xFF && e.first != encId)
            continue;
        for (const Element &el : kElements) {
            if (n == room)
                break;
            fill(e.first, el, n++);
        }
    }
    *count = static_cast<KX_U8>(n);
    return ST_OK;
}

}  // namespace

SIM_EXPORT KX_U8 KX_PD_GET_SMART_INFO(KX_U8 adapter, KX_U16 hdId, SMART_INFO_Request *request)
{
    SIM_GUARD({
        Session s("KX_PD_GET_SMART_INFO", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        if (!request)
            return ST_INVALID_PARAM;
        RequestHeader &h = request->header;
        h.numReturned = 0;
        h.nextStartingIndex = KX_END_OF_LIST;
        PD *pd = s.adapter().findPD(hdId);
        if (!pd || !pd->visible())
            return ST_BAD_PD;
        if (!pd->smartOn)
            return ST_NOT_SUPPORTED;
        SMART_INFO *out = listRecords<SMART_INFO>(request);
        const unsigned total = sizeof kAttributes / sizeof kAttributes[0];
        unsigned written = 0;
        for (unsigned i = h.startingIndexOrId; i < total; ++i) {
            if (written == h.numRequested) {
                h.nextStartingIndex = static_cast<KX_U16>(i);
                break;
            }
            SMART_INFO r = smartOf(*pd, kAttributes[i]);
            std::memcpy(&out[written++], &r, sizeof r);
        }
        h.numReturned = static_cast<KX_U16>(written);
        return s.finish(ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_PD_RCT_GetCount(KX_U8 adapter, KX_U16 hdId, KX_U32 *count)
{
    SIM_GUARD({
        Session s("KX_PD_RCT_GetCount", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        if (!count)
            return ST_INVALID_PARAM;
        PD *pd = s.adapter().findPD(hdId);
        if (!pd || !pd->visible())
            return ST_BAD_PD;
        *count = static_cast<KX_U32>(rctOf(*pd).size());
        return s.finish(ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_PD_GetRCT(KX_U8 adapter, KX_U16 hdId, KX_U32 *count, RCT_Entry *entries)
{
    SIM_GUARD({
        Session s("KX_PD_GetRCT", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        if (!count || (*count && !entries))
            return ST_INVALID_PARAM;
        PD *pd = s.adapter().findPD(hdId);
        if (!pd || !pd->visible())
            return ST_BAD_PD;
        std::vector<RCT_Entry> all = rctOf(*pd);
        KX_U32 n = 0;
        for (; n < all.size() && n < *count; ++n)
            std::memcpy(&entries[n], &all[n], sizeof all[n]);
        *count = n;
        return s.finish(ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_ENC_GetElementInfo(KX_U8 adapter, KX_U16 encId, EncElementType_Info *elements, KX_U8 *count)
{
    SIM_GUARD({
        Session s("KX_ENC_GetElementInfo", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        if (!count || (*count && !elements))
            return ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (encId != 0xFF && !findEnclosure(a, encId))
            return ST_BAD_ENCLOSURE;
        uint8_t st = listElements(a, encId, count, [&](uint16_t enc, const Element &el, unsigned i) {
            EncElementType_Info r;
            std::memset(&r, 0, sizeof r);
            r.enclosureID = enc;
            r.magicID = static_cast<KX_U16>((enc << 8) | (el.type << 4) | el.id);
            r.type = el.type;
            r.status = 1;  // OK
            r.elementID = el.id;
            r.element.raw[0] = el.b4;
            r.element.raw[1] = el.b5;
            r.element.raw[2] = el.b6;
            std::memcpy(&elements[i], &r, sizeof r);
        });
        return s.finish(st);
    })
}

SIM_EXPORT KX_U8 KX_ENC_GetElementConfig(KX_U8 adapter, KX_U16 encId, EncElement_Config *elements, KX_U8 *count)
{
    SIM_GUARD({
        Session s("KX_ENC_GetElementConfig", adapter);
        if (!s.ok())
            return s.status();
        if (adapter == 0xFF)
            return ST_INVALID_PARAM;
        if (!count || (*count && !elements))
            return ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (encId != 0xFF && !findEnclosure(a, encId))
            return ST_BAD_ENCLOSURE;
        uint8_t st = listElements(a, encId, count, [&](uint16_t enc, const Element &el, unsigned i) {
            EncElement_Config r;
            std::memset(&r, 0, sizeof r);
            r.enclosureID = enc;
            r.magicID = static_cast<KX_U16>((enc << 8) | (el.type << 4) | el.id);
            r.type = el.type;
            r.status = 1;
            r.elementID = el.id;
            if (el.type == 4) {  // temperature sensors have thresholds in C
                r.highCriticalThreshold = 70;
                r.highWarningThreshold = 60;
                r.lowWarningThreshold = 5;
                r.lowCriticalThreshold = 0;
            } else if (el.type == 18) {  // voltage sensors in percent of nominal
                r.highCriticalThreshold = 15;
                r.highWarningThreshold = 10;
                r.lowWarningThreshold = 10;
                r.lowCriticalThreshold = 15;
            }
            std::memcpy(&elements[i], &r, sizeof r);
        });
        return s.finish(st);
    })
}

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
        // 0 relearn, 1 charge, 2 discharge, 3 stop; the battery's status
        // bits tell what it is doing.
        constexpr KX_U32 kCharging = 0x04, kFull = 0x08, kDischarging = 0x10, kRelearn = 0x20,
                         kStopAll = 0x8000;
        if (action > 3)
            return ST_INVALID_PARAM;
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
            return s.finish(ST_OK);
        a.bbu.prev_status = before;
        a.bbu.status = st;
        a.queueEvent(EVC_BATTERY, code, a.number, SEV_INFO);
        s.changed();
        return s.finish(ST_OK);
    })
}
