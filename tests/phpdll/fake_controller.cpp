#include "fake_controller.h"

#include <cstring>

#include "kx_api.h"

FakeController gFake;

std::vector<FakeCall> FakeController::callsNamed(const std::string &name) const
{
    std::vector<FakeCall> out;
    for (const FakeCall &c : calls)
        if (c.name == name)
            out.push_back(c);
    return out;
}

void FakeController::addVD(KX_U16 id, KX_U8 status, KX_U8 bga, KX_U8 bgaState)
{
    LD_Status s;
    std::memset(&s, 0, sizeof s);
    s.LDID = id;
    s.Status = status;
    s.Bga = bga;
    s.BgaState = bgaState;
    vds.push_back(s);
}

namespace {
KX_U16 recordId(const LD_Status &r) { return r.LDID; }
KX_U16 recordId(const LD_Info &r) { return r.ID; }
KX_U16 recordId(const HD_Info &r) { return r.Link.Self.DevID; }

// Serves one page the way the controller does: by index from
// startingIndexOrId, or the one record whose ID matches.
template <typename T>
KX_U8 servePage(const char *name, KX_U8 adapter, RequestHeader *h, T *records,
                const std::vector<T> &list)
{
    gFake.calls.push_back({name, adapter, h->requestType, h->startingIndexOrId, h->numRequested});
    if (++gFake.listCalls == gFake.failListCall)
        return gFake.failStatus;
    h->numReturned = 0;
    h->nextStartingIndex = KX_END_OF_LIST;
    if (h->requestType == KX_REQUEST_BY_ID) {
        for (const T &r : list) {
            if (recordId(r) == h->startingIndexOrId && h->numRequested > 0) {
                std::memcpy(&records[0], &r, sizeof r);
                h->numReturned = 1;
                return 0;
            }
        }
        return 8;
    }
    unsigned i = h->startingIndexOrId, n = 0;
    for (; i < list.size() && n < h->numRequested; ++i, ++n)
        std::memcpy(&records[n], &list[i], sizeof(T));
    h->numReturned = static_cast<KX_U16>(n);
    if (i < list.size())
        h->nextStartingIndex = static_cast<KX_U16>(i);
    if (gFake.overreport)
        h->numReturned = static_cast<KX_U16>(h->numRequested + 50);
    return 0;
}
} // namespace

extern "C" {

KX_U8 KX_API_Initialize(void)
{
    ++gFake.initializeCalls;
    return 0;
}

KX_U8 KX_API_Finalize(void)
{
    ++gFake.finalizeCalls;
    return 0;
}

KX_U8 KX_Adapter_GetCount(void)
{
    gFake.calls.push_back({"KX_Adapter_GetCount", 0, 0, 0, 0});
    return gFake.adapterCount;
}

KX_U8 KX_Adapter_GetInfo(KX_U8 adapter, KX_U8 *count, Adapter_Info *info)
{
    gFake.calls.push_back({"KX_Adapter_GetInfo", adapter, 0, 0, 0});
    if (gFake.adapterInfoStatus)
        return gFake.adapterInfoStatus;
    std::memset(info, 0, sizeof *info);
    info->MaxBufferSize = gFake.maxBufferKiB;
    *count = 1;
    return 0;
}

KX_U8 KX_LD_GetStatus(KX_U8 adapter, LD_Status_Request *request)
{
    return servePage("KX_LD_GetStatus", adapter, &request->header, request->ldStatus, gFake.vds);
}

KX_U8 KX_LD_GetInfo(KX_U8 adapter, LD_Info_Request *request)
{
    return servePage("KX_LD_GetInfo", adapter, &request->header, request->ldInfo, gFake.ldInfos);
}

KX_U8 KX_PD_GetHDInfo_Ext(KX_U8 adapter, HD_Info_Request *request)
{
    if (gFake.hdInfoExtStatus) {
        gFake.calls.push_back({"KX_PD_GetHDInfo_Ext", adapter, 0, 0, 0});
        return gFake.hdInfoExtStatus;
    }
    return servePage("KX_PD_GetHDInfo_Ext", adapter, &request->header, request->hdInfo, gFake.pds);
}

KX_U8 KX_PD_GetHDInfo(KX_U8 adapter, HD_Info_Request *request)
{
    return servePage("KX_PD_GetHDInfo", adapter, &request->header, request->hdInfo, gFake.pds);
}

KX_U8 KX_LD_BGAControl(KX_U8 adapter, KX_U16 vdId, KX_U8 action)
{
    gFake.calls.push_back({"KX_LD_BGAControl", adapter, vdId, action, 0});
    return 0;
}

KX_U8 KX_LD_Delete(KX_U8 adapter, KX_U16 vdId, KX_BOOLEAN stop)
{
    gFake.calls.push_back({"KX_LD_Delete", adapter, vdId, stop, 0});
    return gFake.deleteStatus;
}

} // extern "C"
