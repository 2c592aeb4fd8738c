// nvsram -a read|write [-s offset] [-c count] [-p pattern]: reads NVSRAM
// bytes of the current adapter, or fills them with a pattern, for testing.
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
#include "Public/utils.h"
#include "kx_api.h"

namespace {

const unsigned kChunk = sizeof(((DBG_NVSRAM *)nullptr)->Data);

/* Hexadecimal digits, with or without "0x"; 0x100 stands for any value
   that does not fit a byte. */
bool parsePattern(const char *text, unsigned &out)
{
    const char *p = text;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        p += 2;
    if (!*p)
        return false;
    unsigned value = 0;
    for (; *p; ++p) {
        int d;
        if (*p >= '0' && *p <= '9')
            d = *p - '0';
        else if (*p >= 'a' && *p <= 'f')
            d = *p - 'a' + 10;
        else if (*p >= 'A' && *p <= 'F')
            d = *p - 'A' + 10;
        else
            return false;
        value = value * 16 + d;
        if (value > 0xFF)
            value = 0x100;
    }
    out = value;
    return true;
}

/* One chunk's bytes, eight to a line, with an offset line after every
   eight lines while more bytes of the chunk follow. */
void printChunk(const DBG_NVSRAM &t, unsigned n)
{
    fprintf(stream, "nvsram offset at : 0x%08x\n", t.Offset);
    for (unsigned i = 0; i < n; ++i) {
        fprintf(stream, "0x%02x\t", t.Data[i]);
        if ((i + 1) % 8 != 0)
            continue;
        fputc('\n', stream);
        if ((i + 1) % 64 == 0 && i + 1 < n)
            fprintf(stream, "\nnvsram offset: 0x%08x\n", t.Offset + i + 1);
    }
    fputc('\n', stream);
}

} // namespace

int doNvsramRW(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"offset", cli::kRequiredArgument, nullptr, 's'},
        {"count", cli::kRequiredArgument, nullptr, 'c'},
        {"pattern", cli::kRequiredArgument, nullptr, 'p'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    KX_U8 direction = KX_NVSRAM_READ;
    KX_U32 offset = 0, count = 1;
    unsigned pattern = 0x5A;
    const char *countText = "1";
    int counts[128] = {};
    int r = runOptionLoop(argc, argv, pCmdInfo, "a:s:c:p:\x01:h", longopts, false, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'a':
                                  return takeWord<KX_U8>(arg, {{"read", KX_NVSRAM_READ}, {"write", KX_NVSRAM_WRITE}},
                                                         "-a : invalid action '%s'\n", direction);
                              case 's':
                                  if (!parseDecOrHex32(arg, &offset)) {
                                      fprintf(stream, "-s : invalid address offset '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'c':
                                  countText = arg;
                                  if (!isNumber(arg) || !parseDecOrHex32(arg, &count)) {
                                      fprintf(stream, "-c : invalid byte counts '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  if (count == 0) {
                                      fprintf(stream, "Number of bytes should be > 0\n");
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'p':
                                  if (!parsePattern(arg, pattern)) {
                                      /* This one line goes to standard output whatever the
                                         output stream is. */
                                      fflush(stream);
                                      printf("-p: invalid hex pattern '%s'\n", arg);
                                      fflush(stdout);
                                      return OPT_REFUSED;
                                  }
                                  if (pattern > 0xFF) {
                                      fprintf(stream, "-p: hex pattern should be 8 bit \n");
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (counts['a'] == 0) {
        fprintf(stream, OptionRequired, pCmdInfo->cmd, 'a');
        fputs(pCmdInfo->cmdHelp, stream);
        return 1;
    }
    /* NVSRAM offsets are 32 bits: a range that would wrap is refused
       rather than continued at offset 0. */
    if (static_cast<unsigned long long>(offset) + count > 0x100000000ull) {
        fprintf(stream, "-c : invalid byte counts '%s'\n", countText);
        return 1;
    }

    DBG_NVSRAM t;
    unsigned long long done = 0;
    while (done < count) {
        const unsigned long long left = count - done;
        const bool fullChunk = left > kChunk;
        const unsigned n = fullChunk ? kChunk : static_cast<unsigned>(left);
        memset(&t, 0, sizeof t);
        t.Offset = static_cast<KX_U32>(offset + done);
        t.NumBytes = static_cast<KX_U16>(n);
        if (direction == KX_NVSRAM_WRITE)
            memset(t.Data, static_cast<int>(pattern), n);
        const KX_U8 st = KX_Flash_NVSRAM(gCurrentAdapter, direction, &t);
        if (st != 0) {
            fprintf(stream,
                    fullChunk ? "\nFailed to run NVSRAM read/write test (error %d: %s).\n"
                              : "\nFailed to run nvsram read/write test (error %d: %s).\n",
                    st, ErrorMessage(st));
            return st;
        }
        if (direction == KX_NVSRAM_READ)
            printChunk(t, n);
        else
            fprintf(stream, "\n%d bytes have been written into nvsram!\n", t.ReturnedCount);
        done += n;
    }
    return 0;
}
