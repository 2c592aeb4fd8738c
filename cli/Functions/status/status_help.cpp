// Short help and help page of the status command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char status_sh[] =
    ":Get SMART return status of a PD.";
const char status_help[] =
    "\n"
    "status -o pd -i <PDid> [-h]\n"
    "\n"
    "Options:\n"
    "    -o, --object <pd>\n"
    "        Get status of PD.\n"
    "    -i, --id <PDid>\n"
    "        Hard drive id.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    status -o pd -i 2\n"
    "\n"
    "    Get SMART return status of PD 2.\n"
    "\n";
