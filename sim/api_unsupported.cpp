// Operations this simulator does not model yet. Each answers "Not
// supported" (status 19) unless a fault entry names it; replace them one by
// one with a modelled operation in a file of its own (see README.md).
#include "api.h"

using namespace sim;

namespace {

KX_U8 notSupported(const char *op, int adapter)
{
    Session s(op, adapter);
    if (!s.ok())
        return s.status();
    return s.finish(ST_NOT_SUPPORTED);
}

}  // namespace

SIM_EXPORT KX_U8 KX_PD_WipeHDMDD(KX_U8 adapter, KX_U16 hdId, KX_BOOLEAN force)
{
    (void)hdId;
    (void)force;
    SIM_GUARD(return notSupported("KX_PD_WipeHDMDD", adapter);)
}

SIM_EXPORT KX_U8 KX_LD_StartMigration(KX_U8 adapter, Create_LD_Param *param)
{
    (void)param;
    SIM_GUARD(return notSupported("KX_LD_StartMigration", adapter);)
}

SIM_EXPORT KX_U8 KX_LD_DG_StartRebuild(KX_U8 adapter, Rebuild_Param *param)
{
    (void)param;
    SIM_GUARD(return notSupported("KX_LD_DG_StartRebuild", adapter);)
}

SIM_EXPORT KX_U8 KX_PackageVD_Delete(KX_U8 adapter, KX_U16 id, KX_BOOLEAN deleteMBR)
{
    (void)id;
    (void)deleteMBR;
    SIM_GUARD(return notSupported("KX_PackageVD_Delete", adapter);)
}

SIM_EXPORT KX_U8 KX_DG_StartMigration(KX_U8 adapter, CreateOrModify_DG_Param *param)
{
    (void)param;
    SIM_GUARD(return notSupported("KX_DG_StartMigration", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_GetPortConfig(KX_U8 adapter, AES_Port_Config_Request *request)
{
    (void)request;
    SIM_GUARD(return notSupported("KX_AES_GetPortConfig", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_SetPortConfig(KX_U8 adapter, AES_Port_Config *config)
{
    (void)config;
    SIM_GUARD(return notSupported("KX_AES_SetPortConfig", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_OnlyGetPortInfo(KX_U8 adapter, AES_PORT_INFO_Request *request)
{
    (void)request;
    SIM_GUARD(return notSupported("KX_AES_OnlyGetPortInfo", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_GetEntryInfo(KX_U8 adapter, aes_entry_info *info)
{
    (void)info;
    SIM_GUARD(return notSupported("KX_AES_GetEntryInfo", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_OnlyGetEntryInfo(KX_U8 adapter, AES_KEY_ENTRY_INFO_Request *request)
{
    (void)request;
    SIM_GUARD(return notSupported("KX_AES_OnlyGetEntryInfo", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_GetEntryConfig(KX_U8 adapter, AES_Entry_Config_Request *request)
{
    (void)request;
    SIM_GUARD(return notSupported("KX_AES_GetEntryConfig", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_SetEntryConfig(KX_U8 adapter, AES_Entry_Config *config)
{
    (void)config;
    SIM_GUARD(return notSupported("KX_AES_SetEntryConfig", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_SetLink(KX_U8 adapter, entry_link *link)
{
    (void)link;
    SIM_GUARD(return notSupported("KX_AES_SetLink", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_ClearLink(KX_U8 adapter, KX_U8 port)
{
    (void)port;
    SIM_GUARD(return notSupported("KX_AES_ClearLink", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_VerifyKey(KX_U8 adapter, AES_Entry_Verify *verify)
{
    (void)verify;
    SIM_GUARD(return notSupported("KX_AES_VerifyKey", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_ChangePwd(KX_U8 adapter, AES_Change_Passwd *change)
{
    (void)change;
    SIM_GUARD(return notSupported("KX_AES_ChangePwd", adapter);)
}

SIM_EXPORT KX_U8 KX_AES_ForcePDOnline(KX_U8 adapter, AES_Entry_Config *entry, KX_U16 hdId, KX_U8 percentage)
{
    (void)entry;
    (void)hdId;
    (void)percentage;
    SIM_GUARD(return notSupported("KX_AES_ForcePDOnline", adapter);)
}

SIM_EXPORT KX_U8 KX_Tandem_GetFreeSize(KX_U8 adapter, Tandem_FreeSize_Info *info)
{
    (void)info;
    SIM_GUARD(return notSupported("KX_Tandem_GetFreeSize", adapter);)
}

SIM_EXPORT KX_U8 KX_Tandem_AddFSEntries(KX_U8 adapter, KX_U16 tandemId, Tandem_FS_Entry_Request *request, KX_U8 flags)
{
    (void)tandemId;
    (void)request;
    (void)flags;
    SIM_GUARD(return notSupported("KX_Tandem_AddFSEntries", adapter);)
}

SIM_EXPORT KX_U8 KX_Tandem_GetEntriesTableInfo(KX_U8 adapter, KX_U16 tandemId, Tandem_Table_Info *info)
{
    (void)tandemId;
    (void)info;
    SIM_GUARD(return notSupported("KX_Tandem_GetEntriesTableInfo", adapter);)
}

SIM_EXPORT KX_U8 KX_Tandem_RemoveEntriesTable(KX_U8 adapter, KX_U16 tandemId)
{
    (void)tandemId;
    SIM_GUARD(return notSupported("KX_Tandem_RemoveEntriesTable", adapter);)
}

SIM_EXPORT KX_U8 KX_PassThrough_ATA(KX_U8 adapter, KX_U8 *regs, KX_U16 hdId)
{
    (void)regs;
    (void)hdId;
    SIM_GUARD(return notSupported("KX_PassThrough_ATA", adapter);)
}

SIM_EXPORT KX_U8 KX_PassThrough_SCSI(KX_U8 adapter, KX_U16 hdId, SCSI_PassThrough *request)
{
    (void)hdId;
    (void)request;
    SIM_GUARD(return notSupported("KX_PassThrough_SCSI", adapter);)
}

SIM_EXPORT KX_U8 KX_PHY_Test(KX_U8 adapter, KX_U8 phy, KX_U8 pattern)
{
    (void)phy;
    (void)pattern;
    SIM_GUARD(return notSupported("KX_PHY_Test", adapter);)
}

SIM_EXPORT KX_U8 KX_PHY_Status(KX_U8 adapter, KX_U8 phy, PHY_Status_Info *status)
{
    (void)phy;
    (void)status;
    SIM_GUARD(return notSupported("KX_PHY_Status", adapter);)
}

SIM_EXPORT KX_U8 KX_SSD_Diagnostic(KX_U8 adapter, KX_U16 hdId, KX_U8 code, KX_U8 direction, KX_U32 number, KX_U16 sectors, KX_U8 *buffer, KX_U8 *done)
{
    (void)hdId;
    (void)code;
    (void)direction;
    (void)number;
    (void)sectors;
    (void)buffer;
    (void)done;
    SIM_GUARD(return notSupported("KX_SSD_Diagnostic", adapter);)
}

SIM_EXPORT KX_U8 KX_SSD_SmartReadData(KX_U8 adapter, KX_U16 hdId, KX_U8 *buffer)
{
    (void)hdId;
    (void)buffer;
    SIM_GUARD(return notSupported("KX_SSD_SmartReadData", adapter);)
}

SIM_EXPORT KX_U8 KX_Download_SSD_Microcode(KX_U8 adapter, KX_U16 hdId, const char *file)
{
    (void)hdId;
    (void)file;
    SIM_GUARD(return notSupported("KX_Download_SSD_Microcode", adapter);)
}
