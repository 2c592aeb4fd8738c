#include "Public/queries.h"

#include <stdio.h>

#include "Public/globals.h"
#include "kx_codes.h"
#include "paging.h"
#include "status_text.h"

using client::queryOne;

KX_U8 queryLDInfo(KX_U16 id, LD_Info &out)
{
    return queryOne<LD_Info_Request>(KX_LD_GetInfo, gCurrentAdapter, id, out, KX_ST_BAD_VD);
}

KX_U8 queryLDStatus(KX_U16 id, LD_Status &out)
{
    return queryOne<LD_Status_Request>(KX_LD_GetStatus, gCurrentAdapter, id, out, KX_ST_BAD_VD);
}

KX_U8 queryDGInfo(KX_U16 id, DG_Info &out)
{
    return queryOne<DG_Info_Request>(KX_DG_GetInfo, gCurrentAdapter, id, out, KX_ST_BAD_ARRAY);
}

KX_U8 queryHDRaidStatus(KX_U16 id, HD_RAID_Status &out)
{
    return queryOne<HD_RAID_Status_Request>(KX_PD_GetHDRaidStatus, gCurrentAdapter, id, out, KX_ST_BAD_PD);
}

KX_U8 queryHDInfo(KX_U16 id, HD_Info &out)
{
    return client::queryHdInfo(gCurrentAdapter, id, out);
}

KX_U8 queryHDBgaStatus(KX_U16 id, HD_BGA_Status &out)
{
    return queryOne<HD_BGA_Status_Request>(KX_PD_GetBGAStatus, gCurrentAdapter, id, out, KX_ST_BAD_PD);
}

KX_U8 queryHDFreeSpace(KX_U16 id, HD_FreeSpaceInfo &out)
{
    return queryOne<HD_FreeSpaceInfo_Request>(KX_PD_GetFreeSpaceInfo, gCurrentAdapter, id, out, KX_ST_BAD_PD);
}

KX_U8 queryBlockInfo(KX_U16 id, Block_Info &out)
{
    return queryOne<Block_Info_Request>(KX_BLK_GetInfo, gCurrentAdapter, id, out, KX_ST_BAD_BLOCK);
}

KX_U8 queryLDInfoOrSay(KX_U16 id, LD_Info &out)
{
    KX_U8 st = queryLDInfo(id, out);
    if (st != KX_ST_OK)
        fprintf(stream, "\nUnable to get info of VD %d (error %d: %s).\n", id, st, ErrorMessage(st));
    return st;
}

KX_U8 queryLDStatusOrSay(KX_U16 id, LD_Status &out)
{
    KX_U8 st = queryLDStatus(id, out);
    if (st != KX_ST_OK)
        fprintf(stream, "\nUnable to get status of VD %d (error %d: %s).\n", id, st, ErrorMessage(st));
    return st;
}

KX_U8 queryDGInfoOrSay(KX_U16 id, DG_Info &out)
{
    KX_U8 st = queryDGInfo(id, out);
    if (st != KX_ST_OK)
        fprintf(stream, "Unable to get info of array %d (error %d: %s).\n", id, st, ErrorMessage(st));
    return st;
}
