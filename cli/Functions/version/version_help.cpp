// Short help and help page of the version command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char version_sh[] =
    ":Get application version.";
const char version_help[] =
    "\n"
    "version \n"
    "\n"
    "Options: N/A\n"
    "\n";
