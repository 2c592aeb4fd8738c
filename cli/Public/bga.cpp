#include "Public/bga.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "Public/confirm.h"
#include "Public/dispatch.h"
#include "Public/errors.h"
#include "Public/globals.h"
#include "Public/utils.h"

namespace {

/* The status the controller itself gives for an unknown object of each
   kind, used when a by-ID query succeeds but returns nothing. */
constexpr KX_U8 kNoSuchVD = 8;
constexpr KX_U8 kNoSuchPD = 9;
constexpr KX_U8 kNoSuchBlock = 12;
constexpr KX_U8 kNoSuchArray = 17;

template <typename Req, typename Rec, typename Op>
KX_U8 queryOne(Op op, KX_U16 id, Rec &out, KX_U8 notFound)
{
    Req req;
    memset(&req, 0, sizeof req);
    req.header.requestType = KX_REQUEST_BY_ID;
    req.header.startingIndexOrId = id;
    req.header.numRequested = 1;
    KX_U8 st = op(gCurrentAdapter, &req);
    if (st != 0)
        return st;
    if (req.header.numReturned < 1)
        return notFound;
    /* The record follows the header; the request holds exactly one. */
    memcpy(&out, reinterpret_cast<const char *>(&req) + sizeof(RequestHeader), sizeof out);
    return 0;
}

} // namespace

KX_U8 getLDInfo(KX_U16 id, LD_Info &out)
{
    return queryOne<LD_Info_Request>(KX_LD_GetInfo, id, out, kNoSuchVD);
}

KX_U8 getLDStatus(KX_U16 id, LD_Status &out)
{
    return queryOne<LD_Status_Request>(KX_LD_GetStatus, id, out, kNoSuchVD);
}

KX_U8 getDGInfo(KX_U16 id, DG_Info &out)
{
    return queryOne<DG_Info_Request>(KX_DG_GetInfo, id, out, kNoSuchArray);
}

KX_U8 getHDRaidStatus(KX_U16 id, HD_RAID_Status &out)
{
    return queryOne<HD_RAID_Status_Request>(KX_PD_GetHDRaidStatus, id, out, kNoSuchPD);
}

KX_U8 getHDInfo(KX_U16 id, HD_Info &out)
{
    if (queryOne<HD_Info_Request>(KX_PD_GetHDInfo_Ext, id, out, kNoSuchPD) == 0)
        return 0;
    return queryOne<HD_Info_Request>(KX_PD_GetHDInfo, id, out, kNoSuchPD);
}

KX_U8 getHDBgaStatus(KX_U16 id, HD_BGA_Status &out)
{
    return queryOne<HD_BGA_Status_Request>(KX_PD_GetBGAStatus, id, out, kNoSuchPD);
}

KX_U8 getHDFreeSpace(KX_U16 id, HD_FreeSpaceInfo &out)
{
    return queryOne<HD_FreeSpaceInfo_Request>(KX_PD_GetFreeSpaceInfo, id, out, kNoSuchPD);
}

KX_U8 getBlockInfo(KX_U16 id, Block_Info &out)
{
    return queryOne<Block_Info_Request>(KX_BLK_GetInfo, id, out, kNoSuchBlock);
}

KX_U8 readLDInfo(KX_U16 id, LD_Info &out)
{
    KX_U8 st = getLDInfo(id, out);
    if (st != 0)
        fprintf(stream, "\nUnable to get info of VD %d (error %d: %s).\n", id, st, ErrorMessage(st));
    return st;
}

KX_U8 readLDStatus(KX_U16 id, LD_Status &out)
{
    KX_U8 st = getLDStatus(id, out);
    if (st != 0)
        fprintf(stream, "\nUnable to get status of VD %d (error %d: %s).\n", id, st, ErrorMessage(st));
    return st;
}

KX_U8 readDGInfo(KX_U16 id, DG_Info &out)
{
    KX_U8 st = getDGInfo(id, out);
    if (st != 0)
        fprintf(stream, "Unable to get info of array %d (error %d: %s).\n", id, st, ErrorMessage(st));
    return st;
}

bool parseDecimalId(const char *text, unsigned long max, unsigned long &out)
{
    if (!text || !*text || !isNumber(text))
        return false;
    errno = 0;
    unsigned long v = strtoul(text, nullptr, 10);
    if (errno == ERANGE || v > max)
        return false;
    out = v;
    return true;
}

bool parseDecimalOrHexId(const char *text, unsigned long &out)
{
    if (!text || !*text)
        return false;
    if (isNumber(text)) {
        errno = 0;
        unsigned long v = strtoul(text, nullptr, 10);
        if (errno == ERANGE)
            return false;
        out = v;
        return true;
    }
    if (!isHex(text))
        return false;
    /* atohex keeps the low 32 bits only: an ID of more digits than that
       would silently name another object. */
    const char *digits = text + 2;
    while (*digits == '0' && digits[1])
        ++digits;
    if (strlen(digits) > 8)
        return false;
    out = atohex(text);
    return true;
}

