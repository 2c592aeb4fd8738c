// Short help and help page of the message command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char message_sh[] =
    ":Get the current events.";
const char message_help[] =
    "\n"
    "message\n"
    "\n"
    "\n"
    "Description: Get the current events.\n"
    "\n"
    "Options:\n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    message\n"
    "\n"
    "    Get events that sequence number larger than 100.\n"
    "\n";
