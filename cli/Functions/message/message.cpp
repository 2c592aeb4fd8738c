/*
 * message: the current adapter's queued events as the controller library
 * has formatted them, newest first.
 */
#include <string.h>

#include "Functions/handlers.h"
#include "Public/dispatch.h"
#include "Public/getopt.h"
#include "Public/globals.h"
#include "Public/options.h"
#include "arraycore.h"
#include "evt_text.h"

int doMessage(int argc, char **argv, cmd_struct *pCmdInfo)
{
    static const cli::option longOptions[] = {
        {"output", cli::kRequiredArgument, nullptr, 1},
        {"help", cli::kNoArgument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };

    int counts[128] = {};
    int r = runOptionLoop(argc, argv, pCmdInfo, "\001:h", longOptions, false, counts,
                          [](int, const char *) { return OPT_HELP; });
    if (r >= 0)
        return r;

    const unsigned kMaxMessages = 50;
    Event_Message messages[kMaxMessages];
    memset(messages, 0, sizeof messages);
    KX_U8 count = 0;
    if (KX_EVT_GetEventMessage(gCurrentAdapter, kMaxMessages, &count, messages) != 0 || count == 0)
        return 0;
    if (count > kMaxMessages)
        count = kMaxMessages;

    fprintf(stream, "Current AdapterID:%d\n\n", gCurrentAdapter);
    for (int i = count - 1; i >= 0; --i) {
        const Event_Message &m = messages[i];
        // The library's texts are fixed-size fields: never read past them.
        char when[sizeof m.time + 1];
        char text[sizeof m.msg + 1];
        memcpy(when, m.time, sizeof m.time);
        when[sizeof m.time] = '\0';
        memcpy(text, m.msg, sizeof m.msg);
        text[sizeof m.msg] = '\0';
        // Unsigned: a long is 32 bits wide on the i386 target.
        fprintf(stream, "%-*s %lu\n", 13, "Sequence:", (unsigned long)m.SequenceNo);
        fprintf(stream, fmt_Str, 13, "Time:", when);
        fprintf(stream, fmt_Str, 13, "Level:", evt_severity_label(m.Severity));
        fprintf(stream, fmt_Str, 12, "Description:", text);
        fprintf(stream, "\n");
    }
    return 0;
}
