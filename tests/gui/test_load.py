#!/usr/bin/env python3
"""Eight browser-less clients with sessions of their own against the prefork
workers for 60 seconds, while the daemon captures events and triggers
schedules and arrayctl works on the same controller: every page must be
whole, the PHP log free of warnings, and no schedule row may be lost."""
import os
import re
import subprocess
import threading
import time
import urllib.error

from guienv import BUILD, Client, GuiEnv, run_as_root, wait_until

CLIENTS = 8
SECONDS = float(os.environ.get("ARRAY_GUI_LOAD_SECONDS", "60"))
WARNING = re.compile(r"PHP (Warning|Notice|Deprecated|Fatal error|Parse error)")
PAGES = {"overview.php": ['<h2>Overview</h2>', 'id="vd-0-0"', 'id="pd-0-5"'],
         "events.php": ['<h2>Events</h2>', 'stored events'],
         "schedules.php": ['<h2>Schedules</h2>', '<table id="schedules">']}


class Worker(threading.Thread):
    def __init__(self, env, n, stop_at):
        super().__init__(daemon=True)
        self.env, self.n, self.stop_at = env, n, stop_at
        self.added, self.removed = set(), set()
        self.requests, self.problems = 0, []

    def page(self, call, name, markers):
        try:
            status, html = call()
        except (urllib.error.URLError, OSError) as e:
            self.problems.append("%s: %s" % (name, e))
            return ""
        self.requests += 1
        whole = status == 200 and html.startswith("<!DOCTYPE html>") and html.endswith("</body></html>\n")
        if not whole or not all(m in html for m in markers):
            at = html.find('id="message"')
            self.problems.append("%s: malformed page (%d bytes): %r" % (name, len(html), html[at:at + 200] if at >= 0 else html[-300:]))
        return html

    def run(self):
        c = Client(self.env)
        c.log_on()
        i = 0
        day = time.strftime("%Y-%m-%d", time.localtime(time.time() - 86400))
        while time.monotonic() < self.stop_at:
            i += 1
            for name, markers in PAGES.items():
                self.page(lambda: c.get(name), name, markers)
            # Rows due at once (a date in the past) make the daemon write the
            # file back while the clients write it too.
            html = self.page(lambda: c.post("schedules.php", {
                "csrf": c.csrf, "op": "add", "settingType": "0", "bgaType": "4", "adapter": "0", "object": "0",
                "settingTime": "00:00", "settingDate": day, "startTime": day}), "add", ["Schedule "])
            m = re.search(r"Schedule (\d+) saved\.", html)
            if m:
                self.added.add(m.group(1))
            else:
                self.problems.append("add refused: " + html[html.find('id="message"'):][:200])
            # Each client keeps a handful of rows: the oldest goes, often
            # while the daemon is triggering it.
            if len(self.added - self.removed) > 6:
                victim = min(self.added - self.removed, key=int)
                html = self.page(lambda: c.post("schedules.php", {"csrf": c.csrf, "op": "remove", "index": victim}),
                                 "remove", ["Schedule %s removed." % victim])
                self.removed.add(victim)
            if self.n == 0 and i % 2 == 0:
                self.page(lambda: c.post("settings.php", {"csrf": c.csrf, "kind": "adapter", "adapter": "0",
                                                          "SyncRate": str(40 + i % 50)}),
                          "settings", ["Settings changed."])


def main():
    with GuiEnv(limit_s=int(SECONDS) + 150) as env:
        env.start_daemon()
        stop_at = time.monotonic() + SECONDS
        workers = [Worker(env, n, stop_at) for n in range(CLIENTS)]
        for w in workers:
            w.start()
        # arrayctl changes settings of the same controller meanwhile: the
        # adapter's rebuild rate and the array's write cache, in turn.
        ctl = 0
        while time.monotonic() < stop_at:
            args = ["-o", "hba", "-i", "0", "-b", str(20 + ctl % 60)] if ctl % 2 else \
                ["-o", "array", "-i", "0", "--cacheon" if ctl % 4 else "--cacheoff"]
            out = subprocess.run([os.path.join(BUILD, "cli/arrayctl"), "set", *args],
                                 env=dict(env.env, ARRAY_SG_DEVICE=os.path.join(env.tmp, "no-sg"), ARRAY_SG_WAIT="0"),
                                 capture_output=True, text=True, timeout=30).stdout
            assert "successful." in out, out
            ctl += 1
            time.sleep(0.5)
        for w in workers:
            w.join(timeout=60)
        problems = [p for w in workers for p in w.problems]
        requests = sum(w.requests for w in workers)
        print("%d requests by %d clients in %.0f s (%.1f per second), %d arrayctl runs"
              % (requests, CLIENTS, SECONDS, requests / SECONDS, ctl), flush=True)
        assert not problems, "\n".join(problems[:20])
        expected = set().union(*(w.added - w.removed for w in workers))
        removed = set().union(*(w.removed for w in workers))
        # Every row due was triggered and run: none stays at status 0 or 1.
        try:
            wait_until("every triggered row to have run", lambda: "<status>1</status>" not in env.datafile()
                       and "<status>0</status>" not in env.datafile(), 30)
        except AssertionError:
            text = env.datafile()
            print("status 0: %d, 1: %d, 2: %d" % tuple(text.count("<status>%d</status>" % i) for i in range(3)))
            print(open(os.path.join(env.db, "arraywatch.log")).read()[-3000:])
            print(env.logs()[-3000:])
            raise
        text = env.datafile()
        present = set(re.findall(r"<index>(\d+)</index>", text))
        assert expected <= present, "lost rows: %s" % sorted(expected - present, key=int)
        assert not (removed & present), "removed rows came back: %s" % sorted(removed & present, key=int)
        assert len(re.findall(r"<schedule>", text)) == len(present), "a row is there twice"
        assert not WARNING.search(env.logs()), env.logs()[-3000:]
        waited_out = open(os.path.join(env.db, "arraywatch.log")).read().count("data file lock not obtained")
        print("rows: %d kept, %d removed, none lost; daemon write-backs that waited out the lock: %d"
              % (len(expected), len(removed), waited_out))
    print("gui load: 1 passed, 0 failed")


if __name__ == "__main__":
    run_as_root(main)
