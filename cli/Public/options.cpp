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

int runOptionLoop(int argc, char **argv, cmd_struct *pCmdInfo, const char *shortopts, const cli::option *longopts,
                  bool helpWhenBare, int counts[128], const std::function<OptionTake(int opt, const char *arg)> &take)
{
    if (helpWhenBare && argc <= 1) {
        printCommandHelp(pCmdInfo);
        return 0;
    }
    int c;
    cli::optind = 1;
    while ((c = cli::getopt_long(argc, argv, shortopts, longopts, nullptr)) != -1) {
        if (c == 1)
            continue;
        if (c == '?')
            return 1;
        OptionTake t = c > 0 && c < 128 ? take(c, cli::optarg) : OPT_HELP;
        if (t == OPT_REFUSED)
            return 1;
        if (t == OPT_HELP)
            printCommandHelp(pCmdInfo);
        if (t == OPT_HELP || t == OPT_DONE)
            return 0;
        if (t == OPT_TAKEN)
            ++counts[c];
    }
    for (int i = 0; i < 128; ++i)
        if (counts[i] > 1) {
            fputs(ErrorDuplicate, stream);
            return 1;
        }
    return -1;
}

OptionTake takeDecimalId(const char *arg, unsigned long max, const char *badIdFormat, unsigned long &id)
{
    if (!client::parseDecimal(arg, max, id)) {
        fprintf(stream, badIdFormat, arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
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

OptionTake takeLayoutOption(int opt, const char *arg, bool dropRepeats, LayoutOptions &o)
{
    unsigned long v = 0;
    switch (opt) {
    case 'r':
        o.raid = chooseRaidMode(arg);
        if (o.raid == KX_RAID_NONE) {
            fprintf(stream, "-r : invalid raid mode %s\n", arg);
            return OPT_REFUSED;
        }
        return OPT_TAKEN;
    case 'q':
        if (!client::parseDecimal(arg, 255ul, v)) {
            fprintf(stream, "-q : invalid number of parity disks '%s'\n", arg);
            return OPT_REFUSED;
        }
        o.parity = static_cast<int>(v);
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
