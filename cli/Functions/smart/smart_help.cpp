// Short help and help page of the smart command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char smart_sh[] =
    ":Display the smart info of physical disk.";
const char smart_help[] =
    "\n"
    "\n"
    "smart [-p <physical disk id>]\n"
    "\n"
    "Options:\n"
    "    -p, --id <phy id>\n"
    "        ID of the adapter to be selected. \n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    smart -p 0\n"
    "\n"
    "    Display the smart information of physical disk 0 .\n"
    "\n";
