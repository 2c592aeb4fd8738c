/*
 * Operations of the controller library (libarraycore.so).
 *
 * C linkage. Every operation returns a KX_U8 status, 0 on success, except
 * KX_Adapter_GetCount (the adapter count), KX_API_GetRescanCount (a 16-bit
 * counter) and KX_API_Version (a version string). The first argument is the
 * adapter number, 0 .. count-1, except for KX_API_* and KX_Adapter_GetCount.
 *
 * List operations take a buffer that starts with a RequestHeader followed
 * by room for numRequested records (the *_Request wrappers). The library
 * never writes more than numRequested records and sets numReturned and
 * nextStartingIndex (KX_END_OF_LIST when the list is exhausted).
 */
#ifndef KX_API_H
#define KX_API_H

#include "kx_codes.h"
#include "kx_records.h"
#include "kx_records_ext.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- library life cycle ---- */
KX_U8 KX_API_Initialize(void);
KX_U8 KX_API_Finalize(void);
const char *KX_API_Version(void);
KX_U8 KX_API_RescanAdapter(void);
KX_U16 KX_API_GetRescanCount(KX_BOOLEAN force);

/* ---- adapters ---- */
KX_U8 KX_Adapter_GetCount(void);
/* adapter 0xFF fills one record per adapter, in adapter order, and sets
   *count to the number filled; otherwise one record and *count = 1. */
KX_U8 KX_Adapter_GetInfo(KX_U8 adapter, KX_U8 *count, Adapter_Info *info);
KX_U8 KX_Adapter_GetConfig(KX_U8 adapter, KX_U8 *count, Adapter_Config_V2 *config);
KX_U8 KX_Adapter_SetConfig(KX_U8 adapter, const Adapter_Config_V2 *config);

/* ---- physical disks (paged lists) ---- */
KX_U8 KX_PD_GetHDInfo(KX_U8 adapter, HD_Info_Request *request);
KX_U8 KX_PD_GetHDInfo_Ext(KX_U8 adapter, HD_Info_Request *request);
KX_U8 KX_PD_GetConfig(KX_U8 adapter, HD_Config_Request *request);
KX_U8 KX_PD_GetHDRaidStatus(KX_U8 adapter, HD_RAID_Status_Request *request);
KX_U8 KX_PD_GetSmartStatus(KX_U8 adapter, HD_SMART_Status_Request *request);
KX_U8 KX_PD_GetBGAStatus(KX_U8 adapter, HD_BGA_Status_Request *request);
KX_U8 KX_PD_GetFreeSpaceInfo(KX_U8 adapter, HD_FreeSpaceInfo_Request *request);
KX_U8 KX_PD_GetPMInfo(KX_U8 adapter, PM_Info_Request *request);
KX_U8 KX_PD_GetExpanderInfo(KX_U8 adapter, Exp_Info_Request *request);
/* kind: 0 = the IDs are VDs, 1 = PDs. 0: no OS; 158/159 (PD), 158 (VD):
   an operating system runs from it. */
KX_U8 KX_DiskHasOS(KX_U8 adapter, KX_U8 kind, KX_U8 count, KX_U16 *ids);

/* ---- blocks ---- */
KX_U8 KX_BLK_GetInfo(KX_U8 adapter, Block_Info_Request *request);
KX_U8 KX_BLK_GetHDBlock(KX_U8 adapter, HD_Block_Info_Request *request);

/* ---- virtual disks ---- */
KX_U8 KX_LD_GetInfo(KX_U8 adapter, LD_Info_Request *request);
KX_U8 KX_LD_GetStatus(KX_U8 adapter, LD_Status_Request *request);
KX_U8 KX_LD_GetConfig(KX_U8 adapter, LD_Config_Request *request);
KX_U8 KX_LD_GetTargetLDInfo(KX_U8 adapter, KX_U16 vdId, LD_Info *target);
KX_U8 KX_LD_GetCrossInfo(KX_U8 adapter, KX_U16 vdId, Cross_VD_Info *info);
/* stop: 1 stops a running background activity of the VD first */
KX_U8 KX_LD_Delete(KX_U8 adapter, KX_U16 vdId, KX_BOOLEAN stop);
/* action: 1 restart, 2 pause, 3 resume, 4 stop, 7 stop every activity */
KX_U8 KX_LD_BGAControl(KX_U8 adapter, KX_U16 vdId, KX_U8 action);

/* ---- disk groups (arrays) ---- */
KX_U8 KX_DG_GetInfo(KX_U8 adapter, DG_Info_Request *request);
KX_U8 KX_DG_GetConfig(KX_U8 adapter, DG_Config_Request *request);

