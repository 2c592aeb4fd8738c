/*
 * status: the SMART threshold state of one disk or of every disk of the
 * current adapter.
 */
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "Public/errors.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/utils.h"
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
    static const cli::option longOptions[] = {
        {"object", 1, nullptr, 'o'},
        {"id", 1, nullptr, 'i'},
        {"output", 1, nullptr, 1},
        {"help", 0, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long id = 255;
    const char *idText = nullptr;
    int objectCount = 0, idCount = 0;

    cli::optind = 1;
    for (;;) {
        int c = cli::getopt_long(argc, argv, "o:i:\001:h", longOptions, nullptr);
        if (c == -1)
            break;
        switch (c) {
        case 1:
            break;
        case 'o':
            ++objectCount;
            if (strcasecmp(cli::optarg, "pd") != 0 && strcasecmp(cli::optarg, "hd") != 0) {
                infoOut("-o : invalid object '%s'\n", cli::optarg);
                return 1;
            }
            break;
        case 'i':
            ++idCount;
            if (cli::optarg[0] == '\0' || !isNumber(cli::optarg)) {
                infoOut("-i : id is not a number\n");
                return 1;
            }
            idText = cli::optarg;
            id = strtoul(cli::optarg, nullptr, 10);
            break;
        case '?':
            return 1;
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }
    if (objectCount == 0) {
        infoOut(OptionRequired, pCmdInfo->cmd, 'o');
        return 1;
    }
    /* Disk IDs are 16 bits and 0xFFFF means every disk: a larger number
       must not wrap around to some other disk. */
    if (idCount != 0 && id > 0xFFFE) {
        if (id > 0x7FFFFFFFUL)
            infoOut("-i : invalid id %s\n", idText);
        else
            infoOut("-i : invalid id %d\n", (int)id);
        return 1;
    }
    if (objectCount > 1 || idCount > 1) {
        infoOut("%s", ErrorDuplicate);
        return 1;
    }
    const bool all = idCount == 0;
    return infoPagedList(
        gAdapterInfo[gCurrentAdapter].MaxBufferSize, kSmartList, all, (KX_U16)id, (int)id,
        [](RequestHeader *hdr) {
            return KX_PD_GetSmartStatus(gCurrentAdapter, reinterpret_cast<HD_SMART_Status_Request *>(hdr));
        },
        printSmartStatus);
}
