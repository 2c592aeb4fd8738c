/*
 * Records of the flash, BIOS-image and reassigned-sector operations of the
 * controller library. Packed and little-endian like every record in
 * kx_records.h; the assertions pin their layout.
 */
#ifndef KX_RECORDS_EXT_H
#define KX_RECORDS_EXT_H

#include "kx_records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Bytes of image data one Flash_Data page carries. */
#define KX_FLASH_PAGE_BYTES 32768

/* One page of a flash image, in either direction. */
typedef struct _Flash_Data {
    KX_U32 Size;        /* valid bytes in Data */
    KX_U16 PageNum;     /* counting from 0 */
    KX_BOOLEAN isLastPage;
    KX_U8 Reserved0;
    KX_U16 Reserved[2];
    KX_U8 Data[KX_FLASH_PAGE_BYTES];
} KX_PACKED Flash_Data, *PFlash_Data;

/* Announces an image before its pages are written. */
typedef struct _KX_FLASH_PER_DATA {
    KX_U8 image_type;
    KX_U8 reserved[3];
    KX_U32 image_size;  /* length of the image file in bytes */
} KX_PACKED KX_FLASH_PER_DATA, *PKX_FLASH_PER_DATA;

/* Image types of the flash operations. */
#define KX_IMAGE_CONFIG    0
#define KX_IMAGE_BIN       1
#define KX_IMAGE_BIOS      2
#define KX_IMAGE_FIRMWARE  3
#define KX_IMAGE_AUTOLOAD  4
#define KX_IMAGE_RAW       6
#define KX_IMAGE_FIRMWARE2 9  /* second copy of a firmware image */
#define KX_IMAGE_ANY       255

/* Actions of KX_Flash_Bin. */
#define KX_FLASH_ERASE   1
#define KX_FLASH_UPDATE  15
#define KX_FLASH_VERSION 63
#define KX_FLASH_BACKUP  240

/* Version and identity of a BIOS image file. */
typedef struct _BIOS_Version {
    Version_Info_CIM BIOSVersion;
    KX_U16 VenID;
    KX_U16 DevID;
    KX_U8 Reserved[4];
} KX_PACKED BIOS_Version, *PBIOS_Version;

/* One entry of a disk's reassigned-sector table. */
typedef struct _RCT_Entry {
    KX_U64 lba;  /* first reassigned sector */
    KX_U32 sec;  /* sectors reassigned from there */
    KX_U8 flag;
    KX_U8 Reserved[3];
} KX_PACKED RCT_Entry, *PRCT_Entry;

/* One NVSRAM transfer of at most 256 bytes. */
typedef struct _DBG_NVSRAM {
    KX_U32 Offset;         /* byte offset in NVSRAM */
    KX_U16 NumBytes;       /* bytes to transfer, at most 256 */
    KX_U16 ReturnedCount;  /* bytes transferred, set by the library */
    KX_U8 Reserved[8];
    KX_U8 Data[256];
} KX_PACKED DBG_NVSRAM, *PDBG_NVSRAM;

/* Directions of KX_Flash_NVSRAM. */
#define KX_NVSRAM_WRITE 0
#define KX_NVSRAM_READ  1

/* Partition-table check of disks: the caller fills HDCount and HDIDs, the
   library sets hasMBR of each disk that carries a partition table. */
typedef struct _HD_MBR_Info {
    KX_U8 HDCount;
    KX_U8 Reserved[7];
    KX_U16 HDIDs[128];       /* the first HDCount entries are valid */
    KX_BOOLEAN hasMBR[128];  /* by position in HDIDs */
} KX_PACKED HD_MBR_Info, *PHD_MBR_Info;

/* A register of the adapter (KX_Adapter_Read_Register/_Write_Register). */
typedef struct _Adapter_Register_Value {
    KX_U8 offset;
    KX_U8 size;
    KX_U8 reserved1[6];
    KX_U32 value;  /* written, or read back */
    KX_U8 reserved2[4];
} KX_PACKED Adapter_Register_Value, *PAdapter_Register_Value;

/* Register types. */
#define KX_REGISTER_MAILBOX  0
#define KX_REGISTER_INTERNAL 1

