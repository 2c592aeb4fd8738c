#include "Operators/command/DGFunctions.h"

#include "APIClass/ReadByID.h"
#include "kx_api.h"

namespace {
const KX_U8 kNothingToChange = 153;
}

KX_U8 KX_DG_Create(KX_U8 adapter, CreateOrModify_DG_Param *param)
{
    param->DGID = KX_ID_NONE;
    return KX_CreateOrModify_DG(adapter, param, 0);
}

KX_U8 KX_DG_GetSizeOnly(KX_U8 adapter, CreateOrModify_DG_Param *param)
{
    DG_Info dg = DG_Info();
    KX_U8 status = kxReadByID<DGInfoRequest>(adapter, param->DGID, dg);
    if (status != KX_SUCCESS)
        return status;
    if (dg.RaidMode == param->RaidMode && dg.PDCount == param->PDCount)
        return kNothingToChange;
    return KX_CreateOrModify_DG(adapter, param, 1);
}

KX_U8 KX_LD_Create_OnDG(KX_U8 adapter, CreateOrModify_VD_Param *param)
{
    DG_Info dg = DG_Info();
    KX_U8 status = kxReadByID<DGInfoRequest>(adapter, param->DGID, dg);
    if (status != KX_SUCCESS)
        return status;
    param->VDID = KX_ID_NONE;
    param->RaidMode = dg.RaidMode;
    param->NumParityDisk = dg.NumParityDisk;
    param->BlockSize = dg.BlockSize;
    param->SubVDCount = dg.SubVDCount;
    if (param->StripeBlockSize == 0)
        param->StripeBlockSize = dg.StripeBlockSize;
    return KX_CreateOrModify_VD(adapter, param);
}

KX_U8 kxDGStartMigration(KX_U8 adapter, CreateOrModify_DG_Param *param)
{
    // Without the array's own sizes the controller would be asked to
    // change them too; rather start nothing.
    DG_Info dg = DG_Info();
    KX_U8 status = kxReadByID<DGInfoRequest>(adapter, param->DGID, dg);
    if (status != KX_SUCCESS)
        return status;
    param->BlockSize = dg.BlockSize;
    param->StripeBlockSize = dg.StripeBlockSize;
    return KX_DG_StartMigration(adapter, param);
}
