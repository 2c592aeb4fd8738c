// Short help and help page of the rescan command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char rescan_sh[] =
    ":Rescan the adapters";
const char rescan_help[] =
    "\n"
    "rescan [-a ][-h]\n"
    "\n"
    "Options:\n"
    "    -a, --action  scan/getcount\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    rescan -a scan\n"
    "    Rescan the adapters.\n"
    "    rescan -a getcount --force\n"
    "    Get the rescan count, force unlock API.\n"
    "\n";
