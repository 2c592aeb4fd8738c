// The hard disk a Tandem VD (an SSD in front of a disk) is linked to.
#include "api.h"

using namespace sim;

namespace {

bool isTandem(const VD &vd)
{
    return kxIsTandemRaid(vd.layout.raid);
}

// The VDs that have a block on the disk.
std::vector<VD *> vdsOnDisk(Adapter &a, uint16_t pdId)
{
    std::vector<VD *> out;
    for (auto &v : a.vds)
        for (uint16_t b : v.second.layout.blocks) {
            Block *blk = a.findBlock(b);
            if (blk && blk->pd == pdId) {
                out.push_back(&v.second);
                break;
            }
        }
    return out;
}

}  // namespace

SIM_EXPORT KX_U8 KX_VDHDD_AddLink(KX_U8 adapter, VDHDD_Link *link)
{
    SIM_GUARD(return onAdapter("KX_VDHDD_AddLink", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!link)
            return KX_ST_INVALID_PARAM;
        PD *pd = a.findPD(link->HDID);
        if (!pd || !pd->visible())
            return KX_ST_BAD_PD;
        std::vector<VD *> owners = vdsOnDisk(a, pd->id);
        VD *vd = nullptr;
        if (link->VDID == kNone16) {
            // The VD of the disk's own Tandem pair.
            for (VD *v : owners)
                if (isTandem(*v))
                    vd = v;
            if (!vd)
                return KX_ST_BAD_VD;
        } else {
            vd = a.findVD(link->VDID);
            if (!vd)
                return KX_ST_NO_VD;
        }
        if (!isTandem(*vd))
            return KX_ST_INVALID_REQUEST;
        // The disk behind an SSD cache is a hard disk, free or the pair's own.
        if (pd->ssd)
            return KX_ST_INVALID_PARAM;
        if (pd->spare >= 0)
            return KX_ST_IS_SPARE;
        for (VD *v : owners)
            if (v != vd)
                return KX_ST_PD_ASSIGNED;
        if (vd->linkedPD != pd->id) {
            vd->linkedPD = pd->id;
            s.changed();
        }
        return KX_ST_OK;
    });)
}