/* ---- enclosures ---- */
KX_U8 KX_ENC_GetEnclosureInfo(KX_U8 adapter, Enclosure_Info_Request *request);

/* ---- battery ---- */
KX_U8 KX_BBU_GetInfo(KX_U8 adapter, BBU_Info *info);

/* ---- events ---- */
/* Drains up to max queued events, oldest first, into events[]; *count is
   the number filled. */
KX_U8 KX_EVT_GetEvent(KX_U8 adapter, KX_U8 max, KX_U8 *count, Event *events);
KX_U8 KX_EVT_FlushEvent(KX_U8 adapter);

/* ---- alarm, battery settings ---- */
KX_U8 KX_AdapterMute(KX_U8 adapter);
KX_U8 KX_BBU_SetStatus(KX_U8 adapter, KX_U8 status);
/* kind 1: temperature bounds (degrees C), kind 2: voltage bounds (mV) */
KX_U8 KX_BBU_SetThreshold(KX_U8 adapter, KX_U8 kind, KX_U16 lower, KX_U16 upper);
/* action: the battery power mode to enter */
KX_U8 KX_BBU_ChangePower(KX_U8 adapter, KX_U8 action);

/* ---- flash images ---- */
/* Reads the header of an image file. *type: in the type the caller
   expects (not checked here), out the file's type; *subId: in 0xFFFF, out
   the image's sub-device id. */
KX_U8 KX_Flash_GetHeaderInfo(const char *path, KX_U8 *type, Version_Info_CIM *version, KX_U16 *subId);
KX_U8 KX_Flash_PreData(KX_U8 adapter, const KX_FLASH_PER_DATA *announce);
/* action KX_FLASH_UPDATE writes page to the image announced last,
   KX_FLASH_BACKUP fills page with the next page of the adapter's image of
   that type, KX_FLASH_ERASE erases it. */
KX_U8 KX_Flash_Bin(KX_U8 adapter, KX_U8 action, KX_U8 type, Flash_Data *page);
KX_U8 KX_Flash_Erase(KX_U8 adapter, KX_U8 page);
/* Version and identity inside a BIOS image file. */
KX_U8 KX_BIOS_Version(const char *path, BIOS_Version *info);

/* ---- disk diagnostics ---- */
/* SMART attributes of one PD, a list request (header + SMART_INFO[]). */
KX_U8 KX_PD_GET_SMART_INFO(KX_U8 adapter, KX_U16 hdId, SMART_INFO_Request *request);
KX_U8 KX_PD_RCT_GetCount(KX_U8 adapter, KX_U16 hdId, KX_U32 *count);
/* *count: in the room of entries[], out the entries filled. */
KX_U8 KX_PD_GetRCT(KX_U8 adapter, KX_U16 hdId, KX_U32 *count, RCT_Entry *entries);

/* ---- enclosure elements ---- */
/* encId 255: the elements of every enclosure. *count: in the room of
   elements[], out the records filled. */
KX_U8 KX_ENC_GetElementInfo(KX_U8 adapter, KX_U16 encId, EncElementType_Info *elements, KX_U8 *count);
KX_U8 KX_ENC_GetElementConfig(KX_U8 adapter, KX_U16 encId, EncElement_Config *elements, KX_U8 *count);

/* ---- VD sizes ---- */
/* Size of the request is set to the largest VD the parameters allow. */
KX_U8 KX_LD_GetMaxSize(KX_U8 adapter, Create_LD_Param *param);
/* Size is set to the size VD LDID would have after the migration. */
KX_U8 KX_LD_GetMigratedLdSize(KX_U8 adapter, Create_LD_Param *param);

/* ---- adapter registers ---- */
/* type: KX_REGISTER_MAILBOX or KX_REGISTER_INTERNAL; a read returns the
   value in reg->value. */
KX_U8 KX_Adapter_Read_Register(KX_U8 adapter, KX_U8 type, KX_U32 address, Adapter_Register_Value *reg);
KX_U8 KX_Adapter_Write_Register(KX_U8 adapter, KX_U8 type, KX_U32 address, Adapter_Register_Value *reg);

