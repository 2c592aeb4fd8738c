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
    bool seen[256] = {};

    cli::optind = 1;
    for (;;) {
        int c = cli::getopt_long(argc, argv, "o:e:i:p:w:k:\001:h", longOptions, nullptr);
        if (c == -1)
            break;
        if (c == 1)
            continue;
        if (c == '?')
            return 1;
        if (c != 'h' && seen[c & 0xFF]) {
            fputs(ErrorDuplicate, stream);
            return 1;
        }
        seen[c & 0xFF] = true;
        switch (c) {
        case 'o':
            if (strcasecmp(cli::optarg, "changePwd") == 0) {
                op = OP_CHANGE_PWD;
            } else if (strcasecmp(cli::optarg, "verifyKey") == 0) {
                op = OP_VERIFY_KEY;
            } else {
                fprintf(stream, "-o : invalid object '%s'\n", cli::optarg);
                return 1;
            }
            break;
        case 'e':
            if (!parseAesId(cli::optarg, 0xFF, &entry)) {
                fprintf(stream, "-e : invalid entry id '%s'\n", cli::optarg);
                return 1;
            }
            break;
        case 'i':
            /* Accepted for the scripts that pass it; the operations act on
               entries only. */
            if (!parseAesId(cli::optarg, 0xFF, &port)) {
                fprintf(stream, "-i : invalid port id '%s'\n", cli::optarg);
                return 1;
            }
            break;
        case 'p':
        case 'w':
            if (!(c == 'p' ? password : oldPassword).set(cli::optarg)) {
                fprintf(stream, "-n : password of aes should be no more than %d characters\n", CLI_AES_TEXT_MAX);
                return 1;
            }
            break;
        case 'k':
            if (!key.set(cli::optarg)) {
                fprintf(stream, "-k : length of AES key should be no more than %d characters\n", CLI_AES_TEXT_MAX);
                return 1;
            }
            if (key.length == 0) {
                fprintf(stream, "-k : key can not be NULL\n");
                return 1;
            }
            break;
        case kMount:
        case kDismount:
            break;
        default:
            printCommandHelp(pCmdInfo);
            return 0;
        }
    }

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
