// Short help and help page of the get command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char get_sh[] =
    ":Get configuration information of VD, PD, Array, HBA or Driver.";
const char get_help[] =
    "\n"
    "get -o vd [-i <VD id>] [-h]\n"
    "\n"
    "get -o array [-i <array id>] [-h]\n"
    "\n"
    "get -o pd [-i <PD id>] [-h]\n"
    "\n"
    "get -o hba [-i <HBA id>] [-h]\n"
    "\n"
    "get -o driver [-help]\n"
    "Note:Linux CLI needn't support :get -o driver\n"
    "\n"
    "Options:\n"
    "    -o, --object <vd|array|pd|hba>\n"
    "        Get information of VD, Array,  PD or HBA.\n"
    "    -i, --id <VD id|array id|PD id|HBA id>\n"
    "        Virtual disk id, array id, hard drive id or HBA id. \n"
    "        If not specified, get all.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    get -o vd -i 2\n"
    "\n"
    "    Get configuration information of VD 2.\n"
    "\n";
