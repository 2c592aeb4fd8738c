/*
 * Pieces shared by the background-activity commands (cc, init, rebuild,
 * migrate, mp, copyback) and the object commands (delete, assign,
 * maxcreatesize, ...): one-record queries, option values, PD lists, the
 * per-state control dispatch and the RAID layout rules.
 */
#ifndef CLI_BGA_H
#define CLI_BGA_H

#include <functional>

#include "kx_api.h"
#include "Public/cli_types.h"
#include "Public/getopt.h"

/* Action codes of chooseBGAAction, which are also the control codes of
   the *_BGAControl operations (start has no control code). */
enum BgaAction : KX_U8 {
    BGA_ACT_START = 0,
    BGA_ACT_RESTART = 1,
    BGA_ACT_PAUSE = 2,
    BGA_ACT_RESUME = 3,
    BGA_ACT_STOP = 4,
    BGA_ACT_STOP_EVERY = 7, /* a VD's every activity, before deleting it */
    BGA_ACT_SIZE = 254,     /* migrate only: the size after the migration */
    BGA_ACT_INVALID = 255,
};

/* States of LD_Status.BgaState, DG_Info.BgaState, HD_BGA_Status.BgaStatus. */
enum BgaRunState : KX_U8 {
    BGA_ST_RUNNING = 1,
    BGA_ST_ABORTED = 2,
    BGA_ST_PAUSED = 3,
    BGA_ST_AUTO_PAUSED = 4,
};

/* HD_RAID_Status.Status bits. */
enum PdStatusBit : KX_U8 {
    PD_FREE = 0x01,
    PD_ASSIGNED = 0x02,
    PD_GLOBAL_SPARE = 0x04,
    PD_OFFLINE = 0x08,
    PD_MEDIA_PATROL = 0x20,
    PD_DEDICATED_SPARE = 0x40,
    PD_FOREIGN = 0x80,
};

/* LD_Status.BgaExt: a member disk runs media patrol. */
#define LD_BGAEXT_MEDIA_PATROL 0x02

/* The most disks a controller request carries (HDIDs / PDIDs, 8-bit count). */
#define CLI_MAX_PD_LIST 128

/* One record by ID (request type 2, one record) of the current adapter.
   A call that succeeds without returning the record answers the status the
   controller uses for that unknown object. */
KX_U8 getLDInfo(KX_U16 id, LD_Info &out);
KX_U8 getLDStatus(KX_U16 id, LD_Status &out);
KX_U8 getDGInfo(KX_U16 id, DG_Info &out);
KX_U8 getHDRaidStatus(KX_U16 id, HD_RAID_Status &out);
KX_U8 getHDBgaStatus(KX_U16 id, HD_BGA_Status &out);
KX_U8 getHDFreeSpace(KX_U16 id, HD_FreeSpaceInfo &out);
KX_U8 getBlockInfo(KX_U16 id, Block_Info &out);
/* A disk's HD_Info: the extended record, or the plain one when the
   adapter refuses that (the plain call's status when both fail). */
KX_U8 getHDInfo(KX_U16 id, HD_Info &out);

/* What an option taker answers. */
enum OptionTake {
    OPT_TAKEN = 0,
    OPT_REFUSED = 1, /* message written: the command ends with 1 */
    OPT_HELP = 2,    /* not handled: the help is shown, the command ends with 0 */
    OPT_DONE = 3,    /* the taker did what the option asks: the command ends with 0 */
    OPT_IGNORED = 4, /* accepted without effect, and not counted */
};

/* The option loop of a handler: resets the parser, ignores the "-output"
   pair (code 1), answers "?" with 1, hands every other option and its
   argument to take, counts each letter in counts[] and shows the help for
   an option take does not handle. With helpWhenBare, a command without any
   argument shows its help. Afterwards a letter given twice writes
   ErrorDuplicate. Returns -1 to go on, else the handler's result. */
int runOptionLoop(int argc, char **argv, cmd_struct *pCmdInfo, const char *shortopts, const cli::option *longopts,
                  bool helpWhenBare, int counts[128], const std::function<OptionTake(int opt, const char *arg)> &take);

/* Takers shared by several commands: an action word (also "size" when
   withSize), and a decimal ID up to max with the command's message for a
   bad one (a printf format taking the text). */
OptionTake takeAction(const char *arg, bool withSize, KX_U8 &action);
OptionTake takeDecimalId(const char *arg, unsigned long max, const char *badIdFormat, unsigned long &id);
/* "-o vd", the only object of cc and init. */
OptionTake takeVdObject(const char *arg);
/* A PD list; a refused one writes "-d:invalid PD IDs %s\n". */
OptionTake takePdList(const char *arg, bool dropRepeats, KX_U16 ids[], int &count);

