#!/usr/bin/env python3
"""Log-on that resists guessing, through the real Apache: 50 wrong attempts
from one address, each with a fresh session, by more clients at once than
there are workers. They must be refused at once once log-on has closed,
with no worker held (a normal page answers meanwhile), the closure must
count the account and the address apart and grow with further failures,
and the right password must work again after the announced wait. The
first closure is shortened (ARRAY_GUI_LOGON_WAIT) to keep the test short.
The counters' own expiry is checked on the PHP class with a given clock."""
import http.client
import os
import re
import subprocess
import threading
import time
import urllib.parse

from guienv import SOURCE, GuiEnv, run_as_root

BASE_WAIT = 2
ATTEMPTS = 50
CLIENTS = 20  # more than the 16 workers
FAILED = "Log-on failed: unknown user or wrong password."
CLOSED = re.compile(r"^Log-on is closed for (\d+) seconds after repeated failures\.$")


class Answer:
    def __init__(self, status, location, message, retry_after, at):
        self.status, self.location, self.message, self.retry_after, self.at = status, location, message, retry_after, at

    def closed_for(self):
        m = CLOSED.match(self.message)
        return int(m.group(1)) if m else None


def attempt(env, user, password, source="127.0.0.1"):
    """One log-on from a fresh session (no cookie kept), from the given loopback address."""
    conn = http.client.HTTPConnection("127.0.0.1", env.port, timeout=30, source_address=(source, 0))
    try:
        conn.request("GET", "/Vesta/login.php")
        r = conn.getresponse()
        page = r.read().decode()
        cookie = r.getheader("Set-Cookie").split(";")[0]
        token = re.search(r'name="csrf" value="([0-9a-f]{64})"', page).group(1)
        body = urllib.parse.urlencode({"csrf": token, "user": user, "password": password})
        conn.request("POST", "/Vesta/login.php", body=body, headers={
            "Cookie": cookie, "Content-Type": "application/x-www-form-urlencoded"})
        r = conn.getresponse()
        page = r.read().decode()
        m = re.search(r'id="message">([^<]*)<', page)
        return Answer(r.status, r.getheader("Location"), m.group(1) if m else "", r.getheader("Retry-After"),
                      time.monotonic())
    finally:
        conn.close()


