/*
 * Records exchanged with the controller library.
 *
 * Byte-exact: packed, little-endian, offsets fixed by the controller's
 * interface. The static assertions at the end pin every record's size and
 * every field's offset, so a change here that would move a byte fails to
 * compile instead of corrupting a controller request.
 */
#ifndef KX_RECORDS_H
#define KX_RECORDS_H

#include <stddef.h>
#include "kx_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* RequestHeader: 16 bytes */
typedef struct _RequestHeader {
    KX_U8 version;
    KX_U8 requestType; /* 1: list starting at index startingIndexOrId; 2: the one object whose ID is startingIndexOrId */
    KX_U16 startingIndexOrId; /* start index or object ID */
    KX_U16 numRequested; /* capacity of the record array (1 with requestType 2) */
    KX_U16 numReturned; /* set by the library */
    KX_U16 nextStartingIndex; /* set by the library; 0xFFFF: no more records */
    KX_U8 reserved1[6];
} KX_PACKED RequestHeader, *PRequestHeader;

/* Version_Info: 16 bytes */
typedef struct _Version_Info {
    KX_U32 VerMajor;
    KX_U32 VerMinor;
    KX_U32 VerOEM;
    KX_U32 VerBuild;
} KX_PACKED Version_Info, *PVersion_Info;

/* Version_Info_CIM: 8 bytes */
typedef struct _Version_Info_CIM {
    KX_U16 MajorVersion;
    KX_U16 MinorVersion;
    KX_U16 RevisionNumber;
    KX_U16 BuildNumber;
} KX_PACKED Version_Info_CIM, *PVersion_Info_CIM;

/* Adapter_Info: 304 bytes */
typedef struct _Adapter_Info {
    Version_Info DriverVersion;
    Version_Info_CIM BIOSVersion;
    Version_Info_CIM FirmwareVersion;
    Version_Info_CIM BootLoaderVersion;
    KX_U64 Reserved1[1];
    KX_U32 SystemIOBusNumber;
    KX_U32 SlotNumber;
    KX_U32 InterruptLevel;
    KX_U32 InterruptVector;
    KX_U16 VenID;
    KX_U16 SubVenID;
    KX_U16 DevID;
    KX_U16 SubDevID;
    KX_U8 PortCount;
    KX_U8 PortSupportType;
    KX_U8 Features;
    KX_BOOLEAN AlarmSupport;
    KX_U8 RevisionID;
    KX_U8 MaxPDPerVD;
    KX_U16 StripeSizeSupported;
    KX_U32 AdvancedFeatures;
    KX_U8 MaxPDPerDG;
    KX_U8 MaxVDPerDG;
    KX_U8 MaxParityDisks;
    KX_U8 MaxDiskGroup;
    KX_U8 MaxTotalBlocks;
    KX_U8 MaxBlockPerPD;
    KX_U8 MaxHD;
    KX_U8 MaxExpander;
    KX_U8 MaxPM;
    KX_U8 MaxLogicalDrive;
    KX_U16 LogicalDriverMode;
    KX_U8 WWN[8];
    KX_U16 MaxHD_Ext;
    KX_U16 MaxBufferSize; /* size of a list-request buffer in KiB; 0 means the caller uses its own default */
    KX_U16 MaxTotalBlocks_V2;
    KX_U8 MaxAESPort;
    KX_U8 MaxTandemHdd;
    KX_U8 MaxSSDPerTandem;
    KX_U8 MaxAESEntry;
    KX_U8 MaxSSDSegment;
    KX_U8 Reserved3[1];
    KX_U32 AdvancedFeatures2;
    KX_U8 Reserved32[4];
    KX_U8 SerialNo[20]; /* text */
    KX_U8 PortSasAddress[16][8]; /* 16 ports × 8 bytes */
    KX_U8 MaxSpeed;
    KX_U8 CurrentSpeed;
    KX_U8 MaxLinkWidth;
    KX_U8 CurrentLinkWidth;
    KX_BOOLEAN img_health;
    KX_BOOLEAN autoload_img_health;
    KX_BOOLEAN boot_loader_img_health;
    KX_BOOLEAN firmware_img_health;
    KX_BOOLEAN boot_rom_img_health;
    KX_BOOLEAN hba_info_img_health;
    KX_U8 Reserved4[2];
    KX_U8 ModelNumber[20]; /* text */
} KX_PACKED Adapter_Info, *PAdapter_Info;

/* Adapter_Config_V2: 64 bytes */
typedef struct _Adapter_Config_V2 {
    KX_BOOLEAN AlarmOn;
    KX_BOOLEAN AutoRebuildOn;
    KX_U8 BGARate; /* percent */
    KX_BOOLEAN PollSMARTStatus;
    KX_U8 MediaPatrolRate; /* percent */
    KX_BOOLEAN CopyBack;
    KX_U8 SyncRate; /* percent */
    KX_U8 InitRate; /* percent */
    KX_U8 RebuildRate; /* percent */
    KX_U8 MigrationRate; /* percent */
    KX_U8 CopybackRate; /* percent */
    KX_BOOLEAN InterruptCoalescing;
    KX_BOOLEAN ModuleConsolidate;
    KX_BOOLEAN v_atapi_disable;
    KX_U8 sgpio_enable;
    KX_BOOLEAN rawimg_update_disabled;
    KX_U8 port_phy_ctrl[8];
    KX_U8 SerialNo[20]; /* text */
    KX_U8 ModelNumber[20]; /* text */
} KX_PACKED Adapter_Config_V2, *PAdapter_Config_V2;

/* Link_Endpoint: 28 bytes */
typedef struct _Link_Endpoint {
    KX_U16 DevID;
    KX_U8 DevType;
    KX_U8 PhyCnt;
    KX_U8 PhyID[8];
    KX_U8 SAS_Address[8];
    KX_U16 EnclosureID;
    KX_U8 Reserved[6];
} KX_PACKED Link_Endpoint, *PLink_Endpoint;

/* Link_Entity: 64 bytes */
typedef struct _Link_Entity {
    Link_Endpoint Parent;
    KX_U8 Reserved[8];
    Link_Endpoint Self;
} KX_PACKED Link_Entity, *PLink_Entity;

/* HD_Info: 248 bytes */
typedef struct _HD_Info {
    Link_Entity Link;
    KX_U8 AdapterID;
    KX_U8 InitStatus;
    KX_U8 HDType;
    KX_U8 PIOMode;
    KX_U8 MDMAMode;
    KX_U8 UDMAMode;
    KX_U8 ConnectionType;
    KX_U8 DeviceType;
    KX_U32 FeatureSupport;
    KX_U8 Model[40]; /* text */
    KX_U8 SerialNo[20]; /* text */
    KX_U8 FWVersion[8]; /* text */
    KX_U64 Size; /* KiB */
    KX_U8 WWN[8];
    KX_U8 CurrentPIOMode;
    KX_U8 CurrentMDMAMode;
    KX_U8 CurrentUDMAMode;
    KX_U8 ElementIdx;
    KX_U32 BlockSize;
    KX_U8 ActivityLEDStatus;
    KX_U8 LocateLEDStatus;
    KX_U8 ErrorLEDStatus;
    KX_U8 SesDeviceType;
    KX_U32 sata_signature;
    KX_U8 Reserved4[8];
    KX_U8 HD_SSD_Type;
    KX_U8 Reserved5[1];
    KX_U16 Media_Rotation_Rate;
    KX_U8 Reserved1[60];
} KX_PACKED HD_Info, *PHD_Info;

/* HD_Config: 8 bytes */
typedef struct _HD_CONFIG {
    KX_BOOLEAN WriteCacheOn;
    KX_BOOLEAN SMARTOn;
    KX_BOOLEAN Online;
    KX_U8 DriveSpeed;
    KX_U8 crypto;
    KX_U8 AESPercentage;
    KX_U16 HDID;
} KX_PACKED HD_Config, *PHD_Config;

/* HD_RAID_Status: 8 bytes */
typedef struct _HD_RAID_STATUS {
    KX_U16 HDID;
    KX_U16 DGID;
    KX_U8 Status;
    KX_U8 Reserved[3];
} KX_PACKED HD_RAID_Status, *PHD_RAID_Status;

/* HD_SMART_Status: 8 bytes */
typedef struct _HD_SMART_STATUS {
    KX_BOOLEAN SmartThresholdExceeded;
    KX_U8 Reserved1;
    KX_U16 HDID;
    KX_U8 Reserved2[4];
} KX_PACKED HD_SMART_Status, *PHD_SMART_Status;

/* HD_BGA_Status: 64 bytes */
typedef struct _HD_BGA_STATUS {
    KX_U16 HDID;
    KX_U16 Percentage;
    KX_U8 Bga;
    KX_U8 Status;
    KX_U8 BgaStatus;
    KX_U8 Reserved[57];
} KX_PACKED HD_BGA_Status, *PHD_BGA_Status;

/* HD_FreeSpaceInfo: 16 bytes */
typedef struct _HD_FreeSpaceInfo {
    KX_U16 ID;
    KX_U8 AdapterID;
    KX_U8 reserved1;
    KX_U16 BlockSize;
    KX_U8 reserved2;
    KX_BOOLEAN isFixed;
    KX_U64 Size; /* KiB */
} KX_PACKED HD_FreeSpaceInfo, *PHD_FreeSpaceInfo;

/* HD_Block_Info: 40 bytes */
typedef struct _HD_Block_Info {
    KX_U16 ID;
    KX_U8 Type;
    KX_U8 BlkCount;
    KX_U8 Reserved1[4];
    KX_U16 BlockIDs[16];
} KX_PACKED HD_Block_Info, *PHD_Block_Info;

