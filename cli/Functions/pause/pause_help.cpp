// Short help and help page of the pause command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char pause_sh[] =
    ":Pause all background activities on specified controller.";
const char pause_help[] =
    "\n"
    "pause -c <Control id> [-h]\n"
    "\n"
    "Options:\n"
    "    -c, --<Control id>\n"
    "        Controller id.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    pause -c 1\n"
    "\n"
    "    Pause all background activities on controller 1.\n"
    "\n";
