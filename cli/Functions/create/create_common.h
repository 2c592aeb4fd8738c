/*
 * Pieces the two create handlers share: doCreate (VDs straight from
 * disks) and doCreateV2 (arrays, VDs in arrays, packages and the
 * automatic configuration).
 */
#ifndef CREATE_COMMON_H
#define CREATE_COMMON_H

#include <stddef.h>
#include <string>
#include "Public/bga.h"
#include "kx_api.h"
#include "layout_rules.h"
#include "parse.h"

/* Short level name of the default names: "R5", "Tandem_c", ... "NA". */
const char *RaidModeStrInCreate(KX_U8 raidMode);

/* Whether the current adapter takes this stripe size (KB). An adapter
   that reports no mask is given the default one for the rest of the
   process. */
bool isValidStripe(unsigned long stripe);

/* The disks of a -d list, in the order given, each once. */
struct CreatePdList {
    KX_U16 ids[KX_MAX_PD_LIST];
    int count = 0;
};

/* -b: the stripe size; on a bad one writes the handler's message (v2
   selects its wording) and returns false. */
bool createStripeOption(const char *arg, bool v2, KX_U16 &stripe);

/* The cache options both handlers share. Each checks the adapter's
   capability first and returns false after the option's message.
   -w: the CachePolicy bits asked for ("wt" 1, with allowAuto "auto" 8);
   -p: "ra" sets bit 2 of policy; -g: the RoundingScheme code (v2 selects
   the wording of "not supported"); -i: the InitializationOption code
   ("foreground" only with allowForeground). */
bool createWritePolicyOption(const char *arg, bool allowAuto, KX_U8 &bits);
bool createReadPolicyOption(const char *arg, KX_U8 &policy);
bool createRoundingOption(const char *arg, bool v2, KX_U8 &rounding);
bool createInitOption(const char *arg, bool allowForeground, KX_U8 &init);

/* -n: the name as the user gave it, within maxChars characters; returns
   false after the length message. out holds maxChars + 2 bytes. */
bool createNameOption(const char *arg, int maxChars, char *out);

/* Every character a blank, digit, letter or "_"; otherwise writes the
   message and returns false. */
bool createNameCharsOk(const char *name);

/* Writes a default or given name into a record's fixed-size name field
   (no terminator needed when it fills the field). */
void createSetName(KX_U8 *field, size_t size, const char *fmt, ...) __attribute__((format(printf, 3, 4)));

/* The number of VDs (arrays: false) or arrays (true) on the adapter,
   counted page by page. Returns 0, or 4 after the allocation message. */
int createCountObjects(bool arrays, int &count);

/* The partition-table check before disks are overwritten. what is "VD" or
   "array" (the object the disks go into). Returns -1 when the command goes
   on, else its result: 0 when the user declined, 1 on a failed check or
   when input ended before an answer. */
int createConfirmDisks(const KX_U16 *ids, int count, const char *what);

#endif /* CREATE_COMMON_H */
