// Short help and help page of the aesport command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char aesport_sh[] =
    "AES operations";
const char aesport_help[] =
    "\n"
    "aesport -o <getCfg|set|mount|dismount> [-i <port id>] [-e <entry id>]\n"
    "        [-p <password>] [<--aeson|--aesoff>] [-h]\n"
    "\n"
    "Options:\n"
    "    -o <getCfg|set|mount|dismount>\n"
    "        getCfg   - get the configuration of the ports.\n"
    "        set      - switch encryption of a port on or off.\n"
    "        mount    - link a port to a key entry.\n"
    "        dismount - clear the link of a port.\n"
    "    -i <port id>\n"
    "        Id of the port. If not specified with getCfg, all ports.\n"
    "    -e <entry id>\n"
    "        Id of the key entry, used with mount.\n"
    "    -p <password>\n"
    "        Password of the key entry, used with mount.\n"
    "    --aeson, --aesoff\n"
    "        Switch encryption on or off, used with set.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    aesport -o mount -i 0 -e 1 -p pass\n"
    "\n"
    "    Link port 0 to key entry 1.\n"
    "\n";
