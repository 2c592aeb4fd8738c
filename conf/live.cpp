#include "live.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "paging.h"

namespace conf {

namespace {

/* Every record of a paged list. An empty list answers 55 on some
   adapters: that is no record, not a failure. */
template <typename Request, typename Record>
bool readList(const LiveAdapter &a, const char *operation, const std::function<KX_U8(Request *)> &call,
              const std::function<void(const Record &)> &each, ReadFailure &failure)
{
    KX_U8 st = client::walkList<Request, Record>(a.info.MaxBufferSize, 128, call, [&](const Record &r) {
        each(r);
        return true;
    });
    if (st == KX_ST_OK || st == KX_ST_PD_MISSING)
        return true;
    failure.operation = operation;
    failure.status = st;
    return false;
}

bool isParityLevel(unsigned raid)
{
    return raid == KX_RAID6 || raid == KX_RAID60;
}

Size sizeOf(uint64_t kib)
{
    /* Requests are in whole MB: a size that is not one was made from all
       the room there was, and "all" makes it again. */
    Size s;
    if (kib && kib % 1024 == 0) {
        s.all = false;
        s.kib = kib;
    }
    return s;
}

} // namespace

std::string fieldText(const KX_U8 *field, size_t size)
{
    size_t n = 0;
    while (n < size && field[n])
        ++n;
    std::string s(reinterpret_cast<const char *>(field), n);
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

int rateToPercent(unsigned raw)
{
    return static_cast<int>(raw * 100 / 250);
}

KX_U8 percentToRate(int percent)
{
    return static_cast<KX_U8>((percent * 250 + 50) / 100);
}

std::vector<int> LiveAdapter::vdDisks(const LD_Info &ld) const
{
    std::vector<int> out;
    unsigned n = ld.BlkCount ? ld.BlkCount : ld.HDCount;
    if (n > sizeof ld.BlockIDs / sizeof ld.BlockIDs[0])
        n = sizeof ld.BlockIDs / sizeof ld.BlockIDs[0];
    for (unsigned i = 0; i < n; ++i) {
        auto b = blocks.find(ld.BlockIDs[i]);
        if (ld.BlockIDs[i] == KX_ID_NONE || b == blocks.end() || !disks.count(b->second.HDID))
            out.push_back(-1);
        else
            out.push_back(b->second.HDID);
    }
    return out;
}

std::string LiveAdapter::diskSerial(KX_U16 id) const
{
    auto it = disks.find(id);
    return it == disks.end() ? std::string() : fieldText(it->second.info.SerialNo, sizeof it->second.info.SerialNo);
}

uint64_t LiveAdapter::diskSize(KX_U16 id) const
{
    auto it = disks.find(id);
    return it == disks.end() ? 0 : kxU64Value(it->second.info.Size);
}

bool readAdapter(KX_U8 n, LiveAdapter &a, ReadFailure &failure)
{
    a = LiveAdapter();
    a.number = n;
    std::memset(&a.info, 0, sizeof a.info);
    std::memset(&a.config, 0, sizeof a.config);
    KX_U8 count = 0;
    KX_U8 st = KX_Adapter_GetInfo(n, &count, &a.info);
    if (st != KX_ST_OK) {
        failure = {"KX_Adapter_GetInfo", st};
        return false;
    }
    /* The library may answer more than one record per adapter; room for
       eight keeps it inside the buffer whatever it does. */
    Adapter_Config_V2 configs[8];
    std::memset(configs, 0, sizeof configs);
    count = 0;
    st = KX_Adapter_GetConfig(n, &count, configs);
    if (st != KX_ST_OK) {
        failure = {"KX_Adapter_GetConfig", st};
        return false;
    }
    a.config = configs[0];

    bool extended = true;
    if (!readList<HD_Info_Request, HD_Info>(
            a, "KX_PD_GetHDInfo_Ext", [&](HD_Info_Request *r) { return client::pdInfoPage(n, r, extended); },
            [&](const HD_Info &hd) { a.disks[hd.Link.Self.DevID].info = hd; }, failure))
        return false;
    if (!readList<HD_Config_Request, HD_Config>(
            a, "KX_PD_GetConfig", [&](HD_Config_Request *r) { return KX_PD_GetConfig(n, r); },
            [&](const HD_Config &c) {
                auto it = a.disks.find(c.HDID);
                if (it != a.disks.end()) {
                    it->second.config = c;
                    it->second.haveConfig = true;
                }
            },
            failure))
        return false;
    if (!readList<HD_RAID_Status_Request, HD_RAID_Status>(
            a, "KX_PD_GetHDRaidStatus", [&](HD_RAID_Status_Request *r) { return KX_PD_GetHDRaidStatus(n, r); },
            [&](const HD_RAID_Status &s) {
                auto it = a.disks.find(s.HDID);
                if (it != a.disks.end()) {
                    it->second.status = s;
                    it->second.haveStatus = true;
                }
            },
            failure))
        return false;
    if (a.arrayBased()) {
        if (!readList<DG_Info_Request, DG_Info>(
                a, "KX_DG_GetInfo", [&](DG_Info_Request *r) { return KX_DG_GetInfo(n, r); },
                [&](const DG_Info &g) { a.arrays[g.DGID] = g; }, failure))
            return false;
        if (!readList<DG_Config_Request, DG_Config>(
                a, "KX_DG_GetConfig", [&](DG_Config_Request *r) { return KX_DG_GetConfig(n, r); },
                [&](const DG_Config &c) { a.arrayConfigs[c.DGID] = c; }, failure))
            return false;
    }
    if (!readList<LD_Info_Request, LD_Info>(
            a, "KX_LD_GetInfo", [&](LD_Info_Request *r) { return KX_LD_GetInfo(n, r); },
            [&](const LD_Info &v) { a.vds[v.ID] = v; }, failure))
        return false;
    if (!readList<LD_Config_Request, LD_Config>(
            a, "KX_LD_GetConfig", [&](LD_Config_Request *r) { return KX_LD_GetConfig(n, r); },
            [&](const LD_Config &c) { a.vdConfigs[c.LDID] = c; }, failure))
        return false;
    /* Blocks name the disks of VDs made straight from disks. */
    if (!a.arrayBased() && !a.vds.empty() &&
        !readList<Block_Info_Request, Block_Info>(
            a, "KX_BLK_GetInfo", [&](Block_Info_Request *r) { return KX_BLK_GetInfo(n, r); },
            [&](const Block_Info &b) { a.blocks[b.ID] = b; }, failure))
        return false;
    return true;
}

AdapterDoc describe(const LiveAdapter &a, bool portable)
{
    AdapterDoc d;
    d.number = a.number;
    if (!portable)
        d.serial = fieldText(a.info.SerialNo, sizeof a.info.SerialNo);
    d.model = fieldText(a.info.ModelNumber, sizeof a.info.ModelNumber);
    const Adapter_Config_V2 &c = a.config;
    const KX_U8 flags[FLAG_COUNT] = {c.AlarmOn, c.AutoRebuildOn, c.PollSMARTStatus, c.CopyBack,
                                     c.InterruptCoalescing, c.ModuleConsolidate};
    for (int i = 0; i < FLAG_COUNT; ++i)
        d.settings.flags[i] = flags[i] == 1;
    const KX_U8 rates[RATE_COUNT] = {c.BGARate, c.SyncRate, c.InitRate, c.RebuildRate, c.MigrationRate,
                                     c.CopybackRate, c.MediaPatrolRate};
    for (int i = 0; i < RATE_COUNT; ++i)
        d.settings.rates[i] = rateToPercent(rates[i]);

    for (const auto &x : a.disks) {
        Disk disk;
        disk.id = x.first;
        if (!portable)
            disk.serial = fieldText(x.second.info.SerialNo, sizeof x.second.info.SerialNo);
        disk.size = kxU64Value(x.second.info.Size);
        /* An array member's write cache is the array's setting (arrayctl
           refuses to set it on the disk). */
        const bool member = a.arrayBased() && x.second.haveStatus && (x.second.status.Status & KX_PD_ASSIGNED);
        if (x.second.haveConfig) {
            if (!member)
                disk.writeCache = x.second.config.WriteCacheOn != 0;
            disk.smart = x.second.config.SMARTOn != 0;
        }
        d.disks.push_back(disk);
    }

    for (const auto &x : a.arrays) {
        const DG_Info &g = x.second;
        Array arr;
        arr.name = fieldText(g.Name, sizeof g.Name);
        arr.raid = g.RaidMode;
        if (isParityLevel(g.RaidMode))
            arr.parity = g.NumParityDisk;
        for (unsigned i = 0; i < g.PDCount && i < 128; ++i)
            arr.disks.push_back(g.PDIDs[i]);
        arr.stripe = g.StripeBlockSize;
        arr.size = sizeOf(kxU64Value(g.TotalManagedSpace));
        auto cfg = a.arrayConfigs.find(x.first);
        if (cfg != a.arrayConfigs.end())
            arr.writeCache = cfg->second.WriteCacheOn != 0;
        d.arrays.push_back(arr);
    }

    /* VDs in slot order within their arrays, so that apply makes them in
       the same slots; VDs straight from disks in ID order. */
    std::vector<KX_U16> order;
    for (const auto &x : a.arrays)
        for (unsigned s = 0; s < x.second.VDSlotCount && s < 32; ++s)
            if (x.second.VDIDs[s] != KX_ID_NONE && a.vds.count(x.second.VDIDs[s]))
                order.push_back(x.second.VDIDs[s]);
    for (const auto &x : a.vds)
        if (std::find(order.begin(), order.end(), x.first) == order.end())
            order.push_back(x.first);
    for (KX_U16 id : order) {
        const LD_Info &ld = a.vds.at(id);
        Vd v;
        v.name = fieldText(ld.Name, sizeof ld.Name);
        v.raid = ld.RaidMode;
        if (isParityLevel(ld.RaidMode))
            v.parity = ld.NumParityDisk;
        auto g = a.arrays.find(ld.DGID);
        if (ld.DGID != KX_ID_NONE && g != a.arrays.end()) {
            v.array = fieldText(g->second.Name, sizeof g->second.Name);
            for (unsigned s = 0; s < g->second.VDSlotCount && s < 32; ++s)
                if (g->second.VDIDs[s] == id)
                    v.slot = static_cast<int>(s);
        } else {
            v.disks = a.vdDisks(ld);
        }
        v.stripe = ld.StripeBlockSize;
        v.size = sizeOf(kxU64Value(ld.Size));
        /* These adapters size a VD from disks themselves (Tandem VDs aside). */
        if (v.array.empty() && a.info.DevID > 0x6300 && !kxIsTandemRaid(ld.RaidMode))
            v.size = Size();
        auto cfg = a.vdConfigs.find(id);
        const KX_U8 mode = cfg != a.vdConfigs.end() ? cfg->second.CacheMode : ld.CacheMode;
        switch (mode & 0x0B) {
        case 0: v.writePolicy = WritePolicy::WriteBack; break;
        case 1: v.writePolicy = WritePolicy::WriteThrough; break;
        case 8: v.writePolicy = WritePolicy::Auto; break;
        default: break;
        }
        v.readAhead = (mode & 0x04) != 0;
        d.vds.push_back(v);
    }

    for (const auto &x : a.disks) {
        if (!x.second.haveStatus)
            continue;
        const KX_U8 st = x.second.status.Status;
        if (st & KX_PD_GLOBAL_SPARE) {
            d.spares.push_back(Spare{x.first, ""});
        } else if (st & KX_PD_DEDICATED_SPARE) {
            auto g = a.arrays.find(x.second.status.DGID);
            d.spares.push_back(Spare{x.first, g == a.arrays.end() ? std::string() :
                                                  fieldText(g->second.Name, sizeof g->second.Name)});
        }
    }
    return d;
}

} // namespace conf
