// Preloaded into arrayctl by the paging tests: records the request header
// of every list call ("operation type start numRequested") in the file
// named by INFO_CALL_LOG and passes the call on to the controller library.
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

#include "kx_api.h"

namespace {

void record(const char *op, const RequestHeader *h)
{
    const char *path = getenv("INFO_CALL_LOG");
    if (!path || !h)
        return;
    if (FILE *f = fopen(path, "a")) {
        fprintf(f, "%s %u %u %u\n", op, h->requestType, h->startingIndexOrId, h->numRequested);
        fclose(f);
    }
}

} // namespace

#define LOGGED_LIST(name, Req)                                                    \
    extern "C" KX_U8 name(KX_U8 adapter, Req *request)                            \
    {                                                                             \
        using Next = KX_U8 (*)(KX_U8, Req *);                                     \
        static Next next = reinterpret_cast<Next>(dlsym(RTLD_NEXT, #name));       \
        record(#name, request ? &request->header : nullptr);                      \
        return next ? next(adapter, request) : 1;                                 \
    }

LOGGED_LIST(KX_PD_GetHDInfo_Ext, HD_Info_Request)
LOGGED_LIST(KX_PD_GetHDInfo, HD_Info_Request)
LOGGED_LIST(KX_LD_GetInfo, LD_Info_Request)
LOGGED_LIST(KX_DG_GetInfo, DG_Info_Request)
LOGGED_LIST(KX_BLK_GetInfo, Block_Info_Request)
LOGGED_LIST(KX_PD_GetHDRaidStatus, HD_RAID_Status_Request)
LOGGED_LIST(KX_PD_GetPMInfo, PM_Info_Request)
LOGGED_LIST(KX_PD_GetExpanderInfo, Exp_Info_Request)
LOGGED_LIST(KX_PD_GetSmartStatus, HD_SMART_Status_Request)
LOGGED_LIST(KX_PD_GetConfig, HD_Config_Request)
LOGGED_LIST(KX_LD_GetConfig, LD_Config_Request)
LOGGED_LIST(KX_DG_GetConfig, DG_Config_Request)