/* Block_Info: 32 bytes */
typedef struct _BLOCK_INFO {
    KX_U16 ID;
    KX_U16 HDID;
    KX_U16 Flags;
    KX_U16 LDID;
    KX_U8 Status;
    KX_U8 Reserved;
    KX_U16 BlockSize;
    KX_U32 ReservedSpaceForMigration;
    KX_U64 StartLBA;
    KX_U64 Size;
} KX_PACKED Block_Info, *PBlock_Info;

/* PM_Info: 80 bytes */
typedef struct _PM_Info {
    Link_Entity Link;
    KX_U8 AdapterID;
    KX_U8 ProductRevision;
    KX_U8 PMSpecRevision;
    KX_U8 NumberOfPorts;
    KX_U16 VendorId;
    KX_U16 DeviceId;
    KX_U8 Reserved1[8];
} KX_PACKED PM_Info, *PPM_Info;

/* Exp_Info: 132 bytes */
typedef struct _Exp_Info {
    Link_Entity Link;
    KX_U8 AdapterID;
    KX_BOOLEAN Configuring;
    KX_BOOLEAN RouteTableConfigurable;
    KX_U8 PhyCount;
    KX_U16 ExpChangeCount;
    KX_U16 MaxRouteIndexes;
    KX_U8 VendorID[9];
    KX_U8 ProductID[17];
    KX_U8 ProductRev[5];
    KX_U8 ComponentVendorID[9];
    KX_U16 ComponentID;
    KX_U8 ComponentRevisionID;
    KX_U8 Reserved1[17];
} KX_PACKED Exp_Info, *PExp_Info;

/* SMART_INFO: 48 bytes */
typedef struct _SMART_INFO {
    KX_U8 Id;
    KX_U8 AttributeName[32];
    KX_U8 StatusFlags1;
    KX_U8 StatusFlags2;
    KX_U8 CurrentValue;
    KX_U8 WorstValue;
    KX_U8 RawValue[6];
    KX_U8 ThresholdValue;
    KX_U8 Reserved[4];
} KX_PACKED SMART_INFO, *PSMART_INFO;

/* BBU_Info: 64 bytes */
typedef struct _BBU_Info {
    KX_U32 status;
    KX_U32 prev_status;
    KX_U16 voltage;
    KX_U16 supportMaxCapacity;
    KX_U16 supportMinCapacity;
    KX_U16 maxCapacity;
    KX_U16 curCapacity;
    KX_U16 time_to_empty;
    KX_U16 time_to_full;
    KX_U16 recharge_cycle;
    KX_U16 featureSupport;
    KX_I16 temperature;
    KX_U16 volt_lowerbound;
    KX_U16 volt_upperbound;
    KX_U8 temp_lowerbound;
    KX_U8 temp_upperbound;
    KX_U8 percentage;
    KX_U8 percent_to_charge;
    KX_U8 flags;
    KX_U8 stop_charge_count;
    KX_U8 last_notify_state;
    KX_U8 reserved2[25];
} KX_PACKED BBU_Info, *PBBU_Info;

/* LD_Info: 312 bytes */
typedef struct _LD_Info {
    KX_U16 ID;
    KX_U8 Status;
    KX_U8 BGAStatus;
    KX_U16 StripeBlockSize;
    KX_U8 RaidMode;
    KX_U8 HDCount;
    KX_U8 CacheMode;
    KX_U8 LD_GUID[8];
    KX_U8 SectorCoefficient;
    KX_U8 AdapterID;
    KX_U8 BlkCount;
    KX_U16 time_hi;
    KX_U16 DGID;
    KX_U64 Size; /* KiB */
    KX_U8 Name[16]; /* text */
    KX_U16 BlockIDs[128]; /* the first BlkCount entries are valid */
    KX_U8 SubLDCount;
    KX_U8 NumParityDisk;
    KX_U16 time_low;
    KX_U32 BlockSize;
} KX_PACKED LD_Info, *PLD_Info;

/* LD_Status: 8 bytes */
typedef struct _LD_STATUS {
    KX_U8 Status;
    KX_U8 Bga;
    KX_U16 BgaPercentage; /* progress of the running background activity */
    KX_U8 BgaState;
    KX_U8 BgaExt;
    KX_U16 LDID;
} KX_PACKED LD_Status, *PLD_Status;

/* LD_Config: 24 bytes */
typedef struct _LD_Config {
    KX_U8 CacheMode;
    KX_U8 TandemWaterMark;
    KX_BOOLEAN AutoRebuildOn;
    KX_U8 Status;
    KX_U16 LDID;
    KX_U8 TandemRebuildMode;
    KX_U8 Reserved2;
    KX_U8 Name[16]; /* text */
} KX_PACKED LD_Config, *PLD_Config;

/* Create_LD_Param: 296 bytes */
typedef struct _Create_LD_Param {
    KX_U8 RaidMode;
    KX_U8 HDCount;
    KX_U8 RoundingScheme;
    KX_U8 SubLDCount;
    KX_U16 StripeBlockSize;
    KX_U8 NumParityDisk;
    KX_U8 CachePolicy;
    KX_U8 InitializationOption;
    KX_U8 SectorCoefficient;
    KX_U16 LDID;
    KX_U8 SpecifiedBlkSeq;
    KX_U8 TandemWaterMark;
    KX_U8 Reserved2[1];
    KX_U8 ReservedForApp;
    KX_U16 HDIDs[128]; /* the first HDCount entries are valid */
    KX_U8 Name[16]; /* text */
    KX_U64 Size; /* KiB */
} KX_PACKED Create_LD_Param, *PCreate_LD_Param;

/* Cross_VD_Info: 24 bytes */
typedef struct _Cross_VD_Info {
    KX_U16 ID;
    KX_U8 Reserved1[6];
    KX_U64 SSDStartLBA;
    KX_U64 SSDEndLBA;
} KX_PACKED Cross_VD_Info, *PCross_VD_Info;

/* DG_Info: 688 bytes */
typedef struct _DG_Info {
    KX_U16 DGID;
    KX_U8 Reserved1[2];
    KX_U8 Name[16]; /* text */
    KX_U8 RaidMode;
    KX_U8 SubVDCount;
    KX_U8 NumParityDisk;
    KX_U8 AdapterID;
    KX_U8 Reserved2[2];
    KX_U16 StripeBlockSize;
    KX_U32 BlockSize;
    KX_U64 TotalManagedSpace; /* KiB */
    KX_U64 RemainingManagedSpace; /* KiB */
    KX_U64 SmallestAvailablePDSize; /* KiB */
    KX_U8 Status;
    KX_BOOLEAN PDBgaRunning;
    KX_U8 Reserved3;
    KX_U8 PDCount;
    KX_U16 PDIDs[128]; /* the first PDCount entries are valid */
    KX_U8 Reserved4[3];
    KX_U8 VDSlotCount;
    KX_U64 VDSlotSize[32]; /* KiB */
    KX_U16 VDIDs[32]; /* the first VDSlotCount entries are valid */
    KX_U8 Reserved5[3];
    KX_U8 SparePDCount;
    KX_U16 SparePDIDs[8]; /* the first SparePDCount entries are valid */
    KX_U16 BgaType;
    KX_U8 BgaState;
    KX_U8 Reserved6[25];
} KX_PACKED DG_Info, *PDG_Info;

/* DG_Config: 32 bytes */
typedef struct _DG_CONFIG {
    KX_U16 DGID;
    KX_BOOLEAN WriteCacheOn;
    KX_U8 Reserved;
    KX_U8 Name[16]; /* text */
    KX_U8 Reserved1[12];
} KX_PACKED DG_Config, *PDG_Config;

/* CreateOrModify_DG_Param: 432 bytes */
typedef struct _CreateOrModify_DG_Param {
    KX_U16 DGID;
    KX_U8 Reserved1[2];
    KX_U8 Name[16]; /* text */
    KX_U8 RaidMode;
    KX_U8 SubVDCount;
    KX_U8 NumParityDisk;
    KX_U8 Reserved2[7];
    KX_U16 StripeBlockSize;
    KX_U64 Size; /* KiB */
    KX_U32 BlockSize;
    KX_U8 InitializationOption;
    KX_U8 Reserved3[2];
    KX_U8 PDCount;
    KX_U16 PDIDs[128];
    KX_U8 Reserved4[128];
} KX_PACKED CreateOrModify_DG_Param, *PCreateOrModify_DG_Param;

/* CreateOrModify_VD_Param: 304 bytes */
typedef struct _CreateOrModify_VD_Param {
    KX_U16 VDID;
    KX_U16 DGID;
    KX_U8 Name[16]; /* text */
    KX_U8 RaidMode;
    KX_U8 SubVDCount;
    KX_U8 NumParityDisk;
    KX_U8 DGSlotNum;
    KX_U8 Reserved1[6];
    KX_U16 StripeBlockSize;
    KX_U64 Size; /* KiB */
    KX_U8 RoundingScheme;
    KX_U8 CachePolicy;
    KX_U8 InitializationOption;
    KX_U8 SectorCoefficient;
    KX_U32 BlockSize;
    KX_U8 Reserved[256];
} KX_PACKED CreateOrModify_VD_Param, *PCreateOrModify_VD_Param;

/* Rebuild_Param: 328 bytes */
typedef struct _Rebuild_Param {
    KX_U16 ID;
    KX_U8 RebuildType;
    KX_U8 PDCount;
    KX_U8 Reserved1[4];
    KX_U16 PDIDs[128];
    KX_U8 Reserved2[64];
} KX_PACKED Rebuild_Param, *PRebuild_Param;

