// How large a VD could be: the largest VD a set of disks allows, and the
// size a VD would have after moving to another layout.
#include <algorithm>

#include "api.h"

using namespace sim;

namespace {

const uint16_t kPlannedVD = 0xFFFE;  // owner of the blocks of a planned VD

// The largest stretch of a disk no block of a VD occupies.
uint64_t largestFreeExtent(const Adapter &a, const PD &pd)
{
    return a.largestFreeExtent(pd.id);
}

// Size of the layout of `param` with `member` KiB on each listed disk, as
// the model computes it for a real VD; 0 when the layout cannot be built.
uint64_t plannedSize(Adapter scratch, const Create_LD_Param &param, uint64_t member)
{
    Layout l;
    l.raid = param.RaidMode;
    l.stripe = param.StripeBlockSize;
    l.parity = param.NumParityDisk;
    l.subVDs = param.SubLDCount;
    for (unsigned i = 0; i < param.HDCount && i < 128; ++i) {
        uint16_t id;
        std::memcpy(&id, reinterpret_cast<const uint8_t *>(&param) + offsetof(Create_LD_Param, HDIDs) + 2 * i, 2);
        uint16_t b = scratch.allocateBlock(id, member, kPlannedVD);
        if (b == kNone16)
            return 0;
        l.blocks.push_back(b);
    }
    return scratch.vdSizeKiB(l);
}

uint8_t memberDisks(Adapter &a, const Create_LD_Param &param, std::vector<PD *> &out)
{
    if (param.HDCount == 0 || param.HDCount > 128)
        return KX_ST_INVALID_PARAM;
    for (unsigned i = 0; i < param.HDCount; ++i) {
        uint16_t id;
        std::memcpy(&id, reinterpret_cast<const uint8_t *>(&param) + offsetof(Create_LD_Param, HDIDs) + 2 * i, 2);
        PD *pd = a.findPD(id);
        if (!pd || !pd->visible() || pd->state != PD::ONLINE)
            return KX_ST_BAD_PD;
        if (std::find(out.begin(), out.end(), pd) != out.end())
            return KX_ST_INVALID_PARAM;
        out.push_back(pd);
    }
    return KX_ST_OK;
}

}  // namespace

SIM_EXPORT KX_U8 KX_LD_GetMaxSize(KX_U8 adapter, Create_LD_Param *param)
{
    SIM_GUARD({
        Session s("KX_LD_GetMaxSize", adapter);
        if (!s.ok())
            return s.status();
        if (!param || adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        std::vector<PD *> disks;
        uint8_t st = memberDisks(a, *param, disks);
        if (st != KX_ST_OK)
            return s.finish(st);
        uint64_t member = UINT64_MAX;
        for (PD *pd : disks)
            member = std::min(member, largestFreeExtent(a, *pd));
        if (member == 0)
            return s.finish(KX_ST_OUT_OF_RANGE);
        // What a create of all the room would make, rounded the same way.
        uint64_t size = roundedSize(plannedSize(a, *param, member), param->RoundingScheme);
        if (size == 0)
            return s.finish(KX_ST_INVALID_PARAM);
        param->Size = kxU64Make(size);
        return s.finish(KX_ST_OK);
    })
}

SIM_EXPORT KX_U8 KX_LD_GetMigratedLdSize(KX_U8 adapter, Create_LD_Param *param)
{
    SIM_GUARD({
        Session s("KX_LD_GetMigratedLdSize", adapter);
        if (!s.ok())
            return s.status();
        if (!param || adapter == 0xFF)
            return KX_ST_INVALID_PARAM;
        Adapter &a = s.adapter();
        if (!a.findVD(param->LDID))
            return s.finish(KX_ST_BAD_VD);
        // The VD's own blocks are free for its new layout.
        Adapter scratch = a;
        scratch.freeBlocksOf(param->LDID);
        std::vector<PD *> disks;
        uint8_t st = memberDisks(scratch, *param, disks);
        if (st != KX_ST_OK)
            return s.finish(st);
        uint64_t member = UINT64_MAX;
        for (PD *pd : disks)
            member = std::min(member, largestFreeExtent(scratch, *pd));
        uint64_t size = member ? plannedSize(scratch, *param, member) : 0;
        if (size == 0)
            return s.finish(KX_ST_INVALID_PARAM);
        param->Size = kxU64Make(size);
        return s.finish(KX_ST_OK);
    })
}
