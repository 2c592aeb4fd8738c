#include "Parser/RequestEntry.h"

#include "Parser/KXRequestHandle.h"
#include "Util/KXPids.h"
#include "kx_api.h"

namespace {
KXRequestHandle *handle = nullptr;
}

KXPids &pidsManagement()
{
    // Built on first use rather than at load time, so that a program that
    // links the module's code without serving requests creates no IPC
    // objects, and ARRAYRPC_IPC_DIR can be set before it is read.
    static KXPids pids_management;
    return pids_management;
}

KXRequestHandle *currentHandle()
{
    return handle;
}

void initHandle()
{
    if (!handle)
        handle = new KXRequestHandle();
    pidsManagement().createShareMemory();
}

void closeHandle()
{
    if (handle) {
        delete handle;
        handle = nullptr;
        KX_API_Finalize();
    }
}

int issueXML(const char *XMLCmd, const char **result, unsigned &sizeString)
{
    static const char kEmpty[] = "";
    *result = kEmpty;
    sizeString = 0;
    if (!XMLCmd || !*XMLCmd)
        return 0;
    if (!handle)
        return status_buildOperators; // not started: not ready
    KXPids &pids = pidsManagement();
    if (pids.notexistPid()) {
        KX_API_Initialize();
        pids.addPid();
    }
    int status = handle->issue(XMLCmd);
    if (status != 0)
        return status;
    *result = handle->getResult().c_str();
    sizeString = static_cast<unsigned>(handle->getResult().size());
    return 0;
}
