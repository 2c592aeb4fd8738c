#ifndef KX_VOLUME_BUILDER_H
#define KX_VOLUME_BUILDER_H

#include <vector>

#include "kx_records.h"

// What the GUI's one-click and Tandem creations share: which disks are
// free for them, the RAID level a set of disks allows, the adapter's
// capabilities, and the create record they start from.

// A disk that no VD uses and no operating system runs from: 0; 73 when a
// block of it belongs to a VD, 159 when it carries an OS; the status of a
// block list that could not be read.
KX_U8 kxCheckDiskFree(KX_U8 adapter, KX_U16 hdId);

// The RAID-status records of up to 128 disks, from the first; stops at
// the first failing call.
std::vector<HD_RAID_Status> kxDiskRaidStatuses(KX_U8 adapter);

// The adapter's record read now, or a zero record when it cannot be read.
Adapter_Info kxCurrentAdapterInfo(KX_U8 adapter);

// The most demanding RAID level the adapter offers that the candidate
// disks of param (HDIDs, HDCount) make: the level's minimum number of
// disks, and an odd or even count where the level needs one. type 0, or
// fewer than two disks, give RAID0. RAID1 uses exactly two disks, so
// HDCount is cut to 2 when it is chosen.
KX_U8 GetRaidMode(KX_U8 adapter, KX_U8 type, Create_LD_Param &param);

// A create record with the stripe size 64, the sector coefficient 1 and
// the name given; LDID 0xFFFF lets the controller choose the VD's ID (an
// ID of 0 would ask for VD 0, which fails whenever VD 0 exists).
Create_LD_Param kxNewVolume(const char *name);

// Puts ids into HDIDs and their number into HDCount (at most 128).
void kxSetMembers(Create_LD_Param &param, const std::vector<KX_U16> &ids);

// Cache policy bit 0 (write-through) on adapters whose AdvancedFeatures
// bit 14 asks for it.
KX_U8 kxTandemCachePolicy(const Adapter_Info &info);

#endif
