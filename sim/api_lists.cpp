// The paged list operations of disks, blocks, VDs, arrays and topology.
#include "api.h"

using namespace sim;

namespace {

struct VisiblePD {
    bool operator()(const PD &p) const { return p.visible(); }
};

// Blocks on a disk that is gone are not listed.
struct VisibleBlock {
    const Adapter &a;
    bool operator()(const Block &b) const
    {
        auto it = a.pds.find(b.pd);
        return it != a.pds.end() && it->second.visible();
    }
};

template <class Rec, class Build>
KX_U8 pdList(const char *op, KX_U8 adapter, void *request, Build build)
{
    return onAdapter(op, adapter, [&](Session &s, Adapter &a) -> uint8_t {
        int64_t now = s.now();
        return pageList<Rec>(request, a.pds, VisiblePD(), [&](const PD &p, Rec &r) { build(a, p, r, now); },
                             KX_ST_BAD_PD);
    });
}

template <class Rec, class Map, class Visible, class Build>
KX_U8 objectList(const char *op, KX_U8 adapter, void *request, Map Adapter::*objs, Visible visibleFor,
                 Build build, uint8_t missing)
{
    return onAdapter(op, adapter, [&](Session &s, Adapter &a) -> uint8_t {
        int64_t now = s.now();
        return pageList<Rec>(request, a.*objs, visibleFor(a),
                             [&](const typename Map::mapped_type &o, Rec &r) { build(a, o, r, now); }, missing);
    });
}

auto allOf = [](const Adapter &) { return All(); };

}  // namespace

SIM_EXPORT KX_U8 KX_PD_GetHDInfo(KX_U8 adapter, HD_Info_Request *request)
{
    SIM_GUARD({
        return pdList<HD_Info>("KX_PD_GetHDInfo", adapter, request,
                               [](const Adapter &a, const PD &p, HD_Info &r, int64_t) { buildHDInfo(a, p, r, false); });
    })
}

SIM_EXPORT KX_U8 KX_PD_GetHDInfo_Ext(KX_U8 adapter, HD_Info_Request *request)
{
    SIM_GUARD({
        return pdList<HD_Info>("KX_PD_GetHDInfo_Ext", adapter, request,
                               [](const Adapter &a, const PD &p, HD_Info &r, int64_t) { buildHDInfo(a, p, r, true); });
    })
}

SIM_EXPORT KX_U8 KX_PD_GetConfig(KX_U8 adapter, HD_Config_Request *request)
{
    SIM_GUARD({
        return pdList<HD_Config>("KX_PD_GetConfig", adapter, request,
                                 [](const Adapter &a, const PD &p, HD_Config &r, int64_t) { buildHDConfig(a, p, r); });
    })
}

SIM_EXPORT KX_U8 KX_PD_GetHDRaidStatus(KX_U8 adapter, HD_RAID_Status_Request *request)
{
    SIM_GUARD({
        return pdList<HD_RAID_Status>(
            "KX_PD_GetHDRaidStatus", adapter, request,
            [](const Adapter &a, const PD &p, HD_RAID_Status &r, int64_t) { buildHDRaidStatus(a, p, r); });
    })
}

SIM_EXPORT KX_U8 KX_PD_GetSmartStatus(KX_U8 adapter, HD_SMART_Status_Request *request)
{
    SIM_GUARD({
        return pdList<HD_SMART_Status>(
            "KX_PD_GetSmartStatus", adapter, request,
            [](const Adapter &a, const PD &p, HD_SMART_Status &r, int64_t) { buildHDSmartStatus(a, p, r); });
    })
}

SIM_EXPORT KX_U8 KX_PD_GetBGAStatus(KX_U8 adapter, HD_BGA_Status_Request *request)
{
    SIM_GUARD({
        return pdList<HD_BGA_Status>(
            "KX_PD_GetBGAStatus", adapter, request,
            [](const Adapter &a, const PD &p, HD_BGA_Status &r, int64_t now) { buildHDBgaStatus(a, p, r, now); });
    })
}

SIM_EXPORT KX_U8 KX_PD_GetFreeSpaceInfo(KX_U8 adapter, HD_FreeSpaceInfo_Request *request)
{
    SIM_GUARD({
        return pdList<HD_FreeSpaceInfo>(
            "KX_PD_GetFreeSpaceInfo", adapter, request,
            [](const Adapter &a, const PD &p, HD_FreeSpaceInfo &r, int64_t) { buildHDFreeSpace(a, p, r); });
    })
}

