// Short help and help page of the maxcreatesize command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char maxcreatesize_sh[] =
    ":Get maxsize that vd can create with.";
const char getmaxsize_help[] =
    "\n"
    "maxcreatesize -r <0|1|10|1E|5|50|6|60> [-q <# parity disks>] -d <PD id list>\n"
    "    [-g <0|1|10>] [-h]\n"
    "\n"
    "Options:\n"
    "    -r,  --raidmode <0|1|10|1E|5|50|6|60>\n"
    "        RAID level.\n"
    "    -q,  --paritydisks <# parity disks>\n"
    "        Number of parity disks for RAID6 (default 2) or RAID60 (default 4).\n"
    "    -d, --pdid <PD id list>\n"
    "        PD IDs used to create the virtual disk, shown in info command, separated by commas.\n"
    "    -g, --grounding <0|1|10>\n"
    "        Giga byte rounding scheme. Show size precision on MB, GB, 10GB.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    maxcreatesize  -r0 -d 0,5,10\n"
    "\n"
    "    Get maxsize that can create RAID0 with disk 0,5,10\n"
    "\n";
