/*
 * Pieces shared by the background-activity commands (cc, init, rebuild,
 * migrate, mp, copyback) and the object commands (delete, assign, ...):
 * the action words, the per-state control dispatch, the questions and the
 * checks before a VD activity starts.
 */
#ifndef CLI_BGA_H
#define CLI_BGA_H

#include <functional>

#include "kx_api.h"
#include "Public/cli_types.h"
#include "Public/getopt.h"
#include "Public/options.h"
#include "Public/queries.h"
#include "kx_codes.h"

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

/* -a: an action word (also "size" when withSize). */
OptionTake takeAction(const char *arg, bool withSize, KX_U8 &action);

/* LD_Status.BgaExt: a member disk runs media patrol. */
#define LD_BGAEXT_MEDIA_PATROL 0x02

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

#endif /* CLI_BGA_H */
