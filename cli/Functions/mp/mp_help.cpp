// Short help and help page of the mp command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char mp_sh[] =
    ":Start, stop, pause or resume media patrol for a physical disk.";
const char mp_help[] =
    "\n"
    "mp [-a <start|stop|pause|resume>] -d <PDid> [-h]\n"
    "\n"
    "Options:\n"
    "    -a, --action <start|stop|pause|resume>\n"
    "        (DEFAULT:start) - media patrol action to be performed on a PD.\n"
    "    -d, --pdid <PDid>\n"
    "        Disk drive id.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    mp -a start -d 0\n"
    "\n"
    "    Start media patrol on PD 0.\n"
    "\n";
