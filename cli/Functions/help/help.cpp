// help [<command>...], ? : the command list, the internal list, or the
// help pages of named commands.
#include <string.h>
#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"

namespace {

const char kLegend[] =
    "\nLegend: \n"
    "  [options] - the options within [] are optional. \n"
    "  <x|y|z>   - choose one of the x, y or z. \n"
    "  [<x|y|z>] - choose none or one of the x, y or z. \n"
    "\n"
    "Abbreviation: \n"
    "    VD  - Virtual Disk,   Array  - Disk Array \n"
    "    PD  - Physical Disk,  BGA - BackGround Activity \n"
    "\n"
    "Type '-output [filename]' to output to a file. \n"
    "Type 'help' to display this page. \n"
    "Type 'help command' to display the help page of 'command'. \n"
    "Type 'command -h' to display help for 'command'. \n"
    "\n"
    "Command name is not case sensitive and may be abbreviated if the  \n"
    "abbreviation is unique. Most commands support both short (-) and   \n"
    "long (--) options.Long option names may be abbreviated if the abbreviation  \n"
    "is unique. A long option may take a parameter of the form '--arg=param'  \n"
    "or '--arg param'. Option name is case sensitive, option parameter is not.  \n"
    "\n"
    "COMMAND   BRIEF DESCRIPTION \n"
    "-----------------------------------------------------------------\n";

const cmd_struct *findExact(const char *word)
{
    for (unsigned short i = 0; i < cmdTableSize; ++i)
        if (strcmp(pCmdTable[i].cmd, word) == 0)
            return &pCmdTable[i];
    for (unsigned short i = 0; i < inCmdTableSize; ++i)
        if (strcmp(pInCmdTable[i].cmd, word) == 0)
            return &pInCmdTable[i];
    return nullptr;
}

void listTable(const cmd_struct *table, unsigned short size)
{
    for (unsigned short i = 0; i < size; ++i)
        fprintf(stream, fmt_Str, 12, table[i].cmd, table[i].cmdShortHelp);
    fputc('\n', stream);
}

} // namespace

int doHelp(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longopts[] = {
        {"internal", cli::kNoArgument, nullptr, 'i'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {nullptr, 0, nullptr, 0},
    };
    int counts[128] = {};
    /* help has no -h: whatever it does not know, a parser error included,
       shows its own help. */
    OptionLoopRules rules;
    rules.helpOnParseError = true;
    int r = runOptionLoop(argc, argv, pCmdInfo, "\x01:i", longopts, rules, counts,
                          [](int opt, const char *) { return opt == 'i' ? OPT_TAKEN : OPT_HELP; });
    if (r >= 0)
        return r;
    if (counts['i'] > 0) {
        listTable(pInCmdTable, inCmdTableSize);
        return 0;
    }
    if (cli::optind >= argc) {
        fputs(kLegend, stream);
        listTable(pCmdTable, cmdTableSize);
        return 0;
    }
    /* Names are compared as typed: "help INFO" finds nothing. Every name
       is looked up in both tables and reported when missing. */
    for (int i = cli::optind; i < argc; ++i) {
        const cmd_struct *row = findExact(argv[i]);
        if (!row) {
            fprintf(stream, "No help available for '%s'\n", argv[i]);
            continue;
        }
        fputs("Description", stream);
        printHelpAsFormat(row->cmdShortHelp);
        printHelpAsFormat(row->cmdHelp);
    }
    return 0;
}
