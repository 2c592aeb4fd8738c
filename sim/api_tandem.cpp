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
        return ST_OK;
    if (!records)
        return ST_INVALID_PARAM;
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
    return ST_OK;
}

}  // namespace

SIM_EXPORT KX_U8 KX_Tandem_GetVDMagic(KX_U8 adapter, KX_U8 count, Tandem_Magic *records)
{
    SIM_GUARD(return onAdapter("KX_Tandem_GetVDMagic", adapter, [&](Session &, Adapter &a) -> uint8_t {
        return fillNames(
            a, count, records, vdOsName, [&](uint16_t id) { return a.findVD(id) != nullptr; }, ST_BAD_VD);
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
            ST_BAD_PD);
    });)
}

SIM_EXPORT KX_U8 KX_LD_Report(KX_U8 adapter, KX_U16 vdId)
{
    SIM_GUARD(return onAdapter("KX_LD_Report", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        VD *vd = a.findVD(vdId);
        if (!vd)
            return ST_NO_VD;
        LD_Info r;
        buildLDInfo(a, *vd, r);
        if (r.Status != 11 && r.Status != 12)
            return ST_NOT_REPORTABLE;
        vd->status = -1;
        vd->ov.dropField(&kRecord_LD_Info, "Status");
        vd->ov.dropField(&kRecord_LD_Status, "Status");
        s.changed();
        return ST_OK;
    });)
}
