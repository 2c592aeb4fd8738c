/*
 * Command-table rows and the handler signature of arrayctl.
 */
#ifndef CLI_TYPES_H
#define CLI_TYPES_H

struct cmd_struct;

/* argv[0] is the command word as typed, already lowered in case;
   argv[1..argc-1] are its arguments. Returns 0 on success, nonzero (as a
   rule 1) on failure; -1 is reserved for leaving the shell. */
typedef int (*cmd_handler)(int argc, char **argv, cmd_struct *pCmdInfo);

struct cmd_struct {
    const char *cmd;          /* the command word, lower case */
    int cmdLen;               /* strlen(cmd) + 1 */
    cmd_handler cmdHandler;
    const char *cmdHelp;      /* full help page */
    const char *cmdShortHelp; /* one-line description of the command list */
};

/* The adapter table has room for this many adapters. */
#define CLI_MAX_ADAPTERS 16
/* Interactive line buffer: at most CLI_LINE_MAX - 1 characters. */
#define CLI_LINE_MAX 2048
/* Words of one interactive line. */
#define CLI_MAX_WORDS 64

#endif /* CLI_TYPES_H */
