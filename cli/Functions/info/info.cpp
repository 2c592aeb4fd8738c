/*
 * info: adapters, disks, virtual disks, arrays, blocks, spares, port
 * multipliers, expanders, battery and Tandem cross information of the
 * current adapter, one object or all of a kind. Only queries are made.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <string>

#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/utils.h"
#include "info_list.h"
#include "record_words.h"

namespace {

enum InfoObject { OBJ_NONE, OBJ_HBA, OBJ_PD, OBJ_VD, OBJ_ARRAY, OBJ_PM, OBJ_EXP, OBJ_BLK,
                  OBJ_SPARE, OBJ_BBU, OBJ_TANDEM };

const struct { const char *word; InfoObject obj; } kObjects[] = {
    {"hba", OBJ_HBA}, {"pd", OBJ_PD}, {"hd", OBJ_PD}, {"vd", OBJ_VD}, {"ld", OBJ_VD},
    {"array", OBJ_ARRAY}, {"pm", OBJ_PM}, {"exp", OBJ_EXP}, {"blk", OBJ_BLK},
    {"spare", OBJ_SPARE}, {"bbu", OBJ_BBU}, {"tandem", OBJ_TANDEM},
};

const unsigned kAllIds = 255;

const Adapter_Info &adapterInfo()
{
    return gAdapterInfo[gCurrentAdapter];
}

std::string fmt1(const char *fmt, long long v)
{
    char buf[64];
    snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

/* ---------------------------------------------------------------- hba */

