// Short help and help page of the wipe command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char wipe_sh[] =
    ":Wipe out disk drive MDD data.";
const char wipe_help[] =
    "\n"
    "wipe -d <PDid> [-f] [-h]\n"
    "\n"
    "Options:\n"
    "    -d, --pdid <PDid,Birch MDU : Port Id>\n"
    "    -f, --force\n"
    "        force wipe out if VD exist on this PD\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    wipe -d 0 -f\n"
    "    Force wipe out MDD on physical disk 0.\n"
    "\n";
