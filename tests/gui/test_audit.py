#!/usr/bin/env python3
"""The GUI's audit trail through the real Apache, captured on the run's own
log socket: a session of a refused log-on, a log-on, page views, a VD
created and deleted leaves exactly one record for each change and none for
the views; the module's records name the GUI's account and the client's
address; log-ons refused while closed are recorded too; no record holds
a password, even one typed into the name field; a record that cannot be
written holds up no log-on and is reported once."""
import os
import re
import urllib.parse

from guienv import Client, GuiEnv, run_as_root
from test_logon import attempt

RECORD = re.compile(r'^<(\d+)>[A-Z][a-z]{2} [ \d]\d \d\d:\d\d:\d\d arraysuite-audit\[\d+\]: tool=(\S+) (.*)$')


def field(record, name):
    m = re.search(r'\b%s=("(?:[^"\\]|\\.)*"|\S+)' % name, record)
    assert m, "no %s in %s" % (name, record)
    v = m.group(1)
    return v[1:-1] if v.startswith('"') else v


class Trail:
    """The records of one step: exactly those that arrived since the last step."""

    def __init__(self, env):
        self.env, self.seen = env, 0

    def step(self, what, expected):
        records = self.env.audit_records()
        new, self.seen = records[self.seen:], len(records)
        assert len(new) == expected, "%s: %d records, expected %d: %s" % (what, len(new), expected, new)
        for r in new:
            assert RECORD.match(r), "malformed record: " + r
        return new


def session(env, trail):
    c = Client(env)
    _, page = c.get("login.php")
    trail.step("the log-on page", 0)
    _, page = c.post("login.php", {"csrf": c.token(page), "user": env.user, "password": env.password + "-wrong"})
    assert "Log-on failed: unknown user or wrong password." in page, page[:500]
    [r] = trail.step("a refused log-on", 1)
    pri, tool = RECORD.match(r).groups()[:2]
    assert (tool, field(r, "user"), field(r, "from"), field(r, "what")) == ("gui", env.user, "127.0.0.1", "log-on"), r
    assert field(r, "result") != "0" and int(pri) == 10 * 8 + 4, r

    c.log_on()
    [r] = trail.step("the log-on", 1)
    assert RECORD.match(r).group(2) == "gui" and field(r, "user") == env.user and field(r, "result") == "0", r
    assert field(r, "text") == "logged on (Administrator)" and int(RECORD.match(r).group(1)) == 10 * 8 + 5, r

    for page in ("overview.php", "create.php", "spares.php", "events.php", "stamp.php", "settings.php"):
        c.get(page)
    trail.step("page views", 0)

    _, page = c.post("create.php", {"csrf": c.csrf, "adapter": "0", "kind": "slot", "name": "auditvd",
                                    "size": "102400", "dgslot": "0:1", "init": "3"})
    assert "VD &quot;auditvd&quot; created on adapter 0." in page, page[:800]
    [r] = trail.step("create", 1)
    assert RECORD.match(r).group(2) == "arrayrpc" and field(r, "user") == env.user, r
    assert field(r, "from") == "127.0.0.1" and field(r, "what").startswith("KX_LD_Create_OnDG "), r
    assert "KX_CreateOrModify_VD@0=0" in field(r, "calls") and field(r, "result") == "0", r

    _, page = c.post("action.php", {"csrf": c.csrf, "adapter": "0", "do": "vd:1:delete"})
    assert "VD deleted: VD 1 of adapter 0." in page, page[:800]
    [r] = trail.step("delete", 1)
    assert RECORD.match(r).group(2) == "arrayrpc" and field(r, "user") == env.user, r
    assert field(r, "what").startswith("KX_LD_Delete ") and "KX_LD_Delete@0=0" in field(r, "calls"), r
    c.get("overview.php")
    trail.step("the overview after the delete", 0)
    print("ok  one record per change, none for %d page views" % 7, flush=True)


def refusals(env, trail):
    """From another address: a password typed as the name, failures of the
    viewer until log-on closes, and an attempt while it is closed."""
    a = attempt(env, env.password, "x", source="127.0.0.2")
    assert a.message == "Log-on failed: unknown user or wrong password.", a.message
    [r] = trail.step("a password typed as the name", 1)
    assert field(r, "user") == "(no such account)" and field(r, "from") == "127.0.0.2", r
    for i in range(3):
        attempt(env, env.viewer, "wrong-%d" % i, source="127.0.0.2")
    for r in trail.step("three more failures", 3):
        assert field(r, "user") == env.viewer and field(r, "result") != "0", r
    a = attempt(env, env.viewer, env.password, source="127.0.0.2")
    assert a.closed_for() is not None, a.message
    [r] = trail.step("a log-on while closed", 1)
    assert field(r, "user") == env.viewer and field(r, "result") == "2", r
    assert field(r, "text") == "refused: log-on is closed for %d seconds after repeated failures" % a.closed_for(), r
    print("ok  refusals recorded, closed ones too", flush=True)


def unwritable(env):
    """Without the log socket, log-on works all the same, and the failure
    is reported once in PHP's log, not at every log-on."""
    os.unlink(env.audit_path)
    for _ in range(3):
        Client(env).log_on()
    reports = env.php_errors().count("audit record not written: %s: " % env.audit_path)
    assert reports == 1, env.php_errors()
    print("ok  log-on without the log socket, reported once", flush=True)


def main():
    with GuiEnv(limit_s=90) as env:
        trail = Trail(env)
        session(env, trail)
        refusals(env, trail)
        records = env.audit_records()
        for secret in (env.password, urllib.parse.quote(env.password)):
            assert not any(secret in r for r in records), "a password reached the audit trail"
        assert "audit record not written" not in env.logs(), env.logs()
        print("ok  %d records, no password in any" % len(records), flush=True)
        unwritable(env)
    print("gui audit: 4 passed, 0 failed")


if __name__ == "__main__":
    run_as_root(main)