void printAdapter(unsigned id, const Adapter_Info &a)
{
    const int w = 36;
    char buf[160];
    infoOut("\n");
    infoNum(w, "Adapter ID:", (long)id);
    snprintf(buf, sizeof buf, "%x-%x", a.VenID, a.DevID);
    infoStr(w, "Product:", buf);
    snprintf(buf, sizeof buf, "%x", a.SubVenID);
    infoStr(w, "Sub vendor ID:", buf);
    snprintf(buf, sizeof buf, "%x", a.SubDevID);
    infoStr(w, "Sub device ID:", buf);
    infoStr(w, "Chip revision:", infoChipRevision(a.RevisionID).c_str());
    infoNum(w, "slot number:", (long)a.SlotNumber);

    if (a.MaxSpeed != 0) {
        infoStr(w, "Max PCIe speed:", infoPcieSpeed(a.MaxSpeed));
        infoStr(w, "Current PCIe speed:", infoPcieSpeed(a.CurrentSpeed));
        snprintf(buf, sizeof buf, "%dX", a.MaxLinkWidth);
        infoStr(w, "Max PCIe link:", buf);
        snprintf(buf, sizeof buf, "%dX", a.CurrentLinkWidth);
        infoStr(w, "Current PCIe link:", buf);
    } else {
        infoStr(w, "PCIe status:", "N/A");
    }

    const Version_Info &dv = a.DriverVersion;
    infoStr(w, "Driver version:", infoVersion(dv.VerMajor, dv.VerMinor, dv.VerOEM, dv.VerBuild).c_str());
    const Version_Info_CIM &bv = a.BIOSVersion;
    if (a.DevID > 0x6300 && bv.MajorVersion != 0)
        infoStr(w, "BIOS version:", infoVersion(bv.MajorVersion, bv.MinorVersion, bv.RevisionNumber,
                                                bv.BuildNumber).c_str());
    if (a.DevID > 0x6800 && a.DevID != 0x5A21) {
        const Version_Info_CIM &fv = a.FirmwareVersion;
        if (fv.MajorVersion == 0)
            infoStr(w, "Firmware:", "none");
        else
            infoStr(w, "Firmware version:", infoVersion(fv.MajorVersion, fv.MinorVersion,
                                                        fv.RevisionNumber, fv.BuildNumber).c_str());
        const Version_Info_CIM &lv = a.BootLoaderVersion;
        if (lv.MajorVersion == 0)
            infoStr(w, "Boot loader:", "none");
        else
            infoStr(w, "Boot loader version:", infoVersion(lv.MajorVersion, lv.MinorVersion,
                                                           lv.RevisionNumber, lv.BuildNumber).c_str());
    }

    infoNum(w, "# of ports:", (long)a.PortCount);
    if (a.AdvancedFeatures & (1u << 12))
        infoNum(w, "# of AES ports:", (long)a.MaxAESPort);
    bool haveSas = false;
    for (int i = 0; i < 8; ++i)
        haveSas = haveSas || a.PortSasAddress[0][i] != 0;
    if (haveSas) {
        /* The record has room for 16 port addresses, whatever PortCount says. */
        const unsigned ports = a.PortCount < 16 ? a.PortCount : 16;
        for (unsigned p = 0; p < ports; ++p)
            infoOut("    Port %d SAS address : %s\n", (int)p, infoSasAddress(a.PortSasAddress[p]).c_str());
    }
    if (a.SerialNo[0] != 0)
        infoStr(w, "Serial number:", infoFieldText(a.SerialNo, sizeof a.SerialNo, false, true).c_str());
    if (a.ModelNumber[0] != 0)
        infoStr(w, "Model:", infoFieldText(a.ModelNumber, sizeof a.ModelNumber, false, true).c_str());

    infoStr(w, "Buzzer:", a.AlarmSupport == 1 ? "Supported" : "Not supported");
    infoStr(w, "Supported port type:", infoPortTypes(a.PortSupportType).c_str());
    infoStr(w, "Supported RAID mode:", infoRaidModes(a.LogicalDriverMode).c_str());

    if (a.MaxSSDPerTandem != 0)
        infoNum(w, "Maximum SSD in one Tandem:", (long)a.MaxSSDPerTandem);
    if (a.AdvancedFeatures & (1u << 28))
        infoNum(w, "Maximum SSD Segment:", (long)a.MaxSSDSegment);
    infoNum(w, "Maximum disk in one VD:", (long)a.MaxPDPerVD);
    if (a.LogicalDriverMode & (1u << 5))
        infoNum(w, "Maximum parity disk for RAID6:", (long)a.MaxParityDisks);

    auto supported = [](bool on) { return on ? "Supported" : "Not supported"; };
    infoStr(w, "PM:", supported(a.MaxPM != 0));
    infoStr(w, "Expander:", supported(a.MaxExpander != 0));
    static const char *const kFeatureLines[7] = {
        "Rebuild:", "Background init:", "Sync:", "Migrate:", "Media patrol:", "Foreground init:",
        "Copy back:",
    };
    for (int bit = 0; bit < 7; ++bit)
        infoStr(w, kFeatureLines[bit], supported((a.Features & (1u << bit)) != 0));

    infoNum(w, "Maximum supported disk:", (long)a.MaxHD_Ext);
    infoNum(w, "Maximum supported VD:", (long)a.MaxLogicalDrive);
    if (a.MaxDiskGroup != 0) {
        infoNum(w, "Maximum supported array:", (long)a.MaxDiskGroup);
        infoNum(w, "Maximum disk in one array:", (long)a.MaxPDPerDG);
        infoNum(w, "Maximum VD in one array:", (long)a.MaxVDPerDG);
    }
    infoNum(w, "Max total blocks:",
            (long)(a.MaxTotalBlocks > a.MaxTotalBlocks_V2 ? a.MaxTotalBlocks : a.MaxTotalBlocks_V2));

    if (a.Features != 0)
        infoStr(w, "Features:", infoFeatureWords(a.Features).c_str());
    if (a.AdvancedFeatures != 0)
        infoStr(w, "Advanced features:",
                infoAdvancedFeatureWords(a.AdvancedFeatures, a.Features, a.AdvancedFeatures2).c_str());
    if (a.AdvancedFeatures2 != 0)
        infoStr(w, "Advanced features 2:", infoAdvancedFeature2Words(a.AdvancedFeatures2).c_str());

    if (a.MaxBufferSize != 0)
        infoNum(w, "Max buffer size:", (long)a.MaxBufferSize);
    std::string stripes = infoStripeSizes(a.StripeSizeSupported, a.AdvancedFeatures);
    if (!stripes.empty())
        infoStr(w, "Stripe size supported:", stripes.c_str());

    if (a.AdvancedFeatures & (1u << 10)) {
        auto health = [](KX_BOOLEAN h) { return h == 1 ? "Healthy" : "Unhealthy"; };
        infoStr(w, "Image health:", health(a.img_health));
        infoStr(w, "Autoload image health:", health(a.autoload_img_health));
        infoStr(w, "Boot loader image health:", health(a.boot_loader_img_health));
        infoStr(w, "Firmware image health:", health(a.firmware_img_health));
        infoStr(w, "Boot ROM image health:", health(a.boot_rom_img_health));
        infoStr(w, "HBA info image health:", health(a.hba_info_img_health));
        infoOut("\n");
    }
}

int listAdapters(unsigned id)
{
    const unsigned count = KX_Adapter_GetCount();
    if (id != kAllIds && id >= count) {
        infoOut("\nUnable to get info of Adapter %d (error %d: %s)\n", (int)id, 13, infoErr(13));
        return KX_ST_BAD_ADAPTER;
    }
    int result = 0;
    for (unsigned a = 0; a < count; ++a) {
        /* Only the adapter asked for is read, so that its own outcome is
           the command's result and another adapter's trouble is not. */
        if (id != kAllIds && a != id)
            continue;
        Adapter_Info info;
        memset(&info, 0, sizeof info);
        KX_U8 n = 0;
        KX_U8 st = KX_Adapter_GetInfo((KX_U8)a, &n, &info);
        if (st != 0) {
            infoOut("\nCould not get info for Adapter ID %d (error %d: %s)\n", (int)a, st, infoErr(st));
            /* A failed adapter stays failed in the result even when a
               later one reads fine. */
            result = st;
            continue;
        }
        printAdapter(a, info);
    }
    return result;
}