/* An array and its first VD in one request (KX_Create_PackageVD). */
typedef struct _Create_PackageVD_Param {
    CreateOrModify_DG_Param dg;
    CreateOrModify_VD_Param vd;
} KX_PACKED Create_PackageVD_Param, *PCreate_PackageVD_Param;

/* Which disk a VD is linked to (KX_VDHDD_AddLink). */
typedef struct _VDHDD_Link {
    KX_U16 VDID;  /* 0xFFFF: the VD of the disk's Tandem pair */
    KX_U16 HDID;
    KX_U8 Reserved[4];
} KX_PACKED VDHDD_Link, *PVDHDD_Link;

/* The operating system's name of a disk or VD (KX_Tandem_GetHDMagic and
   KX_Tandem_GetVDMagic): the caller sets ID, the library the text. */
typedef struct _Tandem_Magic {
    KX_U16 ID;
    KX_U8 Reserved[6];
    KX_U8 Magic[24];  /* text, empty when the OS has no name for it */
} KX_PACKED Tandem_Magic, *PTandem_Magic;

/* One empty range of a Tandem VD's entry table. */
typedef struct _Tandem_FS_Entry {
    KX_U64 StartLBA;
    KX_U32 Length;
    KX_U8 Reserved[4];
} KX_PACKED Tandem_FS_Entry, *PTandem_FS_Entry;

typedef struct _Tandem_FS_Entry_Request {
    RequestHeader header;
    Tandem_FS_Entry entry[1]; /* numRequested records follow the header */
} KX_PACKED Tandem_FS_Entry_Request, *PTandem_FS_Entry_Request;

/* Use of a Tandem VD's entry table. */
typedef struct _Tandem_Table_Info {
    KX_U32 TotalCount;
    KX_U32 RemainCount;
    KX_U8 Reserved[8];
} KX_PACKED Tandem_Table_Info, *PTandem_Table_Info;

/* Room left on a disk for a Tandem VD (KX_Tandem_GetFreeSize): the caller
   sets HDID. */
typedef struct _Tandem_FreeSize_Info {
    KX_U16 HDID;
    KX_U8 Reserved[6];
    KX_U64 FreeSize;  /* KiB */
} KX_PACKED Tandem_FreeSize_Info, *PTandem_FreeSize_Info;

/* A SCSI command sent to a disk (KX_PassThrough_SCSI). DataLength bytes of
   data follow the record in the caller's buffer. */
typedef struct _SCSI_PassThrough {
    KX_U8 Cdb[16];
    KX_U8 CdbLength;
    KX_U8 Direction;    /* 0 no data, 1 from the disk, 2 to the disk */
    KX_U16 TimeoutSec;
    KX_U32 DataLength;
    KX_U8 ScsiStatus;   /* set by the library */
    KX_U8 SenseLength;  /* set by the library */
    KX_U8 Reserved[6];
    KX_U8 Sense[32];
} KX_PACKED SCSI_PassThrough, *PSCSI_PassThrough;

/* ATA registers of KX_PassThrough_ATA, in this order; the library writes
   the registers back after the command. */
#define KX_ATA_REGISTER_BYTES 7

/* Buffers of the SSD diagnostic calls: a 16-byte header, then sectors of
   512 bytes. */
#define KX_SSD_HEADER_BYTES 16
#define KX_SSD_SECTOR_BYTES 512
/* Directions of KX_SSD_Diagnostic. */
#define KX_SSD_NO_DATA 7
#define KX_SSD_READ    9
#define KX_SSD_WRITE   11

/* Result of KX_PHY_Status for one PHY. */
typedef struct _PHY_Status_Info {
    KX_U8 PhyID;
    KX_U8 LinkUp;
    KX_U8 LinkRate;   /* 1 1.5 Gb/s, 2 3 Gb/s, 3 6 Gb/s, 4 12 Gb/s */
    KX_U8 Reserved1;
    KX_U32 InvalidDwordCount;
    KX_U32 DisparityErrorCount;
    KX_U32 LossOfSyncCount;
    KX_U8 Reserved2[16];
} KX_PACKED PHY_Status_Info, *PPHY_Status_Info;

