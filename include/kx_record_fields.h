/*
 * Field descriptions of the controller records: name, offset, kind and
 * extent of every field, in declaration order. Used where records are
 * filled from or dumped to text by field name (fixtures of the simulated
 * controller, diagnostics) so that no field list is written twice.
 */
#ifndef KX_RECORD_FIELDS_H
#define KX_RECORD_FIELDS_H

#include "kx_records.h"

enum KXFieldKind {
    KXF_UINT,    /* unsigned integer of elemSize bytes */
    KXF_INT,     /* signed integer of elemSize bytes */
    KXF_U64,     /* KX_U64, low word first */
    KXF_TEXT,    /* NUL-padded byte text of count bytes */
    KXF_BITS,    /* bitWidth bits at bitPos of the byte at offset */
    KXF_RECORD   /* nested record (or array of them) */
};

struct KXRecordDesc;

struct KXFieldDesc {
    const char *name;
    unsigned offset;
    KXFieldKind kind;
    unsigned elemSize;           /* bytes per element */
    unsigned count;              /* first array dimension, 1 for scalars */
    unsigned count2;             /* second array dimension, 1 if none */
    const KXRecordDesc *nested;  /* for KXF_RECORD */
    unsigned bitPos, bitWidth;   /* for KXF_BITS */
};

struct KXRecordDesc {
    const char *name;
    unsigned size;
    const KXFieldDesc *fields;
    unsigned nfields;
};

