/*
 * The option loop every handler runs, and the option takers and value
 * checks that several commands share.
 */
#ifndef CLI_OPTIONS_H
#define CLI_OPTIONS_H

#include <strings.h>

#include <functional>
#include <initializer_list>
#include <utility>

#include "kx_api.h"
#include "kx_codes.h"
#include "Public/cli_types.h"
#include "Public/getopt.h"

/* What an option taker answers. */
enum OptionTake {
    OPT_TAKEN = 0,
    OPT_REFUSED = 1, /* message written: the command ends with 1 */
    OPT_HELP = 2,    /* not handled: the help is shown, the command ends with 0 */
    OPT_DONE = 3,    /* the taker did what the option asks: the command ends with 0 */
    OPT_IGNORED = 4, /* accepted without effect, and not counted */
};

/* When a letter given twice is refused (with ErrorDuplicate). */
enum DuplicateCheck {
    DUP_AFTER_LOOP, /* once every option is read: a later bad value or help comes first */
    DUP_WHEN_MET,   /* at the second one, before its value is looked at */
    DUP_BY_CALLER,  /* the handler calls refuseDuplicates after checks of its own */
};

/* What a command's option loop does besides handing options to its taker.
   The defaults are those of most commands. */
struct OptionLoopRules {
    /* A command without any argument shows its help. */
    bool helpWhenBare = false;
    /* A parser diagnostic ('?', already on standard error) shows the help
       and ends with 0, instead of ending with 1. */
    bool helpOnParseError = false;
    /* The letters that may be given only once; nullptr: every letter, "":
       none. */
    const char *once = nullptr;
    DuplicateCheck duplicates = DUP_AFTER_LOOP;
    /* The letters that must be given, in the order they are checked once
       the options are read (after the duplicate check; under
       DUP_BY_CALLER before the caller's): the first one missing writes
       OptionRequired and the command ends with 1. */
    const char *required = "";
};

/* The option loop of a handler: resets the parser, ignores the "-output"
   pair (code 1) and long options that store a flag themselves (code 0),
   answers "?" with 1 (or the help, see the rules), hands every other
   option and its argument to take (long options beyond the letters too),
   counts each letter take accepts in counts[] and shows the help for an
   option take does not handle.
   Repeated and missing letters are refused as the rules say. Returns -1 to
   go on, else the handler's result. */
int runOptionLoop(int argc, char **argv, cmd_struct *pCmdInfo, const char *shortopts, const cli::option *longopts,
                  const OptionLoopRules &rules, int counts[128],
                  const std::function<OptionTake(int opt, const char *arg)> &take);
/* The same with the default rules, and helpWhenBare as given. */
int runOptionLoop(int argc, char **argv, cmd_struct *pCmdInfo, const char *shortopts, const cli::option *longopts,
                  bool helpWhenBare, int counts[128], const std::function<OptionTake(int opt, const char *arg)> &take);

/* The duplicate check of DUP_BY_CALLER: writes ErrorDuplicate and returns
   1 when one of the letters once names (nullptr: any) was counted more
   than once, else -1. */
int refuseDuplicates(const int counts[128], const char *once);

/* Takers shared by several commands: a decimal ID up to max with the command's message for a
   bad one (a printf format taking the text). */
OptionTake takeDecimalId(const char *arg, unsigned long max, const char *badIdFormat, unsigned long &id);
/* Writes badFormat (a printf format taking the text) and returns
   OPT_REFUSED. */
OptionTake refuseOptionValue(const char *badFormat, const char *arg);

/* Keeps the table's values from taking part in deducing T: the type of
   value alone decides it, and the table's values convert to it. */
template <typename T> struct OptionWordValue {
    using type = T;
};
/* A word of the table, compared without regard to case, into value; any
   other writes badFormat with the text. */
template <typename T>
OptionTake takeWord(const char *arg,
                    std::initializer_list<std::pair<const char *, typename OptionWordValue<T>::type>> words,
                    const char *badFormat, T &value)
{
    for (const auto &w : words)
        if (strcasecmp(arg, w.first) == 0) {
            value = w.second;
            return OPT_TAKEN;
        }
    return refuseOptionValue(badFormat, arg);
}

/* -r: a RAID level as the user names it. */
OptionTake takeRaidLevel(const char *arg, KX_U8 &raid);
/* -q: a number of parity disks, 0 to 255. */
OptionTake takeParityDisks(const char *arg, KX_U8 &count);

/* "-o vd", the only object of cc and init. */
OptionTake takeVdObject(const char *arg);
/* A PD list; a refused one writes "-d:invalid PD IDs %s\n". */
OptionTake takePdList(const char *arg, bool dropRepeats, KX_U16 ids[], int &count);

/* The layout options of migrate and maxcreatesize: -r level, -q parity
   disks, -d PD list. */
struct LayoutOptions {
    KX_U8 raid = KX_RAID_NONE;
    int parity = -1; /* -1: not given */
    KX_U16 pds[KX_MAX_PD_LIST];
    int pdCount = 0;
};
/* Takes 'r', 'q' or 'd' (dropRepeats for the list); OPT_HELP for others. */
OptionTake takeLayoutOption(int opt, const char *arg, bool dropRepeats, LayoutOptions &o);

/* The disk-count and parity rules of a layout of n disks, with their
   messages; *parity is set to the default when it was not given (-1).
   arrayTexts: the wording of array migrations. Returns true when they hold. */
bool checkLayoutDiskCount(KX_U8 raid, int n, int *parity, bool arrayTexts);


#endif /* CLI_OPTIONS_H */
