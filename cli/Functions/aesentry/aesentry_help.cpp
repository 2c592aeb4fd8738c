// Short help and help page of the aesentry command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char aesentry_sh[] =
    "AES operations";
const char aesentry_help[] =
    "\n"
    "aesentry -o <getInfo|getCfg|setCfg> [-i <entry id>] [-p <password>] [-k <key>] [-h]\n"
    "\n"
    "Options:\n"
    "    -o <getInfo|getCfg|setCfg>\n"
    "        getInfo - list the key entries.\n"
    "        getCfg  - get the configuration of a key entry.\n"
    "        setCfg  - set the key of a key entry.\n"
    "    -i <entry id>\n"
    "        Id of the key entry, used with getCfg and setCfg.\n"
    "    -p <password>\n"
    "        Password of the key entry, used with getCfg and setCfg.\n"
    "    -k <key>\n"
    "        AES key, used with setCfg.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    aesentry -o setCfg -i 0 -p pass -k key\n"
    "\n"
    "    Set the key of key entry 0.\n"
    "\n";