SIM_EXPORT KX_U8 KX_BLK_GetHDBlock(KX_U8 adapter, HD_Block_Info_Request *request)
{
    SIM_GUARD({
        return pdList<HD_Block_Info>(
            "KX_BLK_GetHDBlock", adapter, request,
            [](const Adapter &a, const PD &p, HD_Block_Info &r, int64_t) { buildHDBlockInfo(a, p, r); });
    })
}

SIM_EXPORT KX_U8 KX_BLK_GetInfo(KX_U8 adapter, Block_Info_Request *request)
{
    SIM_GUARD({
        return objectList<Block_Info>(
            "KX_BLK_GetInfo", adapter, request, &Adapter::blocks, [](const Adapter &a) { return VisibleBlock{a}; },
            [](const Adapter &a, const Block &b, Block_Info &r, int64_t) { buildBlockInfo(a, b, r); }, KX_ST_BAD_BLOCK);
    })
}

SIM_EXPORT KX_U8 KX_PD_GetPMInfo(KX_U8 adapter, PM_Info_Request *request)
{
    SIM_GUARD({
        return objectList<PM_Info>(
            "KX_PD_GetPMInfo", adapter, request, &Adapter::pms, allOf,
            [](const Adapter &a, const PM &p, PM_Info &r, int64_t) { buildPMInfo(a, p, r); }, KX_ST_BAD_PM);
    })
}

SIM_EXPORT KX_U8 KX_PD_GetExpanderInfo(KX_U8 adapter, Exp_Info_Request *request)
{
    SIM_GUARD({
        return objectList<Exp_Info>(
            "KX_PD_GetExpanderInfo", adapter, request, &Adapter::expanders, allOf,
            [](const Adapter &a, const Expander &e, Exp_Info &r, int64_t) { buildExpInfo(a, e, r); }, KX_ST_BAD_EXPANDER);
    })
}

SIM_EXPORT KX_U8 KX_ENC_GetEnclosureInfo(KX_U8 adapter, Enclosure_Info_Request *request)
{
    SIM_GUARD({
        return objectList<Enclosure_Info>(
            "KX_ENC_GetEnclosureInfo", adapter, request, &Adapter::enclosures, allOf,
            [](const Adapter &a, const Enclosure &e, Enclosure_Info &r, int64_t) { buildEnclosureInfo(a, e, r); },
            KX_ST_BAD_ENCLOSURE);
    })
}

SIM_EXPORT KX_U8 KX_LD_GetInfo(KX_U8 adapter, LD_Info_Request *request)
{
    SIM_GUARD({
        return objectList<LD_Info>(
            "KX_LD_GetInfo", adapter, request, &Adapter::vds, allOf,
            [](const Adapter &a, const VD &v, LD_Info &r, int64_t) { buildLDInfo(a, v, r); }, KX_ST_BAD_VD);
    })
}

SIM_EXPORT KX_U8 KX_LD_GetStatus(KX_U8 adapter, LD_Status_Request *request)
{
    SIM_GUARD({
        return objectList<LD_Status>(
            "KX_LD_GetStatus", adapter, request, &Adapter::vds, allOf,
            [](const Adapter &a, const VD &v, LD_Status &r, int64_t now) { buildLDStatus(a, v, r, now); }, KX_ST_BAD_VD);
    })
}

SIM_EXPORT KX_U8 KX_LD_GetConfig(KX_U8 adapter, LD_Config_Request *request)
{
    SIM_GUARD({
        return objectList<LD_Config>(
            "KX_LD_GetConfig", adapter, request, &Adapter::vds, allOf,
            [](const Adapter &a, const VD &v, LD_Config &r, int64_t) { buildLDConfig(a, v, r); }, KX_ST_BAD_VD);
    })
}

SIM_EXPORT KX_U8 KX_DG_GetInfo(KX_U8 adapter, DG_Info_Request *request)
{
    SIM_GUARD({
        return objectList<DG_Info>(
            "KX_DG_GetInfo", adapter, request, &Adapter::arrays, allOf,
            [](const Adapter &a, const Array &g, DG_Info &r, int64_t now) { buildDGInfo(a, g, r, now); }, KX_ST_BAD_ARRAY);
    })
}

SIM_EXPORT KX_U8 KX_DG_GetConfig(KX_U8 adapter, DG_Config_Request *request)
{
    SIM_GUARD({
        return objectList<DG_Config>(
            "KX_DG_GetConfig", adapter, request, &Adapter::arrays, allOf,
            [](const Adapter &a, const Array &g, DG_Config &r, int64_t) { buildDGConfig(a, g, r); }, KX_ST_BAD_ARRAY);
    })
}