/* ---------------------------------------------------------------- pd */

KX_U8 blockOwner(KX_U16 blockId, Block_Info &blk)
{
    return client::queryOne<Block_Info_Request>(KX_BLK_GetInfo, gCurrentAdapter, blockId, blk, 12);
}

int printPd(const HD_Info &hd, bool extended)
{
    const Adapter_Info &a = adapterInfo();
    const int w = 20;
    const KX_U16 pdId = hd.Link.Self.DevID;
    const InfoPdKind kind = infoPdKind(hd, extended);
    char buf[64];

    infoNum(w, "Adapter:", (long)hd.AdapterID);
    infoNum(w, "PD ID:", (long)pdId);
    char type[CLI_HDTYPE_LEN + 32];
    memset(type, 0, sizeof type);
    getHdTypeString(type, &hd, extended ? 1 : 0);
    infoStr(w, "Type:", type);
    infoStr(w, "Linked at:", infoLinkedAt(hd).c_str());

    const KX_U8 parentType = hd.Link.Parent.DevType;
    if (a.MaxExpander != 0 && (kind.sas || (parentType != 255 && parentType != 2)))
        infoStr(w, "SAS address:", infoSasAddress(hd.Link.Self.SAS_Address).c_str());
    if (kind.notDisk) {
        infoStr(w, "Size:", "not available");
    } else {
        snprintf(buf, sizeof buf, "%lld K", (long long)kxU64Value(hd.Size));
        infoStr(w, "Size:", buf);
    }

    HD_Config cfg;
    memset(&cfg, 0, sizeof cfg);
    const bool haveCfg =
        client::queryOne<HD_Config_Request>(KX_PD_GetConfig, gCurrentAdapter, pdId, cfg, 9) == 0;
    const KX_U32 fs = hd.FeatureSupport;
    auto cached = [haveCfg](bool supported, bool on) {
        if (!supported)
            return "not supported";
        if (!haveCfg)
            return "supported";
        return on ? "supported (on)" : "supported (off)";
    };
    infoStr(w, "Write cache:", cached(fs & (1u << 4), cfg.WriteCacheOn));
    infoStr(w, "SMART:", cached(fs & (1u << 6), cfg.SMARTOn));
    infoStr(w, "NCQ:", (fs & 0x1) ? "supported" : "not supported");
    infoStr(w, "48 bits LBA:", (fs & (1u << 5)) ? "supported" : "not supported");

    if (kind.pata) {
        const struct { const char *label; KX_U8 mode; } modes[] = {
            {"Supported PIO:", hd.PIOMode}, {"Supported MDMA:", hd.MDMAMode},
            {"Supported UDMA:", hd.UDMAMode}, {"Current PIO:", hd.CurrentPIOMode},
            {"Current MDMA:", hd.CurrentMDMAMode}, {"Current UDMA:", hd.CurrentUDMAMode},
        };
        for (const auto &m : modes)
            if (m.mode != 255)
                infoNum(w, m.label, (long)m.mode);
    } else {
        infoStr(w, "supported speed:", infoSupportedSpeeds(fs).c_str());
        infoStr(w, "Current speed:", infoDriveSpeed(cfg.DriveSpeed));
    }

    infoStr(w, "model:", infoFieldText(hd.Model, sizeof hd.Model, true, false).c_str());
    infoStr(w, "Serial:", infoFieldText(hd.SerialNo, sizeof hd.SerialNo, true, false).c_str());
    infoStr(w, "Firmware version:", infoFieldText(hd.FWVersion, sizeof hd.FWVersion, false, false).c_str());
    if (infoLocateLedShown(hd))
        infoStr(w, "Locate LED status:", hd.LocateLEDStatus ? "on" : "off");
    else
        infoStr(w, "Locate LED status:", "Not Support");

    KX_U16 osId = pdId;
    infoStr(w, "Running OS:", infoPdRunningOs(KX_DiskHasOS(gCurrentAdapter, 1, 1, &osId)));
    if (hd.HD_SSD_Type != 0)
        infoStr(w, "SSD Type:", "SSD");

    HD_Block_Info hb;
    memset(&hb, 0, sizeof hb);
    if (client::queryOne<HD_Block_Info_Request>(KX_BLK_GetHDBlock, gCurrentAdapter, pdId, hb, 9) == 0) {
        std::string ids, vds;
        for (KX_U16 b : infoHdBlockIds(hb)) {
            ids += fmt1("%lld  ", b);
            Block_Info blk;
            if (blockOwner(b, blk) == 0 && (blk.Flags & 0x2) && blk.LDID != KX_ID8_NONE)
                vds += fmt1("%lld  ", blk.LDID);
        }
        infoStr(w, "block ids:", ids.c_str());
        if (!vds.empty())
            infoStr(w, "associated VDs:", vds.c_str());
    }

    if (kind.diskDevice) {
        HD_FreeSpaceInfo free;
        memset(&free, 0, sizeof free);
        KX_U8 st = client::queryOne<HD_FreeSpaceInfo_Request>(KX_PD_GetFreeSpaceInfo, gCurrentAdapter,
                                                          pdId, free, 9);
        if (st != 0) {
            /* The listing stops here; say why instead of ending mid-disk
               without a word. */
            infoOut("\nUnable to get info of PD %d (error %d: %s)\n", pdId, st, infoErr(st));
            return st;
        }
        snprintf(buf, sizeof buf, "%llu K", (unsigned long long)kxU64Value(free.Size));
        infoStr(w, "PD valid size:", buf);
        infoOut("\n");
        if (a.DevID > 0x6200 && (a.Features & (1u << 4))) {
            HD_BGA_Status bga;
            std::string label, value;
            if (client::queryOne<HD_BGA_Status_Request>(KX_PD_GetBGAStatus, gCurrentAdapter, pdId, bga,
                                                    9) == 0 &&
                infoPdBgaLine(bga, label, value))
                infoStr(w, label.c_str(), value.c_str());
        }
    }
    infoOut("\n");
    return 0;
}

