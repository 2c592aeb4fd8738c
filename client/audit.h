/*
 * The audit trail: one record in the system log for every change made
 * through the suite, saying who, from where, what and with which result.
 *
 * A program opens a unit of work (an arrayctl command, an arrayrpc
 * request, an arrayconf step) with auditBegin, the controller operations
 * that alter state note themselves as they return (audit_calls.cpp wraps
 * them at link time, so no call site can forget), and auditEnd writes one
 * record when the unit changed anything, nothing for a unit that only
 * read. Programs that change what is not a controller operation (a log-on,
 * a schedule triggered) write their record with auditWrite.
 *
 * Records go to the system log socket (/dev/log, which journald and
 * syslog daemons serve; ARRAY_AUDIT_SOCKET moves it) with the tag
 * "arraysuite-audit", so `journalctl -t arraysuite-audit` finds them all.
 * A record that cannot be written never holds up the change: the first
 * failure is reported once on standard error.
 */
#ifndef CLIENT_AUDIT_H
#define CLIENT_AUDIT_H

#include <string>

#include "kx_types.h"

/* Who acts and from where. Fields left empty are filled from the process:
   user from the real uid, loginUid from /proc/self/loginuid, sudoUser from
   SUDO_USER, from from the controlling terminal. */
struct AuditActor {
    std::string tool;     /* "arrayctl", "arrayrpc", "arrayconf", "arraywatch" */
    std::string user;     /* the account: the GUI's logged-on account */
    std::string from;     /* terminal or client address */
};

/* Starts a unit of work: what is the operation and its parameters as the
   user gave them, already free of secrets (see auditMaskedArgs). */
void auditBegin(const AuditActor &actor, const std::string &what);

/* Notes one controller operation that alters state (called by the
   wrappers of those operations). */
void auditNoteCall(const char *operation, unsigned adapter, KX_U8 status);

/* Ends the unit: writes its record when a noted call happened, with the
   unit's result (0 success, else the status or the tool's result). */
void auditEnd(int result);

/* Writes one record now, for a change that is no controller operation. */
void auditWrite(const AuditActor &actor, const std::string &what, int result, const std::string &resultText);

/* Where the one report of a record that could not be written goes
   (standard error unless set; the daemon sends it to its log). */
void auditSetFailureReporter(void (*report)(const char *why));

/* A command line for the record: words joined by blanks, quoted where
   they hold blanks; with secretOptions, the value of every option but the
   letters in keep (and every word that is no option's value) reads "***",
   so keys and passwords never reach the log. */
std::string auditMaskedArgs(int argc, char **argv, bool secretOptions, const char *keep);

#endif /* CLIENT_AUDIT_H */
