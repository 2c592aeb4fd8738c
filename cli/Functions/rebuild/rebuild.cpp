/*
 * rebuild (adapters without arrays): rebuild a degraded VD onto a free
 * disk, or stop, pause, resume or restart its rebuild.
 */
#include "Functions/handlers.h"
#include "Functions/rebuild/rebuild_options.h"
#include "Public/bga.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"
#include "Public/utils.h"

namespace {

const BgaStateTexts kRebuildTexts = {
    "Abort successfully\n",
    "\nUnable to abort VD %d rebuilding (error %d: %s)\n",
    "Pause successfully\n",
    "\nUnable to pause VD %d rebuilding (error %d: %s)\n",
    "\nVD %d is currently rebuilding.\n",
    "Restart successfully\n",
    "\nUnable to restart rebuilding on VD %d (error %d: %s)\n",
    "\nRebuilding VD %d is aborted and need to restart.\n",
    "Resume successfully\n",
    "\nRebuilding can not be resumed on VD %d (error %d: %s)\n",
    "\nVD %d rebuilding is currently paused\n",
    "\nVD %d is not doing any background operation.\n",
};

int startRebuild(KX_U16 vd, const LD_Status &status, const KX_U16 *pds, int pdCount)
{
    if (status.Bga != 0) {
        fprintf(stream, "\nVirtual disk %d is having background activity.\n", vd);
        return 0;
    }
    for (int i = 0; i < pdCount; ++i) {
        KX_U8 st = HDisFreeDiskForBirch(pds[i], KX_ID8_NONE);
        if (st == KX_ST_BLOCK_OF_VD) {
            fprintf(stream, "PD %d is not a free disk and can not be used to rebuild VD.\n", pds[i]);
            return 1;
        }
        if (st != 0) {
            fprintf(stream, "Can not get disk %d information(error %d: %s).\n", pds[i], st, ErrorMessage(st));
            return st;
        }
    }
    if (pdCount > 1) {
        fputs("-d: Only One PD is needed for rebuilding!\n", stream);
        return 1;
    }
    const KX_U16 pd = pds[0];
    LD_Info info;
    HD_FreeSpaceInfo space;
    KX_U8 st = queryLDInfo(vd, info);
    if (st == 0)
        st = queryHDFreeSpace(pd, space);
    if (st != 0) {
        fprintf(stream, "\nUnable to get necessary info(error %d: %s).\n", st, ErrorMessage(st));
        return st;
    }
    /* A disk that already holds a member of the VD cannot stand in for
       another member. */
    for (int i = 0; i < 128; ++i) {
        const KX_U16 blockId = info.BlockIDs[i];
        if (blockId == KX_ID8_NONE || blockId == KX_ID_NONE)
            continue;
        Block_Info block;
        st = queryBlockInfo(blockId, block);
        if (st != 0) {
            fprintf(stream, "\nUnable to get necessary info(error %d: %s).\n", st, ErrorMessage(st));
            return st;
        }
        if (block.HDID == pd) {
            fprintf(stream, "\nPD %d is member disk of VD %d and can not use to rebuild\n", pd, vd);
            return 0;
        }
    }
    if (status.BgaExt & LD_BGAEXT_MEDIA_PATROL) {
        int r = confirmOrResult(0, "Rebuild VD will stop Media patrol on PD. Do you want to continue?(y or n)\n");
        if (r >= 0)
            return r;
    }
    st = KX_LD_StartRebuild(gCurrentAdapter, vd, pd);
    if (st != 0)
        fprintf(stream, "\nUnable to rebuild VD %d (error %d: %s).\n", vd, st, ErrorMessage(st));
    else
        fputs("Start rebuild successfully\n", stream);
    return st;
}

} // namespace

int doRebuild(int argc, char **argv, cmd_struct *pCmdInfo)
{
    RebuildRequest req;
    int r = parseRebuildOptions(argc, argv, pCmdInfo, "-l : invalid vd '%s'\n", req);
    if (r >= 0)
        return r;
    if (!(gAdapterInfo[gCurrentAdapter].Features & 0x01)) {
        fputs("Rebuilding is not supported by this HBA!\n", stream);
        return 0;
    }
    const KX_U16 vd = req.id;
    LD_Status status;
    KX_U8 st = queryLDStatusOrSay(vd, status);
    if (st != 0)
        return st;
    if (req.action == BGA_ACT_START)
        return startRebuild(vd, status, req.pds, req.pdCount);
    if (status.Bga != 1) {
        fprintf(stream, "\nVD %d is not at rebuilding state.\n", vd);
        return 0;
    }
    return bgaControlByState(status.BgaState, req.action, vd, kRebuildTexts, KX_LD_BGAControl);
}
