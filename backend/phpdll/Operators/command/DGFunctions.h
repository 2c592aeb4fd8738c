#ifndef KX_DG_FUNCTIONS_H
#define KX_DG_FUNCTIONS_H

#include "kx_records.h"

// Disk-group requests of the GUI that take more than one controller call;
// each has the shape of a library call (adapter, record) and answers a
// controller status.

// Creates an array; the controller chooses its ID and reports it in DGID.
KX_U8 KX_DG_Create(KX_U8 adapter, CreateOrModify_DG_Param *param);

// The size array DGID would have with the disks and RAID level of param,
// into Size; 153 when param would change nothing.
KX_U8 KX_DG_GetSizeOnly(KX_U8 adapter, CreateOrModify_DG_Param *param);

// A new VD in a slot of array DGID, laid out like the array: its RAID
// level, parity disks, block size and sub-VDs, and its stripe size unless
// the request names one. The controller chooses the VD's ID.
KX_U8 KX_LD_Create_OnDG(KX_U8 adapter, CreateOrModify_VD_Param *param);

// Starts migrating array DGID to param's layout; the block and stripe
// sizes stay the array's own, whatever the request says.
KX_U8 kxDGStartMigration(KX_U8 adapter, CreateOrModify_DG_Param *param);

#endif
