// The built-in default controller, and the defaults every adapter and disk
// of a state document starts from.
#include <cstdio>
#include <cstring>

#include "state_doc.h"

namespace sim {

namespace {

void copyText(KX_U8 *dst, size_t n, const std::string &s)
{
    std::memset(dst, 0, n);
    std::memcpy(dst, s.data(), std::min(n, s.size()));
}

}  // namespace

void defaultAdapterRecords(Adapter &a)
{
    Adapter_Info &i = a.info;
    std::memset(&i, 0, sizeof i);
    i.DriverVersion = {5, 0, 0, 1};
    i.BIOSVersion = {1, 2, 0, 3};
    i.FirmwareVersion = {2, 1, 0, 7};
    i.BootLoaderVersion = {1, 0, 0, 2};
    i.SystemIOBusNumber = 3 + a.number;
    i.SlotNumber = 1 + a.number;
    i.InterruptLevel = 16;
    i.InterruptVector = 0x50;
    i.VenID = 0x1F3C;
    i.SubVenID = 0x1F3C;
    i.DevID = 0x9200;
    i.SubDevID = 0x0008;
    i.PortCount = 8;
    i.PortSupportType = 0x05;  // SATA and SAS
    i.Features = 0x7F;         // rebuild .. copy back
    i.AlarmSupport = 1;
    i.RevisionID = 0xB1;
    i.MaxPDPerVD = 32;
    i.StripeSizeSupported = 0x7F;  // 16K .. 1024K
    i.AdvancedFeatures = 0x0000044B;  // event sense, big stripe, bbu, multi VD, image health
    i.MaxPDPerDG = 32;
    i.MaxVDPerDG = 16;
    i.MaxParityDisks = 2;
    i.MaxDiskGroup = 8;
    i.MaxTotalBlocks = 255;
    i.MaxBlockPerPD = 16;
    i.MaxHD = 128;
    i.MaxExpander = 4;
    i.MaxPM = 4;
    i.MaxLogicalDrive = 32;
    i.LogicalDriverMode = 0x01FF;  // RAID0 .. RAID60
    const KX_U8 wwn[8] = {0x50, 0x01, 0x43, 0x80, 0x00, 0x00, 0x00, a.number};
    std::memcpy(i.WWN, wwn, 8);
    i.MaxHD_Ext = 256;
    i.MaxBufferSize = 64;
    i.MaxTotalBlocks_V2 = 1024;
    copyText(i.SerialNo, sizeof i.SerialNo, "KXSIM00000" + std::to_string(a.number));
    for (unsigned p = 0; p < 8; ++p) {
        const KX_U8 sas[8] = {0x50, 0x01, 0x43, 0x80, 0x00, 0xAB, a.number, static_cast<KX_U8>(p)};
        std::memcpy(i.PortSasAddress[p], sas, 8);
    }
    i.MaxSpeed = 3;
    i.CurrentSpeed = 3;
    i.MaxLinkWidth = 8;
    i.CurrentLinkWidth = 8;
    i.img_health = i.autoload_img_health = i.boot_loader_img_health = 1;
    i.firmware_img_health = i.boot_rom_img_health = i.hba_info_img_health = 1;
    copyText(i.ModelNumber, sizeof i.ModelNumber, "KX-9200-8i SIM");

    Adapter_Config_V2 &c = a.config;
    std::memset(&c, 0, sizeof c);
    c.AlarmOn = 1;
    c.AutoRebuildOn = 1;
    // Rates on the controller's 0-250 scale: 50 % and 30 %.
    c.BGARate = 125;
    c.PollSMARTStatus = 1;
    c.MediaPatrolRate = 75;
    c.CopyBack = 1;
    c.SyncRate = 125;
    c.InitRate = 125;
    c.RebuildRate = 125;
    c.MigrationRate = 125;
    c.CopybackRate = 125;
    std::memcpy(c.SerialNo, i.SerialNo, sizeof c.SerialNo);
    std::memcpy(c.ModelNumber, i.ModelNumber, sizeof c.ModelNumber);

    BBU_Info &b = a.bbu;
    std::memset(&b, 0, sizeof b);
    b.status = 0x09;  // OK, fully charged
    b.prev_status = 0x05;
    b.voltage = 8200;
    b.supportMaxCapacity = 3000;
    b.supportMinCapacity = 500;
    b.maxCapacity = 3000;
    b.curCapacity = 2950;
    b.time_to_empty = 120;
    b.time_to_full = 0;
    b.recharge_cycle = 12;
    b.featureSupport = 0x07;
    b.temperature = 3150;
    b.volt_lowerbound = 7000;
    b.volt_upperbound = 9000;
    b.temp_lowerbound = 0;
    b.temp_upperbound = 60;
    b.percentage = 98;
    b.percent_to_charge = 90;
}

PD defaultPD(const Adapter &a, uint16_t id)
{
    PD pd;
    pd.id = id;
    pd.sizeKiB = kDefaultDiskKiB;
    pd.model = "KORVEX SIM1000 HDD";
    char serial[24];
    std::snprintf(serial, sizeof serial, "SIM%02u%05u", a.number, id);
    pd.serial = serial;
    pd.firmware = "SF01";
    pd.parent.kind = ParentLink::HBA;
    pd.parent.port = static_cast<uint8_t>(id % (a.info.PortCount ? a.info.PortCount : 1));
    return pd;
}

State defaultState(int64_t anchorMs)
{
    State s;
    Adapter a;
    a.number = 0;
    defaultAdapterRecords(a);

    Enclosure enc;
    enc.id = 0;
    enc.parent.kind = ParentLink::HBA;
    enc.parent.port = 0;
    a.enclosures[0] = enc;

    Expander exp;
    exp.id = 0;
    exp.parent.kind = ParentLink::HBA;
    exp.parent.port = 0;
    exp.enclosure = 0;
    a.expanders[0] = exp;

    for (uint16_t id = 0; id < 6; ++id) {
        PD pd = defaultPD(a, id);
        pd.parent.kind = ParentLink::EXPANDER;
        pd.parent.id = 0;
        pd.parent.port = static_cast<uint8_t>(id);
        pd.enclosure = 0;
        if (id == 5) {
            pd.ssd = true;
            pd.model = "KORVEX SIM480 SSD";
            pd.sizeKiB = 468851544;
        }
        a.pds[id] = pd;
    }
    a.pds[4].spare = PD::kGlobalSpare;

    Array g;
    g.id = 0;
    g.name = "array0";
    g.raid = 5;
    g.stripe = 64;
    g.pds = {0, 1, 2, 3};
    a.arrays[0] = g;

    VD vd;
    vd.id = 0;
    vd.name = "data";
    vd.array = 0;
    vd.layout.raid = 5;
    vd.layout.stripe = 64;
    vd.initialized = true;
    vd.created = static_cast<uint32_t>(anchorMs / 1000);
    a.vds[0] = vd;
    for (uint16_t p = 0; p < 4; ++p)
        a.vds[0].layout.blocks.push_back(a.allocateBlock(p, kDefaultBlockKiB, 0));

    Event &e = a.queueEvent(EVC_ADAPTER, 9, 0, SEV_INFO);
    e.TimeStamp = static_cast<KX_U32>(anchorMs / 1000);
    const char *serial = reinterpret_cast<const char *>(a.info.SerialNo);
    size_t n = strnlen(serial, sizeof a.info.SerialNo);
    std::memcpy(e.SenseData, serial, n);
    e.SenseDataLength = static_cast<KX_U8>(n);

    for (const Family *f : families())
        if (f->defaults)
            f->defaults(a);
    s.adapters.push_back(std::move(a));
    return s;
}

}  // namespace sim
