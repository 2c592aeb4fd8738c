/*
 * rebuild (array-based adapters): rebuild a degraded array onto free disks
 * or spares, or pause, resume, stop or restart its rebuild.
 */
#include <string.h>

#include "Functions/handlers.h"
#include "Functions/rebuild/rebuild_options.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"

namespace {

const BgaStateTexts kRebuildArrayTexts = {
    "Abort successfully\n",
    "\nUnable to abort rebuilding on array %d (error %d: %s)\n",
    "Pause successfully\n",
    "\nUnable to pause rebuilding on array %d (error %d: %s)\n",
    "\nArray %d is currently rebuilding.\n",
    "Restart successfully\n",
    "\nUnable to restart rebuilding on array %d (error %d: %s)\n",
    "\nRebuilding array %d is aborted and need to restart.\n",
    "Resume successfully\n",
    "\nRebuilding can not be resumed on array %d (error %d: %s)\n",
    "\narray %d rebuilding is currently paused\n",
    "\nArray %d is not doing any background operation.\n",
};

/* Whether a disk may take a failed member's place in array dg: a free
   disk, a global spare or a spare of this array. Writes why not. */
int checkTargetDisk(KX_U16 pd, KX_U16 dg, const DG_Info &array)
{
    HD_RAID_Status raid;
    KX_U8 st = queryHDRaidStatus(pd, raid);
    if (st != 0) {
        fprintf(stream, "Unable to get status of PD %d (error %d: %s).\n", pd, st, ErrorMessage(st));
        return st;
    }
    if ((raid.Status & KX_PD_DEDICATED_SPARE) && raid.DGID != dg) {
        fprintf(stream, "PD %d is dedicated for array %d.\n", pd, raid.DGID);
        return 1;
    }
    if (!(raid.Status & (KX_PD_FREE | KX_PD_GLOBAL_SPARE | KX_PD_DEDICATED_SPARE))) {
        fprintf(stream, "PD %d is not a free disk.\n", pd);
        return 1;
    }
    HD_FreeSpaceInfo space;
    st = queryHDFreeSpace(pd, space);
    if (st != 0) {
        fprintf(stream, "Unable to get size of PD %d (error %d: %s).\n", pd, st, ErrorMessage(st));
        return st;
    }
    if (kxU64Value(space.Size) < kxU64Value(array.SmallestAvailablePDSize)) {
        fprintf(stream, "PD %d doesn't have enough space for rebuild.\n", pd);
        return 1;
    }
    if (space.BlockSize != array.BlockSize) {
        fprintf(stream, "Block size of PD %d (%d) doesn't match block size of array %d (%d).\n", pd,
                space.BlockSize, dg, static_cast<int>(array.BlockSize));
        return 1;
    }
    return 0;
}

int startArrayRebuild(KX_U16 dg, const DG_Info &array, const KX_U16 *pds, int pdCount)
{
    for (int i = 0; i < pdCount; ++i)
        if (int r = checkTargetDisk(pds[i], dg, array))
            return r;
    if (array.PDBgaRunning) {
        int r = confirmOrResult(0, "Rebuild Array will stop Media patrol on PD. Do you want to continue?(y or n)\n");
        if (r >= 0)
            return r;
    }
    Rebuild_Param param;
    memset(&param, 0, sizeof param);
    param.ID = dg;
    param.PDCount = static_cast<KX_U8>(pdCount);
    /* The request is packed: copy the IDs instead of binding references to
       its members. */
    memcpy(reinterpret_cast<char *>(&param) + offsetof(Rebuild_Param, PDIDs), pds,
           sizeof(KX_U16) * static_cast<size_t>(pdCount));
    KX_U8 st = KX_LD_DG_StartRebuild(gCurrentAdapter, &param);
    if (st != 0)
        fprintf(stream, "Unable to rebuild array %d (error %d: %s).\n", dg, st, ErrorMessage(st));
    else
        fputs("Start rebuild successfully\n", stream);
    return st;
}

} // namespace

int doRebuildV2(int argc, char **argv, cmd_struct *pCmdInfo)
{
    RebuildRequest req;
    int r = parseRebuildOptions(argc, argv, pCmdInfo, "-l : invalid array id '%s'\n", req);
    if (r >= 0)
        return r;
    const KX_U16 dg = req.id;
    DG_Info array;
    KX_U8 st = queryDGInfoOrSay(dg, array);
    if (st != 0)
        return st;
    if (req.action == BGA_ACT_START)
        return startArrayRebuild(dg, array, req.pds, req.pdCount);
    if (array.BgaType != 1) {
        fprintf(stream, "\nArray %d is not at rebuilding state.\n", dg);
        return 0;
    }
    return bgaControlByState(array.BgaState, req.action, dg, kRebuildArrayTexts, KX_DG_BGAControl);
}
