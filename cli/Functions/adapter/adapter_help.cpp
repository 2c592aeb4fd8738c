// Short help and help page of the adapter command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char adapter_sh[] =
    ":Default adapter the following CLI commands refers to.";
const char adapter_help[] =
    "\n"
    "\n"
    "adapter -i <adapter ID>\n"
    "\n"
    "Options:\n"
    "    -i, --id <adapter ID>\n"
    "        ID of the adapter to be selected. \n"
    "        If -i is not specified, display current adapter ID\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    adapter  -i 1\n"
    "\n"
    "    Select adapter 1 to be the default adapter for the following CLI commands.\n"
    "\n";