/* The same, writing "\nUnable to get info of VD %d (error %d: %s).\n" /
   "\nUnable to get status of VD ..." on a failure. */
KX_U8 readLDInfo(KX_U16 id, LD_Info &out);
KX_U8 readLDStatus(KX_U16 id, LD_Status &out);
/* "Unable to get info of array %d (error %d: %s).\n" on a failure. */
KX_U8 readDGInfo(KX_U16 id, DG_Info &out);

/* The layout options of migrate and maxcreatesize: -r level, -q parity
   disks, -d PD list. */
struct LayoutOptions {
    KX_U8 raid = 255;
    int parity = -1; /* -1: not given */
    KX_U16 pds[CLI_MAX_PD_LIST];
    int pdCount = 0;
};
/* Takes 'r', 'q' or 'd' (dropRepeats for the list); OPT_HELP for others. */
OptionTake takeLayoutOption(int opt, const char *arg, bool dropRepeats, LayoutOptions &o);

/* A decimal ID option value: not empty, digits only, at most max. */
bool parseDecimalId(const char *text, unsigned long max, unsigned long &out);
/* An ID typed either way: decimal digits, or "0x" and hex digits (32 bits
   at most, so a longer hex number is refused instead of losing digits). */
bool parseDecimalOrHexId(const char *text, unsigned long &out);

/* A PD list "0,2,4": every item begins with a decimal digit and its value
   is its leading digits. dropRepeats leaves out an ID given before. More
   IDs than a request holds, or an ID beyond 16 bits, is refused like a
   malformed item, so nothing is ever written past ids[CLI_MAX_PD_LIST].
   The empty text is a list of no IDs. Returns false on a refused list. */
bool parsePdList(const char *text, bool dropRepeats, KX_U16 ids[CLI_MAX_PD_LIST], int &count);

/* Texts of one command for each activity state (printf formats taking the
   object ID, and for the failures also the status and its text); a null
   success text means the command is silent on success. */
struct BgaStateTexts {
    const char *stopOk, *stopFail;
    const char *pauseOk, *pauseFail;
    const char *running;
    const char *restartOk, *restartFail;
    const char *aborted;
    const char *resumeOk, *resumeFail;
    const char *paused;
    const char *none;
};

typedef KX_U8 (*BgaControlFn)(KX_U8 adapter, KX_U16 id, KX_U8 action);

/* Acts on an object whose activity type is already the command's: each
   state allows only its action (running: stop or pause; aborted: restart;
   paused or auto-paused: resume); any other pairing writes the state's
   message. Returns the control call's status, 0 after a message. */
int bgaControlByState(KX_U8 state, KX_U8 action, KX_U16 id, const BgaStateTexts &texts, BgaControlFn control);

/* The yes/no question of the commands. Returns -1 to go on, else the
   command's result: declined (0, or the declined status the command names
   such as 88) or 1 when standard input ended without an answer. */
int confirmOrResult(int declinedResult, const char *question, ...) __attribute__((format(printf, 2, 3)));

/* The texts of a VD activity that is not for RAID0 (consistency check,
   initialization) before it starts. */
struct VdStartTexts {
    const char *raid0;    /* a start on RAID0: the command ends with 19 */
    const char *busy;     /* a printf format taking the VD ID */
    const char *question; /* the media-patrol question */
};

/* Reads a VD's status for such an activity; for a start also refuses
   RAID0, a VD with an activity, and asks the media-patrol question when a
   member runs one. Returns -1 to go on, else the handler's result. */
int prepareVdActivity(KX_U16 vd, bool start, const VdStartTexts &texts, LD_Status &status);

/* Whether the adapter's LogicalDriverMode offers a RAID code. */
bool raidModeSupported(KX_U16 logicalDriverMode, KX_U8 raid);

/* How redundant a layout is, for "no worse than before" comparisons:
   RAID10 and RAID1E count as 1, RAID50 as 5, RAID60 as 6, others their code. */
int redundancyRank(KX_U8 raid);

/* The disk-count and parity rules of a layout of n disks, with their
   messages; *parity is set to the default when it was not given (-1).
   arrayTexts: the wording of array migrations. Returns true when they hold. */
bool checkLayoutDiskCount(KX_U8 raid, int n, int *parity, bool arrayTexts);

#endif /* CLI_BGA_H */
