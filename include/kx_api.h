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

#ifdef __cplusplus
}
#endif

#endif /* KX_API_H */
