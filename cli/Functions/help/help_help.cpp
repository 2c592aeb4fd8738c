// Short help and help page of the help and ? command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char help_sh[] =
    ":Get brief help for all commands or detail help for one command.";
const char qmark_sh[] =
    ":Get brief help for all commands.";
const char help_help[] =
    "\n"
    "help [<command list>]\n"
    "\n"
    "Options:\n"
    "    <command list>display specified commands' help page \n"
    "    If no option specified, brief description on each command is displayed.\n"
    "\n";
