#include "Operators/command/VolumeBuilder.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "APIClass/ReadByID.h"
#include "APIClass/Requests.h"
#include "Operators/adapter/AdapterCapabilities.h"
#include "kx_api.h"
#include "kx_codes.h"
#include "layout_rules.h"

namespace {

const unsigned kBlocksPerPage = 512;
const unsigned kMaxMembers = KX_MAX_PD_LIST;

// The levels a quick create may choose, least demanding first; the choice
// searches from the end.
const KX_U8 kQuickLevels[] = {KX_RAID0, KX_RAID1, KX_RAID5, KX_RAID1E, KX_RAID6, KX_RAID10, KX_RAID50, KX_RAID60};

// Whether count disks make the level (RAID1 takes two of them). The
// adapter's parity limit does not narrow a quick create.
bool quickLevelFits(KX_U8 raid, unsigned count)
{
    if (raid == KX_RAID1)
        return count >= 2;
    int parity = -1;
    std::string message;
    return client::checkDiskCount(client::LayoutRules::CreateVd, raid, static_cast<int>(count), parity, 255, message);
}

} // namespace

KX_U8 kxCheckDiskFree(KX_U8 adapter, KX_U16 hdId)
{
    BLKInfoRequest blocks(kxEveryRecord(), adapter, sizeof(RequestHeader) + kBlocksPerPage * sizeof(Block_Info));
    blocks.runAPI();
    for (; blocks.isEnd(); blocks.moveToNext()) {
        const Block_Info &b = *blocks.getInstance();
        // The controller marks a free block with VD 255; 0xFFFF means the
        // same wherever an ID field is wider.
        if (b.HDID == hdId && b.LDID != KX_ID8_NONE && b.LDID != KX_ID_NONE)
            return KX_ST_BLOCK_OF_VD;
    }
    // A failing page leaves the disk's blocks unknown: not free then.
    if (blocks.getAPIResult() != KX_SUCCESS)
        return blocks.getAPIResult();
    KX_U16 id = hdId;
    KX_U8 os = KX_DiskHasOS(adapter, 1, 1, &id);
    if (os == KX_ST_PD_HAS_OS || os == KX_ST_VD_HAS_OS)
        return KX_ST_PD_HAS_OS;
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
    for (int i = sizeof kQuickLevels / sizeof kQuickLevels[0] - 1; i >= 0; --i) {
        const KX_U8 mode = kQuickLevels[i];
        if (!kxRaidOffered(offered, mode) || !quickLevelFits(mode, count))
            continue;
        if (mode == KX_RAID1)
            param.HDCount = 2;
        return mode;
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
    return (info.AdvancedFeatures & KX_ADV_NO_WRITE_CACHE) ? 1 : 0;
}
