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
