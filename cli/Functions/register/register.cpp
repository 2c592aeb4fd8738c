// register [-t mailbox|internal] -a read|write [-d address] [-v value]:
// reads or writes a register of the current adapter.
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

int doRegister(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"type", cli::kRequiredArgument, nullptr, 't'},
        {"operation", cli::kRequiredArgument, nullptr, 'a'},
        {"address", cli::kRequiredArgument, nullptr, 'd'},
        {"value", cli::kRequiredArgument, nullptr, 'v'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    bool write = false;
    /* The library tells the types apart; 255 names none of them. */
    KX_U8 type = 255;
    KX_U32 address = 0, value = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.required = "a";
    int r = runOptionLoop(argc, argv, pCmdInfo, "t:a:d:v:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 't':
                                  if (strcasecmp(arg, "mailbox") == 0)
                                      type = KX_REGISTER_MAILBOX;
                                  else if (strcasecmp(arg, "internal") == 0)
                                      type = KX_REGISTER_INTERNAL;
                                  else
                                      type = 255;
                                  return OPT_TAKEN;
                              case 'a':
                                  return takeWord(arg, {{"read", false}, {"write", true}},
                                                  "-t : invalid operation type '%s'\n", write);
                              case 'd':
                                  if (!parseDecOrHex32(arg, &address)) {
                                      fprintf(stream, "-d : invalid address '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              case 'v':
                                  if (!parseDecOrHex32(arg, &value)) {
                                      fprintf(stream, "-v : invalid value '%s'\n", arg);
                                      return OPT_REFUSED;
                                  }
                                  return OPT_TAKEN;
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;
    if (write && counts['v'] == 0) {
        fprintf(stream, "-v is must in the write register command.\n");
        return 1;
    }
    if (!write && counts['v'] > 0) {
        fprintf(stream, "-v is must not be set in the read register command.\n");
        return 1;
    }
    Adapter_Register_Value reg;
    memset(&reg, 0, sizeof reg);
    reg.offset = 8;
    reg.size = 16;
    if (write) {
        reg.value = value;
        const KX_U8 st = KX_Adapter_Write_Register(gCurrentAdapter, type, address, &reg);
        if (st != 0) {
            fprintf(stream, "Write 0x%x address register failed (error %d: %s).\n", address, st, ErrorMessage(st));
            return st;
        }
        fprintf(stream, "Write 0x%x address register successfully.\n", address);
        return 0;
    }
    const KX_U8 st = KX_Adapter_Read_Register(gCurrentAdapter, type, address, &reg);
    if (st != 0) {
        fprintf(stream, "Read 0x%x address register failed (error %d: %s).\n", address, st, ErrorMessage(st));
        return st;
    }
    fprintf(stream, "0x%x address register value is 0x%x.\n", address, reg.value);
    return 0;
}
