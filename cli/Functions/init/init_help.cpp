// Short help and help page of the init command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char init_sh[] =
    ":Start, stop, pause or resume VD initialization.";
const char init_help[] =
    "\n"
    "init [-o <vd>][-a <start|stop|pause|resume>] -l <id> [-h]\n"
    "\n"
    "Description: start, stop, pause or resume VD initialization.\n"
    "\n"
    "Options:\n"
    "    -o, --object <vd>\n"
    "        vd [DEFAULT] - Virtual Disk\n"
    "    -a, --action <start|stop|pause|resume>\n"
    "        (DEFAULT:start) - Initialization action to be performed on VD.\n"
    "    -l,--id <id>\n"
    "        VD id or array id.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    init -a start -l 0\n"
    "\n"
    "    Start full initialization on VD 0.\n"
    "\n";