const InfoListKind kPdList = {
    sizeof(HD_Info), 128, "\nPhysical Disk Information\n----------------------------\n",
    "No hard disk is found.\n", "Total # of PD:", "\nUnable to get info of PD %d (error %d: %s)\n",
    "\nUnable to get info of PD (error %d: %s)\n", 0, nullptr,
};

int listPds(unsigned id)
{
    const bool all = id == kAllIds;
    bool extended = true;
    return infoPagedList(
        adapterInfo().MaxBufferSize, kPdList, all, all ? KX_ID_NONE : (KX_U16)id, all ? KX_ID_NONE : (int)id,
        [&extended](RequestHeader *hdr) { return infoPdInfoPage(hdr, extended); },
        [&extended](const void *rec) {
            HD_Info hd;
            memcpy(&hd, rec, sizeof hd);
            return printPd(hd, extended);
        });
}

/* ---------------------------------------------------------------- vd */

std::string pdRaidSetup(const LD_Info &ld)
{
    return infoPdRaidSetup(ld, [](KX_U16 blockId, KX_U16 &hdId) -> KX_U8 {
        Block_Info blk;
        KX_U8 st = blockOwner(blockId, blk);
        if (st == 0)
            hdId = blk.HDID;
        return st;
    });
}

const char *vdRunningOs(KX_U16 vdId)
{
    KX_U16 osId = vdId;
    return infoVdRunningOs(KX_DiskHasOS(gCurrentAdapter, 0, 1, &osId));
}

std::string vdName(const LD_Info &ld)
{
    return infoFieldText(ld.Name, sizeof ld.Name, false, false);
}

/* The member lines that close both the VD block and the Tandem block. */
void printVdMembers(const LD_Info &ld)
{
    const int w = 20;
    infoStr(w, "Block ids:", infoVdBlockIds(ld).c_str());
    infoNum(w, "# of PDs:", (long)ld.HDCount);
    infoStr(w, "PD RAID setup:", pdRaidSetup(ld).c_str());
    infoStr(w, "Running OS:", vdRunningOs(ld.ID));
}

void printVdBlock(const LD_Info &ld)
{
    const int w = 20;
    const Adapter_Info &a = adapterInfo();
    char buf[64];
    infoNum(w, "id:", (long)ld.ID);
    infoStr(w, "name:", vdName(ld).c_str());
    if (arrayBasedRaid)
        infoNum(w, "array id:", (long)ld.DGID);
    infoStr(w, "status:", infoVdStatusWord(ld.Status));
    if (ld.Status == 11 || ld.Status == 12)
        infoStr(w, "Last write time:", infoLastWriteTime(ld).c_str());
    infoNum(w, "Stripe size:", (long)ld.StripeBlockSize);
    infoStr(w, "RAID mode:", RaidModeStr(ld.RaidMode));
    if (ld.RaidMode == 80 || ld.RaidMode == 96)
        infoNum(w, "Sub VD count:", (long)ld.SubLDCount);
    if (ld.RaidMode == 96 && a.MaxDiskGroup == 0)
        infoNum(w, "# of parity disks:", (long)ld.NumParityDisk);
    infoStr(w, "Cache mode:", infoCacheMode(ld.CacheMode));
    snprintf(buf, sizeof buf, "%lld M", (long long)(kxU64Value(ld.Size) >> 10));
    infoStr(w, "size:", buf);
    if (ld.RaidMode == 6)
        infoNum(w, "RAID6 redundancy:", (long)ld.NumParityDisk);
    infoStr(w, "BGA status:", infoVdBgaStatusWord(ld.BGAStatus));
    printVdMembers(ld);
}