bool parsePdList(const char *text, bool dropRepeats, KX_U16 ids[CLI_MAX_PD_LIST], int &count)
{
    count = 0;
    if (!*text)
        return true;
    const char *p = text;
    for (;;) {
        if (*p < '0' || *p > '9')
            return false;
        unsigned long v = 0;
        while (*p >= '0' && *p <= '9') {
            v = v * 10 + static_cast<unsigned long>(*p - '0');
            if (v > 0xFFFF)
                return false;
            ++p;
        }
        /* The item's value is its leading digits; what follows them up to
           the next comma is not looked at. */
        while (*p && *p != ',')
            ++p;
        bool repeat = false;
        if (dropRepeats)
            for (int i = 0; i < count; ++i)
                if (ids[i] == v)
                    repeat = true;
        if (!repeat) {
            if (count == CLI_MAX_PD_LIST)
                return false;
            ids[count++] = static_cast<KX_U16>(v);
        }
        if (!*p)
            return true;
        ++p; /* the comma */
    }
}

int bgaControlByState(KX_U8 state, KX_U8 action, KX_U16 id, const BgaStateTexts &t, BgaControlFn control)
{
    const char *ok = nullptr, *fail = nullptr;
    switch (state) {
    case BGA_ST_RUNNING:
        if (action == BGA_ACT_STOP) {
            ok = t.stopOk;
            fail = t.stopFail;
        } else if (action == BGA_ACT_PAUSE) {
            ok = t.pauseOk;
            fail = t.pauseFail;
        } else {
            fprintf(stream, t.running, id);
            return 0;
        }
        break;
    case BGA_ST_ABORTED:
        if (action != BGA_ACT_RESTART) {
            fprintf(stream, t.aborted, id);
            return 0;
        }
        ok = t.restartOk;
        fail = t.restartFail;
        break;
    case BGA_ST_PAUSED:
    case BGA_ST_AUTO_PAUSED:
        if (action != BGA_ACT_RESUME) {
            fprintf(stream, t.paused, id);
            return 0;
        }
        ok = t.resumeOk;
        fail = t.resumeFail;
        break;
    default:
        fprintf(stream, t.none, id);
        return 0;
    }
    KX_U8 st = control(gCurrentAdapter, id, action);
    if (st != 0)
        fprintf(stream, fail, id, st, ErrorMessage(st));
    else if (ok)
        fputs(ok, stream);
    return st;
}

int confirmOrResult(int declinedResult, const char *question, ...)
{
    va_list ap;
    va_start(ap, question);
    ConfirmAnswer answer = vaskConfirm(question, ap);
    va_end(ap);
    switch (answer) {
    case CONFIRM_YES:
        return -1;
    case CONFIRM_NO:
        return declinedResult;
    default:
        return 1;
    }
}

int prepareVdActivity(KX_U16 vd, bool start, const VdStartTexts &texts, LD_Status &status)
{
    LD_Info info;
    KX_U8 st = readLDInfo(vd, info);
    if (st != 0)
        return st;
    if (start && info.RaidMode == 0) {
        fputs(texts.raid0, stream);
        return 19;
    }
    st = readLDStatus(vd, status);
    if (st != 0)
        return st;
    if (!start)
        return -1;
    if (status.Bga != 0) {
        fprintf(stream, texts.busy, vd);
        return 0;
    }
    if (status.BgaExt & LD_BGAEXT_MEDIA_PATROL)
        return confirmOrResult(0, "%s", texts.question);
    return -1;
}

bool raidModeSupported(KX_U16 ldm, KX_U8 raid)
{
    /* Bits of LogicalDriverMode, as the adapter information shows them. */
    int bit;
    switch (raid) {
    case 0: bit = 0; break;
    case 1: bit = 1; break;
    case 16: bit = 2; break;
    case 17: bit = 3; break;
    case 5: bit = 4; break;
    case 6: bit = 5; break;
    case 80: bit = 6; break;
    case 15: bit = 7; break;
    case 96: bit = 8; break;
    case 10: bit = 9; break;
    case 11: bit = 10; break;
    case 12: bit = 11; break;
    default: return false;
    }
    return (ldm & (1u << bit)) != 0;
}

int redundancyRank(KX_U8 raid)
{
    switch (raid) {
    case 16:
    case 17: return 1;
    case 80: return 5;
    case 96: return 6;
    default: return raid;
    }
}

