// Rebuilding an array: new disks take the places of failed members (a
// failed, pulled or wiped disk), in the array and in each of its VDs, and
// the array rebuilds their data.
#include <algorithm>

#include "api.h"

using namespace sim;

SIM_EXPORT KX_U8 KX_LD_DG_StartRebuild(KX_U8 adapter, Rebuild_Param *param)
{
    SIM_GUARD(return onAdapter("KX_LD_DG_StartRebuild", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!param)
            return KX_ST_INVALID_PARAM;
        if (!a.arrayBased())
            return KX_ST_NOT_SUPPORTED;
        // The list has room for 128 disks: no more are read, and a longer
        // count is refused.
        std::vector<uint16_t> disks(param->PDCount);
        std::memcpy(disks.data(), reinterpret_cast<const uint8_t *>(param) + offsetof(Rebuild_Param, PDIDs),
                    2 * std::min<size_t>(disks.size(), 128));
        uint8_t st = startArrayRebuild(a, param->ID, disks, s.now());
        if (st == KX_ST_OK)
            s.changed();
        return st;
    });)
}
