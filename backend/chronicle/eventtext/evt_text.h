/*
 * Event text: the words for a controller event, shared by arrayctl (the
 * `event` command's labelled blocks) and the web module (message texts of
 * stored events).
 *
 * Two dialects of one vocabulary:
 *   EVT_CONSOLE - arrayctl's descriptions. Texts that carry the (empty)
 *                 severity prefix begin with one space, which lines them up
 *                 under the other values of a block; fallbacks such as
 *                 "Unknown VD event code 7" begin directly.
 *   EVT_WEB     - the GUI's messages: no prefix, no leading space, and the
 *                 GUI's own wording for a few events (adapter removed and
 *                 detected, VD deleted and degraded, disk and expander
 *                 unplugged, temperature check, flash read failure, and the
 *                 Tandem subject on more rebuild endings).
 *
 * Everything is bounded by the caller's buffer and never reads beyond the
 * record: sense bytes at most 30, a VD name at most 16 bytes, a serial
 * number at most 30.
 *
 * Web module, getMsg:   evt_web_message(&serviceEvent, buf, 512)
 *             getTime:  evt_web_time(&serviceEvent.kxevent, evt_clock_mode(NULL), buf, n)
 * arrayctl, evt_printf: evt_format_block(&event, gUTCStatus, buf, n), or
 *                       evt_fprintf(stream, &event, gUTCStatus)
 */
#ifndef EVT_TEXT_H
#define EVT_TEXT_H

#include "kx_records.h"

#include <stddef.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

enum EvtDialect { EVT_CONSOLE = 0, EVT_WEB = 1 };

/* Clock modes: how the host's hardware clock runs. */
enum { EVT_CLOCK_UTC = 0, EVT_CLOCK_LOCAL = 1, EVT_CLOCK_UNKNOWN = 2 };

/* Label of a severity: "[UNKNOWN]" (0) to "[FATAL]" (7); any larger value
   is "[UNDEFINED]". */
const char *evt_severity_label(unsigned severity);

/* Writes the description of an event in the given dialect into buf (at
   most size-1 characters, always terminated when size > 0). Returns the
   length written. Class 0, code 9 takes its serial number from the sense
   bytes; the record itself is not changed. */
size_t evt_describe(const Event *event, enum EvtDialect dialect, char *buf, size_t size);

/* True when the event's sense bytes belong on a line (or after the text)
   of their own: a nonzero length, except class 0 code 9, where they are
   the serial number. */
int evt_has_sense(const Event *event);

/* The sense bytes as "%02X " pairs, at most 30 of them. */
size_t evt_sense_text(const Event *event, char *buf, size_t size);

/* Scans the host clock configuration (path NULL: $ARRAY_CLOCK_FILE, else
   /etc/sysconfig/clock). HWCLOCK="-u" gives UTC and HWCLOCK="--localtime"
   local time; failing both, UTC=true / UTC=false decide; a match preceded
   by '#', or on a line whose first non-blank character is '#', does not
   count. A missing file or no match gives unknown. */
int evt_clock_mode(const char *path);

/* The event's time: local time for class 0 code 9, else universal time when
   the hardware clock keeps local time (clock mode 1), else local time.
   Console form "%a %b %e %H:%M:%S %Y"; web form asctime's 24 characters
   followed by its newline. */
size_t evt_console_time(const Event *event, int clockMode, char *buf, size_t size);
size_t evt_web_time(const Event *event, int clockMode, char *buf, size_t size);

/* The whole labelled block of arrayctl: Sequence, Time, Level,
   Description, the sense line when there is one, and an empty line.
   Returns the length (the block is cut at size-1). */
size_t evt_format_block(const Event *event, int clockMode, char *buf, size_t size);

/* evt_format_block written to out; mirrors the command's record handling:
   lowers SenseDataLength above 30 to 30, and clears it once class 0 code 9
   has used it as the serial number. */
void evt_fprintf(FILE *out, Event *event, int clockMode);

/* The GUI's message of a stored event: a service event (from 1) is
   "Scheduled maintenance started" (code 1), "Default acceleration started"
   (code 2) or empty; any other event is its EVT_WEB description followed
   directly by its sense bytes. */
size_t evt_web_message(const ServiceEvent *event, char *buf, size_t size);

#ifdef __cplusplus
}
#endif

#endif /* EVT_TEXT_H */
