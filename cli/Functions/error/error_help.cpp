// Short help and help page of the error command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char error_sh[] =
    ":Translate error code to error description.";
const char error_help[] =
    "\n"
    "error -c [error code] [-h]\n"
    "\n"
    "Options:\n"
    "    -c, --[error code]\n"
    "        Error code.\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    error -c 1\n"
    "\n"
    "    Show description of error code 1.\n"
    "\n";
