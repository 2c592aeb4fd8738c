/*
 * migrate (array-based adapters): move an array to another RAID level
 * and/or onto more disks (its VDs move with it), tell the size it would
 * have, or pause, resume, stop or restart its migration.
 */
#include <string.h>

#include "Functions/handlers.h"
#include "Functions/migrate/migrate_plan.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"

namespace {

const BgaStateTexts kMigrateArrayTexts = {
    "Terminate successfully\n",
    "\nUnable to terminate migration on array %d (error %d: %s).\n",
    "Pause successfully\n",
    "\nUnable to pause migration on array %d (error %d: %s).\n",
    "\nMigration on array %d is in progress.\n",
    "Restart successfully\n",
    "\nUnable to restart migration on array %d (error %d: %s).\n",
    "\nMigration on array %d is aborted and need to restart.\n",
    "Resume successfully\n",
    "\nUnable to resume migration on array %d (error %d: %s).\n",
    "\nMigration on array %d is currently paused.\n",
    "\nArray %d does not have any background activities.\n",
};

void fillRequest(KX_U16 dg, const DG_Info &array, const MigrationPlan &plan, CreateOrModify_DG_Param &param)
{
    memset(&param, 0, sizeof param);
    param.DGID = dg;
    param.RaidMode = plan.raid;
    param.NumParityDisk = static_cast<KX_U8>(plan.parity > 0 ? plan.parity : 0);
    param.SubVDCount = plan.raid == array.RaidMode ? array.SubVDCount : 0;
    param.StripeBlockSize = array.StripeBlockSize;
    param.BlockSize = array.BlockSize;
    param.PDCount = static_cast<KX_U8>(plan.targetCount);
    memcpy(reinterpret_cast<char *>(&param) + offsetof(CreateOrModify_DG_Param, PDIDs), plan.targets,
           sizeof(KX_U16) * static_cast<size_t>(plan.targetCount));
}

int migrateArray(KX_U16 dg, KX_U8 action, bool haveRaid, const LayoutOptions &o)
{
    DG_Info array;
    KX_U8 st = queryDGInfoOrSay(dg, array);
    if (st != 0)
        return st;
    MigrationPlan plan;
    plan.sourceRaid = array.RaidMode;
    plan.raid = haveRaid ? o.raid : array.RaidMode;
    plan.parity = o.parity;
    plan.memberCount = array.PDCount < KX_MAX_PD_LIST ? array.PDCount : KX_MAX_PD_LIST;
    memcpy(plan.members, reinterpret_cast<const char *>(&array) + offsetof(DG_Info, PDIDs),
           sizeof(KX_U16) * static_cast<size_t>(plan.memberCount));
    memcpy(plan.targets, o.pds, sizeof(KX_U16) * static_cast<size_t>(o.pdCount));
    plan.targetCount = o.pdCount;
    if (plan.targetCount == 0) {
        fputs("No target disk is specified.\n", stream);
        return 1;
    }
    CreateOrModify_DG_Param param;
    if (action == BGA_ACT_SIZE) {
        if (plan.parity < 0)
            plan.parity = plan.raid == 96 ? 4 : plan.raid == 6 ? 2 : 0;
        fillRequest(dg, array, plan, param);
        st = KX_CreateOrModify_DG(gCurrentAdapter, &param, 1);
        if (st != 0)
            fprintf(stream, "\nFailed to get migration size (error %d: %s).\n", st, ErrorMessage(st));
        else
            fprintf(stream, "Migrated size will be %lld M\n", static_cast<long long>(kxU64Value(param.Size) >> 10));
        return st;
    }
    if (array.BgaType != 0) {
        fprintf(stream, "\nArray %d is currently having background activity.\n", dg);
        return 0;
    }
    int r = checkMigrationPlan(plan, true);
    if (r >= 0)
        return r;
    if (array.PDBgaRunning) {
        r = confirmOrResult(0, "Migrate Array will stop Media patrol on PD. Do you want to continue?(y or n)\n");
        if (r >= 0)
            return r;
    }
    fillRequest(dg, array, plan, param);
    st = KX_DG_StartMigration(gCurrentAdapter, &param);
    if (st != 0)
        fprintf(stream, "\nUnable to migrate array %d (error %d: %s).\n", dg, st, ErrorMessage(st));
    else
        fputs("Start migrate successfully\n", stream);
    return st;
}

} // namespace

int doMigrateV2(int argc, char **argv, cmd_struct *pCmdInfo)
{
    MigrateRequest req;
    int r = parseMigrateOptions(argc, argv, pCmdInfo, req);
    if (r >= 0)
        return r;
    if (!(gAdapterInfo[gCurrentAdapter].Features & 0x08)) {
        fprintf(stream, "Migration is not supported on adapter %d.\n", gCurrentAdapter);
        return KX_ST_NOT_SUPPORTED;
    }
    const KX_U16 dg = req.id;
    if (req.action == BGA_ACT_START || req.action == BGA_ACT_SIZE)
        return migrateArray(dg, req.action, req.haveRaid, req.layout);

    DG_Info array;
    KX_U8 st = queryDGInfoOrSay(dg, array);
    if (st != 0)
        return st;
    if (array.BgaType != 32) {
        fprintf(stream, "\nArray %d is not migrating (error %d: %s).\n", dg, KX_ST_OK, ErrorMessage(KX_ST_OK));
        return 0;
    }
    return bgaControlByState(array.BgaState, req.action, dg, kMigrateArrayTexts, KX_DG_BGAControl);
}