/* ---- physical disk settings, spares and activities ---- */
KX_U8 KX_PD_SetConfig(KX_U8 adapter, KX_U16 hdId, HD_Config *config);
/* The caller fills HDCount and HDIDs; the library sets hasMBR. */
KX_U8 KX_PD_GetMBRInfo(KX_U8 adapter, HD_MBR_Info *info);
/* status: 0 offline (set down), 1 online */
KX_U8 KX_PD_SetHDStatus(KX_U8 adapter, KX_U16 hdId, KX_U8 status);
KX_U8 KX_PD_FreeHD2GlobalSpare(KX_U8 adapter, KX_U16 hdId);
KX_U8 KX_PD_FreeHD2DGSpare(KX_U8 adapter, KX_U16 hdId, KX_U16 dgId);
KX_U8 KX_PD_Spare2FreeHD(KX_U8 adapter, KX_U16 hdId);
KX_U8 KX_PD_StartMediaPatrol(KX_U8 adapter, KX_U16 hdId);
KX_U8 KX_PD_StartDataScrub(KX_U8 adapter, KX_U16 hdId);
/* action: 1 restart, 2 pause, 3 resume, 4 stop */
KX_U8 KX_PD_BGAControl(KX_U8 adapter, KX_U16 hdId, KX_U8 action);
/* Erases the disk's configuration data; force: even when a VD uses it. */
KX_U8 KX_PD_WipeHDMDD(KX_U8 adapter, KX_U16 hdId, KX_BOOLEAN force);

/* ---- virtual disk settings, creation and activities ---- */
KX_U8 KX_LD_SetConfig(KX_U8 adapter, KX_U16 vdId, LD_Config *config);
/* LDID 0xFFFF: the library chooses the ID and writes it back. */
KX_U8 KX_LD_Create(KX_U8 adapter, Create_LD_Param *param);
KX_U8 KX_LD_Import(KX_U8 adapter, KX_U16 vdId);
/* type: 0 quick, 1 foreground, 2 background, 3 none, 5 intelligent */
KX_U8 KX_LD_StartINIT(KX_U8 adapter, KX_U16 vdId, KX_U8 type);
/* repair: 1 fix inconsistencies, 0 check only */
KX_U8 KX_LD_StartConsistencyCheck(KX_U8 adapter, KX_U16 vdId, KX_U8 repair);
KX_U8 KX_LD_StartRebuild(KX_U8 adapter, KX_U16 vdId, KX_U16 hdId);
/* param->LDID is the VD; the rest is its new layout. */
KX_U8 KX_LD_StartMigration(KX_U8 adapter, Create_LD_Param *param);
/* Pauses every background activity of the controller. */
KX_U8 KX_LD_PauseAll(KX_U8 adapter);
/* Reports a conflicted VD to the operating system. */
KX_U8 KX_LD_Report(KX_U8 adapter, KX_U16 vdId);
/* protection: 1 a redundant layout, 0 none */
KX_U8 KX_LD_DG_QuickCreate(KX_U8 adapter, KX_U8 protection);
/* param->ID is the array, PDIDs the disks to rebuild onto. */
KX_U8 KX_LD_DG_StartRebuild(KX_U8 adapter, Rebuild_Param *param);
/* VDID 0xFFFF creates a VD in slot DGSlotNum of array DGID and writes the
   new ID back; on status 4 Size holds the largest size available. */
KX_U8 KX_CreateOrModify_VD(KX_U8 adapter, CreateOrModify_VD_Param *param);
KX_U8 KX_Create_PackageVD(KX_U8 adapter, Create_PackageVD_Param *param);
KX_U8 KX_PackageVD_Delete(KX_U8 adapter, KX_U16 id, KX_BOOLEAN deleteMBR);
KX_U8 KX_VDHDD_AddLink(KX_U8 adapter, VDHDD_Link *link);

/* ---- disk group (array) settings, creation and activities ---- */
KX_U8 KX_DG_SetConfig(KX_U8 adapter, KX_U16 dgId, DG_Config *config);
KX_U8 KX_DG_Delete(KX_U8 adapter, KX_U16 dgId);
/* action: 1 restart, 2 pause, 3 resume, 4 stop */
KX_U8 KX_DG_BGAControl(KX_U8 adapter, KX_U16 dgId, KX_U8 action);
/* param->DGID is the array; PDIDs, RaidMode ... its new layout. */
KX_U8 KX_DG_StartMigration(KX_U8 adapter, CreateOrModify_DG_Param *param);
/* sizeOnly 1: only compute Size; 0: create (DGID 0xFFFF) and write the
   new DGID back. On status 4 Size holds the largest size available. */
KX_U8 KX_CreateOrModify_DG(KX_U8 adapter, CreateOrModify_DG_Param *param, KX_BOOLEAN sizeOnly);

/* ---- locate LEDs ---- */
/* deviceType 1: a PD; on: 1 switch the LED on, 0 off */
KX_U8 KX_LocateArrayDevice(KX_U8 adapter, KX_U8 deviceType, KX_U16 deviceId, KX_U8 on);

