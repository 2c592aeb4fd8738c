// Short help and help page of the copyback command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char copyback_sh[] =
    ":Pause or resume copy back on an array.";
const char copyback_help[] =
    "\n"
    "copyback [-a <pause|resume>] -l <id> [-h]\n"
    "\n"
    "Options:\n"
    "    -a, --action <pause|resume>\n"
    "        Copy back action to be performed on disk array.\n"
    "    -l,--id <id>\n"
    "        disk array id.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    copyback -a pause -l 0\n"
    "\n"
    "    Pause copy back on array 0.\n"
    "\n";
