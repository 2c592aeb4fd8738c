// Short help and help page of the smartctl command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char smartctl_sh[] =
    ":Send smart command to physical disk.";
const char smartctl_help[] =
    "\n"
    "smartctl -i <physical disk id> [-t <short|long>]\n"
    "Options:\n"
    "    -i, --id <phy id>\n"
    "        ID of the PD to be selected. \n"
    "    -t, --test type<short|long>\n"
    "        Smart test type. \n"
    "    -h, --help\n"
    "Examples:\n"
    "    smartctl -i 0 -t short\n"
    "    Do smart short test on physical disk 0 .\n"
    "\n";