struct KXRecordDesc;
static const KXFieldDesc kFields_RequestHeader[] = {
    {"version", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"requestType", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"startingIndexOrId", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"numRequested", 4, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"numReturned", 6, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"nextStartingIndex", 8, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"reserved1", 10, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_RequestHeader = {"RequestHeader", 16, kFields_RequestHeader, 7};

static const KXFieldDesc kFields_Version_Info[] = {
    {"VerMajor", 0, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"VerMinor", 4, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"VerOEM", 8, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"VerBuild", 12, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Version_Info = {"Version_Info", 16, kFields_Version_Info, 4};

static const KXFieldDesc kFields_Version_Info_CIM[] = {
    {"MajorVersion", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"MinorVersion", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"RevisionNumber", 4, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"BuildNumber", 6, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Version_Info_CIM = {"Version_Info_CIM", 8, kFields_Version_Info_CIM, 4};

static const KXFieldDesc kFields_Adapter_Info[] = {
    {"DriverVersion", 0, KXF_RECORD, 16, 1, 1, &kRecord_Version_Info, 0, 0},
    {"BIOSVersion", 16, KXF_RECORD, 8, 1, 1, &kRecord_Version_Info_CIM, 0, 0},
    {"FirmwareVersion", 24, KXF_RECORD, 8, 1, 1, &kRecord_Version_Info_CIM, 0, 0},
    {"BootLoaderVersion", 32, KXF_RECORD, 8, 1, 1, &kRecord_Version_Info_CIM, 0, 0},
    {"Reserved1", 40, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"SystemIOBusNumber", 48, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"SlotNumber", 52, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"InterruptLevel", 56, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"InterruptVector", 60, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"VenID", 64, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"SubVenID", 66, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"DevID", 68, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"SubDevID", 70, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"PortCount", 72, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PortSupportType", 73, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Features", 74, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AlarmSupport", 75, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"RevisionID", 76, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxPDPerVD", 77, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"StripeSizeSupported", 78, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"AdvancedFeatures", 80, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"MaxPDPerDG", 84, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxVDPerDG", 85, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxParityDisks", 86, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxDiskGroup", 87, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxTotalBlocks", 88, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxBlockPerPD", 89, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxHD", 90, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxExpander", 91, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxPM", 92, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxLogicalDrive", 93, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"LogicalDriverMode", 94, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"WWN", 96, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
    {"MaxHD_Ext", 104, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"MaxBufferSize", 106, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"MaxTotalBlocks_V2", 108, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"MaxAESPort", 110, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxTandemHdd", 111, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxSSDPerTandem", 112, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxAESEntry", 113, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxSSDSegment", 114, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved3", 115, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AdvancedFeatures2", 116, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"Reserved32", 120, KXF_UINT, 1, 4, 1, nullptr, 0, 0},
    {"SerialNo", 124, KXF_TEXT, 1, 20, 1, nullptr, 0, 0},
    {"PortSasAddress", 144, KXF_UINT, 1, 16, 8, nullptr, 0, 0},
    {"MaxSpeed", 272, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CurrentSpeed", 273, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MaxLinkWidth", 274, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CurrentLinkWidth", 275, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"img_health", 276, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"autoload_img_health", 277, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"boot_loader_img_health", 278, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"firmware_img_health", 279, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"boot_rom_img_health", 280, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"hba_info_img_health", 281, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved4", 282, KXF_UINT, 1, 2, 1, nullptr, 0, 0},
    {"ModelNumber", 284, KXF_TEXT, 1, 20, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Adapter_Info = {"Adapter_Info", 304, kFields_Adapter_Info, 58};

static const KXFieldDesc kFields_Adapter_Config_V2[] = {
    {"AlarmOn", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AutoRebuildOn", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BGARate", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PollSMARTStatus", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MediaPatrolRate", 4, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CopyBack", 5, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SyncRate", 6, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"InitRate", 7, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"RebuildRate", 8, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MigrationRate", 9, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CopybackRate", 10, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"InterruptCoalescing", 11, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"ModuleConsolidate", 12, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"v_atapi_disable", 13, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"sgpio_enable", 14, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"rawimg_update_disabled", 15, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"port_phy_ctrl", 16, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
    {"SerialNo", 24, KXF_TEXT, 1, 20, 1, nullptr, 0, 0},
    {"ModelNumber", 44, KXF_TEXT, 1, 20, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Adapter_Config_V2 = {"Adapter_Config_V2", 64, kFields_Adapter_Config_V2, 19};

static const KXFieldDesc kFields_Link_Endpoint[] = {
    {"DevID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"DevType", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PhyCnt", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PhyID", 4, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
    {"SAS_Address", 12, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
    {"EnclosureID", 20, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Reserved", 22, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Link_Endpoint = {"Link_Endpoint", 28, kFields_Link_Endpoint, 7};

static const KXFieldDesc kFields_Link_Entity[] = {
    {"Parent", 0, KXF_RECORD, 28, 1, 1, &kRecord_Link_Endpoint, 0, 0},
    {"Reserved", 28, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
    {"Self", 36, KXF_RECORD, 28, 1, 1, &kRecord_Link_Endpoint, 0, 0},
};
static const KXRecordDesc kRecord_Link_Entity = {"Link_Entity", 64, kFields_Link_Entity, 3};

static const KXFieldDesc kFields_HD_Info[] = {
    {"Link", 0, KXF_RECORD, 64, 1, 1, &kRecord_Link_Entity, 0, 0},
    {"AdapterID", 64, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"InitStatus", 65, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"HDType", 66, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PIOMode", 67, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"MDMAMode", 68, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"UDMAMode", 69, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"ConnectionType", 70, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"DeviceType", 71, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"FeatureSupport", 72, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"Model", 76, KXF_TEXT, 1, 40, 1, nullptr, 0, 0},
    {"SerialNo", 116, KXF_TEXT, 1, 20, 1, nullptr, 0, 0},
    {"FWVersion", 136, KXF_TEXT, 1, 8, 1, nullptr, 0, 0},
    {"Size", 144, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"WWN", 152, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
    {"CurrentPIOMode", 160, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CurrentMDMAMode", 161, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CurrentUDMAMode", 162, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"ElementIdx", 163, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BlockSize", 164, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"ActivityLEDStatus", 168, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"LocateLEDStatus", 169, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"ErrorLEDStatus", 170, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SesDeviceType", 171, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"sata_signature", 172, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"Reserved4", 176, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
    {"HD_SSD_Type", 184, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved5", 185, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Media_Rotation_Rate", 186, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Reserved1", 188, KXF_UINT, 1, 60, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_HD_Info = {"HD_Info", 248, kFields_HD_Info, 30};

static const KXFieldDesc kFields_HD_Config[] = {
    {"WriteCacheOn", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SMARTOn", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Online", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"DriveSpeed", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"crypto", 4, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AESPercentage", 5, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"HDID", 6, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_HD_Config = {"HD_Config", 8, kFields_HD_Config, 7};

static const KXFieldDesc kFields_HD_RAID_Status[] = {
    {"HDID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"DGID", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Status", 4, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved", 5, KXF_UINT, 1, 3, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_HD_RAID_Status = {"HD_RAID_Status", 8, kFields_HD_RAID_Status, 4};

static const KXFieldDesc kFields_HD_SMART_Status[] = {
    {"SmartThresholdExceeded", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved1", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"HDID", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Reserved2", 4, KXF_UINT, 1, 4, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_HD_SMART_Status = {"HD_SMART_Status", 8, kFields_HD_SMART_Status, 4};

static const KXFieldDesc kFields_HD_BGA_Status[] = {
    {"HDID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Percentage", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Bga", 4, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Status", 5, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BgaStatus", 6, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved", 7, KXF_UINT, 1, 57, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_HD_BGA_Status = {"HD_BGA_Status", 64, kFields_HD_BGA_Status, 6};

static const KXFieldDesc kFields_HD_FreeSpaceInfo[] = {
    {"ID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"AdapterID", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved1", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BlockSize", 4, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"reserved2", 6, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"isFixed", 7, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Size", 8, KXF_U64, 8, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_HD_FreeSpaceInfo = {"HD_FreeSpaceInfo", 16, kFields_HD_FreeSpaceInfo, 7};

static const KXFieldDesc kFields_HD_Block_Info[] = {
    {"ID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Type", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BlkCount", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved1", 4, KXF_UINT, 1, 4, 1, nullptr, 0, 0},
    {"BlockIDs", 8, KXF_UINT, 2, 16, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_HD_Block_Info = {"HD_Block_Info", 40, kFields_HD_Block_Info, 5};

static const KXFieldDesc kFields_Block_Info[] = {
    {"ID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"HDID", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Flags", 4, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"LDID", 6, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Status", 8, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved", 9, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BlockSize", 10, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"ReservedSpaceForMigration", 12, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"StartLBA", 16, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"Size", 24, KXF_U64, 8, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Block_Info = {"Block_Info", 32, kFields_Block_Info, 10};

static const KXFieldDesc kFields_PM_Info[] = {
    {"Link", 0, KXF_RECORD, 64, 1, 1, &kRecord_Link_Entity, 0, 0},
    {"AdapterID", 64, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"ProductRevision", 65, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PMSpecRevision", 66, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"NumberOfPorts", 67, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"VendorId", 68, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"DeviceId", 70, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Reserved1", 72, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_PM_Info = {"PM_Info", 80, kFields_PM_Info, 8};

static const KXFieldDesc kFields_Exp_Info[] = {
    {"Link", 0, KXF_RECORD, 64, 1, 1, &kRecord_Link_Entity, 0, 0},
    {"AdapterID", 64, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Configuring", 65, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"RouteTableConfigurable", 66, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PhyCount", 67, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"ExpChangeCount", 68, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"MaxRouteIndexes", 70, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"VendorID", 72, KXF_TEXT, 1, 9, 1, nullptr, 0, 0},
    {"ProductID", 81, KXF_TEXT, 1, 17, 1, nullptr, 0, 0},
    {"ProductRev", 98, KXF_TEXT, 1, 5, 1, nullptr, 0, 0},
    {"ComponentVendorID", 103, KXF_TEXT, 1, 9, 1, nullptr, 0, 0},
    {"ComponentID", 112, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"ComponentRevisionID", 114, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved1", 115, KXF_UINT, 1, 17, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Exp_Info = {"Exp_Info", 132, kFields_Exp_Info, 14};

static const KXFieldDesc kFields_SMART_INFO[] = {
    {"Id", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AttributeName", 1, KXF_TEXT, 1, 32, 1, nullptr, 0, 0},
    {"StatusFlags1", 33, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"StatusFlags2", 34, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CurrentValue", 35, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"WorstValue", 36, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"RawValue", 37, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
    {"ThresholdValue", 43, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved", 44, KXF_UINT, 1, 4, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_SMART_INFO = {"SMART_INFO", 48, kFields_SMART_INFO, 9};

static const KXFieldDesc kFields_BBU_Info[] = {
    {"status", 0, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"prev_status", 4, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"voltage", 8, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"supportMaxCapacity", 10, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"supportMinCapacity", 12, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"maxCapacity", 14, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"curCapacity", 16, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"time_to_empty", 18, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"time_to_full", 20, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"recharge_cycle", 22, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"featureSupport", 24, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"temperature", 26, KXF_INT, 2, 1, 1, nullptr, 0, 0},
    {"volt_lowerbound", 28, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"volt_upperbound", 30, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"temp_lowerbound", 32, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"temp_upperbound", 33, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"percentage", 34, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"percent_to_charge", 35, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"flags", 36, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"stop_charge_count", 37, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"last_notify_state", 38, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved2", 39, KXF_UINT, 1, 25, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_BBU_Info = {"BBU_Info", 64, kFields_BBU_Info, 22};

static const KXFieldDesc kFields_LD_Info[] = {
    {"ID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Status", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BGAStatus", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"StripeBlockSize", 4, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"RaidMode", 6, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"HDCount", 7, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CacheMode", 8, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"LD_GUID", 9, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
    {"SectorCoefficient", 17, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AdapterID", 18, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BlkCount", 19, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"time_hi", 20, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"DGID", 22, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Size", 24, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"Name", 32, KXF_TEXT, 1, 16, 1, nullptr, 0, 0},
    {"BlockIDs", 48, KXF_UINT, 2, 128, 1, nullptr, 0, 0},
    {"SubLDCount", 304, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"NumParityDisk", 305, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"time_low", 306, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"BlockSize", 308, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_LD_Info = {"LD_Info", 312, kFields_LD_Info, 20};

static const KXFieldDesc kFields_LD_Status[] = {
    {"Status", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Bga", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BgaPercentage", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"BgaState", 4, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BgaExt", 5, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"LDID", 6, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_LD_Status = {"LD_Status", 8, kFields_LD_Status, 6};

static const KXFieldDesc kFields_LD_Config[] = {
    {"CacheMode", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"TandemWaterMark", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AutoRebuildOn", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Status", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"LDID", 4, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"TandemRebuildMode", 6, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved2", 7, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Name", 8, KXF_TEXT, 1, 16, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_LD_Config = {"LD_Config", 24, kFields_LD_Config, 8};

static const KXFieldDesc kFields_Create_LD_Param[] = {
    {"RaidMode", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"HDCount", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"RoundingScheme", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SubLDCount", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"StripeBlockSize", 4, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"NumParityDisk", 6, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CachePolicy", 7, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"InitializationOption", 8, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SectorCoefficient", 9, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"LDID", 10, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"SpecifiedBlkSeq", 12, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"TandemWaterMark", 13, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved2", 14, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"ReservedForApp", 15, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"HDIDs", 16, KXF_UINT, 2, 128, 1, nullptr, 0, 0},
    {"Name", 272, KXF_TEXT, 1, 16, 1, nullptr, 0, 0},
    {"Size", 288, KXF_U64, 8, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Create_LD_Param = {"Create_LD_Param", 296, kFields_Create_LD_Param, 17};

static const KXFieldDesc kFields_Cross_VD_Info[] = {
    {"ID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Reserved1", 2, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
    {"SSDStartLBA", 8, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"SSDEndLBA", 16, KXF_U64, 8, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Cross_VD_Info = {"Cross_VD_Info", 24, kFields_Cross_VD_Info, 4};

static const KXFieldDesc kFields_DG_Info[] = {
    {"DGID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Reserved1", 2, KXF_UINT, 1, 2, 1, nullptr, 0, 0},
    {"Name", 4, KXF_TEXT, 1, 16, 1, nullptr, 0, 0},
    {"RaidMode", 20, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SubVDCount", 21, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"NumParityDisk", 22, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AdapterID", 23, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved2", 24, KXF_UINT, 1, 2, 1, nullptr, 0, 0},
    {"StripeBlockSize", 26, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"BlockSize", 28, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"TotalManagedSpace", 32, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"RemainingManagedSpace", 40, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"SmallestAvailablePDSize", 48, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"Status", 56, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PDBgaRunning", 57, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved3", 58, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PDCount", 59, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PDIDs", 60, KXF_UINT, 2, 128, 1, nullptr, 0, 0},
    {"Reserved4", 316, KXF_UINT, 1, 3, 1, nullptr, 0, 0},
    {"VDSlotCount", 319, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"VDSlotSize", 320, KXF_U64, 8, 32, 1, nullptr, 0, 0},
    {"VDIDs", 576, KXF_UINT, 2, 32, 1, nullptr, 0, 0},
    {"Reserved5", 640, KXF_UINT, 1, 3, 1, nullptr, 0, 0},
    {"SparePDCount", 643, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SparePDIDs", 644, KXF_UINT, 2, 8, 1, nullptr, 0, 0},
    {"BgaType", 660, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"BgaState", 662, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved6", 663, KXF_UINT, 1, 25, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_DG_Info = {"DG_Info", 688, kFields_DG_Info, 28};

static const KXFieldDesc kFields_DG_Config[] = {
    {"DGID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"WriteCacheOn", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Name", 4, KXF_TEXT, 1, 16, 1, nullptr, 0, 0},
    {"Reserved1", 20, KXF_UINT, 1, 12, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_DG_Config = {"DG_Config", 32, kFields_DG_Config, 5};

static const KXFieldDesc kFields_CreateOrModify_DG_Param[] = {
    {"DGID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Reserved1", 2, KXF_UINT, 1, 2, 1, nullptr, 0, 0},
    {"Name", 4, KXF_TEXT, 1, 16, 1, nullptr, 0, 0},
    {"RaidMode", 20, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SubVDCount", 21, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"NumParityDisk", 22, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved2", 23, KXF_UINT, 1, 7, 1, nullptr, 0, 0},
    {"StripeBlockSize", 30, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Size", 32, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"BlockSize", 40, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"InitializationOption", 44, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved3", 45, KXF_UINT, 1, 2, 1, nullptr, 0, 0},
    {"PDCount", 47, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PDIDs", 48, KXF_UINT, 2, 128, 1, nullptr, 0, 0},
    {"Reserved4", 304, KXF_UINT, 1, 128, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_CreateOrModify_DG_Param = {"CreateOrModify_DG_Param", 432, kFields_CreateOrModify_DG_Param, 15};

static const KXFieldDesc kFields_CreateOrModify_VD_Param[] = {
    {"VDID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"DGID", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Name", 4, KXF_TEXT, 1, 16, 1, nullptr, 0, 0},
    {"RaidMode", 20, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SubVDCount", 21, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"NumParityDisk", 22, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"DGSlotNum", 23, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved1", 24, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
    {"StripeBlockSize", 30, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Size", 32, KXF_U64, 8, 1, 1, nullptr, 0, 0},
    {"RoundingScheme", 40, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"CachePolicy", 41, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"InitializationOption", 42, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SectorCoefficient", 43, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"BlockSize", 44, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"Reserved", 48, KXF_UINT, 1, 256, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_CreateOrModify_VD_Param = {"CreateOrModify_VD_Param", 304, kFields_CreateOrModify_VD_Param, 16};

static const KXFieldDesc kFields_Rebuild_Param[] = {
    {"ID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"RebuildType", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"PDCount", 3, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved1", 4, KXF_UINT, 1, 4, 1, nullptr, 0, 0},
    {"PDIDs", 8, KXF_UINT, 2, 128, 1, nullptr, 0, 0},
    {"Reserved2", 264, KXF_UINT, 1, 64, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Rebuild_Param = {"Rebuild_Param", 328, kFields_Rebuild_Param, 6};

static const KXFieldDesc kFields_Event[] = {
    {"Class", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Code", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"TimeStamp", 4, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"DeviceID", 8, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"Severity", 10, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"AdapterID", 11, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SequenceNo", 12, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"Params", 16, KXF_UINT, 4, 4, 1, nullptr, 0, 0},
    {"SenseDataLength", 32, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved2", 33, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"SenseData", 34, KXF_UINT, 1, 30, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Event = {"Event", 64, kFields_Event, 11};

static const KXFieldDesc kFields_ServiceEvent[] = {
    {"kxevent", 0, KXF_RECORD, 64, 1, 1, &kRecord_Event, 0, 0},
    {"from", 64, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"deleted", 65, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved", 66, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_ServiceEvent = {"ServiceEvent", 72, kFields_ServiceEvent, 4};

static const KXFieldDesc kFields_Event_ChangeCounters[] = {
    {"Adapter_Change", 0, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"HD_Change", 4, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"MDD_Change", 8, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"LD_Change", 12, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"BSL_Change", 16, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"Expander_Change", 20, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"PM_Change", 24, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"SAS_Change", 28, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"ENCL_Change", 32, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"BAT_Change", 36, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"FLASH_Change", 40, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"Whatever_Change", 44, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"CACHE_Change", 48, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"MISC_Change", 52, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"ARRAY_Change", 56, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
    {"Accelerator_Change", 60, KXF_UINT, 4, 1, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Event_ChangeCounters = {"Event_ChangeCounters", 64, kFields_Event_ChangeCounters, 16};

static const KXFieldDesc kFields_Enclosure_Info[] = {
    {"Link", 0, KXF_RECORD, 64, 1, 1, &kRecord_Link_Entity, 0, 0},
    {"AdapterID", 64, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Status", 65, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved1", 66, KXF_UINT, 1, 2, 1, nullptr, 0, 0},
    {"LogicalID", 68, KXF_TEXT, 1, 9, 1, nullptr, 0, 0},
    {"VendorID", 77, KXF_TEXT, 1, 9, 1, nullptr, 0, 0},
    {"ProductID", 86, KXF_TEXT, 1, 17, 1, nullptr, 0, 0},
    {"RevisionLevel", 103, KXF_TEXT, 1, 5, 1, nullptr, 0, 0},
    {"reserved2", 108, KXF_UINT, 1, 3, 1, nullptr, 0, 0},
    {"ExpanderCount", 111, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"ExpanderIDs", 112, KXF_UINT, 2, 8, 1, nullptr, 0, 0},
    {"path", 128, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"target", 129, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"lun", 130, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"slice", 131, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved3", 132, KXF_UINT, 1, 20, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_Enclosure_Info = {"Enclosure_Info", 152, kFields_Enclosure_Info, 16};

static const KXFieldDesc kFields_EncDevice_Element[] = {
    {"SlotAddress", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Report", 1, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"Ident", 1, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"Rmv", 1, KXF_BITS, 1, 1, 1, nullptr, 2, 1},
    {"ReadyToInst", 1, KXF_BITS, 1, 1, 1, nullptr, 3, 1},
    {"EncBypassedB", 1, KXF_BITS, 1, 1, 1, nullptr, 4, 1},
    {"EncBypassedA", 1, KXF_BITS, 1, 1, 1, nullptr, 5, 1},
    {"DoNotRemove", 1, KXF_BITS, 1, 1, 1, nullptr, 6, 1},
    {"AppClientBypassedA", 1, KXF_BITS, 1, 1, 1, nullptr, 7, 1},
    {"DeviceBypassedB", 2, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"DeviceBypassedA", 2, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"ByPassedB", 2, KXF_BITS, 1, 1, 1, nullptr, 2, 1},
    {"ByPassedA", 2, KXF_BITS, 1, 1, 1, nullptr, 3, 1},
    {"DeviceOff", 2, KXF_BITS, 1, 1, 1, nullptr, 4, 1},
    {"FaultReqstd", 2, KXF_BITS, 1, 1, 1, nullptr, 5, 1},
    {"FaultSensed", 2, KXF_BITS, 1, 1, 1, nullptr, 6, 1},
    {"AppClientBypassedB", 2, KXF_BITS, 1, 1, 1, nullptr, 7, 1},
    {"reserved", 3, KXF_UINT, 1, 5, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncDevice_Element = {"EncDevice_Element", 8, kFields_EncDevice_Element, 18};

static const KXFieldDesc kFields_EncArrayDevice_Element[] = {
    {"RrAbort", 0, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"RebuildRemap", 0, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"InFailedArray", 0, KXF_BITS, 1, 1, 1, nullptr, 2, 1},
    {"InCritArray", 0, KXF_BITS, 1, 1, 1, nullptr, 3, 1},
    {"ConsChk", 0, KXF_BITS, 1, 1, 1, nullptr, 4, 1},
    {"HotSpare", 0, KXF_BITS, 1, 1, 1, nullptr, 5, 1},
    {"RsvdDevice", 0, KXF_BITS, 1, 1, 1, nullptr, 6, 1},
    {"Ok", 0, KXF_BITS, 1, 1, 1, nullptr, 7, 1},
    {"Report", 1, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"Ident", 1, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"Rmv", 1, KXF_BITS, 1, 1, 1, nullptr, 2, 1},
    {"ReadyToInst", 1, KXF_BITS, 1, 1, 1, nullptr, 3, 1},
    {"EncBypassedB", 1, KXF_BITS, 1, 1, 1, nullptr, 4, 1},
    {"EncBypassedA", 1, KXF_BITS, 1, 1, 1, nullptr, 5, 1},
    {"DoNotRemove", 1, KXF_BITS, 1, 1, 1, nullptr, 6, 1},
    {"AppClientBypassedA", 1, KXF_BITS, 1, 1, 1, nullptr, 7, 1},
    {"DeviceBypassedB", 2, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"DeviceBypassedA", 2, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"ByPassedB", 2, KXF_BITS, 1, 1, 1, nullptr, 2, 1},
    {"ByPassedA", 2, KXF_BITS, 1, 1, 1, nullptr, 3, 1},
    {"DeviceOff", 2, KXF_BITS, 1, 1, 1, nullptr, 4, 1},
    {"FaultReqstd", 2, KXF_BITS, 1, 1, 1, nullptr, 5, 1},
    {"FaultSensed", 2, KXF_BITS, 1, 1, 1, nullptr, 6, 1},
    {"AppClientBypassedB", 2, KXF_BITS, 1, 1, 1, nullptr, 7, 1},
    {"reserved", 3, KXF_UINT, 1, 5, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncArrayDevice_Element = {"EncArrayDevice_Element", 8, kFields_EncArrayDevice_Element, 25};

static const KXFieldDesc kFields_EncCooling_Element[] = {
    {"curSpeed", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"curSpeedcode", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 3, KXF_UINT, 1, 5, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncCooling_Element = {"EncCooling_Element", 8, kFields_EncCooling_Element, 3};

static const KXFieldDesc kFields_EncPower_Element[] = {
    {"DCOverVoltage", 0, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"DCUnderVoltage", 0, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"DCOverCurrent", 0, KXF_BITS, 1, 1, 1, nullptr, 2, 1},
    {"hotSwap", 0, KXF_BITS, 1, 1, 1, nullptr, 3, 1},
    {"tempWarn", 0, KXF_BITS, 1, 1, 1, nullptr, 4, 1},
    {"reservedbit", 0, KXF_BITS, 1, 1, 1, nullptr, 5, 3},
    {"reserved", 1, KXF_UINT, 1, 7, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncPower_Element = {"EncPower_Element", 8, kFields_EncPower_Element, 7};

static const KXFieldDesc kFields_EncTemperatureSensor_Element[] = {
    {"temperature", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"OTFailure", 1, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"OTWarning", 1, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"UTFailure", 1, KXF_BITS, 1, 1, 1, nullptr, 2, 1},
    {"UTWarning", 1, KXF_BITS, 1, 1, 1, nullptr, 3, 1},
    {"reservedbit", 1, KXF_BITS, 1, 1, 1, nullptr, 4, 4},
    {"reserved", 2, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncTemperatureSensor_Element = {"EncTemperatureSensor_Element", 8, kFields_EncTemperatureSensor_Element, 7};

static const KXFieldDesc kFields_EncVoltageSensor_Element[] = {
    {"voltage", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"warnOver", 2, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"warnUnder", 2, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"critOver", 2, KXF_BITS, 1, 1, 1, nullptr, 2, 1},
    {"critUnder", 2, KXF_BITS, 1, 1, 1, nullptr, 3, 1},
    {"reservedbit", 2, KXF_BITS, 1, 1, 1, nullptr, 4, 4},
    {"reserved", 3, KXF_UINT, 1, 5, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncVoltageSensor_Element = {"EncVoltageSensor_Element", 8, kFields_EncVoltageSensor_Element, 7};

static const KXFieldDesc kFields_EncAudibleAlarm_Element[] = {
    {"mute", 0, KXF_BITS, 1, 1, 1, nullptr, 0, 1},
    {"remind", 0, KXF_BITS, 1, 1, 1, nullptr, 1, 1},
    {"reservedbit", 0, KXF_BITS, 1, 1, 1, nullptr, 2, 6},
    {"reserved", 1, KXF_UINT, 1, 7, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncAudibleAlarm_Element = {"EncAudibleAlarm_Element", 8, kFields_EncAudibleAlarm_Element, 4};

static const KXFieldDesc kFields_EncDisplay_Element[] = {
    {"character1", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"character2", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"mode", 2, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 3, KXF_UINT, 1, 5, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncDisplay_Element = {"EncDisplay_Element", 8, kFields_EncDisplay_Element, 4};

static const KXFieldDesc kFields_EncDoorLock_Element[] = {
    {"unlocked", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 1, KXF_UINT, 1, 7, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncDoorLock_Element = {"EncDoorLock_Element", 8, kFields_EncDoorLock_Element, 2};

static const KXFieldDesc kFields_EncElementType_Info[] = {
    {"enclosureID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"magicID", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"type", 4, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"status", 5, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"elementID", 6, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 7, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"element", 8, KXF_UINT, 1, 8, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncElementType_Info = {"EncElementType_Info", 16, kFields_EncElementType_Info, 7};

static const KXFieldDesc kFields_EncElement_Config[] = {
    {"enclosureID", 0, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"magicID", 2, KXF_UINT, 2, 1, 1, nullptr, 0, 0},
    {"type", 4, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"status", 5, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"elementID", 6, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"highCriticalThreshold", 7, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"highWarningThreshold", 8, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"lowCriticalThreshold", 9, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"lowWarningThreshold", 10, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 11, KXF_UINT, 1, 5, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_EncElement_Config = {"EncElement_Config", 16, kFields_EncElement_Config, 10};

static const KXFieldDesc kFields_AES_PORT_INFO[] = {
    {"id", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"entry", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved", 2, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_AES_PORT_INFO = {"AES_PORT_INFO", 8, kFields_AES_PORT_INFO, 3};

static const KXFieldDesc kFields_AES_Port_Config[] = {
    {"port_id", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"aes_enable", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 2, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_AES_Port_Config = {"AES_Port_Config", 8, kFields_AES_Port_Config, 3};

static const KXFieldDesc kFields_AES_KEY_ENTRY_INFO[] = {
    {"id", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"status", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"Reserved", 2, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_AES_KEY_ENTRY_INFO = {"AES_KEY_ENTRY_INFO", 8, kFields_AES_KEY_ENTRY_INFO, 3};

static const KXFieldDesc kFields_AES_Entry_Config[] = {
    {"entry_id", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"key_length", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 2, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
    {"key_content", 8, KXF_UINT, 1, 32, 1, nullptr, 0, 0},
    {"user_auth", 40, KXF_UINT, 1, 32, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_AES_Entry_Config = {"AES_Entry_Config", 72, kFields_AES_Entry_Config, 5};

static const KXFieldDesc kFields_AES_Entry_Verify[] = {
    {"entry_id", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"key_length", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 2, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
    {"key_content", 8, KXF_UINT, 1, 32, 1, nullptr, 0, 0},
    {"user_auth", 40, KXF_UINT, 1, 32, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_AES_Entry_Verify = {"AES_Entry_Verify", 72, kFields_AES_Entry_Verify, 5};

static const KXFieldDesc kFields_AES_Change_Passwd[] = {
    {"entry_id", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 1, KXF_UINT, 1, 7, 1, nullptr, 0, 0},
    {"old_user_auth", 8, KXF_UINT, 1, 32, 1, nullptr, 0, 0},
    {"new_user_auth", 40, KXF_UINT, 1, 32, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_AES_Change_Passwd = {"AES_Change_Passwd", 72, kFields_AES_Change_Passwd, 4};

static const KXFieldDesc kFields_aes_entry_info[] = {
    {"aes_port", 0, KXF_UINT, 1, 4, 2, nullptr, 0, 0},
    {"entry", 8, KXF_UINT, 1, 10, 1, nullptr, 0, 0},
    {"reserved", 18, KXF_UINT, 1, 2, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_aes_entry_info = {"aes_entry_info", 20, kFields_aes_entry_info, 3};

static const KXFieldDesc kFields_entry_link[] = {
    {"port_id", 0, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"entry", 1, KXF_UINT, 1, 1, 1, nullptr, 0, 0},
    {"reserved", 2, KXF_UINT, 1, 6, 1, nullptr, 0, 0},
    {"user_auth", 8, KXF_UINT, 1, 32, 1, nullptr, 0, 0},
};
static const KXRecordDesc kRecord_entry_link = {"entry_link", 40, kFields_entry_link, 4};

static const KXRecordDesc *const kAllRecords[] = {
    &kRecord_RequestHeader,
    &kRecord_Version_Info,
    &kRecord_Version_Info_CIM,
    &kRecord_Adapter_Info,
    &kRecord_Adapter_Config_V2,
    &kRecord_Link_Endpoint,
    &kRecord_Link_Entity,
    &kRecord_HD_Info,
    &kRecord_HD_Config,
    &kRecord_HD_RAID_Status,
    &kRecord_HD_SMART_Status,
    &kRecord_HD_BGA_Status,
    &kRecord_HD_FreeSpaceInfo,
    &kRecord_HD_Block_Info,
    &kRecord_Block_Info,
    &kRecord_PM_Info,
    &kRecord_Exp_Info,
    &kRecord_SMART_INFO,
    &kRecord_BBU_Info,
    &kRecord_LD_Info,
    &kRecord_LD_Status,
    &kRecord_LD_Config,
    &kRecord_Create_LD_Param,
    &kRecord_Cross_VD_Info,
    &kRecord_DG_Info,
    &kRecord_DG_Config,
    &kRecord_CreateOrModify_DG_Param,
    &kRecord_CreateOrModify_VD_Param,
    &kRecord_Rebuild_Param,
    &kRecord_Event,
    &kRecord_ServiceEvent,
    &kRecord_Event_ChangeCounters,
    &kRecord_Enclosure_Info,
    &kRecord_EncDevice_Element,
    &kRecord_EncArrayDevice_Element,
    &kRecord_EncCooling_Element,
    &kRecord_EncPower_Element,
    &kRecord_EncTemperatureSensor_Element,
    &kRecord_EncVoltageSensor_Element,
    &kRecord_EncAudibleAlarm_Element,
    &kRecord_EncDisplay_Element,
    &kRecord_EncDoorLock_Element,
    &kRecord_EncElementType_Info,
    &kRecord_EncElement_Config,
    &kRecord_AES_PORT_INFO,
    &kRecord_AES_Port_Config,
    &kRecord_AES_KEY_ENTRY_INFO,
    &kRecord_AES_Entry_Config,
    &kRecord_AES_Entry_Verify,
    &kRecord_AES_Change_Passwd,
    &kRecord_aes_entry_info,
    &kRecord_entry_link,
};

static inline const KXRecordDesc *kxFindRecord(const char *name)
{
    for (const KXRecordDesc *r : kAllRecords) {
        const char *a = r->name, *b = name;
        while (*a && *a == *b) { ++a; ++b; }
        if (*a == 0 && *b == 0) return r;
    }
    return nullptr;
}

#endif /* KX_RECORD_FIELDS_H */
