// devmap -o pd|vd [-i id]: the operating system's device name of one disk
// or VD, or of all of them.
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <vector>

#include "Functions/handlers.h"
#include "Functions/info/info_list.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"
#include "kx_api.h"

namespace {

/* IDs one request to the library carries. */
const size_t kMaxIds = 128;
const KX_U8 kTooManyIds = 3;
const char kFail[] = "Fail! (error %d: %s).\n";

/* Every VD or disk ID of the current adapter, in list order. Returns the
   status; more IDs than kMaxIds give kTooManyIds. */
int collectIds(bool vd, std::vector<KX_U16> &ids)
{
    /* Only whole-list requests are made, so the error line is the one
       without an ID. */
    static const InfoListKind kVdKind = {sizeof(LD_Info), 128, nullptr, nullptr, nullptr, kFail, kFail, 0, nullptr};
    static const InfoListKind kPdKind = {sizeof(HD_Info), 128, nullptr, nullptr, nullptr, kFail, kFail, 0, nullptr};
    const KX_U16 maxBuffer = gAdapterInfo[gCurrentAdapter].MaxBufferSize;
    auto keep = [&ids](KX_U16 id) {
        if (ids.size() == kMaxIds)
            return static_cast<int>(kTooManyIds);
        ids.push_back(id);
        return 0;
    };
    if (vd)
        return infoPagedList(
            maxBuffer, kVdKind, true, 0, 0,
            [](RequestHeader *hdr) {
                return KX_LD_GetInfo(gCurrentAdapter, reinterpret_cast<LD_Info_Request *>(hdr));
            },
            [&keep](const void *rec) {
                LD_Info ld;
                memcpy(&ld, rec, sizeof ld);
                return keep(ld.ID);
            });
    bool extended = true;
    return infoPagedList(
        maxBuffer, kPdKind, true, 0, 0, [&extended](RequestHeader *hdr) { return infoPdInfoPage(hdr, extended); },
        [&keep](const void *rec) {
            HD_Info hd;
            memcpy(&hd, rec, sizeof hd);
            return keep(hd.Link.Self.DevID);
        });
}

} // namespace

int doDevMap(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    bool vd = false;
    KX_U32 id = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "o";
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:i:\x01:h", longopts, rules, counts, [&](int opt, const char *arg) {
        switch (opt) {
        case 'o':
            if (strncasecmp(arg, "pd", 2) == 0) {
                vd = false;
            } else if (strncasecmp(arg, "vd", 2) == 0) {
                vd = true;
            } else {
                fprintf(stream, "-o: Invalid object '%s'.\n", arg);
                return OPT_REFUSED;
            }
            return OPT_TAKEN;
        case 'i':
            if (!parseDecOrHex32(arg, &id) || id > 0xFFFE) {
                fprintf(stream, "-i: invalid object id '%s'.\n", arg);
                return OPT_REFUSED;
            }
            return OPT_TAKEN;
        default:
            return OPT_HELP;
        }
    });
    if (r >= 0)
        return r;
    std::vector<KX_U16> ids;
    if (counts['i'] > 0) {
        ids.push_back(static_cast<KX_U16>(id));
    } else {
        const int st = collectIds(vd, ids);
        if (st == kTooManyIds)
            fprintf(stream, kFail, st, ErrorMessage(st));
        if (st != 0)
            return st;
    }
    if (ids.empty())
        return 0;
    std::vector<Tandem_Magic> records(ids.size());
    memset(records.data(), 0, records.size() * sizeof(Tandem_Magic));
    for (size_t i = 0; i < ids.size(); ++i)
        records[i].ID = ids[i];
    const KX_U8 count = static_cast<KX_U8>(records.size());
    const KX_U8 st = vd ? KX_Tandem_GetVDMagic(gCurrentAdapter, count, records.data())
                        : KX_Tandem_GetHDMagic(gCurrentAdapter, count, records.data());
    if (st != 0) {
        fprintf(stream, kFail, st, ErrorMessage(st));
        return st;
    }
    for (const Tandem_Magic &r : records) {
        fputc('\n', stream);
        fprintf(stream, fmt_Num, 20, "Device ID:", (long)r.ID);
        /* The name fills its field without a terminating zero when it is
           24 bytes long. */
        fprintf(stream, "%-*s %.*s\n", 20, "Magic Number:", (int)sizeof r.Magic, (const char *)r.Magic);
        fputc('\n', stream);
    }
    return 0;
}
