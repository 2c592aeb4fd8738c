/*
 * Process-wide state of arrayctl. One process, one thread: these change
 * only between commands (start-up, "adapter -i", "rescan").
 */
#ifndef CLI_GLOBALS_H
#define CLI_GLOBALS_H

#include <stdio.h>
#include "kx_records.h"
#include "Public/cli_types.h"

/* All command output goes here: standard output, or the "-output" file. */
extern FILE *stream;

extern KX_U8 gCurrentAdapter;            /* always below CLI_MAX_ADAPTERS */
extern KX_U8 gNumAdaptersFound;          /* clamped to CLI_MAX_ADAPTERS */
extern Adapter_Info gAdapterInfo[CLI_MAX_ADAPTERS]; /* slots not found stay zero */
extern int arrayBasedRaid;               /* 1: V2 tables (adapter has disk groups) */
extern cmd_struct *pCmdTable;            /* active general table */
extern unsigned short cmdTableSize;
extern cmd_struct *pInCmdTable;          /* active internal table */
extern unsigned short inCmdTableSize;
/* Hardware clock of the host: 0 UTC, 1 local time, 2 undetermined. */
extern int gUTCStatus;

extern const char CLI_VERSION[];

/* Messages and formats shared by the handlers. */
extern const char ErrorDuplicate[];    /* "Duplicated option specified.\n" */
extern const char OptionRequired[];    /* "%s: option -%c is required\n" (word, letter) */
extern const char OptionNotRequired[]; /* flash only */
extern const char fmt_Str[];           /* "%-*s %s\n"   (width, label, text) */
extern const char fmt_Num[];           /* "%-*s %ld\n"  (width, label, long) */
extern const char fmt_Array[];         /* "%-*s %ld %ld\n" */

#endif /* CLI_GLOBALS_H */
