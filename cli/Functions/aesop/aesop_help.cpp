// Short help and help page of the aesop command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char aesop_sh[] =
    "AES operations";
const char aesop_help[] =
    "\n"
    "aesop -o <changePwd|verifyKey> -e <entry id> -p <password>\n"
    "      [-w <old password>] [-k <key>] [-h]\n"
    "\n"
    "Options:\n"
    "    -o, --option <changePwd|verifyKey>\n"
    "        changePwd - change the password of a key entry.\n"
    "        verifyKey - verify the key of a key entry.\n"
    "    -e, --entryid <entry id>\n"
    "        Id of the key entry.\n"
    "    -p, --password <password>\n"
    "        New password (changePwd) or password of the entry (verifyKey).\n"
    "    -w, --oldpassword <old password>\n"
    "        Old password, used with changePwd.\n"
    "    -k <key>\n"
    "        AES key, used with verifyKey.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    aesop -o changePwd -e 0 -w oldpass -p newpass\n"
    "\n"
    "    Change the password of key entry 0.\n"
    "\n";