void printProgress(const LD_Status &st)
{
    std::string text = infoVdProgress(st);
    if (!text.empty())
        infoStr(16, "BGA progress:", text.c_str());
    infoOut("\n");
}

void printTandemBlock(const LD_Info &ld, const LD_Status &st)
{
    const int w = 20;
    char buf[96];
    infoNum(w, "id:", (long)ld.ID);
    infoStr(w, "name:", vdName(ld).c_str());
    const char *word = infoTandemStatusWord(ld, st);
    infoStr(w, "Status:", word);
    if (st.Bga == 1) {
        if (ld.Status == 0 || ld.Status == 15)
            snprintf(buf, sizeof buf, "restore is %d%% done", st.BgaPercentage);
        else
            snprintf(buf, sizeof buf, "%s is %d%% done", word, st.BgaPercentage);
        infoStr(w, "BGA progress:", buf);
        infoStr(w, "Tandem mode:", RaidModeStr(ld.RaidMode));
        infoStr(w, "initializing status:", infoVdBgaStatusWord(ld.BGAStatus));
    } else {
        infoStr(w, "Tandem mode:", RaidModeStr(ld.RaidMode));
    }
    printVdMembers(ld);
}

int printVd(const LD_Info &ld)
{
    const bool tandem = kxIsTandemRaid(ld.RaidMode);
    /* Without an activity the status is not read and counts as all zero;
       the progress (or Tandem) part below still follows. */
    LD_Status st;
    memset(&st, 0, sizeof st);
    KX_U8 rc = 0;
    if (ld.BGAStatus == 0) {
        printVdBlock(ld);
    } else if (tandem) {
        /* A Tandem VD with an activity is described by its Tandem block
           instead of the VD block. Whether that block follows is only
           known from the VD's status, so a Tandem VD asks for it first;
           when no Tandem block follows (offline, or migrating), the VD
           block is shown so that the VD does not vanish from the listing. */
        rc = client::queryOne<LD_Status_Request>(KX_LD_GetStatus, gCurrentAdapter, ld.ID, st, 0);
        if (rc == 0 && (st.Bga == 32 || ld.Status == 4))
            printVdBlock(ld);
    } else {
        printVdBlock(ld);
        rc = client::queryOne<LD_Status_Request>(KX_LD_GetStatus, gCurrentAdapter, ld.ID, st, 0);
    }
    if (rc != 0) {
        infoOut("Failed to get status for LD %d (error %d: %s).\n", ld.ID, rc, infoErr(rc));
        return rc;
    }
    if (st.Bga == 32) {
        printProgress(st);
        LD_Info target;
        memset(&target, 0, sizeof target);
        if (KX_LD_GetTargetLDInfo(gCurrentAdapter, ld.ID, &target) == 0) {
            infoOut("target virtual: \n");
            printVdBlock(target);
        }
    } else if (ld.Status != 4) {
        if (tandem)
            printTandemBlock(ld, st);
        else
            printProgress(st);
    }
    infoOut("\n");
    return 0;
}

const InfoListKind kVdList = {
    sizeof(LD_Info), 32, "\nVirtual Disk Information\n-------------------------\n",
    "No virtual disk is found.\n", "Total # of VD:", "\nUnable to get info of vd %d (error %d: %s)\n",
    "\nUnable to get info of vd (error %d: %s)\n", 0, nullptr,
};

/* ------------------------------------------------------------- arrays */

