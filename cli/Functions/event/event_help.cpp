// Short help and help page of the event command, kept apart from the
// handler so that the handler file can be replaced on its own.
#include "Functions/help_texts.h"

const char event_sh[] =
    ":Get the current events.";
const char event_help[] =
    "\n"
    "event [-s <seqno>]\n"
    "\n"
    "\n"
    "Description: Get the current events.\n"
    "\n"
    "Options:\n"
    "    -s, --seqno<seqno>\n"
    "        to get events that sequence number larger than the seqno. \n"
    "    -h, --help\n"
    "\n"
    "Examples:\n"
    "    event -s 100\n"
    "\n"
    "    Get events that sequence number larger than 100.\n"
    "\n";
