/*
 * The controller operations that alter state, wrapped at link time
 * (ld --wrap, see client/CMakeLists.txt): each call goes to the library
 * as before and then notes itself in the audit unit of work. Reads are
 * not wrapped; an operation that reads or writes by an argument notes
 * only its writes.
 */
#include "audit.h"
#include "kx_api.h"

#define AUDITED(name, params, args, adapter, writes)                                                       \
    extern "C" KX_U8 __real_##name params;                                                                 \
    extern "C" KX_U8 __wrap_##name params                                                                  \
    {                                                                                                      \
        const KX_U8 st = __real_##name args;                                                              \
        if (writes)                                                                                        \
            auditNoteCall(#name, adapter, st);                                                             \
        return st;                                                                                         \
    }

#define A8 KX_U8 a
#define ID KX_U16 id

AUDITED(KX_Adapter_SetConfig, (A8, const Adapter_Config_V2 *c), (a, c), a, true)
AUDITED(KX_EVT_FlushEvent, (A8), (a), a, true)
AUDITED(KX_AdapterMute, (A8), (a), a, true)
AUDITED(KX_BBU_SetStatus, (A8, KX_U8 s), (a, s), a, true)
AUDITED(KX_BBU_SetThreshold, (A8, KX_U8 k, KX_U16 lo, KX_U16 hi), (a, k, lo, hi), a, true)
AUDITED(KX_BBU_ChangePower, (A8, KX_U8 act), (a, act), a, true)
AUDITED(KX_Flash_PreData, (A8, const KX_FLASH_PER_DATA *d), (a, d), a, true)
AUDITED(KX_Flash_Bin, (A8, KX_U8 act, KX_U8 t, Flash_Data *p), (a, act, t, p), a,
        act == KX_FLASH_UPDATE || act == KX_FLASH_ERASE)
AUDITED(KX_Flash_Erase, (A8, KX_U8 p), (a, p), a, true)
AUDITED(KX_Adapter_Write_Register, (A8, KX_U8 t, KX_U32 ad, Adapter_Register_Value *r), (a, t, ad, r), a, true)
AUDITED(KX_PD_SetConfig, (A8, ID, HD_Config *c), (a, id, c), a, true)
AUDITED(KX_PD_SetHDStatus, (A8, ID, KX_U8 s), (a, id, s), a, true)
AUDITED(KX_PD_FreeHD2GlobalSpare, (A8, ID), (a, id), a, true)
AUDITED(KX_PD_FreeHD2DGSpare, (A8, ID, KX_U16 dg), (a, id, dg), a, true)
AUDITED(KX_PD_Spare2FreeHD, (A8, ID), (a, id), a, true)
AUDITED(KX_PD_StartMediaPatrol, (A8, ID), (a, id), a, true)
AUDITED(KX_PD_StartDataScrub, (A8, ID), (a, id), a, true)
AUDITED(KX_PD_BGAControl, (A8, ID, KX_U8 act), (a, id, act), a, true)
AUDITED(KX_PD_WipeHDMDD, (A8, ID, KX_BOOLEAN f), (a, id, f), a, true)
AUDITED(KX_LD_Delete, (A8, ID, KX_BOOLEAN stop), (a, id, stop), a, true)
AUDITED(KX_LD_BGAControl, (A8, ID, KX_U8 act), (a, id, act), a, true)
AUDITED(KX_LD_SetConfig, (A8, ID, LD_Config *c), (a, id, c), a, true)
AUDITED(KX_LD_Create, (A8, Create_LD_Param *p), (a, p), a, true)
AUDITED(KX_LD_Import, (A8, ID), (a, id), a, true)
AUDITED(KX_LD_StartINIT, (A8, ID, KX_U8 t), (a, id, t), a, true)
AUDITED(KX_LD_StartConsistencyCheck, (A8, ID, KX_U8 r), (a, id, r), a, true)
AUDITED(KX_LD_StartRebuild, (A8, ID, KX_U16 hd), (a, id, hd), a, true)
AUDITED(KX_LD_StartMigration, (A8, Create_LD_Param *p), (a, p), a, true)
AUDITED(KX_LD_PauseAll, (A8), (a), a, true)
AUDITED(KX_LD_Report, (A8, ID), (a, id), a, true)
AUDITED(KX_LD_DG_QuickCreate, (A8, KX_U8 prot), (a, prot), a, true)
AUDITED(KX_LD_DG_StartRebuild, (A8, Rebuild_Param *p), (a, p), a, true)
AUDITED(KX_CreateOrModify_VD, (A8, CreateOrModify_VD_Param *p), (a, p), a, true)
AUDITED(KX_Create_PackageVD, (A8, Create_PackageVD_Param *p), (a, p), a, true)
AUDITED(KX_PackageVD_Delete, (A8, ID, KX_BOOLEAN mbr), (a, id, mbr), a, true)
AUDITED(KX_VDHDD_AddLink, (A8, VDHDD_Link *l), (a, l), a, true)
AUDITED(KX_DG_SetConfig, (A8, ID, DG_Config *c), (a, id, c), a, true)
AUDITED(KX_DG_Delete, (A8, ID), (a, id), a, true)
AUDITED(KX_DG_BGAControl, (A8, ID, KX_U8 act), (a, id, act), a, true)
AUDITED(KX_DG_StartMigration, (A8, CreateOrModify_DG_Param *p), (a, p), a, true)
AUDITED(KX_CreateOrModify_DG, (A8, CreateOrModify_DG_Param *p, KX_BOOLEAN sizeOnly), (a, p, sizeOnly), a, !sizeOnly)
AUDITED(KX_LocateArrayDevice, (A8, KX_U8 t, ID, KX_U8 on), (a, t, id, on), a, true)
AUDITED(KX_Flash_Byte, (A8, KX_U8 dir, KX_U32 off, KX_U32 len, KX_U8 *d), (a, dir, off, len, d), a, dir == 0)
AUDITED(KX_Flash_NVSRAM, (A8, KX_U8 dir, DBG_NVSRAM *t), (a, dir, t), a, dir == KX_NVSRAM_WRITE)
AUDITED(KX_AES_SetPortConfig, (A8, AES_Port_Config *c), (a, c), a, true)
AUDITED(KX_AES_SetEntryConfig, (A8, AES_Entry_Config *c), (a, c), a, true)
AUDITED(KX_AES_SetLink, (A8, entry_link *l), (a, l), a, true)
AUDITED(KX_AES_ClearLink, (A8, KX_U8 port), (a, port), a, true)
AUDITED(KX_AES_ChangePwd, (A8, AES_Change_Passwd *c), (a, c), a, true)
AUDITED(KX_AES_ForcePDOnline, (A8, AES_Entry_Config *e, ID, KX_U8 pct), (a, e, id, pct), a, true)
AUDITED(KX_Tandem_AddFSEntries, (A8, ID, Tandem_FS_Entry_Request *r, KX_U8 f), (a, id, r, f), a, true)
AUDITED(KX_Tandem_RemoveEntriesTable, (A8, ID), (a, id), a, true)
AUDITED(KX_PHY_Test, (A8, KX_U8 phy, KX_U8 pat), (a, phy, pat), a, true)
AUDITED(KX_SSD_Diagnostic, (A8, ID, KX_U8 code, KX_U8 dir, KX_U32 n, KX_U16 sec, KX_U8 *buf, KX_U8 *done),
        (a, id, code, dir, n, sec, buf, done), a, dir != KX_SSD_READ)
AUDITED(KX_Download_SSD_Microcode, (A8, ID, const char *file), (a, id, file), a, true)