void printArray(const DG_Info &dg)
{
    const int w = 20;
    char buf[96];
    auto mib = [&buf](const KX_U64 &v) {
        snprintf(buf, sizeof buf, "%lld M", (long long)(kxU64Value(v) >> 10));
        return buf;
    };
    infoNum(w, "ID:", (long)dg.DGID);
    infoStr(w, "Name:", infoFieldText(dg.Name, sizeof dg.Name, false, false).c_str());
    infoNum(w, "Stripe size:", (long)dg.StripeBlockSize);
    infoNum(w, "Block size:", (long)dg.BlockSize);
    infoStr(w, "RAID mode:", RaidModeStr(dg.RaidMode));
    if (dg.RaidMode == 80 || dg.RaidMode == 96)
        infoNum(w, "Sub VD count:", (long)dg.SubVDCount);
    if (dg.RaidMode == 96)
        infoNum(w, "# of parity disks:", (long)dg.NumParityDisk);
    if (dg.RaidMode == 6)
        infoNum(w, "RAID6 redundancy:", (long)dg.NumParityDisk);
    infoStr(w, "Total space:", mib(dg.TotalManagedSpace));
    infoStr(w, "Remaining space:", mib(dg.RemainingManagedSpace));
    infoStr(w, "Member used space:", mib(dg.SmallestAvailablePDSize));
    infoNum(w, "Total array slot:", (long)dg.VDSlotCount);
    const unsigned slots = dg.VDSlotCount < 32 ? dg.VDSlotCount : 32;
    for (unsigned s = 0; s < slots; ++s) {
        const long long size = (long long)(kxU64Value(dg.VDSlotSize[s]) >> 10);
        if (kxU64Value(dg.VDSlotSize[s]) == 0)
            continue;
        if (dg.VDIDs[s] == KX_ID_NONE)
            infoOut("  slot %d: free, %lld M\n", (int)s, size);
        else
            infoOut("  slot %d: VD %d, %lld M\n", (int)s, dg.VDIDs[s], size);
    }
    infoNum(w, "# of PDs:", (long)dg.PDCount);
    std::string ids;
    const unsigned pds = dg.PDCount < 128 ? dg.PDCount : 128;
    for (unsigned i = 0; i < pds; ++i)
        ids += fmt1("%lld  ", dg.PDIDs[i]);
    infoStr(w, "PD IDs:", ids.c_str());
    infoNum(w, "# of spare PDs:", (long)dg.SparePDCount);
    if (dg.SparePDCount != 0) {
        std::string spares;
        const unsigned n = dg.SparePDCount < 8 ? dg.SparePDCount : 8;
        for (unsigned i = 0; i < n; ++i)
            spares += fmt1("%lld ", dg.SparePDIDs[i]);
        infoStr(w, "Spare PD IDs:", spares.c_str());
    }
    infoStr(w, "BGA status:", infoArrayBga(dg).c_str());
    infoStr(w, "Status:", infoArrayStatus(dg.Status));
    infoOut("\n");
}

const InfoListKind kArrayList = {
    sizeof(DG_Info), 64, "\nArray Information\n-------------------------\n", "No array is found.\n",
    "Total # of array:", "\nUnable to get info of array %d (error %d: %s)\n",
    "\nUnable to get info of array(error %d: %s)\n", 0, nullptr,
};

/* ------------------------------------------------------------- blocks */

void printBlock(const Block_Info &b)
{
    const int w = 16;
    char buf[64];
    infoNum(w, "Block id:", (long)b.ID);
    infoNum(w, "PD id:", (long)b.HDID);
    if (b.LDID == KX_ID8_NONE)
        infoStr(w, "VD id:", "N/A");
    else
        infoNum(w, "VD id:", (long)b.LDID);
    infoStr(w, "Block status: ", infoBlockStatus(b.Flags));
    snprintf(buf, sizeof buf, "%lld K", (long long)kxU64Value(b.Size));
    infoStr(w, "Size:", buf);
    snprintf(buf, sizeof buf, "%lld K", (long long)kxU64Value(b.StartLBA));
    infoStr(w, "Starting offset:", buf);
    infoOut("\n");
}

const InfoListKind kBlockList = {
    sizeof(Block_Info), 512, "Block Information\n-----------------\n", "No block disk is found.\n",
    nullptr, "\nUnable to get info of blk %d (error %d: %s)\n",
    "\nUnable to get info of blk(error %d: %s)\n", 0, nullptr,
};

/* ------------------------------------------------------------- spares */

void printSpare(const HD_RAID_Status &rs)
{
    infoNum(16, "PD id:", (long)rs.HDID);
    infoStr(16, "Status:", infoSpareStatus(rs).c_str());
    infoOut("\n");
}

const InfoListKind kSpareList = {
    sizeof(HD_RAID_Status), 128, "Spare Disk Information\n-----------------\n",
    "No spare disk is found.\n", nullptr, "\nUnable to get info of spare %d (error %d: %s)\n",
    "\nUnable to get info of spare (error %d: %s)\n", 0, nullptr,
};

/* -------------------------------------------------- PMs and expanders */

void printPm(const PM_Info &pm)
{
    const int w = 20;
    char buf[64];
    infoOut("\n");
    infoNum(w, "Adapter:", (long)pm.AdapterID);
    infoNum(w, "PM ID:", (long)pm.Link.Self.DevID);
    infoNum(w, "# of ports:", (long)pm.NumberOfPorts);
    const Link_Endpoint &p = pm.Link.Parent;
    if (p.DevType == 255)
        snprintf(buf, sizeof buf, "HBA port %d", p.PhyID[0]);
    else
        snprintf(buf, sizeof buf, "unknown device %d port %d", p.DevType, p.PhyID[0]);
    infoStr(w, "Links to: ", buf);
    snprintf(buf, sizeof buf, "0x%x", pm.VendorId);
    infoStr(w, "Vendor ID:", buf);
    snprintf(buf, sizeof buf, "0x%x", pm.DeviceId);
    infoStr(w, "Device ID:", buf);
    snprintf(buf, sizeof buf, "0x%x", pm.ProductRevision);
    infoStr(w, "Product revision:", buf);
    snprintf(buf, sizeof buf, "%d.%d", pm.PMSpecRevision / 10, pm.PMSpecRevision % 10);
    infoStr(w, "PM spec revision:", buf);
}

