// Short help and help page of the rebuild command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char rebuild_sh[] =
    ":Start, stop, pause, resume or restart rebuilding VD.";
const char rebuildV2_sh[] =
    ":Start, pause or resume rebuilding array.";
const char rebuild_help[] =
    "\n"
    "rebuild [-a <start|stop|pause|resume|restart>] -l <id> [-d <PDid>] [-h]\n"
    "\n"
    "Description: start, stop, pause, resume or restart rebuilding VD.\n"
    "\n"
    "Options:\n"
    "    -a, --action <start|stop|pause|resume|restart>\n"
    "        (DEFAULT:start) - Rebuild action to be performed on a virtual disk.\n"
    "    -l,--id <id>\n"
    "        VD id.\n"
    "    -d, --pdid <PDid>\n"
    "        Target PD id(s), used only when action is 'start'.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    rebuild -a start -l 0 -d 1\n"
    "\n"
    "    Rebuild virtual disk 0 on target PD with id 1.\n"
    "\n";
const char rebuildV2_help[] =
    "\n"
    "rebuild [-a <start|pause|resume>] -l <id> [-d <PDid>] [-h]\n"
    "\n"
    "Options:\n"
    "    -a, --action <start|pause|resume>\n"
    "        (DEFAULT:start) - Rebuild action to be performed on an array.\n"
    "    -l,--id <id>\n"
    "        array id.\n"
    "    -d, --pdid <PDid>\n"
    "        Target PD id(s), used only when action is 'start'.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    rebuild -a start -l 0 -d 1\n"
    "\n"
    "    Rebuild array 0 on target PD with id 1.\n"
    "\n";
