// Short help and help page of the cc command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char cc_sh[] =
    ":Start, stop, pause or resume VD Consistency Check.";
const char cc_help[] =
    "\n"
    "cc [-o <vd>][-a <start|stop|pause|resume>] [-l <id>] [-t <sync|check>] [-h]\n"
    "\n"
    "Options:\n"
    "    -o, --object <vd>\n"
    "        vd [DEFAULT] - Virtual Disk\n"
    "    -a, --action <start|stop|pause|resume>\n"
    "        (DEFAULT:start) - consistency check action to be performed on a virtual disk.\n"
    "    -l,--id <id>\n"
    "        VD id or array id.\n"
    "    -t, --type <sync|check>\n"
    "        (DEFAULT:sync) - synchronization or check only, used only when action\n"
    "         is 'start'.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    cc -a start -l 0 -t sync\n"
    "\n"
    "    Start consistency check on VD 0 and synchronize.\n"
    "\n";
