#include "audit.h"

#include <errno.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include "status_text.h"

namespace {

struct Unit {
    bool open = false;
    AuditActor actor;
    std::string what;
    std::string calls;
    bool changed = false;
    bool callsCut = false;
};

Unit gUnit;
bool gFailureReported = false;
void (*gReporter)(const char *why) = nullptr;

/* A value as key="value": quotes and backslashes escaped, control bytes
   as \xNN, so one record stays one line whatever a name holds. */
std::string quoted(const std::string &v)
{
    std::string out = "\"";
    for (unsigned char c : v) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string fileLine(const char *path)
{
    FILE *f = fopen(path, "r");
    if (!f)
        return "";
    char buf[64] = "";
    if (!fgets(buf, sizeof buf, f))
        buf[0] = '\0';
    fclose(f);
    buf[strcspn(buf, "\n")] = '\0';
    return buf;
}

/* The process's own facts about who runs it. */
std::string processIdentity(const AuditActor &a)
{
    std::string s;
    const uid_t uid = getuid();
    std::string user = a.user;
    if (user.empty()) {
        struct passwd *pw = getpwuid(uid);
        user = pw ? pw->pw_name : std::to_string(uid);
    }
    s += " user=" + quoted(user);
    s += " uid=" + std::to_string(uid);
    /* The login uid survives su and sudo: the person behind the session.
       4294967295 means none was set (a service). */
    const std::string login = fileLine("/proc/self/loginuid");
    if (!login.empty() && login != "4294967295")
        s += " loginuid=" + login;
    const char *sudo = getenv("SUDO_USER");
    if (sudo && *sudo)
        s += " sudo_user=" + quoted(sudo);
    std::string from = a.from;
    if (from.empty()) {
        const char *tty = ttyname(STDIN_FILENO);
        from = tty ? tty : "-";
    }
    s += " from=" + quoted(from);
    return s;
}

void reportOnce(const char *why)
{
    if (gFailureReported)
        return;
    gFailureReported = true;
    if (gReporter)
        gReporter(why);
    else
        fprintf(stderr, "audit record not written: %s\n", why);
}

void sendRecord(bool failed, const std::string &message)
{
    const char *path = getenv("ARRAY_AUDIT_SOCKET");
    if (!path || !*path)
        path = "/dev/log";
    struct sockaddr_un addr;
    memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (strlen(path) >= sizeof addr.sun_path) {
        reportOnce("socket path too long");
        return;
    }
    memcpy(addr.sun_path, path, strlen(path) + 1);

    /* authpriv: the facility of records about who did what. */
    const int priority = (10 << 3) | (failed ? 4 : 5);
    char stamp[32];
    time_t now = time(nullptr);
    struct tm tm;
    localtime_r(&now, &tm);
    strftime(stamp, sizeof stamp, "%b %e %H:%M:%S", &tm);
    char head[96];
    snprintf(head, sizeof head, "<%d>%s arraysuite-audit[%ld]: ", priority, stamp, static_cast<long>(getpid()));
    std::string datagram = head + message;

    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        reportOnce(strerror(errno));
        return;
    }
    /* Never wait for a log that does not read: the change goes on. */
    ssize_t n = sendto(fd, datagram.data(), datagram.size(), MSG_NOSIGNAL | MSG_DONTWAIT,
                       reinterpret_cast<const struct sockaddr *>(&addr), sizeof addr);
    if (n < 0) {
        char why[256];
        snprintf(why, sizeof why, "%s: %s", path, strerror(errno));
        reportOnce(why);
    }
    close(fd);
}

std::string resultPart(int result, const std::string &text)
{
    return " result=" + std::to_string(result) + " text=" + quoted(text);
}

} // namespace

void auditSetFailureReporter(void (*report)(const char *why))
{
    gReporter = report;
}

void auditBegin(const AuditActor &actor, const std::string &what)
{
    gUnit = Unit();
    gUnit.open = true;
    gUnit.actor = actor;
    gUnit.what = what;
}

void auditNoteCall(const char *operation, unsigned adapter, KX_U8 status)
{
    if (!gUnit.open)
        return;
    gUnit.changed = true;
    /* A long unit (a flash of many pages) keeps its record short. */
    if (gUnit.calls.size() > 1500) {
        gUnit.callsCut = true;
        return;
    }
    if (!gUnit.calls.empty())
        gUnit.calls += ',';
    gUnit.calls += std::string(operation) + "@" + std::to_string(adapter) + "=" + std::to_string(status);
}

void auditEnd(int result)
{
    if (!gUnit.open)
        return;
    gUnit.open = false;
    if (!gUnit.changed)
        return;
    const std::string text = result >= 0 && result <= 255 ? ErrorMessage(static_cast<KX_U8>(result)) : "";
    const std::string calls = gUnit.calls + (gUnit.callsCut ? ",..." : "");
    sendRecord(result != 0, "tool=" + gUnit.actor.tool + processIdentity(gUnit.actor) + " what=" +
                                quoted(gUnit.what) + " calls=" + quoted(calls) + resultPart(result, text));
}

void auditWrite(const AuditActor &actor, const std::string &what, int result, const std::string &resultText)
{
    sendRecord(result != 0, "tool=" + actor.tool + processIdentity(actor) + " what=" + quoted(what) +
                                resultPart(result, resultText));
}

std::string auditMaskedArgs(int argc, char **argv, bool secretOptions, const char *keep)
{
    std::string out;
    bool valueKept = false; /* the previous word was an option whose value stays */
    for (int i = 0; i < argc; ++i) {
        std::string w = argv[i] ? argv[i] : "";
        if (secretOptions && i > 0) {
            if (w.size() >= 2 && w[0] == '-' && w[1] != '-') {
                const bool kept = strchr(keep, w[1]) != nullptr;
                if (w.size() > 2 && !kept)
                    w = w.substr(0, 2) + "***";
                valueKept = kept;
            } else if (w.compare(0, 2, "--") == 0) {
                const size_t eq = w.find('=');
                if (eq != std::string::npos)
                    w = w.substr(0, eq + 1) + "***";
                valueKept = false;
            } else {
                if (!valueKept)
                    w = "***";
                valueKept = false;
            }
        }
        if (!out.empty())
            out += ' ';
        out += w.find(' ') != std::string::npos || w.empty() ? "'" + w + "'" : w;
    }
    return out;
}
