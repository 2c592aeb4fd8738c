/*
 * The disk check shared by smart and smartctl (smart_disk.h).
 */
#include "smart_disk.h"

#include <stdlib.h>

#include "Functions/info/info_list.h"
#include "status_text.h"
#include "Public/globals.h"
#include "Public/utils.h"

int smartDiskCheck(KX_U16 pdId)
{
    HD_Info hd;
    KX_U8 st = client::queryOne<HD_Info_Request>(KX_PD_GetHDInfo_Ext, gCurrentAdapter, pdId, hd, 9);
    if (st != 0)
        st = client::queryOne<HD_Info_Request>(KX_PD_GetHDInfo, gCurrentAdapter, pdId, hd, 9);
    if (st != 0) {
        fprintf(stream, "Unable to get info of PD %d (error %d : %s)\n", pdId, st, ErrorMessage(st));
        return st;
    }
    if ((hd.ConnectionType & 0x6) == 0x6) {
        fprintf(stream, "SAS PD %d has not SMART information\n", pdId);
        return 1;
    }
    return 0;
}

bool smartParseDiskId(const char *text, KX_U16 &out)
{
    if (text[0] == '\0' || !isNumber(text))
        return false;
    const unsigned long id = strtoul(text, nullptr, 10);
    if (id > 0xFFFE)
        return false;
    out = (KX_U16)id;
    return true;
}
