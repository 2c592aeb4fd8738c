#include "Operators/adapter/AdapterCapabilities.h"

#include <cstring>

#include "kx_api.h"
#include "kx_codes.h"
#include "layout_rules.h"

bool kxSpareSupport(const Adapter_Info &info)
{
    return (info.Features & KX_FEAT_REBUILD) && !(info.AdvancedFeatures & KX_ADV_NO_AUTO_REBUILD);
}

bool kxMediaPatrolSupport(const Adapter_Info &info)
{
    return (info.Features & KX_FEAT_MEDIA_PATROL) && kxSpareSupport(info);
}

bool kxBGASupport(const Adapter_Info &info)
{
    return (info.Features & KX_FEAT_BGA_ANY) != 0;
}

void kxNormalizeAdapterInfo(Adapter_Info &info)
{
    if (info.LogicalDriverMode & KX_LDM_TANDEM_CS) {
        if (info.MaxTandemHdd == 0)
            info.MaxTandemHdd = 1;
        if (info.MaxSSDPerTandem == 0)
            info.MaxSSDPerTandem = 1;
    }
    if ((info.StripeSizeSupported & 0x7F) == 0)
        info.StripeSizeSupported = client::defaultStripeMask(info.AdvancedFeatures);
    if (info.MaxHD_Ext == 0)
        info.MaxHD_Ext = info.MaxHD;
}

std::vector<Adapter_Info> kxReadAllAdapterInfo()
{
    std::vector<Adapter_Info> all;
    KX_U8 count = KX_Adapter_GetCount();
    for (KX_U8 a = 0; a < count; ++a) {
        Adapter_Info info;
        std::memset(&info, 0, sizeof info);
        KX_U8 n = 1;
        if (KX_Adapter_GetInfo(a, &n, &info) == KX_SUCCESS)
            all.push_back(info);
    }
    return all;
}
