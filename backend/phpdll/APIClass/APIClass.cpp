#include "APIClass/APIClass.h"

#include <cstring>

#include "kx_api.h"

std::vector<Adapter_Info> APIClass::s_info;
std::vector<bool> APIClass::s_known;

unsigned APIClass::fixedSize(APIStructType type)
{
    switch (type) {
    case VDType: return 10000;
    case VDStatusType: return 272;
    case VDConfigType: return 784;
    case DGType: return 44048;
    case DGConfigType:
    case FreeSpareType: return 2064;
    case HDType: return 31760;
    case PMType: return 1296;
    case HDBGAStatusType: return 8208;
    case HDSmartStatusType:
    case HDRaidStatusType:
    case HDConfigType: return 1040;
    case ExpType: return 2128;
    case BlkType: return 16400;
    case HDBlkType: return 5136;
    case EncType: return 4880;
    case AESEntryConfigType: return 304;
    case AESPortConfigType: return 48;
    default: return 1024;
    }
}

const Adapter_Info &APIClass::getAdapterInfo(KX_U8 adapter)
{
    if (s_info.size() <= adapter) {
        Adapter_Info zero;
        std::memset(&zero, 0, sizeof zero);
        s_info.resize(adapter + 1u, zero);
        s_known.resize(adapter + 1u, false);
    }
    if (!s_known[adapter]) {
        Adapter_Info info;
        std::memset(&info, 0, sizeof info);
        KX_U8 count = 1;
        // Only a record the controller actually delivered is kept; after a
        // failed read the fixed sizes serve this call and the next one asks
        // again.
        if (KX_Adapter_GetInfo(adapter, &count, &info) == KX_SUCCESS) {
            s_info[adapter] = info;
            s_known[adapter] = true;
        } else {
            std::memset(&s_info[adapter], 0, sizeof(Adapter_Info));
        }
    }
    return s_info[adapter];
}

unsigned APIClass::getCount(KX_U8 adapter, APIStructType type)
{
    const unsigned kib = getAdapterInfo(adapter).MaxBufferSize;
    return kib ? kib * 1024u : fixedSize(type);
}

void APIClass::reset()
{
    s_info.clear();
    s_known.clear();
}
