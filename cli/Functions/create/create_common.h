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
#include "Public/options.h"

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

/* Long options both handlers take beyond the letters; each handler
   numbers its own from CREATE_OPT_OWN. */
enum { CREATE_OPT_WAIVE = 0x100, CREATE_OPT_OWN };

/* What the options both handlers share ask for. */
struct CreateOptions {
    KX_U8 raid = 0;              /* -r */
    KX_U8 parity = 0;            /* -q */
    CreatePdList pds;            /* -d */
    char name[18] = "";          /* -n, as typed */
    KX_U16 stripe = 64;          /* -b, KB */
    unsigned long long size = 0; /* -s, MB */
    KX_U8 policy = 0;            /* CachePolicy bits of -c, -w and -p */
    KX_U8 writeBits = 0;         /* the bits -w asked for */
    KX_U8 rounding = 0;          /* -g */
    KX_U8 init = 0;              /* -i */
    bool waive = false;          /* --waiveconfirmation */
    int seen[128] = {0};         /* how often each letter was given */
};

/* Takes one of the options both handlers share (-r -q -d -n -b -s -c -w
   -p -g -i, --waiveconfirmation) into o, with the rules and wording of
   doCreateV2 when v2; OPT_HELP for any other. Without arrays -c sets the
   whole cache policy ("on" clears what -w and -p asked before it); with
   them it adds its bit. */
OptionTake createTakeOption(int opt, const char *arg, bool v2, CreateOptions &o);

/* -r and -d are both required: writes a line for each one missing;
   false when one is. */
bool createRaidAndDisksGiven(const CreateOptions &o, const char *cmd);

/* -q is for RAID 6 and 60 only: -1, or KX_ST_NOT_SUPPORTED after the
   message. */
int createParityAllowed(const CreateOptions &o);

/* The disk-count and parity rules of o's level for a VD (CreateVd) or an
   array (CreateArray); fills in the default parity. False after the
   message. */
bool createDiskCountFits(client::LayoutRules rules, CreateOptions &o);

/* A disk that is offline, a spare or foreign cannot go into the new VD or
   array (array: the wording of arrays); false after the message. */
bool createDiskStateUsable(KX_U16 id, KX_U8 status, bool array);

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
