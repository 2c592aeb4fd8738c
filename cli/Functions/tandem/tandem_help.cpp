// Short help and help page of the tandem command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char tandem_sh[] =
    ":Tandem Test Command.";
const char tandem_help[] =
    "\n"
    "tandem -o empty -a address -l length -d vdid[-h]\n"
    "\n"
    "tandem -o count -d vdid[-h]\n"
    "\n"
    "tandem -o delete -d vdid[-h]\n"
    "\n"
    "\n"
    "Options:\n"
    "    -o, --object <empty|count|delete|system>\n"
    "        empty: add empty entry.\n"
    "        count: get entries table free information.\n"
    "        delete: delete entries table.\n"
    "    -a, entry start lba\n"
    "    -l, entry length\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    tandem -o empty -a 1073741824 -l 2147483648 -d 0\n"
    "\n"
    "    add 1G to 2G as empty entry to Tandem 0.\n"
    "\n";
