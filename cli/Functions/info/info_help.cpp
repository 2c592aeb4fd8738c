// Short help and help page of the info command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char info_sh[] =
    ":Display adapter(hba), virtual disk(vd), disk array,\n"
    "              physical disk(pd), Port multiplexer(pm), expander(exp),\n"
    "              block disk(blk) or spare drive information.";
const char info_help[] =
    "\n"
    "info -o <hba|vd|pd|array|pm|exp|blk|spare|bbu> [-i <id>] [-h]\n"
    "\n"
    "Options:\n"
    "    -o, --object <hba|vd|array|pd|pm|exp|blk|spare|bbu>\n"
    "        Object name of the object to retrieve information from.\n"
    "        hba - HBA (Adapter)\n"
    "        vd  - Virtual Disk\n"
    "        array  - disk array\n"
    "        pd  - Physical Disk\n"
    "        pm  - Port Multiplexer\n"
    "        exp - Expander\n"
    "        blk - Block Disk\n"
    "        spare - Spare drives\n"
    "        bbu - Battery Backup Unit\n"
    "    -i, --id <id>\n"
    "        Id of the object to retrieve info from. If not specified,\n"
    "        info of all instances of the object will be retrieved.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    info -o hba\n"
    "\n"
    "    Information of all HBAs are retrieved.\n"
    "\n";
