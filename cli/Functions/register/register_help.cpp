// Short help and help page of the register command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char register_sh[] =
    ":operation the register on adapter.";
const char register_help[] =
    "\n"
    "register [-t type] -a <read|write> [-d address] [-v value] [-h]\n"
    "\n"
    "Options:\n"
    "    -t, type of register\n"
    "        mailbox or internal.\n"
    "    -a, operation of the register\n"
    "        read : read the register\n"
    "        write: write the register\n"
    "    -d, address of register\n"
    "        now only support 0 or 1. default is 0.\n"
    "    -v, value\n"
    "        only used in write register command\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    register -t mailbox -a write -d 1 -v 1\n"
    "    write 1 to mailbox1 register.\n"
    "\n";
