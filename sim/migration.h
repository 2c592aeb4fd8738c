// Checks and sizes of array migrations, shared by starting one and by the
// size-only question of KX_CreateOrModify_DG about an existing array.
#ifndef SIM_MIGRATION_H
#define SIM_MIGRATION_H

#include "kx_records.h"
#include "model.h"

namespace sim {

// Whether array `g` can move to the layout of `p` (level, parity, the full
// list of disks: the members and the disks it takes in). On success *size
// is the array's capacity in the new layout, in KiB.
uint8_t planArrayMigration(const Adapter &a, const Array &g, const CreateOrModify_DG_Param &p, uint64_t *size);

}  // namespace sim

#endif