/* Event: 64 bytes */
typedef struct _Event {
    KX_U16 Class;
    KX_U16 Code;
    KX_U32 TimeStamp;
    KX_U16 DeviceID;
    KX_U8 Severity;
    KX_U8 AdapterID;
    KX_U32 SequenceNo; /* per-adapter sequence number, increasing with each event */
    KX_U32 Params[4]; /* event-specific parameters, meaning by class and code */
    KX_U8 SenseDataLength;
    KX_U8 Reserved2;
    KX_U8 SenseData[30]; /* the first SenseDataLength bytes are valid */
} KX_PACKED Event, *PEvent;

/* ServiceEvent: 72 bytes */
typedef struct _ServiceEvent {
    Event kxevent; /* the controller event */
    KX_U8 from;
    KX_BOOLEAN deleted;
    KX_U8 Reserved[6];
} KX_PACKED ServiceEvent, *PServiceEvent;

/* Event_ChangeCounters: 64 bytes */
typedef struct _KX_Event_ChangeCounters {
    KX_U32 Adapter_Change;
    KX_U32 HD_Change;
    KX_U32 MDD_Change;
    KX_U32 LD_Change;
    KX_U32 BSL_Change;
    KX_U32 Expander_Change;
    KX_U32 PM_Change;
    KX_U32 SAS_Change;
    KX_U32 ENCL_Change;
    KX_U32 BAT_Change;
    KX_U32 FLASH_Change;
    KX_U32 Whatever_Change;
    KX_U32 CACHE_Change;
    KX_U32 MISC_Change;
    KX_U32 ARRAY_Change;
    KX_U32 Accelerator_Change;
} KX_PACKED Event_ChangeCounters, *PEvent_ChangeCounters;

/* Enclosure_Info: 152 bytes */
typedef struct _Enclosure_Info {
    Link_Entity Link;
    KX_U8 AdapterID;
    KX_U8 Status;
    KX_U8 reserved1[2];
    KX_U8 LogicalID[9]; /* text */
    KX_U8 VendorID[9]; /* text */
    KX_U8 ProductID[17]; /* text */
    KX_U8 RevisionLevel[5]; /* text */
    KX_U8 reserved2[3];
    KX_U8 ExpanderCount;
    KX_U16 ExpanderIDs[8];
    KX_U8 path;
    KX_U8 target;
    KX_U8 lun;
    KX_U8 slice;
    KX_U8 reserved3[20];
} KX_PACKED Enclosure_Info, *PEnclosure_Info;

/* EncDevice_Element: 8 bytes */
typedef struct _EncDevice_Element {
    KX_U8 SlotAddress;
    struct {
        KX_U8 Report : 1;
        KX_U8 Ident : 1;
        KX_U8 Rmv : 1;
        KX_U8 ReadyToInst : 1;
        KX_U8 EncBypassedB : 1;
        KX_U8 EncBypassedA : 1;
        KX_U8 DoNotRemove : 1;
        KX_U8 AppClientBypassedA : 1;
    };
    struct {
        KX_U8 DeviceBypassedB : 1;
        KX_U8 DeviceBypassedA : 1;
        KX_U8 ByPassedB : 1;
        KX_U8 ByPassedA : 1;
        KX_U8 DeviceOff : 1;
        KX_U8 FaultReqstd : 1;
        KX_U8 FaultSensed : 1;
        KX_U8 AppClientBypassedB : 1;
    };
    KX_U8 reserved[5];
} KX_PACKED EncDevice_Element, *PEncDevice_Element;

/* EncArrayDevice_Element: 8 bytes */
typedef struct _EncArrayDevice_Element {
    struct {
        KX_U8 RrAbort : 1;
        KX_U8 RebuildRemap : 1;
        KX_U8 InFailedArray : 1;
        KX_U8 InCritArray : 1;
        KX_U8 ConsChk : 1;
        KX_U8 HotSpare : 1;
        KX_U8 RsvdDevice : 1;
        KX_U8 Ok : 1;
    };
    struct {
        KX_U8 Report : 1;
        KX_U8 Ident : 1;
        KX_U8 Rmv : 1;
        KX_U8 ReadyToInst : 1;
        KX_U8 EncBypassedB : 1;
        KX_U8 EncBypassedA : 1;
        KX_U8 DoNotRemove : 1;
        KX_U8 AppClientBypassedA : 1;
    };
    struct {
        KX_U8 DeviceBypassedB : 1;
        KX_U8 DeviceBypassedA : 1;
        KX_U8 ByPassedB : 1;
        KX_U8 ByPassedA : 1;
        KX_U8 DeviceOff : 1;
        KX_U8 FaultReqstd : 1;
        KX_U8 FaultSensed : 1;
        KX_U8 AppClientBypassedB : 1;
    };
    KX_U8 reserved[5];
} KX_PACKED EncArrayDevice_Element, *PEncArrayDevice_Element;

/* EncCooling_Element: 8 bytes */
typedef struct _EncCooling_Element {
    KX_U16 curSpeed;
    KX_U8 curSpeedcode;
    KX_U8 reserved[5];
} KX_PACKED EncCooling_Element, *PEncCooling_Element;

/* EncPower_Element: 8 bytes */
typedef struct _EncPower_Element {
    struct {
        KX_U8 DCOverVoltage : 1;
        KX_U8 DCUnderVoltage : 1;
        KX_U8 DCOverCurrent : 1;
        KX_U8 hotSwap : 1;
        KX_U8 tempWarn : 1;
        KX_U8 reservedbit : 3;
    };
    KX_U8 reserved[7];
} KX_PACKED EncPower_Element, *PEncPower_Element;

/* EncTemperatureSensor_Element: 8 bytes */
typedef struct _EncTemperatureSensor_Element {
    KX_U8 temperature;
    struct {
        KX_U8 OTFailure : 1;
        KX_U8 OTWarning : 1;
        KX_U8 UTFailure : 1;
        KX_U8 UTWarning : 1;
        KX_U8 reservedbit : 4;
    };
    KX_U8 reserved[6];
} KX_PACKED EncTemperatureSensor_Element, *PEncTemperatureSensor_Element;

/* EncVoltageSensor_Element: 8 bytes */
typedef struct _EncVoltageSensor_Element {
    KX_U16 voltage;
    struct {
        KX_U8 warnOver : 1;
        KX_U8 warnUnder : 1;
        KX_U8 critOver : 1;
        KX_U8 critUnder : 1;
        KX_U8 reservedbit : 4;
    };
    KX_U8 reserved[5];
} KX_PACKED EncVoltageSensor_Element, *PEncVoltageSensor_Element;

/* EncAudibleAlarm_Element: 8 bytes */
typedef struct _EncAudibleAlarm_Element {
    struct {
        KX_U8 mute : 1;
        KX_U8 remind : 1;
        KX_U8 reservedbit : 6;
    };
    KX_U8 reserved[7];
} KX_PACKED EncAudibleAlarm_Element, *PEncAudibleAlarm_Element;

/* EncDisplay_Element: 8 bytes */
typedef struct _EncDisplay_Element {
    KX_U8 character1;
    KX_U8 character2;
    KX_U8 mode;
    KX_U8 reserved[5];
} KX_PACKED EncDisplay_Element, *PEncDisplay_Element;

/* EncDoorLock_Element: 8 bytes */
typedef struct _EncDoorLock_Element {
    KX_BOOLEAN unlocked;
    KX_U8 reserved[7];
} KX_PACKED EncDoorLock_Element, *PEncDoorLock_Element;

/* EncElementType_Info: 16 bytes */
typedef struct _EncElementType_Info {
    KX_U16 enclosureID;
    KX_U16 magicID;
    KX_U8 type;
    KX_U8 status;
    KX_U8 elementID;
    KX_U8 reserved;
    union {
        KX_U8 raw[8];
        EncDevice_Element device;
        EncArrayDevice_Element arraydevice;
        EncCooling_Element cooling;
        EncPower_Element power;
        EncTemperatureSensor_Element temperaturesensor;
        EncVoltageSensor_Element voltagesensor;
        EncAudibleAlarm_Element audiblealarm;
        EncDisplay_Element display;
        EncDoorLock_Element doorlock;
    } element;
} KX_PACKED EncElementType_Info, *PEncElementType_Info;

/* EncElement_Config: 16 bytes */
typedef struct _EncElement_Config {
    KX_U16 enclosureID;
    KX_U16 magicID;
    KX_U8 type;
    KX_U8 status;
    KX_U8 elementID;
    KX_U8 highCriticalThreshold;
    KX_U8 highWarningThreshold;
    KX_U8 lowCriticalThreshold;
    KX_U8 lowWarningThreshold;
    KX_U8 reserved[5];
} KX_PACKED EncElement_Config, *PEncElement_Config;

/* AES_PORT_INFO: 8 bytes */
typedef struct _AES_PORT_INFO {
    KX_U8 id;
    KX_U8 entry;
    KX_U8 Reserved[6];
} KX_PACKED AES_PORT_INFO, *PAES_PORT_INFO;

/* AES_Port_Config: 8 bytes */
typedef struct _AES_Port_Config {
    KX_U8 port_id;
    KX_BOOLEAN aes_enable;
    KX_U8 reserved[6];
} KX_PACKED AES_Port_Config, *PAES_Port_Config;

/* AES_KEY_ENTRY_INFO: 8 bytes */
typedef struct _AES_KEY_ENTRY_INFO {
    KX_U8 id;
    KX_U8 status;
    KX_U8 Reserved[6];
} KX_PACKED AES_KEY_ENTRY_INFO, *PAES_KEY_ENTRY_INFO;

