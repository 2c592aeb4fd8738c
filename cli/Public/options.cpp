#include "Public/options.h"

#include <stdio.h>
#include <string.h>
#include <strings.h>

#include <string>

#include "Public/dispatch.h"
#include "Public/globals.h"
#include "Public/utils.h"
#include "layout_rules.h"
#include "parse.h"

namespace {
/* Whether letter c may be given only once under these rules. */
bool onlyOnce(int c, const char *once)
{
    return c > 0 && c < 128 && (once == nullptr || strchr(once, c) != nullptr);
}
} // namespace

int refuseDuplicates(const int counts[128], const char *once)
{
    for (int i = 1; i < 128; ++i)
        if (counts[i] > 1 && onlyOnce(i, once)) {
            fputs(ErrorDuplicate, stream);
            return 1;
        }
    return -1;
}

int runOptionLoop(int argc, char **argv, cmd_struct *pCmdInfo, const char *shortopts, const cli::option *longopts,
                  const OptionLoopRules &rules, int counts[128],
                  const std::function<OptionTake(int opt, const char *arg)> &take)
{
    if (rules.helpWhenBare && argc <= 1) {
        printCommandHelp(pCmdInfo);
        return 0;
    }
    int c;
    cli::optind = 1;
    while ((c = cli::getopt_long(argc, argv, shortopts, longopts, nullptr)) != -1) {
        if (c == 0 || c == 1)
            continue;
        if (c == '?') {
            if (!rules.helpOnParseError)
                return 1;
            printCommandHelp(pCmdInfo);
            return 0;
        }
        const bool letter = c > 0 && c < 128;
        if (rules.duplicates == DUP_WHEN_MET && letter && counts[c] > 0 && onlyOnce(c, rules.once)) {
            fputs(ErrorDuplicate, stream);
            return 1;
        }
        OptionTake t = take(c, cli::optarg);
        if (t == OPT_REFUSED)
            return 1;
        if (t == OPT_HELP)
            printCommandHelp(pCmdInfo);
        if (t == OPT_HELP || t == OPT_DONE)
            return 0;
        if (t == OPT_TAKEN && letter)
            ++counts[c];
    }
    if (rules.duplicates == DUP_AFTER_LOOP && refuseDuplicates(counts, rules.once) >= 0)
        return 1;
    for (const char *p = rules.required; *p; ++p)
        if (static_cast<unsigned char>(*p) < 128 && counts[static_cast<unsigned char>(*p)] == 0) {
            fprintf(stream, OptionRequired, pCmdInfo->cmd, *p);
            return 1;
        }
    return -1;
}

int runOptionLoop(int argc, char **argv, cmd_struct *pCmdInfo, const char *shortopts, const cli::option *longopts,
                  bool helpWhenBare, int counts[128], const std::function<OptionTake(int opt, const char *arg)> &take)
{
    OptionLoopRules rules;
    rules.helpWhenBare = helpWhenBare;
    return runOptionLoop(argc, argv, pCmdInfo, shortopts, longopts, rules, counts, take);
}

OptionTake refuseOptionValue(const char *badFormat, const char *arg)
{
    fprintf(stream, badFormat, arg);
    return OPT_REFUSED;
}

OptionTake takeDecimalId(const char *arg, unsigned long max, const char *badIdFormat, unsigned long &id)
{
    return client::parseDecimal(arg, max, id) ? OPT_TAKEN : refuseOptionValue(badIdFormat, arg);
}

OptionTake takePdList(const char *arg, bool dropRepeats, KX_U16 ids[], int &count)
{
    std::string badItem;
    if (!client::parsePdList(arg, client::PdListRules{dropRepeats, false}, ids, count, badItem)) {
        fprintf(stream, "-d:invalid PD IDs %s\n", arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

OptionTake takeVdObject(const char *arg)
{
    if (strcasecmp(arg, "vd") != 0) {
        fprintf(stream, "-o : invalid object '%s', should be VD\n", arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

OptionTake takeRaidLevel(const char *arg, KX_U8 &raid)
{
    raid = chooseRaidMode(arg);
    return raid == KX_RAID_NONE ? refuseOptionValue("-r : invalid raid mode %s\n", arg) : OPT_TAKEN;
}

OptionTake takeParityDisks(const char *arg, KX_U8 &count)
{
    unsigned long v = 0;
    if (!client::parseDecimal(arg, 255ul, v))
        return refuseOptionValue("-q : invalid number of parity disks '%s'\n", arg);
    count = static_cast<KX_U8>(v);
    return OPT_TAKEN;
}

OptionTake takeLayoutOption(int opt, const char *arg, bool dropRepeats, LayoutOptions &o)
{
    KX_U8 parity = 0;
    switch (opt) {
    case 'r':
        return takeRaidLevel(arg, o.raid);
    case 'q':
        if (takeParityDisks(arg, parity) != OPT_TAKEN)
            return OPT_REFUSED;
        o.parity = parity;
        return OPT_TAKEN;
    case 'd':
        return takePdList(arg, dropRepeats, o.pds, o.pdCount);
    default:
        return OPT_HELP;
    }
}

bool checkLayoutDiskCount(KX_U8 raid, int n, int *parity, bool arrayTexts)
{
    std::string message;
    const client::LayoutRules rules = arrayTexts ? client::LayoutRules::MigrateArray : client::LayoutRules::MigrateVd;
    if (client::checkDiskCount(rules, raid, n, *parity, 0, message))
        return true;
    fputs(message.c_str(), stream);
    return false;
}
