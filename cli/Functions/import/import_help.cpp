// Short help and help page of the import command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char import_sh[] =
    ":Import a virtual disk.";
const char import_help[] =
    "\n"
    "import -i <VD ID>\n"
    "Options:\n"
    "  -i, --id \n"
    "     ID of the VD to be imported.\n"
    "\n";
