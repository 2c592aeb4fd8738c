#include "Public/globals.h"

FILE *stream = stdout;
KX_U8 gCurrentAdapter = 0;
KX_U8 gNumAdaptersFound = 0;
Adapter_Info gAdapterInfo[CLI_MAX_ADAPTERS];
int arrayBasedRaid = 0;
cmd_struct *pCmdTable = nullptr;
unsigned short cmdTableSize = 0;
cmd_struct *pInCmdTable = nullptr;
unsigned short inCmdTableSize = 0;
int gUTCStatus = 2;

const char CLI_VERSION[] = "4.1.0.16";

const char ErrorDuplicate[] = "Duplicated option specified.\n";
const char OptionRequired[] = "%s: option -%c is required\n";
const char OptionNotRequired[] = "%s: option rawfiles is only using for action: update\n";
const char fmt_Str[] = "%-*s %s\n";
const char fmt_Num[] = "%-*s %ld\n";
const char fmt_Array[] = "%-*s %ld %ld\n";
