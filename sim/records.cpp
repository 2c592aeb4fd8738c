// The controller records built from the model, with the values a fixture
// gave laid over them.
#include "model.h"

#include <algorithm>
#include <cstring>

#include "kx_record_fields.h"

namespace sim {

namespace {

void copyText(KX_U8 *dst, size_t n, const std::string &s)
{
    std::memset(dst, 0, n);
    std::memcpy(dst, s.data(), std::min(n, s.size()));
}

void sasAddress(KX_U8 out[8], uint8_t adapter, uint8_t kind, uint16_t id)
{
    const KX_U8 a[8] = {0x50, 0x01, 0x43, 0x80, adapter, kind, static_cast<KX_U8>(id >> 8),
                        static_cast<KX_U8>(id)};
    std::memcpy(out, a, 8);
}

void fillParent(const Adapter &a, const ParentLink &p, Link_Endpoint &e)
{
    e.DevType = p.kind;
    e.PhyCnt = 1;
    e.PhyID[0] = p.port;
    e.EnclosureID = kNone16;
    switch (p.kind) {
    case ParentLink::HBA:
        e.DevID = a.number;
        std::memcpy(e.SAS_Address, a.info.PortSasAddress[p.port % 16], 8);
        break;
    case ParentLink::EXPANDER: {
        e.DevID = p.id;
        sasAddress(e.SAS_Address, a.number, ParentLink::EXPANDER, p.id);
        auto it = a.expanders.find(p.id);
        if (it != a.expanders.end())
            e.EnclosureID = it->second.enclosure;
        break;
    }
    case ParentLink::ENCLOSURE:
        e.DevID = p.id;
        e.EnclosureID = p.id;
        break;
    default:
        e.DevID = p.id;
        break;
    }
}

void fillSelf(const Adapter &a, uint8_t kind, uint16_t id, uint8_t port, uint16_t enclosure,
              Link_Endpoint &e)
{
    e.DevID = id;
    e.DevType = kind;
    e.PhyCnt = 1;
    e.PhyID[0] = port;
    sasAddress(e.SAS_Address, a.number, kind, id);
    e.EnclosureID = enclosure;
}

constexpr uint8_t kSelfDisk = 1;

template <class T>
void zero(T &r)
{
    std::memset(&r, 0, sizeof r);
}

}  // namespace

void buildHDInfo(const Adapter &a, const PD &pd, HD_Info &r, bool /*extended*/)
{
    zero(r);
    fillParent(a, pd.parent, r.Link.Parent);
    fillSelf(a, kSelfDisk, pd.id, pd.parent.port, pd.enclosure, r.Link.Self);
    r.AdapterID = a.number;
    r.InitStatus = 0;
    switch (pd.iface) {
    case PD::SATA:
        r.HDType = 1;
        r.ConnectionType = 0x05;
        r.FeatureSupport = 0xFD;
        r.sata_signature = 0x00000101;
        break;
    case PD::SAS:
        r.HDType = 4;
        r.ConnectionType = 0x06;
        r.FeatureSupport = 0x4FD;
        break;
    case PD::PATA:
        r.HDType = 2;
        r.ConnectionType = 0x09;
        r.FeatureSupport = 0x70;
        break;
    }
    // Disks in an enclosure are reachable through SGPIO/SES for their LEDs.
    if (pd.enclosure != kNone16)
        r.ConnectionType |= 0x20;
    r.DeviceType = 0;
    if (pd.iface == PD::PATA) {
        r.PIOMode = r.CurrentPIOMode = 4;
        r.MDMAMode = r.CurrentMDMAMode = 2;
        r.UDMAMode = r.CurrentUDMAMode = 6;
    } else {
        r.PIOMode = r.MDMAMode = r.UDMAMode = 0xFF;
        r.CurrentPIOMode = r.CurrentMDMAMode = r.CurrentUDMAMode = 0xFF;
    }
    copyText(r.Model, sizeof r.Model, pd.model);
    copyText(r.SerialNo, sizeof r.SerialNo, pd.serial);
    copyText(r.FWVersion, sizeof r.FWVersion, pd.firmware);
    r.Size = kxU64Make(pd.sizeKiB);
    sasAddress(r.WWN, a.number, 0x0D, pd.id);
    r.WWN[0] = 0x5D;
    r.ElementIdx = pd.parent.port;
    r.BlockSize = 512;
    r.LocateLEDStatus = pd.locate ? 1 : 0;
    r.ErrorLEDStatus = pd.state == PD::OFFLINE ? 1 : 0;
    r.HD_SSD_Type = pd.ssd ? 1 : 0;
    r.Media_Rotation_Rate = pd.ssd ? 1 : 7200;
    pd.ov.apply(&kRecord_HD_Info, &r);
}

void buildHDConfig(const Adapter &a, const PD &pd, HD_Config &r)
{
    (void)a;
    zero(r);
    r.WriteCacheOn = pd.writeCache;
    r.SMARTOn = pd.smartOn;
    r.Online = pd.state == PD::ONLINE;
    r.DriveSpeed = pd.iface == PD::SAS ? 4 : pd.iface == PD::SATA ? 3 : 0;
    r.HDID = pd.id;
    pd.ov.apply(&kRecord_HD_Config, &r);
}

void buildHDRaidStatus(const Adapter &a, const PD &pd, HD_RAID_Status &r)
{
    zero(r);
    r.HDID = pd.id;
    r.DGID = a.pdArray(pd);
    r.Status = a.pdStatusBits(pd);
    pd.ov.apply(&kRecord_HD_RAID_Status, &r);
}

void buildHDSmartStatus(const Adapter &a, const PD &pd, HD_SMART_Status &r)
{
    (void)a;
    zero(r);
    r.SmartThresholdExceeded = pd.smartExceeded;
    r.HDID = pd.id;
    pd.ov.apply(&kRecord_HD_SMART_Status, &r);
}

void buildHDBgaStatus(const Adapter &a, const PD &pd, HD_BGA_Status &r, int64_t now)
{
    zero(r);
    r.HDID = pd.id;
    if (pd.bga.active()) {
        r.Bga = pd.bga.type;
        r.BgaStatus = pd.bga.state;
        r.Percentage = static_cast<KX_U16>(a.bgaPercent(pd.bga, a.rateFor(pd.bga.type, true), now));
    }
    pd.ov.apply(&kRecord_HD_BGA_Status, &r);
}

void buildHDFreeSpace(const Adapter &a, const PD &pd, HD_FreeSpaceInfo &r)
{
    zero(r);
    r.ID = pd.id;
    r.AdapterID = a.number;
    r.BlockSize = 512;
    uint64_t used = a.pdUsedKiB(pd.id);
    r.Size = kxU64Make(used < pd.sizeKiB ? pd.sizeKiB - used : 0);
    pd.ov.apply(&kRecord_HD_FreeSpaceInfo, &r);
}

void buildHDBlockInfo(const Adapter &a, const PD &pd, HD_Block_Info &r)
{
    zero(r);
    r.ID = pd.id;
    for (unsigned i = 0; i < 16; ++i)
        r.BlockIDs[i] = kNone8;
    unsigned n = 0;
    for (const auto &b : a.blocks)
        if (b.second.pd == pd.id && n < 16)
            r.BlockIDs[n++] = b.first;
    r.BlkCount = static_cast<KX_U8>(n);
    pd.ov.apply(&kRecord_HD_Block_Info, &r);
}

void buildBlockInfo(const Adapter &a, const Block &b, Block_Info &r)
{
    (void)a;
    zero(r);
    r.ID = b.id;
    r.HDID = b.pd;
    r.Flags = b.vd == kNone16 ? 0x1 : 0x2;
    r.LDID = b.vd == kNone16 ? kNone8 : b.vd;
    r.BlockSize = 512;
    r.StartLBA = kxU64Make(b.startKiB);
    r.Size = kxU64Make(b.sizeKiB);
    b.ov.apply(&kRecord_Block_Info, &r);
}

namespace {

void fillLayout(const Adapter &a, const VD &vd, const Layout &l, LD_Info &r)
{
    zero(r);
    r.ID = vd.id;
    r.Status = a.vdStatus(vd);
    r.BGAStatus = vd.bga.active() ? vd.bga.state : 0;
    r.StripeBlockSize = l.stripe;
    r.RaidMode = l.raid;
    r.CacheMode = vd.cache;
    const KX_U8 guid[8] = {0x4B, 0x58, a.number, static_cast<KX_U8>(vd.id >> 8), static_cast<KX_U8>(vd.id),
                           static_cast<KX_U8>(vd.created >> 16), static_cast<KX_U8>(vd.created >> 8),
                           static_cast<KX_U8>(vd.created)};
    std::memcpy(r.LD_GUID, guid, 8);
    r.SectorCoefficient = vd.sector;
    r.AdapterID = a.number;
    r.time_hi = static_cast<KX_U16>(vd.created >> 16);
    r.time_low = static_cast<KX_U16>(vd.created);
    r.DGID = vd.array;
    r.Size = kxU64Make(a.vdSizeKiB(l));
    copyText(r.Name, sizeof r.Name, vd.name);
    for (unsigned i = 0; i < 128; ++i)
        r.BlockIDs[i] = kNone16;
    unsigned n = 0;
    for (uint16_t b : l.blocks) {
        if (n >= 128)
            break;
        // A member on a disk that is gone shows as a missing block.
        auto bit = a.blocks.find(b);
        bool present = bit != a.blocks.end();
        if (present) {
            auto pit = a.pds.find(bit->second.pd);
            present = pit != a.pds.end() && pit->second.visible();
        }
        r.BlockIDs[n++] = present ? b : kNone16;
    }
    r.BlkCount = static_cast<KX_U8>(n);
    r.HDCount = static_cast<KX_U8>(n);
    r.SubLDCount = l.subVDs;
    r.NumParityDisk = l.parity;
    r.BlockSize = 512;
}

}  // namespace

void buildLDInfo(const Adapter &a, const VD &vd, LD_Info &r)
{
    fillLayout(a, vd, vd.layout, r);
    vd.ov.apply(&kRecord_LD_Info, &r);
}

void buildTargetLDInfo(const Adapter &a, const VD &vd, LD_Info &r)
{
    fillLayout(a, vd, vd.target, r);
    vd.targetOv.apply(&r);
}

void buildLDStatus(const Adapter &a, const VD &vd, LD_Status &r, int64_t now)
{
    zero(r);
    r.Status = a.vdStatus(vd);
    if (vd.bga.active()) {
        r.Bga = vd.bga.type;
        r.BgaState = vd.bga.state;
        r.BgaPercentage = static_cast<KX_U16>(a.bgaPercent(vd.bga, a.rateFor(vd.bga.type, false), now));
    }
    for (uint16_t b : vd.layout.blocks) {
        auto bit = a.blocks.find(b);
        if (bit == a.blocks.end())
            continue;
        auto pit = a.pds.find(bit->second.pd);
        if (pit != a.pds.end() && pit->second.bga.running() && pit->second.bga.type == PD_BGA_MEDIA_PATROL)
            r.BgaExt |= 0x02;
    }
    // A VD of an array lives on all the array's disks, whether or not the
    // state lists blocks for it.
    auto git = a.arrays.find(vd.array);
    if (vd.array != kNone16 && git != a.arrays.end())
        for (uint16_t pd : git->second.pds) {
            auto pit = a.pds.find(pd);
            if (pit != a.pds.end() && pit->second.bga.running() && pit->second.bga.type == PD_BGA_MEDIA_PATROL)
                r.BgaExt |= 0x02;
        }
    r.LDID = vd.id;
    vd.ov.apply(&kRecord_LD_Status, &r);
}

void buildLDConfig(const Adapter &a, const VD &vd, LD_Config &r)
{
    zero(r);
    r.CacheMode = vd.cache;
    r.TandemWaterMark = vd.tandemWaterMark;
    r.TandemRebuildMode = vd.tandemRebuildMode;
    r.AutoRebuildOn = vd.autoRebuild;
    r.Status = a.vdStatus(vd);
    r.LDID = vd.id;
    copyText(r.Name, sizeof r.Name, vd.name);
    vd.ov.apply(&kRecord_LD_Config, &r);
}

void buildDGInfo(const Adapter &a, const Array &g, DG_Info &r, int64_t now)
{
    (void)now;
    zero(r);
    r.DGID = g.id;
    copyText(r.Name, sizeof r.Name, g.name);
    r.RaidMode = g.raid;
    r.SubVDCount = g.subVDs;
    r.NumParityDisk = g.parity;
    r.AdapterID = a.number;
    r.StripeBlockSize = g.stripe;
    r.BlockSize = 512;

    unsigned failed = 0, n = 0;
    for (uint16_t id : g.pds) {
        auto it = a.pds.find(id);
        if (it == a.pds.end() || it->second.state != PD::ONLINE)
            ++failed;
        if (it == a.pds.end())
            continue;
        if (it->second.bga.running())
            r.PDBgaRunning = 1;
    }
    for (uint16_t id : g.pds)
        if (n < 128)
            r.PDIDs[n++] = id;
    r.PDCount = static_cast<KX_U8>(n);
    uint64_t total = a.arrayTotalKiB(g);
    uint64_t usedBySlots = 0;
    unsigned slots = 0;
    const VD *bgaVd = nullptr;
    for (const auto &v : a.vds) {
        if (v.second.array != g.id)
            continue;
        uint64_t size = a.vdSizeKiB(v.second.layout);
        usedBySlots += size;
        if (slots < 32) {
            r.VDSlotSize[slots] = kxU64Make(size);
            r.VDIDs[slots] = v.first;
            ++slots;
        }
        if (!bgaVd && v.second.bga.active())
            bgaVd = &v.second;
    }
    uint64_t remaining = usedBySlots < total ? total - usedBySlots : 0;
    if (remaining && slots < 32) {
        r.VDSlotSize[slots] = kxU64Make(remaining);
        r.VDIDs[slots] = kNone16;
        ++slots;
    }
    r.VDSlotCount = static_cast<KX_U8>(slots);
    r.TotalManagedSpace = kxU64Make(total);
    r.RemainingManagedSpace = kxU64Make(remaining);
    // The space each member gives the array: what a replacement disk needs.
    r.SmallestAvailablePDSize = kxU64Make(a.arrayMemberKiB(g));
    r.Status = failed == 0 ? 0 : failed <= survivableFailures(g.raid, g.parity) ? 1 : 2;

    unsigned spares = 0;
    for (const auto &p : a.pds)
        if (p.second.spare == g.id && p.second.visible() && spares < 8)
            r.SparePDIDs[spares++] = p.first;
    r.SparePDCount = static_cast<KX_U8>(spares);
    if (g.bga.active()) {
        r.BgaType = g.bga.type;
        r.BgaState = g.bga.state;
    } else if (bgaVd) {
        r.BgaType = bgaVd->bga.type;
        r.BgaState = bgaVd->bga.state;
    }
    g.ov.apply(&kRecord_DG_Info, &r);
}

void buildDGConfig(const Adapter &a, const Array &g, DG_Config &r)
{
    (void)a;
    zero(r);
    r.DGID = g.id;
    r.WriteCacheOn = g.writeCache;
    copyText(r.Name, sizeof r.Name, g.name);
    g.ov.apply(&kRecord_DG_Config, &r);
}

void buildPMInfo(const Adapter &a, const PM &p, PM_Info &r)
{
    zero(r);
    fillParent(a, p.parent, r.Link.Parent);
    fillSelf(a, ParentLink::PM, p.id, p.parent.port, kNone16, r.Link.Self);
    r.AdapterID = a.number;
    r.ProductRevision = 1;
    r.PMSpecRevision = 12;
    r.NumberOfPorts = p.ports;
    r.VendorId = 0x1F3C;
    r.DeviceId = 0x0325;
    p.ov.apply(&kRecord_PM_Info, &r);
}

void buildExpInfo(const Adapter &a, const Expander &e, Exp_Info &r)
{
    zero(r);
    fillParent(a, e.parent, r.Link.Parent);
    fillSelf(a, ParentLink::EXPANDER, e.id, e.parent.port, e.enclosure, r.Link.Self);
    // An expander is attached by a wide port of four PHYs.
    r.Link.Self.PhyCnt = 4;
    r.Link.Parent.PhyCnt = 4;
    for (unsigned i = 0; i < 4; ++i) {
        r.Link.Self.PhyID[i] = static_cast<KX_U8>(e.phys - 4 + i);
        r.Link.Parent.PhyID[i] = static_cast<KX_U8>(e.parent.port + i);
    }
    r.AdapterID = a.number;
    r.Configuring = 0;
    r.RouteTableConfigurable = 1;
    r.PhyCount = e.phys;
    r.ExpChangeCount = 1;
    r.MaxRouteIndexes = 128;
    copyText(r.VendorID, sizeof r.VendorID, "KORVEX");
    copyText(r.ProductID, sizeof r.ProductID, "SIM-EXP-24");
    copyText(r.ProductRev, sizeof r.ProductRev, "0100");
    copyText(r.ComponentVendorID, sizeof r.ComponentVendorID, "KORVEX");
    r.ComponentID = 0x0224;
    r.ComponentRevisionID = 1;
    e.ov.apply(&kRecord_Exp_Info, &r);
}

void buildEnclosureInfo(const Adapter &a, const Enclosure &e, Enclosure_Info &r)
{
    zero(r);
    fillParent(a, e.parent, r.Link.Parent);
    fillSelf(a, ParentLink::ENCLOSURE, e.id, e.parent.port, e.id, r.Link.Self);
    r.AdapterID = a.number;
    r.Status = 0;
    copyText(r.LogicalID, sizeof r.LogicalID, "SIMENC" + std::to_string(e.id));
    copyText(r.VendorID, sizeof r.VendorID, "KORVEX");
    copyText(r.ProductID, sizeof r.ProductID, "SIM-JBOD-12");
    copyText(r.RevisionLevel, sizeof r.RevisionLevel, "0100");
    unsigned n = 0;
    for (const auto &x : a.expanders)
        if (x.second.enclosure == e.id && n < 8)
            r.ExpanderIDs[n++] = x.first;
    for (unsigned i = n; i < 8; ++i)
        r.ExpanderIDs[i] = kNone16;
    r.ExpanderCount = static_cast<KX_U8>(n);
    r.path = 0;
    r.target = static_cast<KX_U8>(e.id);
    e.ov.apply(&kRecord_Enclosure_Info, &r);
}

}  // namespace sim
