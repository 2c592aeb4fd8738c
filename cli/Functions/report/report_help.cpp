// Short help and help page of the report command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char report_sh[] =
    ":report a conflicted virtual disk to OS.";
const char report_help[] =
    "\n"
    "report -i <VD ID>\n"
    "Options:\n"
    "  -i, --id \n"
    "     ID of the VD to be report.\n"
    "\n";