/* AES_Entry_Config: 72 bytes */
typedef struct _AES_Entry_Config {
    KX_U8 entry_id;
    KX_U8 key_length;
    KX_U8 reserved[6];
    KX_U8 key_content[32]; /* the first key_length bytes are the key */
    KX_U8 user_auth[32]; /* user authentication string */
} KX_PACKED AES_Entry_Config, *PAES_Entry_Config;

/* AES_Entry_Verify: 72 bytes */
typedef struct _AES_Entry_Verify {
    KX_U8 entry_id;
    KX_U8 key_length;
    KX_U8 reserved[6];
    KX_U8 key_content[32]; /* the first key_length bytes are the key */
    KX_U8 user_auth[32]; /* user authentication string */
} KX_PACKED AES_Entry_Verify, *PAES_Entry_Verify;

/* AES_Change_Passwd: 72 bytes */
typedef struct _AES_Change_Passwd {
    KX_U8 entry_id;
    KX_U8 reserved[7];
    KX_U8 old_user_auth[32]; /* current user authentication string */
    KX_U8 new_user_auth[32]; /* new user authentication string */
} KX_PACKED AES_Change_Passwd, *PAES_Change_Passwd;

/* aes_entry_info: 20 bytes */
typedef struct _aes_entry_info {
    KX_U8 aes_port[4][2];
    KX_U8 entry[10];
    KX_U8 reserved[2];
} KX_PACKED aes_entry_info, *Paes_entry_info;

/* entry_link: 40 bytes */
typedef struct _entry_link {
    KX_U8 port_id;
    KX_U8 entry;
    KX_U8 reserved[6];
    KX_U8 user_auth[32]; /* user authentication string */
} KX_PACKED entry_link, *Pentry_link;

/*
 * List request wrappers: the paging header followed by the record array.
 * Callers allocate 16 + numRequested * sizeof(record) bytes and cast.
 */
typedef struct _HD_Info_Request {
    RequestHeader header;
    HD_Info hdInfo[1]; /* numRequested records follow the header */
} KX_PACKED HD_Info_Request, *PHD_Info_Request;

typedef struct _HD_Config_Request {
    RequestHeader header;
    HD_Config hdConfig[1]; /* numRequested records follow the header */
} KX_PACKED HD_Config_Request, *PHD_Config_Request;

typedef struct _HD_RAID_Status_Request {
    RequestHeader header;
    HD_RAID_Status hdRAIDStatus[1]; /* numRequested records follow the header */
} KX_PACKED HD_RAID_Status_Request, *PHD_RAID_Status_Request;

typedef struct _HD_SMART_Status_Request {
    RequestHeader header;
    HD_SMART_Status hdSMARTStatus[1]; /* numRequested records follow the header */
} KX_PACKED HD_SMART_Status_Request, *PHD_SMART_Status_Request;

typedef struct _HD_BGA_Status_Request {
    RequestHeader header;
    HD_BGA_Status hdBGAStatus[1]; /* numRequested records follow the header */
} KX_PACKED HD_BGA_Status_Request, *PHD_BGA_Status_Request;

typedef struct _HD_FreeSpaceInfo_Request {
    RequestHeader header;
    HD_FreeSpaceInfo hdFreeSpaceInfo[1]; /* numRequested records follow the header */
} KX_PACKED HD_FreeSpaceInfo_Request, *PHD_FreeSpaceInfo_Request;

typedef struct _PM_Info_Request {
    RequestHeader header;
    PM_Info pmInfo[1]; /* numRequested records follow the header */
} KX_PACKED PM_Info_Request, *PPM_Info_Request;

typedef struct _Exp_Info_Request {
    RequestHeader header;
    Exp_Info expInfo[1]; /* numRequested records follow the header */
} KX_PACKED Exp_Info_Request, *PExp_Info_Request;

typedef struct _Block_Info_Request {
    RequestHeader header;
    Block_Info blockInfo[1]; /* numRequested records follow the header */
} KX_PACKED Block_Info_Request, *PBlock_Info_Request;

typedef struct _HD_Block_Info_Request {
    RequestHeader header;
    HD_Block_Info hdBlockInfo[1]; /* numRequested records follow the header */
} KX_PACKED HD_Block_Info_Request, *PHD_Block_Info_Request;

typedef struct _LD_Info_Request {
    RequestHeader header;
    LD_Info ldInfo[1]; /* numRequested records follow the header */
} KX_PACKED LD_Info_Request, *PLD_Info_Request;

typedef struct _LD_Status_Request {
    RequestHeader header;
    LD_Status ldStatus[1]; /* numRequested records follow the header */
} KX_PACKED LD_Status_Request, *PLD_Status_Request;

typedef struct _LD_Config_Request {
    RequestHeader header;
    LD_Config ldConfig[1]; /* numRequested records follow the header */
} KX_PACKED LD_Config_Request, *PLD_Config_Request;

typedef struct _DG_Info_Request {
    RequestHeader header;
    DG_Info dgInfo[1]; /* numRequested records follow the header */
} KX_PACKED DG_Info_Request, *PDG_Info_Request;

typedef struct _DG_Config_Request {
    RequestHeader header;
    DG_Config dgConfig[1]; /* numRequested records follow the header */
} KX_PACKED DG_Config_Request, *PDG_Config_Request;

typedef struct _Enclosure_Info_Request {
    RequestHeader header;
    Enclosure_Info enclosureInfo[1]; /* numRequested records follow the header */
} KX_PACKED Enclosure_Info_Request, *PEnclosure_Info_Request;

typedef struct _SMART_INFO_Request {
    RequestHeader header;
    SMART_INFO smartINFO[1]; /* numRequested records follow the header */
} KX_PACKED SMART_INFO_Request, *PSMART_INFO_Request;

typedef struct _EncElementType_Info_Request {
    RequestHeader header;
    EncElementType_Info encelementtypeInfo[1]; /* numRequested records follow the header */
} KX_PACKED EncElementType_Info_Request, *PEncElementType_Info_Request;

typedef struct _EncElement_Config_Request {
    RequestHeader header;
    EncElement_Config encelementConfig[1]; /* numRequested records follow the header */
} KX_PACKED EncElement_Config_Request, *PEncElement_Config_Request;

typedef struct _AES_PORT_INFO_Request {
    RequestHeader header;
    AES_PORT_INFO aesPORTINFO[1]; /* numRequested records follow the header */
} KX_PACKED AES_PORT_INFO_Request, *PAES_PORT_INFO_Request;

typedef struct _AES_KEY_ENTRY_INFO_Request {
    RequestHeader header;
    AES_KEY_ENTRY_INFO aesKEYENTRYINFO[1]; /* numRequested records follow the header */
} KX_PACKED AES_KEY_ENTRY_INFO_Request, *PAES_KEY_ENTRY_INFO_Request;

typedef struct _Cross_VD_Info_Request {
    RequestHeader header;
    Cross_VD_Info crossVDInfo[1]; /* numRequested records follow the header */
} KX_PACKED Cross_VD_Info_Request, *PCross_VD_Info_Request;

#ifdef __cplusplus
}
#endif

