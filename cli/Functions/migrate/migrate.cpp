/*
 * migrate (adapters without arrays): move a VD to another RAID level
 * and/or onto more disks, tell the size it would have, or pause, resume,
 * stop or restart its migration.
 */
#include <string.h>

#include "Functions/handlers.h"
#include "Functions/migrate/migrate_plan.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"
#include "Public/utils.h"

namespace {

const BgaStateTexts kMigrateTexts = {
    "Abort successfully\n",
    "\nUnable to abort migration on VD %d (error %d: %s).\n",
    "Pause successfully\n",
    "\nUnable to pause migration on VD %d (error %d: %s).\n",
    "\nMigration on VD %d is in progress.\n",
    "Restart successfully\n",
    "\nUnable to restart migration on VD %d (error %d: %s).\n",
    "\nMigration on VD %d is aborted and need to restart.\n",
    "Resume successfully\n",
    "\nUnable to resume migration on VD %d (error %d: %s).\n",
    "\nMigration on VD %d is currently paused.\n",
    "\nVD %d does not having any background activities.\n",
};

/* The disks of a VD, in member order, found through its blocks. */
KX_U8 memberDisks(const LD_Info &info, MigrationPlan &plan)
{
    plan.memberCount = 0;
    for (int i = 0; i < 128; ++i) {
        const KX_U16 blockId = info.BlockIDs[i];
        if (blockId == KX_ID8_NONE || blockId == KX_ID_NONE)
            continue;
        Block_Info block;
        KX_U8 st = queryBlockInfo(blockId, block);
        if (st != 0)
            return st;
        bool seen = false;
        for (int j = 0; j < plan.memberCount; ++j)
            seen = seen || plan.members[j] == block.HDID;
        if (!seen && plan.memberCount < KX_MAX_PD_LIST)
            plan.members[plan.memberCount++] = block.HDID;
    }
    return 0;
}

/* The migration request for the plan: the new level, parity and disks;
   stripe and sector size stay the VD's. */
void fillRequest(KX_U16 vd, const LD_Info &info, const MigrationPlan &plan, Create_LD_Param &param)
{
    memset(&param, 0, sizeof param);
    param.LDID = vd;
    param.RaidMode = plan.raid;
    param.HDCount = static_cast<KX_U8>(plan.targetCount);
    param.NumParityDisk = static_cast<KX_U8>(plan.parity > 0 ? plan.parity : 0);
    param.SubLDCount = plan.raid == info.RaidMode ? info.SubLDCount : 0;
    param.StripeBlockSize = info.StripeBlockSize;
    param.SectorCoefficient = info.SectorCoefficient;
    memcpy(reinterpret_cast<char *>(&param) + offsetof(Create_LD_Param, HDIDs), plan.targets,
           sizeof(KX_U16) * static_cast<size_t>(plan.targetCount));
}

int migrateVd(KX_U16 vd, KX_U8 action, bool haveRaid, bool havePds, const LayoutOptions &o)
{
    const KX_U16 *pds = o.pds;
    const int pdCount = o.pdCount;
    for (int i = 0; i < pdCount; ++i) {
        KX_U8 st = HDisFreeDiskForBirch(pds[i], vd);
        if (st == KX_ST_BLOCK_OF_VD) {
            fprintf(stream, "Not free disk %d can not be used to migration VD.\n", pds[i]);
            return 1;
        }
        if (st != 0) {
            fprintf(stream, "Can not get disk %d information(error %d: %s).\n", pds[i], st, ErrorMessage(st));
            return st;
        }
    }
    LD_Info info;
    KX_U8 st = queryLDInfoOrSay(vd, info);
    if (st != 0)
        return st;
    MigrationPlan plan;
    plan.sourceRaid = info.RaidMode;
    plan.raid = haveRaid ? o.raid : info.RaidMode;
    plan.parity = o.parity;
    st = memberDisks(info, plan);
    if (st != 0) {
        fprintf(stream, "\nUnable to get info of VD %d (error %d: %s).\n", vd, st, ErrorMessage(st));
        return st;
    }
    /* Without -d the VD keeps its disks and changes only its level. */
    if (havePds) {
        memcpy(plan.targets, pds, sizeof(KX_U16) * static_cast<size_t>(pdCount));
        plan.targetCount = pdCount;
    } else {
        memcpy(plan.targets, plan.members, sizeof(KX_U16) * static_cast<size_t>(plan.memberCount));
        plan.targetCount = plan.memberCount;
    }
    Create_LD_Param param;
    if (action == BGA_ACT_SIZE) {
        if (plan.parity < 0)
            plan.parity = plan.raid == 96 ? 4 : plan.raid == 6 ? 2 : 0;
        fillRequest(vd, info, plan, param);
        st = KX_LD_GetMigratedLdSize(gCurrentAdapter, &param);
        if (st != 0)
            fprintf(stream, "\nUnable to get migrate size of VD %d (error %d: %s).\n", vd, st, ErrorMessage(st));
        else
            fprintf(stream, "Migrate VD size = %lld M\n", static_cast<long long>(kxU64Value(param.Size) >> 10));
        return st;
    }

    LD_Status status;
    st = queryLDStatusOrSay(vd, status);
    if (st != 0)
        return st;
    if (status.Bga != 0) {
        fprintf(stream, "\nVD %d is currently having background activity.\n", vd);
        return 0;
    }
    int r = checkMigrationPlan(plan, false);
    if (r >= 0)
        return r;
    fillRequest(vd, info, plan, param);
    st = KX_LD_GetMigratedLdSize(gCurrentAdapter, &param);
    if (st != 0) {
        fprintf(stream, "\nUnable to get migrate size of VD %d (error %d: %s).\n", vd, st, ErrorMessage(st));
        return st;
    }
    /* The new layout must hold what the VD holds now. */
    if (kxU64Value(param.Size) < kxU64Value(info.Size)) {
        fputs("\nTarget VD size can not smaller than source VD.\n", stream);
        return 1;
    }
    if (status.BgaExt & LD_BGAEXT_MEDIA_PATROL) {
        r = confirmOrResult(0, "Migrate VD will stop Media patrol on PD. Do you want to continue?(y or n)\n");
        if (r >= 0)
            return r;
    }
    /* The request keeps the size the controller computed for it. */
    st = KX_LD_StartMigration(gCurrentAdapter, &param);
    if (st != 0)
        fprintf(stream, "\nUnable to start migration on VD %d (error %d: %s).\n", vd, st, ErrorMessage(st));
    else
        fputs("Start migration successfully\n", stream);
    return st;
}

} // namespace

int doMigrate(int argc, char **argv, cmd_struct *pCmdInfo)
{
    MigrateRequest req;
    int r = parseMigrateOptions(argc, argv, pCmdInfo, req);
    if (r >= 0)
        return r;
    if (!(gAdapterInfo[gCurrentAdapter].Features & 0x08)) {
        fputs("This adapter does not support migration.\n", stream);
        return KX_ST_NOT_SUPPORTED;
    }
    const KX_U16 vd = req.id;
    if (req.action == BGA_ACT_START || req.action == BGA_ACT_SIZE)
        return migrateVd(vd, req.action, req.haveRaid, req.havePds, req.layout);

    LD_Status status;
    KX_U8 st = queryLDStatusOrSay(vd, status);
    if (st != 0)
        return st;
    if (status.Bga != 32) {
        fprintf(stream, "\nVD %d is not migrating (error %d: %s).\n", vd, KX_ST_OK, ErrorMessage(KX_ST_OK));
        return 0;
    }
    return bgaControlByState(status.BgaState, req.action, vd, kMigrateTexts, KX_LD_BGAControl);
}
