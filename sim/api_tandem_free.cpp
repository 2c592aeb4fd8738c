// Room for a Tandem volume on a disk: the largest extent of it that no VD
// block occupies, in KiB.
#include "api.h"

using namespace sim;

SIM_EXPORT KX_U8 KX_Tandem_GetFreeSize(KX_U8 adapter, Tandem_FreeSize_Info *info)
{
    SIM_GUARD(return onAdapter("KX_Tandem_GetFreeSize", adapter, [&](Session &, Adapter &a) -> uint8_t {
        if (!info)
            return KX_ST_INVALID_PARAM;
        if (!(a.info.LogicalDriverMode & KX_LDM_TANDEM_ALL))
            return KX_ST_NOT_SUPPORTED;
        PD *pd = a.findPD(info->HDID);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        info->FreeSize = kxU64Make(a.largestFreeExtent(pd->id));
        return KX_ST_OK;
    });)
}