/* ---- flash bytes and NVSRAM ---- */
/* Reads (direction 1) or writes (0) length bytes of the flash at offset. */
KX_U8 KX_Flash_Byte(KX_U8 adapter, KX_U8 direction, KX_U32 offset, KX_U32 length, KX_U8 *data);
/* direction: KX_NVSRAM_READ or KX_NVSRAM_WRITE */
KX_U8 KX_Flash_NVSRAM(KX_U8 adapter, KX_U8 direction, DBG_NVSRAM *transfer);

/* ---- encryption ---- */
KX_U8 KX_AES_GetPortConfig(KX_U8 adapter, AES_Port_Config_Request *request);
KX_U8 KX_AES_SetPortConfig(KX_U8 adapter, AES_Port_Config *config);
KX_U8 KX_AES_OnlyGetPortInfo(KX_U8 adapter, AES_PORT_INFO_Request *request);
KX_U8 KX_AES_GetEntryInfo(KX_U8 adapter, aes_entry_info *info);
KX_U8 KX_AES_OnlyGetEntryInfo(KX_U8 adapter, AES_KEY_ENTRY_INFO_Request *request);
/* Request type 2 for one entry; its record carries the entry's password. */
KX_U8 KX_AES_GetEntryConfig(KX_U8 adapter, AES_Entry_Config_Request *request);
KX_U8 KX_AES_SetEntryConfig(KX_U8 adapter, AES_Entry_Config *config);
KX_U8 KX_AES_SetLink(KX_U8 adapter, entry_link *link);
KX_U8 KX_AES_ClearLink(KX_U8 adapter, KX_U8 port);
KX_U8 KX_AES_VerifyKey(KX_U8 adapter, AES_Entry_Verify *verify);
KX_U8 KX_AES_ChangePwd(KX_U8 adapter, AES_Change_Passwd *change);
/* percentage: tenths (1 .. 10), or 100 when the caller names none */
KX_U8 KX_AES_ForcePDOnline(KX_U8 adapter, AES_Entry_Config *entry, KX_U16 hdId, KX_U8 percentage);

/* ---- Tandem ---- */
/* One record per ID; the library fills each record's Magic. */
KX_U8 KX_Tandem_GetHDMagic(KX_U8 adapter, KX_U8 count, Tandem_Magic *records);
KX_U8 KX_Tandem_GetVDMagic(KX_U8 adapter, KX_U8 count, Tandem_Magic *records);
KX_U8 KX_Tandem_GetFreeSize(KX_U8 adapter, Tandem_FreeSize_Info *info);
KX_U8 KX_Tandem_AddFSEntries(KX_U8 adapter, KX_U16 tandemId, Tandem_FS_Entry_Request *request, KX_U8 flags);
KX_U8 KX_Tandem_GetEntriesTableInfo(KX_U8 adapter, KX_U16 tandemId, Tandem_Table_Info *info);
KX_U8 KX_Tandem_RemoveEntriesTable(KX_U8 adapter, KX_U16 tandemId);

/* ---- pass-through, PHYs and SSD service ---- */
/* regs: KX_ATA_REGISTER_BYTES bytes (features, sector count, LBA low,
   LBA mid, LBA high, device, command), written back after the command. */
KX_U8 KX_PassThrough_ATA(KX_U8 adapter, KX_U8 *regs, KX_U16 hdId);
KX_U8 KX_PassThrough_SCSI(KX_U8 adapter, KX_U16 hdId, SCSI_PassThrough *request);
KX_U8 KX_PHY_Test(KX_U8 adapter, KX_U8 phy, KX_U8 pattern);
KX_U8 KX_PHY_Status(KX_U8 adapter, KX_U8 phy, PHY_Status_Info *status);
/* buffer: KX_SSD_HEADER_BYTES + sectors * KX_SSD_SECTOR_BYTES bytes;
   direction KX_SSD_NO_DATA, KX_SSD_READ or KX_SSD_WRITE; *done is set to
   1 when the SSD has finished. */
KX_U8 KX_SSD_Diagnostic(KX_U8 adapter, KX_U16 hdId, KX_U8 code, KX_U8 direction, KX_U32 number,
                        KX_U16 sectors, KX_U8 *buffer, KX_U8 *done);
/* buffer: KX_SSD_HEADER_BYTES + KX_SSD_SECTOR_BYTES bytes of SMART data */
KX_U8 KX_SSD_SmartReadData(KX_U8 adapter, KX_U16 hdId, KX_U8 *buffer);
/* 165: the file cannot be read; 166: it holds no valid microcode */
KX_U8 KX_Download_SSD_Microcode(KX_U8 adapter, KX_U16 hdId, const char *file);

#ifdef __cplusplus
}
#endif

#endif /* KX_API_H */