KX_CHECK_SIZE(RequestHeader, 16);
KX_CHECK_OFFSET(RequestHeader, version, 0);
KX_CHECK_OFFSET(RequestHeader, requestType, 1);
KX_CHECK_OFFSET(RequestHeader, startingIndexOrId, 2);
KX_CHECK_OFFSET(RequestHeader, numRequested, 4);
KX_CHECK_OFFSET(RequestHeader, numReturned, 6);
KX_CHECK_OFFSET(RequestHeader, nextStartingIndex, 8);
KX_CHECK_OFFSET(RequestHeader, reserved1, 10);
KX_CHECK_SIZE(Version_Info, 16);
KX_CHECK_OFFSET(Version_Info, VerMajor, 0);
KX_CHECK_OFFSET(Version_Info, VerMinor, 4);
KX_CHECK_OFFSET(Version_Info, VerOEM, 8);
KX_CHECK_OFFSET(Version_Info, VerBuild, 12);
KX_CHECK_SIZE(Version_Info_CIM, 8);
KX_CHECK_OFFSET(Version_Info_CIM, MajorVersion, 0);
KX_CHECK_OFFSET(Version_Info_CIM, MinorVersion, 2);
KX_CHECK_OFFSET(Version_Info_CIM, RevisionNumber, 4);
KX_CHECK_OFFSET(Version_Info_CIM, BuildNumber, 6);
KX_CHECK_SIZE(Adapter_Info, 304);
KX_CHECK_OFFSET(Adapter_Info, DriverVersion, 0);
KX_CHECK_OFFSET(Adapter_Info, BIOSVersion, 16);
KX_CHECK_OFFSET(Adapter_Info, FirmwareVersion, 24);
KX_CHECK_OFFSET(Adapter_Info, BootLoaderVersion, 32);
KX_CHECK_OFFSET(Adapter_Info, Reserved1, 40);
KX_CHECK_OFFSET(Adapter_Info, SystemIOBusNumber, 48);
KX_CHECK_OFFSET(Adapter_Info, SlotNumber, 52);
KX_CHECK_OFFSET(Adapter_Info, InterruptLevel, 56);
KX_CHECK_OFFSET(Adapter_Info, InterruptVector, 60);
KX_CHECK_OFFSET(Adapter_Info, VenID, 64);
KX_CHECK_OFFSET(Adapter_Info, SubVenID, 66);
KX_CHECK_OFFSET(Adapter_Info, DevID, 68);
KX_CHECK_OFFSET(Adapter_Info, SubDevID, 70);
KX_CHECK_OFFSET(Adapter_Info, PortCount, 72);
KX_CHECK_OFFSET(Adapter_Info, PortSupportType, 73);
KX_CHECK_OFFSET(Adapter_Info, Features, 74);
KX_CHECK_OFFSET(Adapter_Info, AlarmSupport, 75);
KX_CHECK_OFFSET(Adapter_Info, RevisionID, 76);
KX_CHECK_OFFSET(Adapter_Info, MaxPDPerVD, 77);
KX_CHECK_OFFSET(Adapter_Info, StripeSizeSupported, 78);
KX_CHECK_OFFSET(Adapter_Info, AdvancedFeatures, 80);
KX_CHECK_OFFSET(Adapter_Info, MaxPDPerDG, 84);
KX_CHECK_OFFSET(Adapter_Info, MaxVDPerDG, 85);
KX_CHECK_OFFSET(Adapter_Info, MaxParityDisks, 86);
KX_CHECK_OFFSET(Adapter_Info, MaxDiskGroup, 87);
KX_CHECK_OFFSET(Adapter_Info, MaxTotalBlocks, 88);
KX_CHECK_OFFSET(Adapter_Info, MaxBlockPerPD, 89);
KX_CHECK_OFFSET(Adapter_Info, MaxHD, 90);
KX_CHECK_OFFSET(Adapter_Info, MaxExpander, 91);
KX_CHECK_OFFSET(Adapter_Info, MaxPM, 92);
KX_CHECK_OFFSET(Adapter_Info, MaxLogicalDrive, 93);
KX_CHECK_OFFSET(Adapter_Info, LogicalDriverMode, 94);
KX_CHECK_OFFSET(Adapter_Info, WWN, 96);
KX_CHECK_OFFSET(Adapter_Info, MaxHD_Ext, 104);
KX_CHECK_OFFSET(Adapter_Info, MaxBufferSize, 106);
KX_CHECK_OFFSET(Adapter_Info, MaxTotalBlocks_V2, 108);
KX_CHECK_OFFSET(Adapter_Info, MaxAESPort, 110);
KX_CHECK_OFFSET(Adapter_Info, MaxTandemHdd, 111);
KX_CHECK_OFFSET(Adapter_Info, MaxSSDPerTandem, 112);
KX_CHECK_OFFSET(Adapter_Info, MaxAESEntry, 113);
KX_CHECK_OFFSET(Adapter_Info, MaxSSDSegment, 114);
KX_CHECK_OFFSET(Adapter_Info, Reserved3, 115);
KX_CHECK_OFFSET(Adapter_Info, AdvancedFeatures2, 116);
KX_CHECK_OFFSET(Adapter_Info, Reserved32, 120);
KX_CHECK_OFFSET(Adapter_Info, SerialNo, 124);
KX_CHECK_OFFSET(Adapter_Info, PortSasAddress, 144);
KX_CHECK_OFFSET(Adapter_Info, MaxSpeed, 272);
KX_CHECK_OFFSET(Adapter_Info, CurrentSpeed, 273);
KX_CHECK_OFFSET(Adapter_Info, MaxLinkWidth, 274);
KX_CHECK_OFFSET(Adapter_Info, CurrentLinkWidth, 275);
KX_CHECK_OFFSET(Adapter_Info, img_health, 276);
KX_CHECK_OFFSET(Adapter_Info, autoload_img_health, 277);
KX_CHECK_OFFSET(Adapter_Info, boot_loader_img_health, 278);
KX_CHECK_OFFSET(Adapter_Info, firmware_img_health, 279);
KX_CHECK_OFFSET(Adapter_Info, boot_rom_img_health, 280);
KX_CHECK_OFFSET(Adapter_Info, hba_info_img_health, 281);
KX_CHECK_OFFSET(Adapter_Info, Reserved4, 282);
KX_CHECK_OFFSET(Adapter_Info, ModelNumber, 284);
KX_CHECK_SIZE(Adapter_Config_V2, 64);
KX_CHECK_OFFSET(Adapter_Config_V2, AlarmOn, 0);
KX_CHECK_OFFSET(Adapter_Config_V2, AutoRebuildOn, 1);
KX_CHECK_OFFSET(Adapter_Config_V2, BGARate, 2);
KX_CHECK_OFFSET(Adapter_Config_V2, PollSMARTStatus, 3);
KX_CHECK_OFFSET(Adapter_Config_V2, MediaPatrolRate, 4);
KX_CHECK_OFFSET(Adapter_Config_V2, CopyBack, 5);
KX_CHECK_OFFSET(Adapter_Config_V2, SyncRate, 6);
KX_CHECK_OFFSET(Adapter_Config_V2, InitRate, 7);
KX_CHECK_OFFSET(Adapter_Config_V2, RebuildRate, 8);
KX_CHECK_OFFSET(Adapter_Config_V2, MigrationRate, 9);
KX_CHECK_OFFSET(Adapter_Config_V2, CopybackRate, 10);
KX_CHECK_OFFSET(Adapter_Config_V2, InterruptCoalescing, 11);
KX_CHECK_OFFSET(Adapter_Config_V2, ModuleConsolidate, 12);
KX_CHECK_OFFSET(Adapter_Config_V2, v_atapi_disable, 13);
KX_CHECK_OFFSET(Adapter_Config_V2, sgpio_enable, 14);
KX_CHECK_OFFSET(Adapter_Config_V2, rawimg_update_disabled, 15);
KX_CHECK_OFFSET(Adapter_Config_V2, port_phy_ctrl, 16);
KX_CHECK_OFFSET(Adapter_Config_V2, SerialNo, 24);
KX_CHECK_OFFSET(Adapter_Config_V2, ModelNumber, 44);
KX_CHECK_SIZE(Link_Endpoint, 28);
KX_CHECK_OFFSET(Link_Endpoint, DevID, 0);
KX_CHECK_OFFSET(Link_Endpoint, DevType, 2);
KX_CHECK_OFFSET(Link_Endpoint, PhyCnt, 3);
KX_CHECK_OFFSET(Link_Endpoint, PhyID, 4);
KX_CHECK_OFFSET(Link_Endpoint, SAS_Address, 12);
KX_CHECK_OFFSET(Link_Endpoint, EnclosureID, 20);
KX_CHECK_OFFSET(Link_Endpoint, Reserved, 22);
KX_CHECK_SIZE(Link_Entity, 64);
KX_CHECK_OFFSET(Link_Entity, Parent, 0);
KX_CHECK_OFFSET(Link_Entity, Reserved, 28);
KX_CHECK_OFFSET(Link_Entity, Self, 36);
KX_CHECK_SIZE(HD_Info, 248);
KX_CHECK_OFFSET(HD_Info, Link, 0);
KX_CHECK_OFFSET(HD_Info, AdapterID, 64);
KX_CHECK_OFFSET(HD_Info, InitStatus, 65);
KX_CHECK_OFFSET(HD_Info, HDType, 66);
KX_CHECK_OFFSET(HD_Info, PIOMode, 67);
KX_CHECK_OFFSET(HD_Info, MDMAMode, 68);
KX_CHECK_OFFSET(HD_Info, UDMAMode, 69);
KX_CHECK_OFFSET(HD_Info, ConnectionType, 70);
KX_CHECK_OFFSET(HD_Info, DeviceType, 71);
KX_CHECK_OFFSET(HD_Info, FeatureSupport, 72);
KX_CHECK_OFFSET(HD_Info, Model, 76);
KX_CHECK_OFFSET(HD_Info, SerialNo, 116);
KX_CHECK_OFFSET(HD_Info, FWVersion, 136);
KX_CHECK_OFFSET(HD_Info, Size, 144);
KX_CHECK_OFFSET(HD_Info, WWN, 152);
KX_CHECK_OFFSET(HD_Info, CurrentPIOMode, 160);
KX_CHECK_OFFSET(HD_Info, CurrentMDMAMode, 161);
KX_CHECK_OFFSET(HD_Info, CurrentUDMAMode, 162);
KX_CHECK_OFFSET(HD_Info, ElementIdx, 163);
KX_CHECK_OFFSET(HD_Info, BlockSize, 164);
KX_CHECK_OFFSET(HD_Info, ActivityLEDStatus, 168);
KX_CHECK_OFFSET(HD_Info, LocateLEDStatus, 169);
KX_CHECK_OFFSET(HD_Info, ErrorLEDStatus, 170);
KX_CHECK_OFFSET(HD_Info, SesDeviceType, 171);
KX_CHECK_OFFSET(HD_Info, sata_signature, 172);
KX_CHECK_OFFSET(HD_Info, Reserved4, 176);
KX_CHECK_OFFSET(HD_Info, HD_SSD_Type, 184);
KX_CHECK_OFFSET(HD_Info, Reserved5, 185);
KX_CHECK_OFFSET(HD_Info, Media_Rotation_Rate, 186);
KX_CHECK_OFFSET(HD_Info, Reserved1, 188);
KX_CHECK_SIZE(HD_Config, 8);
KX_CHECK_OFFSET(HD_Config, WriteCacheOn, 0);
KX_CHECK_OFFSET(HD_Config, SMARTOn, 1);
KX_CHECK_OFFSET(HD_Config, Online, 2);
KX_CHECK_OFFSET(HD_Config, DriveSpeed, 3);
KX_CHECK_OFFSET(HD_Config, crypto, 4);
KX_CHECK_OFFSET(HD_Config, AESPercentage, 5);
KX_CHECK_OFFSET(HD_Config, HDID, 6);
KX_CHECK_SIZE(HD_RAID_Status, 8);
KX_CHECK_OFFSET(HD_RAID_Status, HDID, 0);
KX_CHECK_OFFSET(HD_RAID_Status, DGID, 2);
KX_CHECK_OFFSET(HD_RAID_Status, Status, 4);
KX_CHECK_OFFSET(HD_RAID_Status, Reserved, 5);
KX_CHECK_SIZE(HD_SMART_Status, 8);
KX_CHECK_OFFSET(HD_SMART_Status, SmartThresholdExceeded, 0);
KX_CHECK_OFFSET(HD_SMART_Status, Reserved1, 1);
KX_CHECK_OFFSET(HD_SMART_Status, HDID, 2);
KX_CHECK_OFFSET(HD_SMART_Status, Reserved2, 4);
KX_CHECK_SIZE(HD_BGA_Status, 64);
KX_CHECK_OFFSET(HD_BGA_Status, HDID, 0);
KX_CHECK_OFFSET(HD_BGA_Status, Percentage, 2);
KX_CHECK_OFFSET(HD_BGA_Status, Bga, 4);
KX_CHECK_OFFSET(HD_BGA_Status, Status, 5);
KX_CHECK_OFFSET(HD_BGA_Status, BgaStatus, 6);
KX_CHECK_OFFSET(HD_BGA_Status, Reserved, 7);
KX_CHECK_SIZE(HD_FreeSpaceInfo, 16);
KX_CHECK_OFFSET(HD_FreeSpaceInfo, ID, 0);
KX_CHECK_OFFSET(HD_FreeSpaceInfo, AdapterID, 2);
KX_CHECK_OFFSET(HD_FreeSpaceInfo, reserved1, 3);
KX_CHECK_OFFSET(HD_FreeSpaceInfo, BlockSize, 4);
KX_CHECK_OFFSET(HD_FreeSpaceInfo, reserved2, 6);
KX_CHECK_OFFSET(HD_FreeSpaceInfo, isFixed, 7);
KX_CHECK_OFFSET(HD_FreeSpaceInfo, Size, 8);
KX_CHECK_SIZE(HD_Block_Info, 40);
KX_CHECK_OFFSET(HD_Block_Info, ID, 0);
KX_CHECK_OFFSET(HD_Block_Info, Type, 2);
KX_CHECK_OFFSET(HD_Block_Info, BlkCount, 3);
KX_CHECK_OFFSET(HD_Block_Info, Reserved1, 4);
KX_CHECK_OFFSET(HD_Block_Info, BlockIDs, 8);
KX_CHECK_SIZE(Block_Info, 32);
KX_CHECK_OFFSET(Block_Info, ID, 0);
KX_CHECK_OFFSET(Block_Info, HDID, 2);
KX_CHECK_OFFSET(Block_Info, Flags, 4);
KX_CHECK_OFFSET(Block_Info, LDID, 6);
KX_CHECK_OFFSET(Block_Info, Status, 8);
KX_CHECK_OFFSET(Block_Info, Reserved, 9);
KX_CHECK_OFFSET(Block_Info, BlockSize, 10);
KX_CHECK_OFFSET(Block_Info, ReservedSpaceForMigration, 12);
KX_CHECK_OFFSET(Block_Info, StartLBA, 16);
KX_CHECK_OFFSET(Block_Info, Size, 24);
KX_CHECK_SIZE(PM_Info, 80);
KX_CHECK_OFFSET(PM_Info, Link, 0);
KX_CHECK_OFFSET(PM_Info, AdapterID, 64);
KX_CHECK_OFFSET(PM_Info, ProductRevision, 65);
KX_CHECK_OFFSET(PM_Info, PMSpecRevision, 66);
KX_CHECK_OFFSET(PM_Info, NumberOfPorts, 67);
KX_CHECK_OFFSET(PM_Info, VendorId, 68);
KX_CHECK_OFFSET(PM_Info, DeviceId, 70);
KX_CHECK_OFFSET(PM_Info, Reserved1, 72);
KX_CHECK_SIZE(Exp_Info, 132);
KX_CHECK_OFFSET(Exp_Info, Link, 0);
KX_CHECK_OFFSET(Exp_Info, AdapterID, 64);
KX_CHECK_OFFSET(Exp_Info, Configuring, 65);
KX_CHECK_OFFSET(Exp_Info, RouteTableConfigurable, 66);
KX_CHECK_OFFSET(Exp_Info, PhyCount, 67);
KX_CHECK_OFFSET(Exp_Info, ExpChangeCount, 68);
KX_CHECK_OFFSET(Exp_Info, MaxRouteIndexes, 70);
KX_CHECK_OFFSET(Exp_Info, VendorID, 72);
KX_CHECK_OFFSET(Exp_Info, ProductID, 81);
KX_CHECK_OFFSET(Exp_Info, ProductRev, 98);
KX_CHECK_OFFSET(Exp_Info, ComponentVendorID, 103);
KX_CHECK_OFFSET(Exp_Info, ComponentID, 112);
KX_CHECK_OFFSET(Exp_Info, ComponentRevisionID, 114);
KX_CHECK_OFFSET(Exp_Info, Reserved1, 115);
KX_CHECK_SIZE(SMART_INFO, 48);
KX_CHECK_OFFSET(SMART_INFO, Id, 0);
KX_CHECK_OFFSET(SMART_INFO, AttributeName, 1);
KX_CHECK_OFFSET(SMART_INFO, StatusFlags1, 33);
KX_CHECK_OFFSET(SMART_INFO, StatusFlags2, 34);
KX_CHECK_OFFSET(SMART_INFO, CurrentValue, 35);
KX_CHECK_OFFSET(SMART_INFO, WorstValue, 36);
KX_CHECK_OFFSET(SMART_INFO, RawValue, 37);
KX_CHECK_OFFSET(SMART_INFO, ThresholdValue, 43);
KX_CHECK_OFFSET(SMART_INFO, Reserved, 44);
KX_CHECK_SIZE(BBU_Info, 64);
KX_CHECK_OFFSET(BBU_Info, status, 0);
KX_CHECK_OFFSET(BBU_Info, prev_status, 4);
KX_CHECK_OFFSET(BBU_Info, voltage, 8);
KX_CHECK_OFFSET(BBU_Info, supportMaxCapacity, 10);
KX_CHECK_OFFSET(BBU_Info, supportMinCapacity, 12);
KX_CHECK_OFFSET(BBU_Info, maxCapacity, 14);
KX_CHECK_OFFSET(BBU_Info, curCapacity, 16);
KX_CHECK_OFFSET(BBU_Info, time_to_empty, 18);
KX_CHECK_OFFSET(BBU_Info, time_to_full, 20);
KX_CHECK_OFFSET(BBU_Info, recharge_cycle, 22);
KX_CHECK_OFFSET(BBU_Info, featureSupport, 24);
KX_CHECK_OFFSET(BBU_Info, temperature, 26);
KX_CHECK_OFFSET(BBU_Info, volt_lowerbound, 28);
KX_CHECK_OFFSET(BBU_Info, volt_upperbound, 30);
KX_CHECK_OFFSET(BBU_Info, temp_lowerbound, 32);
KX_CHECK_OFFSET(BBU_Info, temp_upperbound, 33);
KX_CHECK_OFFSET(BBU_Info, percentage, 34);
KX_CHECK_OFFSET(BBU_Info, percent_to_charge, 35);
KX_CHECK_OFFSET(BBU_Info, flags, 36);
KX_CHECK_OFFSET(BBU_Info, stop_charge_count, 37);
KX_CHECK_OFFSET(BBU_Info, last_notify_state, 38);
KX_CHECK_OFFSET(BBU_Info, reserved2, 39);
KX_CHECK_SIZE(LD_Info, 312);
KX_CHECK_OFFSET(LD_Info, ID, 0);
KX_CHECK_OFFSET(LD_Info, Status, 2);
KX_CHECK_OFFSET(LD_Info, BGAStatus, 3);
KX_CHECK_OFFSET(LD_Info, StripeBlockSize, 4);
KX_CHECK_OFFSET(LD_Info, RaidMode, 6);
KX_CHECK_OFFSET(LD_Info, HDCount, 7);
KX_CHECK_OFFSET(LD_Info, CacheMode, 8);
KX_CHECK_OFFSET(LD_Info, LD_GUID, 9);
KX_CHECK_OFFSET(LD_Info, SectorCoefficient, 17);
KX_CHECK_OFFSET(LD_Info, AdapterID, 18);
KX_CHECK_OFFSET(LD_Info, BlkCount, 19);
KX_CHECK_OFFSET(LD_Info, time_hi, 20);
KX_CHECK_OFFSET(LD_Info, DGID, 22);
KX_CHECK_OFFSET(LD_Info, Size, 24);
KX_CHECK_OFFSET(LD_Info, Name, 32);
KX_CHECK_OFFSET(LD_Info, BlockIDs, 48);
KX_CHECK_OFFSET(LD_Info, SubLDCount, 304);
KX_CHECK_OFFSET(LD_Info, NumParityDisk, 305);
KX_CHECK_OFFSET(LD_Info, time_low, 306);
KX_CHECK_OFFSET(LD_Info, BlockSize, 308);
KX_CHECK_SIZE(LD_Status, 8);
KX_CHECK_OFFSET(LD_Status, Status, 0);
KX_CHECK_OFFSET(LD_Status, Bga, 1);
KX_CHECK_OFFSET(LD_Status, BgaPercentage, 2);
KX_CHECK_OFFSET(LD_Status, BgaState, 4);
KX_CHECK_OFFSET(LD_Status, BgaExt, 5);
KX_CHECK_OFFSET(LD_Status, LDID, 6);
KX_CHECK_SIZE(LD_Config, 24);
KX_CHECK_OFFSET(LD_Config, CacheMode, 0);
KX_CHECK_OFFSET(LD_Config, TandemWaterMark, 1);
KX_CHECK_OFFSET(LD_Config, AutoRebuildOn, 2);
KX_CHECK_OFFSET(LD_Config, Status, 3);
KX_CHECK_OFFSET(LD_Config, LDID, 4);
KX_CHECK_OFFSET(LD_Config, TandemRebuildMode, 6);
KX_CHECK_OFFSET(LD_Config, Reserved2, 7);
KX_CHECK_OFFSET(LD_Config, Name, 8);
KX_CHECK_SIZE(Create_LD_Param, 296);
KX_CHECK_OFFSET(Create_LD_Param, RaidMode, 0);
KX_CHECK_OFFSET(Create_LD_Param, HDCount, 1);
KX_CHECK_OFFSET(Create_LD_Param, RoundingScheme, 2);
KX_CHECK_OFFSET(Create_LD_Param, SubLDCount, 3);
KX_CHECK_OFFSET(Create_LD_Param, StripeBlockSize, 4);
KX_CHECK_OFFSET(Create_LD_Param, NumParityDisk, 6);
KX_CHECK_OFFSET(Create_LD_Param, CachePolicy, 7);
KX_CHECK_OFFSET(Create_LD_Param, InitializationOption, 8);
KX_CHECK_OFFSET(Create_LD_Param, SectorCoefficient, 9);
KX_CHECK_OFFSET(Create_LD_Param, LDID, 10);
KX_CHECK_OFFSET(Create_LD_Param, SpecifiedBlkSeq, 12);
KX_CHECK_OFFSET(Create_LD_Param, TandemWaterMark, 13);
KX_CHECK_OFFSET(Create_LD_Param, Reserved2, 14);
KX_CHECK_OFFSET(Create_LD_Param, ReservedForApp, 15);
KX_CHECK_OFFSET(Create_LD_Param, HDIDs, 16);
KX_CHECK_OFFSET(Create_LD_Param, Name, 272);
KX_CHECK_OFFSET(Create_LD_Param, Size, 288);
KX_CHECK_SIZE(Cross_VD_Info, 24);
KX_CHECK_OFFSET(Cross_VD_Info, ID, 0);
KX_CHECK_OFFSET(Cross_VD_Info, Reserved1, 2);
KX_CHECK_OFFSET(Cross_VD_Info, SSDStartLBA, 8);
KX_CHECK_OFFSET(Cross_VD_Info, SSDEndLBA, 16);
KX_CHECK_SIZE(DG_Info, 688);
KX_CHECK_OFFSET(DG_Info, DGID, 0);
KX_CHECK_OFFSET(DG_Info, Reserved1, 2);
KX_CHECK_OFFSET(DG_Info, Name, 4);
KX_CHECK_OFFSET(DG_Info, RaidMode, 20);
KX_CHECK_OFFSET(DG_Info, SubVDCount, 21);
KX_CHECK_OFFSET(DG_Info, NumParityDisk, 22);
KX_CHECK_OFFSET(DG_Info, AdapterID, 23);
KX_CHECK_OFFSET(DG_Info, Reserved2, 24);
KX_CHECK_OFFSET(DG_Info, StripeBlockSize, 26);
KX_CHECK_OFFSET(DG_Info, BlockSize, 28);
KX_CHECK_OFFSET(DG_Info, TotalManagedSpace, 32);
KX_CHECK_OFFSET(DG_Info, RemainingManagedSpace, 40);
KX_CHECK_OFFSET(DG_Info, SmallestAvailablePDSize, 48);
KX_CHECK_OFFSET(DG_Info, Status, 56);
KX_CHECK_OFFSET(DG_Info, PDBgaRunning, 57);
KX_CHECK_OFFSET(DG_Info, Reserved3, 58);
KX_CHECK_OFFSET(DG_Info, PDCount, 59);
KX_CHECK_OFFSET(DG_Info, PDIDs, 60);
KX_CHECK_OFFSET(DG_Info, Reserved4, 316);
KX_CHECK_OFFSET(DG_Info, VDSlotCount, 319);
KX_CHECK_OFFSET(DG_Info, VDSlotSize, 320);
KX_CHECK_OFFSET(DG_Info, VDIDs, 576);
KX_CHECK_OFFSET(DG_Info, Reserved5, 640);
KX_CHECK_OFFSET(DG_Info, SparePDCount, 643);
KX_CHECK_OFFSET(DG_Info, SparePDIDs, 644);
KX_CHECK_OFFSET(DG_Info, BgaType, 660);
KX_CHECK_OFFSET(DG_Info, BgaState, 662);
KX_CHECK_OFFSET(DG_Info, Reserved6, 663);
KX_CHECK_SIZE(DG_Config, 32);
KX_CHECK_OFFSET(DG_Config, DGID, 0);
KX_CHECK_OFFSET(DG_Config, WriteCacheOn, 2);
KX_CHECK_OFFSET(DG_Config, Reserved, 3);
KX_CHECK_OFFSET(DG_Config, Name, 4);
KX_CHECK_OFFSET(DG_Config, Reserved1, 20);
KX_CHECK_SIZE(CreateOrModify_DG_Param, 432);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, DGID, 0);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, Reserved1, 2);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, Name, 4);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, RaidMode, 20);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, SubVDCount, 21);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, NumParityDisk, 22);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, Reserved2, 23);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, StripeBlockSize, 30);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, Size, 32);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, BlockSize, 40);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, InitializationOption, 44);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, Reserved3, 45);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, PDCount, 47);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, PDIDs, 48);
KX_CHECK_OFFSET(CreateOrModify_DG_Param, Reserved4, 304);
KX_CHECK_SIZE(CreateOrModify_VD_Param, 304);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, VDID, 0);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, DGID, 2);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, Name, 4);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, RaidMode, 20);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, SubVDCount, 21);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, NumParityDisk, 22);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, DGSlotNum, 23);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, Reserved1, 24);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, StripeBlockSize, 30);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, Size, 32);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, RoundingScheme, 40);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, CachePolicy, 41);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, InitializationOption, 42);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, SectorCoefficient, 43);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, BlockSize, 44);
KX_CHECK_OFFSET(CreateOrModify_VD_Param, Reserved, 48);
KX_CHECK_SIZE(Rebuild_Param, 328);
KX_CHECK_OFFSET(Rebuild_Param, ID, 0);
KX_CHECK_OFFSET(Rebuild_Param, RebuildType, 2);
KX_CHECK_OFFSET(Rebuild_Param, PDCount, 3);
KX_CHECK_OFFSET(Rebuild_Param, Reserved1, 4);
KX_CHECK_OFFSET(Rebuild_Param, PDIDs, 8);
KX_CHECK_OFFSET(Rebuild_Param, Reserved2, 264);
KX_CHECK_SIZE(Event, 64);
KX_CHECK_OFFSET(Event, Class, 0);
KX_CHECK_OFFSET(Event, Code, 2);
KX_CHECK_OFFSET(Event, TimeStamp, 4);
KX_CHECK_OFFSET(Event, DeviceID, 8);
KX_CHECK_OFFSET(Event, Severity, 10);
KX_CHECK_OFFSET(Event, AdapterID, 11);
KX_CHECK_OFFSET(Event, SequenceNo, 12);
KX_CHECK_OFFSET(Event, Params, 16);
KX_CHECK_OFFSET(Event, SenseDataLength, 32);
KX_CHECK_OFFSET(Event, Reserved2, 33);
KX_CHECK_OFFSET(Event, SenseData, 34);
KX_CHECK_SIZE(ServiceEvent, 72);
KX_CHECK_OFFSET(ServiceEvent, kxevent, 0);
KX_CHECK_OFFSET(ServiceEvent, from, 64);
KX_CHECK_OFFSET(ServiceEvent, deleted, 65);
KX_CHECK_OFFSET(ServiceEvent, Reserved, 66);
KX_CHECK_SIZE(Event_ChangeCounters, 64);
KX_CHECK_OFFSET(Event_ChangeCounters, Adapter_Change, 0);
KX_CHECK_OFFSET(Event_ChangeCounters, HD_Change, 4);
KX_CHECK_OFFSET(Event_ChangeCounters, MDD_Change, 8);
KX_CHECK_OFFSET(Event_ChangeCounters, LD_Change, 12);
KX_CHECK_OFFSET(Event_ChangeCounters, BSL_Change, 16);
KX_CHECK_OFFSET(Event_ChangeCounters, Expander_Change, 20);
KX_CHECK_OFFSET(Event_ChangeCounters, PM_Change, 24);
KX_CHECK_OFFSET(Event_ChangeCounters, SAS_Change, 28);
KX_CHECK_OFFSET(Event_ChangeCounters, ENCL_Change, 32);
KX_CHECK_OFFSET(Event_ChangeCounters, BAT_Change, 36);
KX_CHECK_OFFSET(Event_ChangeCounters, FLASH_Change, 40);
KX_CHECK_OFFSET(Event_ChangeCounters, Whatever_Change, 44);
KX_CHECK_OFFSET(Event_ChangeCounters, CACHE_Change, 48);
KX_CHECK_OFFSET(Event_ChangeCounters, MISC_Change, 52);
KX_CHECK_OFFSET(Event_ChangeCounters, ARRAY_Change, 56);
KX_CHECK_OFFSET(Event_ChangeCounters, Accelerator_Change, 60);
KX_CHECK_SIZE(Enclosure_Info, 152);
KX_CHECK_OFFSET(Enclosure_Info, Link, 0);
KX_CHECK_OFFSET(Enclosure_Info, AdapterID, 64);
KX_CHECK_OFFSET(Enclosure_Info, Status, 65);
KX_CHECK_OFFSET(Enclosure_Info, reserved1, 66);
KX_CHECK_OFFSET(Enclosure_Info, LogicalID, 68);
KX_CHECK_OFFSET(Enclosure_Info, VendorID, 77);
KX_CHECK_OFFSET(Enclosure_Info, ProductID, 86);
KX_CHECK_OFFSET(Enclosure_Info, RevisionLevel, 103);
KX_CHECK_OFFSET(Enclosure_Info, reserved2, 108);
KX_CHECK_OFFSET(Enclosure_Info, ExpanderCount, 111);
KX_CHECK_OFFSET(Enclosure_Info, ExpanderIDs, 112);
KX_CHECK_OFFSET(Enclosure_Info, path, 128);
KX_CHECK_OFFSET(Enclosure_Info, target, 129);
KX_CHECK_OFFSET(Enclosure_Info, lun, 130);
KX_CHECK_OFFSET(Enclosure_Info, slice, 131);
KX_CHECK_OFFSET(Enclosure_Info, reserved3, 132);
KX_CHECK_SIZE(EncDevice_Element, 8);
KX_CHECK_OFFSET(EncDevice_Element, SlotAddress, 0);
KX_CHECK_OFFSET(EncDevice_Element, reserved, 3);
KX_CHECK_SIZE(EncArrayDevice_Element, 8);
KX_CHECK_OFFSET(EncArrayDevice_Element, reserved, 3);
KX_CHECK_SIZE(EncCooling_Element, 8);
KX_CHECK_OFFSET(EncCooling_Element, curSpeed, 0);
KX_CHECK_OFFSET(EncCooling_Element, curSpeedcode, 2);
KX_CHECK_OFFSET(EncCooling_Element, reserved, 3);
KX_CHECK_SIZE(EncPower_Element, 8);
KX_CHECK_OFFSET(EncPower_Element, reserved, 1);
KX_CHECK_SIZE(EncTemperatureSensor_Element, 8);
KX_CHECK_OFFSET(EncTemperatureSensor_Element, temperature, 0);
KX_CHECK_OFFSET(EncTemperatureSensor_Element, reserved, 2);
KX_CHECK_SIZE(EncVoltageSensor_Element, 8);
KX_CHECK_OFFSET(EncVoltageSensor_Element, voltage, 0);
KX_CHECK_OFFSET(EncVoltageSensor_Element, reserved, 3);
KX_CHECK_SIZE(EncAudibleAlarm_Element, 8);
KX_CHECK_OFFSET(EncAudibleAlarm_Element, reserved, 1);
KX_CHECK_SIZE(EncDisplay_Element, 8);
KX_CHECK_OFFSET(EncDisplay_Element, character1, 0);
KX_CHECK_OFFSET(EncDisplay_Element, character2, 1);
KX_CHECK_OFFSET(EncDisplay_Element, mode, 2);
KX_CHECK_OFFSET(EncDisplay_Element, reserved, 3);
KX_CHECK_SIZE(EncDoorLock_Element, 8);
KX_CHECK_OFFSET(EncDoorLock_Element, unlocked, 0);
KX_CHECK_OFFSET(EncDoorLock_Element, reserved, 1);
KX_CHECK_SIZE(EncElementType_Info, 16);
KX_CHECK_OFFSET(EncElementType_Info, enclosureID, 0);
KX_CHECK_OFFSET(EncElementType_Info, magicID, 2);
KX_CHECK_OFFSET(EncElementType_Info, type, 4);
KX_CHECK_OFFSET(EncElementType_Info, status, 5);
KX_CHECK_OFFSET(EncElementType_Info, elementID, 6);
KX_CHECK_OFFSET(EncElementType_Info, reserved, 7);
KX_CHECK_OFFSET(EncElementType_Info, element, 8);
KX_CHECK_SIZE(EncElement_Config, 16);
KX_CHECK_OFFSET(EncElement_Config, enclosureID, 0);
KX_CHECK_OFFSET(EncElement_Config, magicID, 2);
KX_CHECK_OFFSET(EncElement_Config, type, 4);
KX_CHECK_OFFSET(EncElement_Config, status, 5);
KX_CHECK_OFFSET(EncElement_Config, elementID, 6);
KX_CHECK_OFFSET(EncElement_Config, highCriticalThreshold, 7);
KX_CHECK_OFFSET(EncElement_Config, highWarningThreshold, 8);
KX_CHECK_OFFSET(EncElement_Config, lowCriticalThreshold, 9);
KX_CHECK_OFFSET(EncElement_Config, lowWarningThreshold, 10);
KX_CHECK_OFFSET(EncElement_Config, reserved, 11);
KX_CHECK_SIZE(AES_PORT_INFO, 8);
KX_CHECK_OFFSET(AES_PORT_INFO, id, 0);
KX_CHECK_OFFSET(AES_PORT_INFO, entry, 1);
KX_CHECK_OFFSET(AES_PORT_INFO, Reserved, 2);
KX_CHECK_SIZE(AES_Port_Config, 8);
KX_CHECK_OFFSET(AES_Port_Config, port_id, 0);
KX_CHECK_OFFSET(AES_Port_Config, aes_enable, 1);
KX_CHECK_OFFSET(AES_Port_Config, reserved, 2);
KX_CHECK_SIZE(AES_KEY_ENTRY_INFO, 8);
KX_CHECK_OFFSET(AES_KEY_ENTRY_INFO, id, 0);
KX_CHECK_OFFSET(AES_KEY_ENTRY_INFO, status, 1);
KX_CHECK_OFFSET(AES_KEY_ENTRY_INFO, Reserved, 2);
KX_CHECK_SIZE(AES_Entry_Config, 72);
KX_CHECK_OFFSET(AES_Entry_Config, entry_id, 0);
KX_CHECK_OFFSET(AES_Entry_Config, key_length, 1);
KX_CHECK_OFFSET(AES_Entry_Config, reserved, 2);
KX_CHECK_OFFSET(AES_Entry_Config, key_content, 8);
KX_CHECK_OFFSET(AES_Entry_Config, user_auth, 40);
KX_CHECK_SIZE(AES_Entry_Verify, 72);
KX_CHECK_OFFSET(AES_Entry_Verify, entry_id, 0);
KX_CHECK_OFFSET(AES_Entry_Verify, key_length, 1);
KX_CHECK_OFFSET(AES_Entry_Verify, reserved, 2);
KX_CHECK_OFFSET(AES_Entry_Verify, key_content, 8);
KX_CHECK_OFFSET(AES_Entry_Verify, user_auth, 40);
KX_CHECK_SIZE(AES_Change_Passwd, 72);
KX_CHECK_OFFSET(AES_Change_Passwd, entry_id, 0);
KX_CHECK_OFFSET(AES_Change_Passwd, reserved, 1);
KX_CHECK_OFFSET(AES_Change_Passwd, old_user_auth, 8);
KX_CHECK_OFFSET(AES_Change_Passwd, new_user_auth, 40);
KX_CHECK_SIZE(aes_entry_info, 20);
KX_CHECK_OFFSET(aes_entry_info, aes_port, 0);
KX_CHECK_OFFSET(aes_entry_info, entry, 8);
KX_CHECK_OFFSET(aes_entry_info, reserved, 18);
KX_CHECK_SIZE(entry_link, 40);
KX_CHECK_OFFSET(entry_link, port_id, 0);
KX_CHECK_OFFSET(entry_link, entry, 1);
KX_CHECK_OFFSET(entry_link, reserved, 2);
KX_CHECK_OFFSET(entry_link, user_auth, 8);
KX_CHECK_OFFSET(HD_Info_Request, hdInfo, 16);
KX_CHECK_OFFSET(HD_Config_Request, hdConfig, 16);
KX_CHECK_OFFSET(HD_RAID_Status_Request, hdRAIDStatus, 16);
KX_CHECK_OFFSET(HD_SMART_Status_Request, hdSMARTStatus, 16);
KX_CHECK_OFFSET(HD_BGA_Status_Request, hdBGAStatus, 16);
KX_CHECK_OFFSET(HD_FreeSpaceInfo_Request, hdFreeSpaceInfo, 16);
KX_CHECK_OFFSET(PM_Info_Request, pmInfo, 16);
KX_CHECK_OFFSET(Exp_Info_Request, expInfo, 16);
KX_CHECK_OFFSET(Block_Info_Request, blockInfo, 16);
KX_CHECK_OFFSET(HD_Block_Info_Request, hdBlockInfo, 16);
KX_CHECK_OFFSET(LD_Info_Request, ldInfo, 16);
KX_CHECK_OFFSET(LD_Status_Request, ldStatus, 16);
KX_CHECK_OFFSET(LD_Config_Request, ldConfig, 16);
KX_CHECK_OFFSET(DG_Info_Request, dgInfo, 16);
KX_CHECK_OFFSET(DG_Config_Request, dgConfig, 16);
KX_CHECK_OFFSET(Enclosure_Info_Request, enclosureInfo, 16);
KX_CHECK_OFFSET(SMART_INFO_Request, smartINFO, 16);
KX_CHECK_OFFSET(EncElementType_Info_Request, encelementtypeInfo, 16);
KX_CHECK_OFFSET(EncElement_Config_Request, encelementConfig, 16);
KX_CHECK_OFFSET(AES_PORT_INFO_Request, aesPORTINFO, 16);
KX_CHECK_OFFSET(AES_KEY_ENTRY_INFO_Request, aesKEYENTRYINFO, 16);
KX_CHECK_OFFSET(Cross_VD_Info_Request, crossVDInfo, 16);

#endif /* KX_RECORDS_H */