/* List requests of the encryption operations without a wrapper above. */
typedef struct _AES_Port_Config_Request {
    RequestHeader header;
    AES_Port_Config aesPortConfig[1]; /* numRequested records follow the header */
} KX_PACKED AES_Port_Config_Request, *PAES_Port_Config_Request;

typedef struct _AES_Entry_Config_Request {
    RequestHeader header;
    AES_Entry_Config aesEntryConfig[1]; /* numRequested records follow the header */
} KX_PACKED AES_Entry_Config_Request, *PAES_Entry_Config_Request;

#ifdef __cplusplus
}
#endif

KX_CHECK_SIZE(Flash_Data, 12 + KX_FLASH_PAGE_BYTES);
KX_CHECK_OFFSET(Flash_Data, PageNum, 4);
KX_CHECK_OFFSET(Flash_Data, isLastPage, 6);
KX_CHECK_OFFSET(Flash_Data, Data, 12);
KX_CHECK_SIZE(KX_FLASH_PER_DATA, 8);
KX_CHECK_OFFSET(KX_FLASH_PER_DATA, image_size, 4);
KX_CHECK_SIZE(BIOS_Version, 16);
KX_CHECK_OFFSET(BIOS_Version, VenID, 8);
KX_CHECK_OFFSET(BIOS_Version, DevID, 10);
KX_CHECK_SIZE(RCT_Entry, 16);
KX_CHECK_OFFSET(RCT_Entry, sec, 8);
KX_CHECK_OFFSET(RCT_Entry, flag, 12);

KX_CHECK_SIZE(DBG_NVSRAM, 272);
KX_CHECK_OFFSET(DBG_NVSRAM, NumBytes, 4);
KX_CHECK_OFFSET(DBG_NVSRAM, ReturnedCount, 6);
KX_CHECK_OFFSET(DBG_NVSRAM, Data, 16);
KX_CHECK_SIZE(HD_MBR_Info, 392);
KX_CHECK_OFFSET(HD_MBR_Info, HDIDs, 8);
KX_CHECK_OFFSET(HD_MBR_Info, hasMBR, 264);
KX_CHECK_SIZE(Adapter_Register_Value, 16);
KX_CHECK_OFFSET(Adapter_Register_Value, size, 1);
KX_CHECK_OFFSET(Adapter_Register_Value, value, 8);
KX_CHECK_OFFSET(Adapter_Register_Value, reserved2, 12);
KX_CHECK_SIZE(Create_PackageVD_Param, 432 + 304);
KX_CHECK_OFFSET(Create_PackageVD_Param, vd, 432);
KX_CHECK_SIZE(VDHDD_Link, 8);
KX_CHECK_OFFSET(VDHDD_Link, HDID, 2);
KX_CHECK_SIZE(Tandem_Magic, 32);
KX_CHECK_OFFSET(Tandem_Magic, Magic, 8);
KX_CHECK_SIZE(Tandem_FS_Entry, 16);
KX_CHECK_OFFSET(Tandem_FS_Entry, Length, 8);
KX_CHECK_SIZE(Tandem_FS_Entry_Request, 32);
KX_CHECK_OFFSET(Tandem_FS_Entry_Request, entry, 16);
KX_CHECK_SIZE(Tandem_Table_Info, 16);
KX_CHECK_OFFSET(Tandem_Table_Info, RemainCount, 4);
KX_CHECK_SIZE(Tandem_FreeSize_Info, 16);
KX_CHECK_OFFSET(Tandem_FreeSize_Info, FreeSize, 8);
KX_CHECK_SIZE(SCSI_PassThrough, 64);
KX_CHECK_OFFSET(SCSI_PassThrough, CdbLength, 16);
KX_CHECK_OFFSET(SCSI_PassThrough, DataLength, 20);
KX_CHECK_OFFSET(SCSI_PassThrough, Sense, 32);
KX_CHECK_SIZE(PHY_Status_Info, 32);
KX_CHECK_OFFSET(PHY_Status_Info, InvalidDwordCount, 4);
KX_CHECK_OFFSET(AES_Port_Config_Request, aesPortConfig, 16);
KX_CHECK_OFFSET(AES_Entry_Config_Request, aesEntryConfig, 16);

#endif /* KX_RECORDS_EXT_H */
