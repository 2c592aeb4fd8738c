/*
 * event: the current adapter's queued controller events, newest first, as
 * labelled blocks. Reads the controller's queue directly (it does not go
 * through the event store), so the events it shows are taken from it.
 */
#include <stdlib.h>

#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "status_text.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "Public/utils.h"
#include "arraycore.h"
#include "evt_text.h"

namespace {

// One event block on the command's output, with the clock mode read at
// start-up.
void evt_printf(Event *event) { evt_fprintf(stream, event, gUTCStatus); }

} // namespace

int doEvent(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longOptions[] = {
        {"sequence", cli::kRequiredArgument, nullptr, 's'},
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned long long after = 0;

    int counts[128] = {};
    /* -s may be given again: the last one counts. */
    OptionLoopRules rules;
    rules.once = "";
    int r = runOptionLoop(argc, argv, pCmdInfo, "s:\001:h", longOptions, rules, counts, [&](int opt, const char *arg) {
        if (opt != 's')
            return OPT_HELP;
        if (!isNumber(arg)) {
            fprintf(stream, "-s : start sequence should be a number\n");
            return OPT_REFUSED;
        }
        // Saturates: a number above every sequence number shows none.
        after = strtoull(arg, nullptr, 10);
        return OPT_TAKEN;
    });
    if (r >= 0)
        return r;

    const unsigned kMaxEvents = 50;
    Event *events = static_cast<Event *>(calloc(kMaxEvents, sizeof(Event)));
    if (!events) {
        fprintf(stream, "Unable to locate memory\n");
        return 1;
    }
    KX_U8 count = 0;
    KX_U8 status = KX_EVT_GetEvent(gCurrentAdapter, kMaxEvents, &count, events);
    if (status == 0 && count > 0) {
        if (count > kMaxEvents)
            count = kMaxEvents;
        fprintf(stream, "Current AdapterID:%d\n\n", gCurrentAdapter);
        for (int i = count - 1; i >= 0 && events[i].SequenceNo > after; --i)
            evt_printf(&events[i]);
    } else if (status != 0) {
        fprintf(stream, "\nUnable to get event from adapter %d (error %d: %s)\n", gCurrentAdapter, status,
                ErrorMessage(status));
    }
    free(events);
    return 0;
}
