/*
 * The options both rebuild handlers read: the action, the VD or array, and
 * for a start the target disks.
 */
#ifndef REBUILD_OPTIONS_H
#define REBUILD_OPTIONS_H

#include "Public/bga.h"

struct RebuildRequest {
    KX_U8 action = BGA_ACT_START;
    KX_U16 id = 0;
    KX_U16 pds[KX_MAX_PD_LIST];
    int pdCount = 0;
};

/* Reads the options of rebuild; badIdFormat is the message for a bad -l.
   Returns -1 to go on, else the handler's result (an option error, the
   help, no -l, a start without target disks). */
int parseRebuildOptions(int argc, char **argv, cmd_struct *pCmdInfo, const char *badIdFormat, RebuildRequest &req);

#endif
