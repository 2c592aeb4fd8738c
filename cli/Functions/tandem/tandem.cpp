// tandem -o empty|count|delete -d <Tandem VD> [-a <start LBA>] [-l <length>]:
// a test tool for the entry table of a Tandem VD.
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "parse.h"
#include "kx_api.h"

namespace {

enum TandemObject { TO_NONE, TO_EMPTY, TO_COUNT, TO_DELETE };

/* Either Tandem level bit (9 or 10) offers the table. */

/* Decimal digits only, at most max. */
int addEmptyEntry(KX_U16 id, uint64_t start, KX_U32 length)
{
    Tandem_FS_Entry_Request req;
    memset(&req, 0, sizeof req);
    req.header.requestType = KX_REQUEST_BY_ID;
    req.header.startingIndexOrId = 0;
    req.header.numRequested = 1;
    req.entry[0].StartLBA = kxU64Make(start);
    req.entry[0].Length = length;
    return KX_Tandem_AddFSEntries(gCurrentAdapter, id, &req, 0);
}

int showCount(KX_U16 id)
{
    Tandem_Table_Info info;
    memset(&info, 0, sizeof info);
    KX_U8 st = KX_Tandem_GetEntriesTableInfo(gCurrentAdapter, id, &info);
    if (st != 0) {
        fprintf(stream, "\nFailed to get table information (error %d: %s).\n", st, ErrorMessage(st));
        return st;
    }
    fprintf(stream, "Tandem table total enties count %d\n", (int)info.TotalCount);
    fprintf(stream, "Tandem table remian enties count %d\n", (int)info.RemainCount);
    return 0;
}

} // namespace

int doTandem(int argc, char **argv, cmd_struct *pCmdInfo)
{
    /* "length" takes no argument: "--length=5" is the parser's own error,
       and "--length" alone sets nothing. */
    static const cli::option longopts[] = {
        {"object", cli::kRequiredArgument, nullptr, 'o'},
        {"Tandem", cli::kRequiredArgument, nullptr, 'd'},
        {"adress", cli::kRequiredArgument, nullptr, 'a'},
        {"length", cli::kNoArgument, nullptr, 'l'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    TandemObject object = TO_NONE;
    unsigned long long id = 0, start = 0, length = 0;
    int counts[128] = {};
    /* Any option may be given again: the last one counts. */
    OptionLoopRules rules;
    rules.once = "";
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:d:a:l:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  return takeWord(arg,
                                                  {{"empty", TO_EMPTY}, {"count", TO_COUNT}, {"delete", TO_DELETE}},
                                                  "-o : invalid object '%s', should be empty or delete\n", object);
                              case 'd':
                                  if (!client::parseDecimal(arg, 0xFFFF, id)) {
                                      fprintf(stream, "-d : Tandem ID is not a number\n");
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'a':
                                  if (!client::parseDecimal(arg, UINT64_MAX, start)) {
                                      fprintf(stream, "-a : address is not a number\n");
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'l':
                                  if (arg && !client::parseDecimal(arg, 0xFFFFFFFFull, length)) {
                                      fprintf(stream, "-l : length is not a number\n");
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (!(gAdapterInfo[gCurrentAdapter].LogicalDriverMode & KX_LDM_TANDEM_CS)) {
        fprintf(stream, "Tandem is not supported.\n");
        return 1;
    }
    if (object == TO_NONE) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'o');
        return 1;
    }
    if (counts['d'] == 0) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'd');
        return 1;
    }
    switch (object) {
    case TO_EMPTY:
        return addEmptyEntry((KX_U16)id, start, (KX_U32)length);
    case TO_COUNT:
        return showCount((KX_U16)id);
    default:
        return KX_Tandem_RemoveEntriesTable(gCurrentAdapter, (KX_U16)id);
    }
}
