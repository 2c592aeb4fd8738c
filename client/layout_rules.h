/*
 * The layout rules of RAID levels: how many disks and parity disks a
 * level takes, with the refusal each tool prints, and the stripe sizes an
 * adapter offers. Pure functions: no controller calls, no output.
 */
#ifndef CLIENT_LAYOUT_RULES_H
#define CLIENT_LAYOUT_RULES_H

#include <string>

#include "kx_codes.h"

namespace client {

/* The rule sets differ by where a layout is made: a VD straight from
   disks, an array, and the migrations of either. They differ in the
   smallest RAID6 / RAID60 layouts, in the parity limits and in wording. */
enum class LayoutRules { CreateVd, CreateArray, MigrateVd, MigrateArray };

/* Whether n disks make a layout of raid under rules. parity is the number
   of parity disks asked for, -1 when none was; RAID6 and RAID60 fill in
   their default (2, 4), the migrations set it to 0 for every other level
   (parity disks are a RAID6 / RAID60 setting only), the creates leave it.
   maxParity is the adapter's MaxParityDisks (creates only). On a refusal,
   message holds the line to print (with its newline). A level the rules
   do not cover (JBOD, Tandem) fits any count. */
bool checkDiskCount(LayoutRules rules, unsigned raid, int n, int &parity, int maxParity, std::string &message);

/* How redundant a layout is, for "no worse than before" comparisons:
   RAID10 and RAID1E count as 1, RAID50 as 5, RAID60 as 6, others their code. */
int redundancyRank(unsigned raid);

/* The stripe mask an adapter that reports none is taken to have. */
KX_U16 defaultStripeMask(KX_U32 advancedFeatures);

/* Whether a stripe size (KB) is one of mask's: a multiple of 16 whose
   units of 16 KB are all bits of the mask. 0, and sizes beyond the 12 bits
   of the mask, never are. */
bool stripeAllowed(KX_U16 mask, unsigned long stripe);

} // namespace client

#endif /* CLIENT_LAYOUT_RULES_H */
