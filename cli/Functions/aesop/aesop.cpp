/*
 * aesop: change the password of a key entry, or check a key against it.
 * Keys and passwords go to the controller only; nothing here prints them.
 */
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "Functions/handlers.h"
#include "Public/aes_options.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "kx_api.h"

namespace {
enum AesOp { OP_NONE, OP_CHANGE_PWD, OP_VERIFY_KEY };
const int kMount = 2, kDismount = 3;
} // namespace

int doAESOp(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longOptions[] = {
        {"option", cli::kRequiredArgument, nullptr, 'o'},
        {"entryid", cli::kRequiredArgument, nullptr, 'e'},
        {"portid", cli::kRequiredArgument, nullptr, 'i'},
        {"password", cli::kRequiredArgument, nullptr, 'p'},
        {"oldpassword", cli::kRequiredArgument, nullptr, 'w'},
        {"aesmount", cli::kNoArgument, nullptr, kMount},
        {"aesdismount", cli::kNoArgument, nullptr, kDismount},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    AesOp op = OP_NONE;
    unsigned long entry = 0, port = 0;
    AesText password, oldPassword, key;
    int seen[128] = {};

    /* A repeated option is refused before its value is looked at. */
    OptionLoopRules rules;
    rules.duplicates = DUP_WHEN_MET;
    int r = runOptionLoop(argc, argv, pCmdInfo, "o:e:i:p:w:k:\001:h", longOptions, rules, seen,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'o':
                                  return takeWord(arg, {{"changePwd", OP_CHANGE_PWD}, {"verifyKey", OP_VERIFY_KEY}},
                                                  "-o : invalid object '%s'\n", op);
                              case 'e':
                                  return takeAesId(arg, 0xFF, "-e : invalid entry id '%s'\n", entry);
                              case 'i':
                                  /* Accepted for the scripts that pass it; the operations act on
                                     entries only. */
                                  return takeAesId(arg, 0xFF, "-i : invalid port id '%s'\n", port);
                              case 'p':
                                  return takePassword(arg, password);
                              case 'w':
                                  return takePassword(arg, oldPassword);
                              case 'k':
                                  return takeKey(arg, key);
                              case kMount:
                              case kDismount:
                                  return OPT_TAKEN;
                              default:
                                  return OPT_HELP;
                              }
                          });
    if (r >= 0)
        return r;

    const char required[] = {'o', 'e', 'p', op == OP_VERIFY_KEY ? 'k' : 'w'};
    for (char letter : required)
        if (!seen[static_cast<unsigned char>(letter)]) {
            fprintf(stream, OptionRequired, pCmdInfo->cmd, letter);
            return 1;
        }

    if (op == OP_CHANGE_PWD) {
        AES_Change_Passwd change;
        memset(&change, 0, sizeof change);
        change.entry_id = static_cast<KX_U8>(entry);
        memcpy(change.old_user_auth, oldPassword.bytes, sizeof change.old_user_auth);
        memcpy(change.new_user_auth, password.bytes, sizeof change.new_user_auth);
        KX_U8 status = KX_AES_ChangePwd(gCurrentAdapter, &change);
        wipeSecret(&change, sizeof change);
        if (status != 0)
            fprintf(stream, "\nAES change password of entry %lu failed (error %d: %s).\n", entry, status,
                    ErrorMessage(status));
        else
            fprintf(stream, "\nAES change password of entry %lu is returned successfully.\n", entry);
        return status;
    }

    AES_Entry_Verify verify;
    memset(&verify, 0, sizeof verify);
    verify.entry_id = static_cast<KX_U8>(entry);
    verify.key_length = CLI_AES_TEXT_MAX;
    memcpy(verify.key_content, key.bytes, sizeof verify.key_content);
    memcpy(verify.user_auth, password.bytes, sizeof verify.user_auth);
    KX_U8 status = KX_AES_VerifyKey(gCurrentAdapter, &verify);
    wipeSecret(&verify, sizeof verify);
    if (status != 0) {
        fprintf(stream, "\nVerify key on entry %lu failed(error %d: %s)\n", entry, status, ErrorMessage(status));
        return 1;
    }
    fprintf(stream, "\nVerify key on entry %lu returned successfully.\n", entry);
    return 0;
}