const InfoListKind kPmList = {
    sizeof(PM_Info), 16, nullptr, "No port multiplexer is found.\n", nullptr,
    "\nUnable to get info of PM %d (error %d: %s)\n", "\nUnable to get info of PM (error %d: %s)\n",
    0, nullptr,
};

std::string phyList(const Link_Endpoint &e)
{
    char out[64];
    memset(out, 0, sizeof out);
    KX_U16 ids[8];
    for (int i = 0; i < 8; ++i)
        ids[i] = e.PhyID[i];
    /* PhyID holds 8 entries, whatever PhyCnt claims. */
    getPhyIdString(out, sizeof out, ids, e.PhyCnt < 8 ? e.PhyCnt : 8);
    return out;
}

void printExpander(const Exp_Info &ex)
{
    const int w = 18;
    char buf[160];
    const Link_Endpoint &self = ex.Link.Self;
    const Link_Endpoint &p = ex.Link.Parent;
    infoOut("\n");
    infoNum(w, "Adapter:", (long)ex.AdapterID);
    infoNum(w, "Expander ID:", (long)self.DevID);
    if (self.EnclosureID != KX_ID8_NONE && self.EnclosureID != KX_ID_NONE)
        infoNum(w, "Enclosure ID:", (long)self.EnclosureID);
    infoNum(w, "Total # of PHYs:", (long)ex.PhyCount);
    snprintf(buf, sizeof buf, "port [%s] on SAS addr %s", phyList(self).c_str(),
             infoSasAddress(self.SAS_Address).c_str());
    infoStr(w, "Links to: ", buf);
    if (p.DevType == 255)
        snprintf(buf, sizeof buf, "HBA %d, port [%s] on SAS address %s", ex.AdapterID,
                 phyList(p).c_str(), infoSasAddress(p.SAS_Address).c_str());
    else if (p.DevType == 3)
        snprintf(buf, sizeof buf, "expander %d, port [%s] on SAS addr %s", p.DevID,
                 phyList(p).c_str(), infoSasAddress(p.SAS_Address).c_str());
    else
        snprintf(buf, sizeof buf, "unknown device %d", p.DevType);
    infoStr(w, "From parent: ", buf);
    infoStr(w, "Vendor ID:", infoFieldText(ex.VendorID, sizeof ex.VendorID, false, false).c_str());
    infoStr(w, "Product ID:", infoFieldText(ex.ProductID, sizeof ex.ProductID, false, false).c_str());
    infoStr(w, "Product revision:",
            infoFieldText(ex.ProductRev, sizeof ex.ProductRev, false, false).c_str());
    infoStr(w, "Component vendor ID:",
            infoFieldText(ex.ComponentVendorID, sizeof ex.ComponentVendorID, false, false).c_str());
    if (ex.RouteTableConfigurable) {
        infoOut("Route table is self configurable.\n");
        if (ex.Configuring == 1)
            infoOut("Configuring route table...\n");
    } else {
        infoOut("Route table is not self configurable.\n");
    }
}

const InfoListKind kExpanderList = {
    sizeof(Exp_Info), 16, nullptr, "No expander is found.\n", nullptr,
    "\nUnable to get info of expander %d (error %d: %s)\n",
    "\nUnable to get info of expander (error %d: %s)\n", 10, nullptr,
};

/* ------------------------------------------------------ battery, tandem */

int reportBbu(unsigned id)
{
    if (id != kAllIds && id != 0) {
        infoOut("\nUnable to get info of BBU %d (error %d: %s)\n", (int)id, 16, infoErr(16));
        return KX_ST_BAD_BBU;
    }
    BBU_Info b;
    memset(&b, 0, sizeof b);
    KX_U8 st = KX_BBU_GetInfo(gCurrentAdapter, &b);
    if (st != 0) {
        infoOut("Unable to get info of BBU. (error %d: %s).\n", st, infoErr(st));
        return st;
    }
    if (b.status == 0) {
        infoOut("No BBU is found.\n");
        return 0;
    }
    infoOut("status: %s\n", infoBbuStatus(b).c_str());
    infoOut("recharge cycle %d\n", b.recharge_cycle);
    infoOut("feature supported (supported sensor): %s\n", infoBbuSensors(b.featureSupport).c_str());
    if (b.featureSupport & 0x1) {
        infoOut("current temperature: %.2f C\n", b.temperature / 100.0);
        infoOut("temperature range: %d - %d degrees centigrade\n", b.temp_lowerbound, b.temp_upperbound);
    }
    if (b.featureSupport & 0x2) {
        infoOut("current voltage: %.2f V\n", b.voltage / 1000.0);
        infoOut("voltage range: %dmV - %dmV\n", b.volt_lowerbound, b.volt_upperbound);
    }
    if (b.featureSupport & 0x4) {
        infoOut("current capacity: %.2f watt-hours\n", b.curCapacity / 100.0);
        infoOut("max capacity: %.2f watt-hours\n", b.maxCapacity / 100.0);
    }
    infoOut("battery power remaining: %d%%\n", b.percentage);
    infoOut("\n");
    return 0;
}

