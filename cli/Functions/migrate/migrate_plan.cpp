#include "Functions/migrate/migrate_plan.h"

#include <stdio.h>
#include <string>

#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"
#include "layout_rules.h"
#include "Public/utils.h"

namespace {

bool contains(const KX_U16 *ids, int n, KX_U16 id)
{
    for (int i = 0; i < n; ++i)
        if (ids[i] == id)
            return true;
    return false;
}

int checkTarget(KX_U16 pd, bool isMember, bool arrayTexts)
{
    const Adapter_Info &a = gAdapterInfo[gCurrentAdapter];
    const unsigned limit = a.MaxHD_Ext > a.MaxHD ? a.MaxHD_Ext : a.MaxHD;
    if (limit && pd >= limit) {
        fprintf(stream, "Wrong disk %d input.\n", pd);
        return 1;
    }
    HD_RAID_Status raid;
    KX_U8 st = queryHDRaidStatus(pd, raid);
    if (st != 0) {
        fprintf(stream, "Failed to get status for PD %d (error %d: %s)\n", pd, st, ErrorMessage(st));
        return st;
    }
    if (raid.Status & KX_PD_OFFLINE) {
        fprintf(stream, "Offline disk %d can not be used as target of a migration.\n", pd);
        return 1;
    }
    if (raid.Status & (KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE)) {
        fprintf(stream, "Spare disk %d can not be used as target of a migration.\n", pd);
        return 1;
    }
    if (raid.Status & KX_PD_FOREIGN) {
        fprintf(stream, "Foreign disk %d can not be used as target of a migration.\n", pd);
        return 1;
    }
    if (!arrayTexts || isMember)
        return 0;
    /* An array takes whole disks: a new member must be unused. */
    if (!(raid.Status & KX_PD_FREE)) {
        fprintf(stream, "Target PD %d is not free.\n", pd);
        return 1;
    }
    HD_FreeSpaceInfo space;
    st = queryHDFreeSpace(pd, space);
    if (st != 0) {
        fprintf(stream, "Unable to get size of PD %d (error %d: %s).\n", pd, st, ErrorMessage(st));
        return st;
    }
    return 0;
}

} // namespace

int checkMigrationPlan(MigrationPlan &p, bool arrayTexts)
{
    if (!kxRaidOffered(gAdapterInfo[gCurrentAdapter].LogicalDriverMode, p.raid)) {
        fputs("Specified RAID mode is not supported.\n", stream);
        return 1;
    }
    if (client::redundancyRank(p.raid) < client::redundancyRank(p.sourceRaid)) {
        fprintf(stream,
                arrayTexts ? "\n Abort migration!!! Redundancy level is degraded from %s to %s.\n"
                           : "\n Abort migration!!! Redundancy level is degraded from %s to %s\n",
                RaidModeStr(p.sourceRaid), RaidModeStr(p.raid));
        return 1;
    }
    if (!checkLayoutDiskCount(p.raid, p.targetCount, &p.parity, arrayTexts))
        return 1;
    for (int i = 0; i < p.targetCount; ++i)
        if (int r = checkTarget(p.targets[i], contains(p.members, p.memberCount, p.targets[i]), arrayTexts))
            return r;
    for (int i = 0; i < p.memberCount; ++i)
        if (!contains(p.targets, p.targetCount, p.members[i])) {
            std::string list;
            for (int j = 0; j < p.memberCount; ++j)
                list += std::to_string(p.members[j]) + " ";
            fprintf(stream, "Target PDs need to include ALL member disks [%s].\n", list.c_str());
            return 1;
        }
    return -1;
}

int parseMigrateOptions(int argc, char **argv, cmd_struct *pCmdInfo, MigrateRequest &req)
{
    static const cli::option longopts[] = {
        {"action", cli::kRequiredArgument, nullptr, 'a'},
        {"id", cli::kRequiredArgument, nullptr, 'l'},
        {"raidmode", cli::kRequiredArgument, nullptr, 'r'},
        {"paritydisks", cli::kRequiredArgument, nullptr, 'q'},
        {"pdid", cli::kRequiredArgument, nullptr, 'd'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long id = 0;
    int counts[128] = {};
    OptionLoopRules rules;
    rules.helpWhenBare = true;
    rules.required = "l";
    int r = runOptionLoop(argc, argv, pCmdInfo, "a:l:r:q:d:\x01:h", longopts, rules, counts,
                          [&](int opt, const char *arg) {
                              switch (opt) {
                              case 'a': return takeAction(arg, true, req.action);
                              case 'l': return takeDecimalId(arg, 0xFFFE, "-l : invalid VD id '%s'\n", id);
                              default: return takeLayoutOption(opt, arg, true, req.layout);
                              }
                          });
    if (r >= 0)
        return r;
    if (req.action == BGA_ACT_START && counts['r'] == 0 && counts['d'] == 0) {
        fprintf(stream, "%s: one of -r or -d option must be specified\n", pCmdInfo->cmd);
        return 1;
    }
    req.id = static_cast<KX_U16>(id);
    req.haveRaid = counts['r'] != 0;
    req.havePds = counts['d'] != 0;
    return -1;
}
