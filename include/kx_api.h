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

#ifdef __cplusplus
}
#endif

#endif /* KX_API_H */
