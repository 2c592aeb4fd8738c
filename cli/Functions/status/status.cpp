/*
 * status: the SMART threshold state of one disk or of every disk of the
 * current adapter.
 */
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Public/globals.h"
#include "Functions/info/info_list.h"

namespace {

const InfoListKind kSmartList = {
    sizeof(HD_SMART_Status), 128, nullptr, nullptr, nullptr,
    "\nUnable to get status of hard disk %d (error %d: %s).\n", nullptr, 0,
    "\nFailed to allocated space for KX_PD_GetStatus().\n",
};

int printSmartStatus(const void *rec)
{
    HD_SMART_Status s;
    memcpy(&s, rec, sizeof s);
    infoNum(26, "hard disk id:", (long)s.HDID);
    infoStr(26, "SMART threshold exceeded:", s.SmartThresholdExceeded ? "KX_TRUE" : "KX_FALSE");
    infoOut("\n");
    return 0;
}

} // namespace

int doStatus(int argc, char **argv, cmd_struct *pCmdInfo)
{
    InfoOptions opt;
    /* Disk IDs are 16 bits and 0xFFFF means every disk: a larger number
       must not wrap around to some other disk. */
    const int rc = infoParseOptions(
        argc, argv, pCmdInfo, "-i : id is not a number\n", 0xFFFE,
        [](const char *word) {
            if (strcasecmp(word, "pd") == 0 || strcasecmp(word, "hd") == 0)
                return true;
            infoOut("-o : invalid object '%s'\n", word);
            return false;
        },
        opt);
    if (rc >= 0)
        return rc;
    const KX_U16 id = opt.haveId ? (KX_U16)opt.id : 255;
    return infoPagedList(
        gAdapterInfo[gCurrentAdapter].MaxBufferSize, kSmartList, !opt.haveId, id, id,
        [](RequestHeader *hdr) {
            return KX_PD_GetSmartStatus(gCurrentAdapter, reinterpret_cast<HD_SMART_Status_Request *>(hdr));
        },
        printSmartStatus);
}