def guessing(env):
    answers, lock = [], threading.Lock()
    left = list(range(ATTEMPTS))
    probes, stop = [], threading.Event()

    def guesser():
        while True:
            with lock:
                if not left:
                    return
                left.pop()
            a = attempt(env, env.user, env.password + "-wrong")
            with lock:
                answers.append(a)

    def probe():
        # A normal page, asked for again and again while the guessers run.
        while not stop.is_set() or len(probes) < 3:
            began = time.monotonic()
            conn = http.client.HTTPConnection("127.0.0.1", env.port, timeout=30)
            conn.request("GET", "/Vesta/login.php")
            r = conn.getresponse()
            ok = r.status == 200 and "<h2>Log on</h2>" in r.read().decode()
            conn.close()
            probes.append((ok, time.monotonic() - began, not stop.is_set()))

    p = threading.Thread(target=probe, daemon=True)
    p.start()
    began = time.monotonic()
    threads = [threading.Thread(target=guesser, daemon=True) for _ in range(CLIENTS)]
    for t in threads:
        t.start()
    for t in threads:
        t.join(timeout=60)
    took = time.monotonic() - began
    stop.set()
    p.join(timeout=30)

    failed = [a for a in answers if a.message == FAILED and a.status == 200]
    closed = [a for a in answers if a.closed_for() is not None]
    assert len(answers) == ATTEMPTS and len(failed) + len(closed) == ATTEMPTS, \
        [(a.status, a.message) for a in answers if a not in failed and a not in closed]
    # Three failures close nothing, the fourth closes: exactly four were
    # checked unless a closure ran out during the run (then one more each time).
    assert len(failed) >= 4 and len(closed) >= 40, (len(failed), len(closed), took)
    for a in closed:
        assert a.status == 429 and a.retry_after == str(a.closed_for()) and 0 < a.closed_for() <= 90 * BASE_WAIT, vars(a)
    # No worker waits: the server's own time (%D, microseconds) of every
    # refused attempt is far below the second the old delay held a worker for.
    # Apache writes a request's log line after its answer: wait for the last ones.
    deadline = time.monotonic() + 10
    while True:
        times = [int(line.split()[-1]) for line in open(os.path.join(env.state, "logs/access.log"))
                 if '"POST /Vesta/login.php ' in line and '" 429 ' in line]
        if len(times) >= len(closed) or time.monotonic() > deadline:
            break
        time.sleep(0.1)
    # (The old delay held each for a second or more: the median tells them
    # apart, the maximum only has to stay clear of the scheduler's hiccups
    # on a loaded machine.)
    assert len(times) == len(closed) and sorted(times)[len(times) // 2] < 500000 and max(times) < 2000000, times
    assert any(during for _, _, during in probes) and all(ok for ok, _, _ in probes), probes
    # With the old delay in the workers it waited over 3 s; on a machine
    # loaded by builds it stays under 0.7 s.
    assert max(s for _, s, _ in probes) < 2.5, "a normal page waited for a worker: %s" % probes
    print("ok  %d attempts by %d clients in %.2f s: %d checked, %d refused (server time at most %.1f ms); "
          "%d probe pages, slowest %.0f ms" % (ATTEMPTS, CLIENTS, took, len(failed), len(closed), max(times) / 1000,
                                               len(probes), 1000 * max(s for _, s, _ in probes)), flush=True)
    return max(a.at + a.closed_for() for a in closed)


def wait_for(reopens):
    time.sleep(max(0.0, reopens - time.monotonic()) + 0.2)


def closure_counts_apart(env, reopens):
    wait_for(reopens)
    # Reopened, but the count stands: one more failure closes for longer.
    a = attempt(env, env.user, "still-wrong")
    assert a.message == FAILED, a.message
    a = attempt(env, env.user, env.password)
    closed_for = a.closed_for()
    assert closed_for is not None and closed_for > BASE_WAIT, "the closure must grow: %s" % a.message
    reopens = a.at + closed_for
    # The account is closed from another address too; that address is free
    # for other accounts, and this address is closed for every account.
    a = attempt(env, env.user, env.password, source="127.0.0.2")
    assert a.closed_for() is not None, a.message
    a = attempt(env, env.viewer, env.password, source="127.0.0.2")
    assert a.status == 303 and a.location == "overview.php", (a.status, a.message)
    a = attempt(env, env.viewer, env.password)
    assert a.closed_for() is not None, a.message
    print("ok  closure grew to %d s, counted per account and per address" % closed_for, flush=True)
    return reopens


def reopening(env, reopens):
    wait_for(reopens)
    a = attempt(env, env.user, env.password)
    assert a.status == 303 and a.location == "overview.php", (a.status, a.message)
    # Success resets the counters: three failures close nothing again.
    for i in range(4):
        a = attempt(env, env.user, "wrong-%d" % i)
        assert a.message == FAILED, (i, a.message)
    a = attempt(env, env.user, env.password)
    assert a.closed_for() == BASE_WAIT or a.closed_for() == BASE_WAIT - 1, a.message
    print("ok  the right password works after the wait; counters reset", flush=True)


def expiry(env):
    """The counters forget a key by themselves (an hour of quiet at a 10 s first closure)."""
    script = r"""
require $argv[1];
$t = new LogonThrottle($argv[2], 10);
$say = fn(array $r) => $r['state'] . ' ' . $r['wait'];
$out = [];
for ($i = 0; $i < 5; $i++) $out[] = $say($t->attempt('root', '192.0.2.7', 1000));
$out[] = $say($t->attempt('root', '192.0.2.7', 1010));
$out[] = $say($t->attempt('root', '192.0.2.7', 1011));
$out[] = $t->keyCount();
$out[] = $say($t->attempt('someone', '192.0.2.8', 1010 + 20 + 3600));
$out[] = $t->keyCount();
$later = 1010 + 20 + 3600;
for ($i = 0; $i < 4; $i++) $out[] = $say($t->attempt('root', '192.0.2.7', $later));
$out[] = $say($t->attempt('root', '198.51.100.1', $later));
for ($i = 0; $i < 4; $i++) $out[] = $say($t->attempt("u$i", '2001:db8::1', $later));
$out[] = $say($t->attempt('x', '2001:db8::2', $later));
$out[] = $say($t->attempt('x', '2001:db8:0:1::2', $later));
echo implode("\n", $out), "\n";
"""
    d = os.path.join(env.tmp, "expiry")
    os.mkdir(d)
    out = subprocess.run(["php", "-n", "-r", script, os.path.join(SOURCE, "web/lib/throttle.php"), d],
                         capture_output=True, text=True, check=True).stdout.split("\n")
    expected = ["open 0", "open 0", "open 0", "open 0", "closed 10",  # the fourth failure closes for 10 s
                "open 0",      # 10 s later it is open: the fifth failure closes for 20 s
                "closed 19",
                "2",           # the account's key and the address's key
                "open 0", "2",  # an hour after the closure ended both are gone; the new pair is kept
                "open 0", "open 0", "open 0", "open 0",  # the count started again
                "closed 10",   # the account is closed from another address too
                "open 0", "open 0", "open 0", "open 0",  # four accounts tried from one IPv6 /64 ...
                "closed 10",   # ... close it for every account and address in it,
                "open 0"]      # but not for the next /64
    assert out[:-1] == expected, out
    print("ok  counters expire by themselves", flush=True)


def main():
    with GuiEnv(limit_s=150, settings={"ARRAY_GUI_LOGON_WAIT": str(BASE_WAIT)}) as env:
        reopens = guessing(env)
        reopens = closure_counts_apart(env, reopens)
        reopening(env, reopens)
        expiry(env)
        assert env.password not in env.logs(), "the password was written down"
        assert "PHP " not in env.php_errors(), env.php_errors()
    print("gui logon: 4 passed, 0 failed")


if __name__ == "__main__":
    run_as_root(main)
