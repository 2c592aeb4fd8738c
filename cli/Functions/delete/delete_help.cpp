// Short help and help page of the delete command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char delete_sh[] =
    ":Delete virtual disk or spare drive.";
const char delete_help[] =
    "\n"
    "delete -o <vd|array|spare> -i <id> [-f] [--waiveconfirmation] [-h]\n"
    "\n"
    "Options:\n"
    "    -o, --object <vd|array|spare>\n"
    "        Name of the object (VD, array or spare) to be deleted.\n"
    "    -i, --id <id>\n"
    "        Id of VD, array or spare drive (depends on -o option) to be deleted.\n"
    "    -f, --force delete virtual disk if it is under rebuilding, migrating,\n"
    "\t    initialization or consistency check.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    delete -o vd -i 4\n"
    "    Delete virtual disk with id equal to 4.\n"
    "\n";
