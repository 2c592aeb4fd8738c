// Short help and help page of the flash command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char flash_sh[] =
    ":Update, backup or erase flash image and erase hba or pd page.";
const char flash_help[] =
    "\n"
    "flash -a <update|backup|erase|version> -f <file>\n"
    "      [-t <bios|firmware|autoload|bin|raw>] [-p <pd|pdforce>] [-i <adapter id>] [-h]\n"
    "\n"
    "Options:\n"
    "    -a, --action <update|backup|erase|version>\n"
    "        update  - write the image in the file to the flash.\n"
    "        backup  - save the flash image to the file.\n"
    "        erase   - erase a flash page.\n"
    "        version - show the version of the image in the file.\n"
    "    -f, --file <file>\n"
    "        Image file to read or to write.\n"
    "    -t, --type <bios|firmware|autoload|bin|raw>\n"
    "        (DEFAULT:bios) - type of the flash image.\n"
    "    -p, --page <pd|pdforce>\n"
    "        (DEFAULT:pd) - page to be erased, used only when action is 'erase'.\n"
    "    -i <adapter id>\n"
    "        Adapter to be flashed. If not specified, the default adapter.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    flash -a update -f bios.bin -t bios\n"
    "\n"
    "    Update the BIOS image of the default adapter from file bios.bin.\n"
    "\n";
