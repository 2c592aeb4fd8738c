// Short help and help page of the locate command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char locate_sh[] =
    ":Locate the specified PD.";
const char locate_help[] =
    "\n"
    "locate -o <pd> -i <PD ID> -a <on|off>\n"
    "Description: locate the specified PD\n"
    "Options:\n"
    "  -o, --object <pd>\n"
    "     pd [DEFAULT] - Physical Disk\n"
    "  -i, --id \n"
    "     ID of the PD to be located\n"
    "\t-a, --action <on|off> \n"
    "     on (DEFAULT) - turn on PD locate LED\n"
    "     off - turn off PD locate LED\n"
    "\n";
