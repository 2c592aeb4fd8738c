#include "Operators/adapter/AdapterCapabilities.h"

#include <cstring>

#include "kx_api.h"

bool kxSpareSupport(const Adapter_Info &info)
{
    return (info.Features & 0x01) && !(info.AdvancedFeatures & (1u << 24));
}

bool kxMediaPatrolSupport(const Adapter_Info &info)
{
    return (info.Features & 0x10) && kxSpareSupport(info);
}

bool kxBGASupport(const Adapter_Info &info)
{
    return (info.Features & 0x3F) != 0;
}

void kxNormalizeAdapterInfo(Adapter_Info &info)
{
    if (info.LogicalDriverMode & (0x200 | 0x400)) {
        if (info.MaxTandemHdd == 0)
            info.MaxTandemHdd = 1;
        if (info.MaxSSDPerTandem == 0)
            info.MaxSSDPerTandem = 1;
    }
    if ((info.StripeSizeSupported & 0x7F) == 0)
        info.StripeSizeSupported = (info.AdvancedFeatures & 0x02) ? 127 : 15;
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
