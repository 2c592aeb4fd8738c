// Short help and help page of the ssdop command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char ssdop_sh[] =
    ":SSD Operations.";
const char ssdop_help[] =
    "\n"
    "ssdop -a <create|info> -d <data protection> -w <write performance> [-h]\n"
    "\n"
    "Options:\n"
    "  -a, --action <create|info>\n"
    "  -d, --dataprotection <none|enable>\n"
    "    none - default, no data protection (RAID0)\n"
    "    enable - enable data protection (RAID5)\n"
    "  -w, --writeperformance <standard|maximum>\n"
    "    standard - default, requires 20%% of volume capacity\n"
    "    maximum - requires 50%% of volume capacity\n"
    "  -h, --help\n"
    "\n";