int reportTandem(unsigned id)
{
    Cross_VD_Info cross;
    memset(&cross, 0, sizeof cross);
    KX_U8 st = KX_LD_GetCrossInfo(gCurrentAdapter, (KX_U16)id, &cross);
    if (st != 0) {
        infoOut("\nCould not get tandem info for VD ID %d (error %d: %s)\n", (int)id, st, infoErr(st));
        return st;
    }
    infoOut("\nTandem Duo SSD start LBA %lld end LBA %lld.\n", (long long)kxU64Value(cross.SSDStartLBA),
            (long long)kxU64Value(cross.SSDEndLBA));
    return 0;
}

/* ------------------------------------------------------------ listing */

template <typename Rec, typename Req>
int listRecords(const InfoListKind &kind, unsigned id, KX_U8 (*op)(KX_U8, Req *),
                const std::function<int(const Rec &)> &show)
{
    const bool all = id == kAllIds;
    return infoPagedList(
        adapterInfo().MaxBufferSize, kind, all, (KX_U16)id, (int)id,
        [op](RequestHeader *hdr) { return op(gCurrentAdapter, reinterpret_cast<Req *>(hdr)); },
        [&show](const void *rec) {
            Rec r;
            memcpy(&r, rec, sizeof r);
            return show(r);
        });
}

int showObject(InfoObject obj, unsigned id)
{
    const Adapter_Info &a = adapterInfo();
    switch (obj) {
    case OBJ_HBA:
        return listAdapters(id);
    case OBJ_PD:
        return listPds(id);
    case OBJ_VD:
        return listRecords<LD_Info, LD_Info_Request>(kVdList, id, KX_LD_GetInfo, printVd);
    case OBJ_ARRAY:
        return listRecords<DG_Info, DG_Info_Request>(kArrayList, id, KX_DG_GetInfo, [](const DG_Info &d) {
            printArray(d);
            return 0;
        });
    case OBJ_BLK:
        if (a.LogicalDriverMode == 0) {
            infoOut("\nNo RAID mode is supported on this card. (error %d: %s)\n", 19, infoErr(19));
            return KX_ST_NOT_SUPPORTED;
        }
        return listRecords<Block_Info, Block_Info_Request>(kBlockList, id, KX_BLK_GetInfo,
                                                           [](const Block_Info &b) {
                                                               printBlock(b);
                                                               return 0;
                                                           });
    case OBJ_SPARE:
        return listRecords<HD_RAID_Status, HD_RAID_Status_Request>(
            kSpareList, id, KX_PD_GetHDRaidStatus, [](const HD_RAID_Status &r) {
                printSpare(r);
                return 0;
            });
    case OBJ_PM:
        if (a.MaxPM == 0) {
            infoOut("PM is not supported on adapter %d.\n", gCurrentAdapter);
            return 1;
        }
        return listRecords<PM_Info, PM_Info_Request>(kPmList, id, KX_PD_GetPMInfo, [](const PM_Info &p) {
            printPm(p);
            return 0;
        });
    case OBJ_EXP:
        if (a.MaxExpander == 0) {
            infoOut("Expander is not supported on adapter %d.\n", gCurrentAdapter);
            return 0;
        }
        return listRecords<Exp_Info, Exp_Info_Request>(kExpanderList, id, KX_PD_GetExpanderInfo,
                                                       [](const Exp_Info &e) {
                                                           printExpander(e);
                                                           return 0;
                                                       });
    case OBJ_BBU:
        return reportBbu(id);
    case OBJ_TANDEM:
        return reportTandem(id);
    case OBJ_NONE:
        break;
    }
    return 1;
}

} // namespace

int doInfo(int argc, char **argv, cmd_struct *pCmdInfo)
{
    InfoObject obj = OBJ_NONE;
    InfoOptions opt;
    const int rc = infoParseOptions(
        argc, argv, pCmdInfo, "-i : id should be a number\n", 254,
        [&obj](const char *word) {
            obj = OBJ_NONE;
            for (const auto &o : kObjects)
                if (strcasecmp(word, o.word) == 0)
                    obj = o.obj;
            if (obj == OBJ_ARRAY && !arrayBasedRaid) {
                infoOut("-o : array is not supported on this adapter\n");
                return false;
            }
            if (obj == OBJ_NONE) {
                infoOut("-o : invalid object '%s'\n", word);
                return false;
            }
            return true;
        },
        opt);
    if (rc >= 0)
        return rc;
    return showObject(obj, opt.haveId ? (unsigned)opt.id : kAllIds);
}
