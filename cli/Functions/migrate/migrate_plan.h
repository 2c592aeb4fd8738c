/*
 * The checks both migrate handlers make before they ask the controller to
 * move a VD or an array to another layout.
 */
#ifndef MIGRATE_PLAN_H
#define MIGRATE_PLAN_H

#include "Public/bga.h"

struct MigrationPlan {
    KX_U8 sourceRaid = 0;
    KX_U8 raid = 0;
    int parity = -1; /* -1: the level's default */
    KX_U16 targets[KX_MAX_PD_LIST];
    int targetCount = 0;
    KX_U16 members[KX_MAX_PD_LIST];
    int memberCount = 0;
};

/* The target level is offered by the adapter and no less redundant than
   the source, the disk count and parity fit it, every target disk exists
   and is usable, and the targets include every member. arrayTexts: the
   wording of array migrations, where a disk that is not yet a member must
   also be free and readable. Writes why not; returns -1 when the plan
   holds, else the handler's result. */
int checkMigrationPlan(MigrationPlan &plan, bool arrayTexts);

/* What both migrate variants are asked: the action (start, size or a
   control action), the VD or array, and the target layout. */
struct MigrateRequest {
    KX_U8 action = BGA_ACT_START;
    KX_U16 id = 0;
    bool haveRaid = false;
    bool havePds = false;
    LayoutOptions layout;
};

/* Reads the options of migrate. Returns -1 to go on, else the handler's
   result (an option error, the help, no -l, a start without -r or -d). */
int parseMigrateOptions(int argc, char **argv, cmd_struct *pCmdInfo, MigrateRequest &req);

#endif