bool checkLayoutDiskCount(KX_U8 raid, int n, int *parity, bool arrayTexts)
{
    switch (raid) {
    case 1:
        if (n != 2) {
            fputs("RAID1 needs exactly 2 PDs.\n", stream);
            return false;
        }
        break;
    case 16:
        if (n < 4 || n % 2) {
            fputs("RAID10 needs at least 4 or more even number of PDs.\n", stream);
            return false;
        }
        break;
    case 17:
        if (n < 3 || n % 2 == 0) {
            fputs("RAID1E needs at least 3 or more odd number of PDs.\n", stream);
            return false;
        }
        break;
    case 5:
        if (n < 3) {
            fputs("RAID5 needs at least 3 PDs.\n", stream);
            return false;
        }
        break;
    case 80:
        if (n < 6 || n % 2) {
            fputs("RAID50 needs least 6 or more even number of PDs.\n", stream);
            return false;
        }
        break;
    case 6:
        if (n < (arrayTexts ? 4 : 3)) {
            fputs(arrayTexts ? "RAID6 needs least 4 PDs.\n" : "RAID6 needs least 3 PDs.\n", stream);
            return false;
        }
        if (*parity < 0)
            *parity = 2;
        if (*parity < 2 || *parity >= n) {
            if (arrayTexts)
                fprintf(stream, "Number of parity disks should be at between 2 and %d.\n", n - 1);
            else
                fprintf(stream, "Number of parity disks should be at least 2 and less than %d.\n", n);
            return false;
        }
        return true;
    case 96:
        if (n < (arrayTexts ? 8 : 6) || n % 2) {
            fputs(arrayTexts ? "RAID60 needs least 8 or more even number of PDs.\n"
                             : "RAID60 needs least 6 or more even number of PDs.\n",
                  stream);
            return false;
        }
        if (*parity < 0)
            *parity = 4;
        if (*parity < 4 || *parity % 2) {
            fputs("RAID60 need at least 4 even number of parity disks.\n", stream);
            return false;
        }
        if (*parity >= n) {
            fprintf(stream, "# of parity disks (%d) should be less than # of total disks (%d).\n", *parity, n);
            return false;
        }
        return true;
    default:
        break;
    }
    /* Parity disks are a RAID6 / RAID60 setting only. */
    *parity = 0;
    return true;
}

int runOptionLoop(int argc, char **argv, cmd_struct *pCmdInfo, const char *shortopts, const cli::option *longopts,
                  bool helpWhenBare, int counts[128], const std::function<OptionTake(int opt, const char *arg)> &take)
{
    if (helpWhenBare && argc <= 1) {
        printCommandHelp(pCmdInfo);
        return 0;
    }
    int c;
    cli::optind = 1;
    while ((c = cli::getopt_long(argc, argv, shortopts, longopts, nullptr)) != -1) {
        if (c == 1)
            continue;
        if (c == '?')
            return 1;
        OptionTake t = c > 0 && c < 128 ? take(c, cli::optarg) : OPT_HELP;
        if (t == OPT_REFUSED)
            return 1;
        if (t == OPT_HELP)
            printCommandHelp(pCmdInfo);
        if (t == OPT_HELP || t == OPT_DONE)
            return 0;
        if (t == OPT_TAKEN)
            ++counts[c];
    }
    for (int i = 0; i < 128; ++i)
        if (counts[i] > 1) {
            fputs(ErrorDuplicate, stream);
            return 1;
        }
    return -1;
}

OptionTake takeAction(const char *arg, bool withSize, KX_U8 &action)
{
    action = chooseBGAAction(arg);
    if (action == BGA_ACT_INVALID && withSize && strcmp(arg, "size") == 0)
        action = BGA_ACT_SIZE;
    if (action == BGA_ACT_INVALID) {
        fprintf(stream, "-a : invalid action '%s'\n", arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

OptionTake takeDecimalId(const char *arg, unsigned long max, const char *badIdFormat, unsigned long &id)
{
    if (!parseDecimalId(arg, max, id)) {
        fprintf(stream, badIdFormat, arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

OptionTake takePdList(const char *arg, bool dropRepeats, KX_U16 ids[], int &count)
{
    if (!parsePdList(arg, dropRepeats, ids, count)) {
        fprintf(stream, "-d:invalid PD IDs %s\n", arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

OptionTake takeVdObject(const char *arg)
{
    if (strcasecmp(arg, "vd") != 0) {
        fprintf(stream, "-o : invalid object '%s', should be VD\n", arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

OptionTake takeLayoutOption(int opt, const char *arg, bool dropRepeats, LayoutOptions &o)
{
    unsigned long v = 0;
    switch (opt) {
    case 'r':
        o.raid = chooseRaidMode(arg);
        if (o.raid == 255) {
            fprintf(stream, "-r : invalid raid mode %s\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'q':
        if (!parseDecimalId(arg, 255, v)) {
            fprintf(stream, "-q : invalid number of parity disks '%s'\n", arg);
            return OPT_REFUSED;
        }
        o.parity = static_cast<int>(v);
        return OPT_TAKEN;
    case 'd':
        return takePdList(arg, dropRepeats, o.pds, o.pdCount);
    default:
        return OPT_HELP;
    }
}
