// Short help and help page of the enc command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char enc_sh[] =
    ":Get enclosure, enclosure element or enclosure config information.";
const char enc_help[] =
    "\n"
    "enc -o <enc|ele|elecfg> [-i <enclosure id>]\n"
    "    [-e <element id> -t <dev|arydev|pow|fan|tpr|dor|alm|dpl|vlt>] [-h]\n"
    "\n"
    "Options:\n"
    "    -o, --object <enc|ele|elecfg>\n"
    "        enc    - enclosure information\n"
    "        ele    - enclosure element status\n"
    "        elecfg - enclosure element configuration\n"
    "    -i, --enclosureid <enclosure id>\n"
    "        Id of the enclosure. If not specified, all enclosures.\n"
    "    -e, --elementid <element id>\n"
    "        Number of the element within its type, used with -t.\n"
    "    -t, --elementtype <dev|arydev|pow|fan|tpr|dor|alm|dpl|vlt>\n"
    "        Type of the element.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    enc -o ele -i 0\n"
    "\n"
    "    Get the element status of enclosure 0.\n"
    "\n";
