/*
 * What smart and smartctl both do before they talk to a disk: read its
 * disk record and make sure it takes ATA SMART commands.
 */
#ifndef SMART_DISK_H
#define SMART_DISK_H

#include "kx_types.h"

/* Reads the disk's record (the extended one first, the older one when
   that fails) and refuses a SAS disk. Returns 0 when the disk takes SMART
   commands; otherwise its message is written and the result is the
   controller's status, or 1 for a SAS disk. */
int smartDiskCheck(KX_U16 pdId);

/* A disk ID of the -p / -i option: decimal digits, not empty, at most
   0xFFFE (0xFFFF stands for no disk). */
bool smartParseDiskId(const char *text, KX_U16 &out);

#endif /* SMART_DISK_H */
