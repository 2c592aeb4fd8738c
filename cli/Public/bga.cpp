#include "Public/bga.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "Public/confirm.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/globals.h"
#include "Public/utils.h"

OptionTake takeAction(const char *arg, bool withSize, KX_U8 &action)
{
    action = chooseBGAAction(arg);
    if (action == BGA_ACT_INVALID && withSize && strcmp(arg, "size") == 0)
        action = BGA_ACT_SIZE;
    if (action == BGA_ACT_INVALID) {
        fprintf(stream, "-a : invalid action '%s'\n", arg);
        return OPT_REFUSED;
    }
    return OPT_TAKEN;
}

int bgaControlByState(KX_U8 state, KX_U8 action, KX_U16 id, const BgaStateTexts &t, BgaControlFn control)
{
    const char *ok = nullptr, *fail = nullptr;
    switch (state) {
    case KX_BGA_RUNNING:
        if (action == BGA_ACT_STOP) {
            ok = t.stopOk;
            fail = t.stopFail;
        } else if (action == BGA_ACT_PAUSE) {
            ok = t.pauseOk;
            fail = t.pauseFail;
        } else {
            fprintf(stream, t.running, id);
            return 0;
        }
        break;
    case KX_BGA_ABORTED:
        if (action != BGA_ACT_RESTART) {
            fprintf(stream, t.aborted, id);
            return 0;
        }
        ok = t.restartOk;
        fail = t.restartFail;
        break;
    case KX_BGA_PAUSED:
    case KX_BGA_AUTO_PAUSED:
        if (action != BGA_ACT_RESUME) {
            fprintf(stream, t.paused, id);
            return 0;
        }
        ok = t.resumeOk;
        fail = t.resumeFail;
        break;
    default:
        fprintf(stream, t.none, id);
        return 0;
    }
    KX_U8 st = control(gCurrentAdapter, id, action);
    if (st != 0)
        fprintf(stream, fail, id, st, ErrorMessage(st));
    else if (ok)
        fputs(ok, stream);
    return st;
}

int confirmOrResult(int declinedResult, const char *question, ...)
{
    va_list ap;
    va_start(ap, question);
    ConfirmAnswer answer = vaskConfirm(question, ap);
    va_end(ap);
    switch (answer) {
    case CONFIRM_YES:
        return -1;
    case CONFIRM_NO:
        return declinedResult;
    default:
        return 1;
    }
}

int prepareVdActivity(KX_U16 vd, bool start, const VdStartTexts &texts, LD_Status &status)
{
    LD_Info info;
    KX_U8 st = queryLDInfoOrSay(vd, info);
    if (st != 0)
        return st;
    if (start && info.RaidMode == 0) {
        fputs(texts.raid0, stream);
        return KX_ST_NOT_SUPPORTED;
    }
    st = queryLDStatusOrSay(vd, status);
    if (st != 0)
        return st;
    if (!start)
        return -1;
    if (status.Bga != 0) {
        fprintf(stream, texts.busy, vd);
        return 0;
    }
    if (status.BgaExt & LD_BGAEXT_MEDIA_PATROL)
        return confirmOrResult(0, "%s", texts.question);
    return -1;
}

