#include "Operators/command/VolumeBuilder.h"

#include <algorithm>
#include <cstring>

#include "APIClass/ReadByID.h"
#include "APIClass/Requests.h"
#include "Operators/adapter/AdapterCapabilities.h"
#include "kx_api.h"

namespace {

const KX_U8 kBlockOfVD = 73;
const KX_U8 kDiskHasOS = 159;
const KX_U8 kVDHasOS = 158; // the disk holds part of a VD the host runs from
const KX_U16 kNoVD = 255;
const unsigned kBlocksPerPage = 512;
const unsigned kMaxMembers = 128;

struct ModeChoice {
    KX_U16 bit;    // of LogicalDriverMode
    KX_U8 mode;    // RAID code
    KX_U8 minimum; // disks
    int parity;    // 0 any count, 1 odd, 2 even
};

// In the order of preference, least demanding first; the choice searches
// from the end.
const ModeChoice kModes[] = {
    {0x001, 0, 2, 0},  {0x002, 1, 2, 0},    {0x010, 5, 3, 0},    {0x008, 0x11, 3, 1},
    {0x020, 6, 3, 0},  {0x004, 0x10, 4, 2}, {0x040, 0x50, 6, 2}, {0x100, 0x60, 6, 2},
};

} // namespace

KX_U8 HDisFreeDiskForBirch(KX_U8 adapter, KX_U16 hdId)
{
    BLKInfoRequest blocks(kxEveryRecord(), adapter, sizeof(RequestHeader) + kBlocksPerPage * sizeof(Block_Info));
    blocks.runAPI();
    for (; blocks.isEnd(); blocks.moveToNext()) {
        const Block_Info &b = *blocks.getInstance();
        // The controller marks a free block with VD 255; 0xFFFF means the
        // same wherever an ID field is wider.
        if (b.HDID == hdId && b.LDID != kNoVD && b.LDID != KX_ID_NONE)
            return kBlockOfVD;
    }
    // A failing page leaves the disk's blocks unknown: not free then.
    if (blocks.getAPIResult() != KX_SUCCESS)
        return blocks.getAPIResult();
    KX_U16 id = hdId;
    KX_U8 os = KX_DiskHasOS(adapter, 1, 1, &id);
    if (os == kDiskHasOS || os == kVDHasOS)
        return kDiskHasOS;
    return KX_SUCCESS;
}

std::vector<HD_RAID_Status> kxDiskRaidStatuses(KX_U8 adapter)
{
    RequestHeader first;
    std::memset(&first, 0, sizeof first);
    first.requestType = KX_REQUEST_BY_INDEX;
    first.startingIndexOrId = 0;
    first.numRequested = kMaxMembers;
    PDRaidStatusRequest request(first, adapter);
    request.runAPI();
    std::vector<HD_RAID_Status> out;
    for (; request.isEnd(); request.moveToNext())
        out.push_back(*request.getInstance());
    return out;
}

Adapter_Info kxCurrentAdapterInfo(KX_U8 adapter)
{
    std::vector<Adapter_Info> records;
    KX_U8 count = 0;
    if (kxReadAdapterRecords(KX_Adapter_GetInfo, adapter, count, records) == KX_SUCCESS && !records.empty())
        return records[0];
    Adapter_Info zero;
    std::memset(&zero, 0, sizeof zero);
    return zero;
}

KX_U8 GetRaidMode(KX_U8 adapter, KX_U8 type, Create_LD_Param &param)
{
    if (type == 0 || param.HDCount < 2)
        return 0;
    const KX_U16 offered = kxCurrentAdapterInfo(adapter).LogicalDriverMode;
    const unsigned count = param.HDCount;
    for (int i = sizeof kModes / sizeof kModes[0] - 1; i >= 0; --i) {
        const ModeChoice &m = kModes[i];
        if (!(offered & m.bit) || count < m.minimum)
            continue;
        if ((m.parity == 1 && count % 2 == 0) || (m.parity == 2 && count % 2 == 1))
            continue;
        if (m.mode == 1)
            param.HDCount = 2;
        return m.mode;
    }
    return 0;
}

Create_LD_Param kxNewVolume(const char *name)
{
    Create_LD_Param p;
    std::memset(&p, 0, sizeof p);
    p.StripeBlockSize = 64;
    p.SectorCoefficient = 1;
    p.LDID = KX_ID_NONE;
    std::memcpy(p.Name, name, std::min(sizeof p.Name, std::strlen(name)));
    return p;
}

void kxSetMembers(Create_LD_Param &param, const std::vector<KX_U16> &ids)
{
    const std::size_t n = std::min<std::size_t>(ids.size(), kMaxMembers);
    unsigned char *field = reinterpret_cast<unsigned char *>(&param) + offsetof(Create_LD_Param, HDIDs);
    // An empty vector's data() may be null, which memcpy may not be given
    // even for no bytes.
    if (n > 0)
        std::memcpy(field, ids.data(), n * sizeof(KX_U16));
    param.HDCount = static_cast<KX_U8>(n);
}

KX_U8 kxTandemCachePolicy(const Adapter_Info &info)
{
    return (info.AdvancedFeatures & 0x4000) ? 1 : 0;
}
