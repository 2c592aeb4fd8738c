/*
 * One record of the current adapter by ID (request type 2, one record),
 * silently or with the command's failure line.
 *
 * A call that succeeds without returning the record answers the status
 * the controller uses for that unknown object.
 */
#ifndef CLI_QUERIES_H
#define CLI_QUERIES_H

#include "kx_api.h"

KX_U8 queryLDInfo(KX_U16 id, LD_Info &out);
KX_U8 queryLDStatus(KX_U16 id, LD_Status &out);
KX_U8 queryDGInfo(KX_U16 id, DG_Info &out);
KX_U8 queryHDRaidStatus(KX_U16 id, HD_RAID_Status &out);
KX_U8 queryHDBgaStatus(KX_U16 id, HD_BGA_Status &out);
KX_U8 queryHDFreeSpace(KX_U16 id, HD_FreeSpaceInfo &out);
KX_U8 queryBlockInfo(KX_U16 id, Block_Info &out);
/* A disk's HD_Info: the extended record, or the plain one when the
   adapter refuses that (the plain call's status when both fail). */
KX_U8 queryHDInfo(KX_U16 id, HD_Info &out);

/* The same, writing "\nUnable to get info of VD %d (error %d: %s).\n" /
   "\nUnable to get status of VD ..." on a failure. */
KX_U8 queryLDInfoOrSay(KX_U16 id, LD_Info &out);
KX_U8 queryLDStatusOrSay(KX_U16 id, LD_Status &out);
/* "Unable to get info of array %d (error %d: %s).\n" on a failure. */
KX_U8 queryDGInfoOrSay(KX_U16 id, DG_Info &out);

#endif /* CLI_QUERIES_H */
