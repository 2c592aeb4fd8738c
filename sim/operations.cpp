#include "operations.h"

#include <cstring>

namespace sim {

namespace {

// Every operation of the controller library, as exported by this one.
const char *const kOperations[] = {
    "KX_API_Initialize", "KX_API_Finalize", "KX_API_Version", "KX_API_RescanAdapter",
    "KX_API_GetRescanCount",
    "KX_Adapter_GetCount", "KX_Adapter_GetInfo", "KX_Adapter_GetConfig", "KX_Adapter_SetConfig",
    "KX_Adapter_Read_Register", "KX_Adapter_Write_Register", "KX_AdapterMute",
    "KX_PD_GetHDInfo", "KX_PD_GetHDInfo_Ext", "KX_PD_GetConfig", "KX_PD_SetConfig",
    "KX_PD_GetHDRaidStatus", "KX_PD_GetSmartStatus", "KX_PD_GetBGAStatus", "KX_PD_GetFreeSpaceInfo",
    "KX_PD_GetPMInfo", "KX_PD_GetExpanderInfo", "KX_PD_GetMBRInfo", "KX_PD_SetHDStatus",
    "KX_PD_FreeHD2GlobalSpare", "KX_PD_FreeHD2DGSpare", "KX_PD_Spare2FreeHD", "KX_PD_StartMediaPatrol",
    "KX_PD_StartDataScrub", "KX_PD_BGAControl", "KX_PD_WipeHDMDD", "KX_PD_GET_SMART_INFO",
    "KX_PD_GetRCT", "KX_PD_RCT_GetCount", "KX_DiskHasOS",
    "KX_LD_GetInfo", "KX_LD_GetStatus", "KX_LD_GetConfig", "KX_LD_SetConfig", "KX_LD_Create",
    "KX_LD_Delete", "KX_LD_Import", "KX_LD_StartINIT", "KX_LD_StartConsistencyCheck",
    "KX_LD_StartRebuild", "KX_LD_StartMigration", "KX_LD_BGAControl", "KX_LD_PauseAll",
    "KX_LD_GetMaxSize", "KX_LD_GetMigratedLdSize", "KX_LD_GetTargetLDInfo", "KX_LD_GetCrossInfo",
    "KX_LD_Report", "KX_LD_DG_QuickCreate", "KX_LD_DG_StartRebuild", "KX_CreateOrModify_VD",
    "KX_Create_PackageVD", "KX_PackageVD_Delete", "KX_VDHDD_AddLink",
    "KX_DG_GetInfo", "KX_DG_GetConfig", "KX_DG_SetConfig", "KX_DG_Delete", "KX_DG_BGAControl",
    "KX_DG_StartMigration", "KX_CreateOrModify_DG",
    "KX_BLK_GetInfo", "KX_BLK_GetHDBlock", "KX_ENC_GetEnclosureInfo", "KX_ENC_GetElementInfo",
    "KX_ENC_GetElementConfig", "KX_LocateArrayDevice",
    "KX_BBU_GetInfo", "KX_BBU_SetStatus", "KX_BBU_SetThreshold", "KX_BBU_ChangePower",
    "KX_EVT_GetEvent", "KX_EVT_FlushEvent", "KX_EVT_GetEventMessage",
    "KX_Flash_Bin", "KX_Flash_Byte", "KX_Flash_Erase", "KX_Flash_GetHeaderInfo", "KX_Flash_PreData",
    "KX_Flash_NVSRAM", "KX_BIOS_Version",
    "KX_AES_GetPortConfig", "KX_AES_SetPortConfig", "KX_AES_OnlyGetPortInfo", "KX_AES_GetEntryInfo",
    "KX_AES_OnlyGetEntryInfo", "KX_AES_GetEntryConfig", "KX_AES_SetEntryConfig", "KX_AES_SetLink",
    "KX_AES_ClearLink", "KX_AES_VerifyKey", "KX_AES_ChangePwd", "KX_AES_ForcePDOnline",
    "KX_Tandem_GetHDMagic", "KX_Tandem_GetVDMagic", "KX_Tandem_GetFreeSize", "KX_Tandem_AddFSEntries",
    "KX_Tandem_GetEntriesTableInfo", "KX_Tandem_RemoveEntriesTable",
    "KX_PassThrough_ATA", "KX_PassThrough_SCSI", "KX_PHY_Test", "KX_PHY_Status", "KX_SSD_Diagnostic",
    "KX_SSD_SmartReadData", "KX_Download_SSD_Microcode",
};

}  // namespace

bool isOperationName(const char *name)
{
    for (const char *op : kOperations)
        if (std::strcmp(op, name) == 0)
            return true;
    return false;
}

}  // namespace sim
