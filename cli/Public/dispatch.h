/*
 * Command tables, line splitting and dispatch of arrayctl.
 */
#ifndef CLI_DISPATCH_H
#define CLI_DISPATCH_H

#include "kx_types.h"
#include "Public/cli_types.h"

/* The four tables: V1 for adapters without disk groups, V2 for
   array-based ones; "help" lists the general tables, "help -i" the
   internal ones. */
extern cmd_struct generalCmdTableV1[];
extern cmd_struct internalCmdTableV1[];
extern cmd_struct generalCmdTableV2[];
extern cmd_struct internalCmdTableV2[];
unsigned short generalCmdTableV1Size();
unsigned short internalCmdTableV1Size();
unsigned short generalCmdTableV2Size();
unsigned short internalCmdTableV2Size();

/* Makes the V2 tables active when gAdapterInfo[adapter] has disk groups
   (MaxDiskGroup nonzero), else the V1 tables; sets arrayBasedRaid. */
void chooseCmdTables(KX_U8 adapter);

/* Resolves argv[0] (lowered in place; "exit", "quit" and "ver" exactly,
   else a unique prefix of a row, general table first) and returns the
   handler's result: -1 for exit/quit, 1 for an unknown or ambiguous word. */
int cmdDispatcher(int argc, char **argv);

/* Splits one shell line in place into words at spaces and tabs; a double
   quoted stretch does not split and keeps its quotes. Stores at most
   CLI_MAX_WORDS word pointers in argv but counts every word into *num, so
   a caller sees a line with too many words. Returns 1, or 0 on an
   unclosed quote. */
int parse(int *num, char **argv, char *command);

/* Copies an option value that may still carry the quotes of the shell
   line. Unquoted: at most maxLen - 1 characters, desc holds maxLen bytes.
   Quoted: the quotes dropped, at most maxLen characters, desc holds
   maxLen + 1 bytes. */
void noQuoteStrncpy(char *desc, const char *source, int maxLen);

/* "Description", the short help and the help page, as plain text, on the
   output stream: what a handler writes for -h / --help or an option it
   does not handle. */
void printCommandHelp(const cmd_struct *pCmdInfo);

/* Writes a help text the way printf would write it as a format without
   arguments ("%%" becomes "%"); any other '%' is written as it stands,
   so a text can never make printf read arguments that are not there. */
void printHelpAsFormat(const char *text);

/* The whole handler of a command this build does not offer: help on
   -h / --help (returns 0), otherwise one line on standard error and 1. */
int notAvailableInThisBuild(int argc, char **argv, cmd_struct *pCmdInfo);

#endif /* CLI_DISPATCH_H */
