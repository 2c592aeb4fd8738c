// Short help and help page of the nvsram command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char nvsram_sh[] =
    ":Read/write nvsram contents for test.";
const char nvsram_help[] =
    "\n"
    "nvsram -a <read|write> [-s <offset>] [-c <byte count>] [-p <pattern>] [-h]\n"
    "\n"
    "Options:\n"
    "    -a, --action <read|write>\n"
    "        Read or write NVSRAM contents.\n"
    "    -s, --offset <offset>\n"
    "        (DEFAULT:0) - byte offset in NVSRAM, decimal or hexadecimal.\n"
    "    -c, --count <byte count>\n"
    "        (DEFAULT:1) - number of bytes to transfer.\n"
    "    -p, --pattern <pattern>\n"
    "        (DEFAULT:0x5A) - hexadecimal byte written, used only when action is 'write'.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    nvsram -a read -s 0x100 -c 16\n"
    "\n"
    "    Read 16 bytes of NVSRAM from offset 0x100.\n"
    "\n";
