// Short help and help page of the forceonline command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char forceonline_sh[] =
    "Forceonline the physical disk";
const char forceonline_help[] =
    "\n"
    "forceonline -i <PD id> [-p <percentage>] [-h]\n"
    "\n"
    "Options:\n"
    "    -i <PD id>\n"
    "        Id of the physical disk.\n"
    "    -p <percentage>\n"
    "        10, 20, 30, 40, 50, 60, 70, 80, 90 or 100.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    forceonline -i 0 -p 100\n"
    "\n"
    "    Force physical disk 0 online.\n"
    "\n";
