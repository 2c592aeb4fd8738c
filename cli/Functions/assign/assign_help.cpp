// Short help and help page of the assign command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char assign_sh[] =
    ":Assign a disk as spare drive.";
const char spare_help[] =
    "\n"
    "assign -o <hba|array> -d <PD id> [-a <array id>] [--waiveconfirmation] [-h]\n"
    "\n"
    "Options:\n"
    "    -o,  --object <hba|array>\n"
    "        hba (DEFAULT) - assign a global spare drive\n"
    "        array - assign a dedicated spare drive to disk array\n"
    "    -d, --pdid <PD id>\n"
    "        Id of PD to be used as spare drive.\n"
    "    -a, --arrayid <array id>\n"
    "        If not specified and -o is hba, assign as a global spare.\n"
    "        Otherwise the hard disk will be assigned as a spare drive of\n"
    "        the specified array.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    assign -d 1\n"
    "\n"
    "    Assign a global spare drive using disk with id 1.\n"
    "    assign -o array -d 2 -a 4\n"
    "\n"
    "    Assign a spare drive for array 4 using disk with id 2.\n"
    "\n";
