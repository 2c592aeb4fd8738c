// Short help and help page of the devmap command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char devmap_sh[] =
    ":Map device ID to device magic number in the OS.";
const char devmap_help[] =
    "\n"
    "devmap -o <pd|vd> -i <object ID> [-h]\n"
    "\n"
    "Options:\n"
    "    -o, --object <pd|vd>\n"
    "        Object type to map.\n"
    "    -i, --object ID\n"
    "        Object ID to map.\n"
    "        You can get all IDs by 'info' command.\n"
    "        If '-i' is not specified, default is all objects' map.\n"
    "    -h, --help\n"
    "\n"
    "Note:\n"
    "    1, CLI will show empty string as magic number if there is \n"
    "       indeed no mapping info in OS. For example, one phyical disk \n"
    "       is a member disk of a VD or one virtual disk is not functional.\n"
    "\n"
    "Example:\n"
    "    devmap -o pd -i 0\n"
    "\n";
