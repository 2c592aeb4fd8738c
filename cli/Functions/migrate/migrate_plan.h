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
    KX_U16 targets[CLI_MAX_PD_LIST];
    int targetCount = 0;
    KX_U16 members[CLI_MAX_PD_LIST];
    int memberCount = 0;
};

/* The target level is offered by the adapter and no less redundant than
   the source, the disk count and parity fit it, every target disk exists
   and is usable, and the targets include every member. arrayTexts: the
   wording of array migrations, where a disk that is not yet a member must
   also be free and readable. Writes why not; returns -1 when the plan
   holds, else the handler's result. */
int checkMigrationPlan(MigrationPlan &plan, bool arrayTexts);

#endif
