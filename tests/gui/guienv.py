"""The web GUI served for real, for the browser and load tests.

One GuiEnv is: a temporary directory, a throw-away worker account in group
shadow (log-on reads shadow entries), a throw-away log-on account, Apache
started through scripts/gui.sh on a free loopback port, the daemon (test
build, short tick) running as the worker account, a sendmail stand-in
that keeps every mail as a file, and a log socket of its own that collects
the audit records of the pages, the module, the daemon and the tools (none
reach the machine's log). Everything is undone on exit, on failure
and on SIGTERM/SIGALRM, so no account, process or Apache is left behind.
"""
import http.cookiejar
import os
import pwd
import re
import secrets
import shutil
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import urllib.request

SOURCE = os.environ.get("ARRAY_SOURCE_DIR", os.path.abspath(os.path.join(os.path.dirname(__file__), "../..")))
BUILD = os.environ.get("ARRAY_BUILD_DIR", os.path.join(SOURCE, "build"))


class Deadline(Exception):
    pass


def _raise_deadline(signum, frame):
    raise Deadline("the test ran out of time (signal %d)" % signum)


def run_as_root(main):
    """The GUI tests make throw-away accounts and run Apache; elsewhere they skip (77)."""
    if os.geteuid() != 0:
        print("the GUI test makes throw-away accounts and runs Apache: it needs root", file=sys.stderr)
        sys.exit(77)
    main()


def free_ports(n):
    """n distinct free loopback ports (each held until all are found)."""
    socks = [socket.socket() for _ in range(n)]
    try:
        for s in socks:
            s.bind(("127.0.0.1", 0))
        return [s.getsockname()[1] for s in socks]
    finally:
        for s in socks:
            s.close()


def wait_until(what, condition, timeout, step=0.2):
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(step)


class GuiEnv:
    def __init__(self, limit_s, tick_ms=20, settings=None, tls=False, gui_daemon=False):
        """tls: served as the production site is, HTTPS on 127.0.0.1 with a
        certificate gui.sh makes, plain HTTP redirected. gui_daemon: gui.sh
        starts the daemon (test build) beside the GUI, as it does for a
        user; otherwise a test starts it when it wants (start_daemon)."""
        self.gui_daemon = gui_daemon
        self.limit_s = limit_s
        self.tick_ms = tick_ms
        self.settings = settings or {}
        self.tls = tls
        self.ssl = None
        tag = "%d%s" % (os.getpid() % 100000, secrets.token_hex(2))
        self.worker = "agw" + tag
        self.user = "agu" + tag
        self.viewer = "agv" + tag
        self.password = "Pw-" + secrets.token_urlsafe(12)
        self.accounts = []
        self.tmp = None
        self.daemon_pid = None
        self.gui_started = False
        self.audit_sock = None
        self.audit_thread = None
        self.audit = []
        self.audit_lock = threading.Lock()
        self.audit_stop = threading.Event()

    # --- set-up -----------------------------------------------------------
    def __enter__(self):
        signal.signal(signal.SIGALRM, _raise_deadline)
        signal.signal(signal.SIGTERM, _raise_deadline)
        signal.alarm(self.limit_s)
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        signal.alarm(0)
        self.close()
        return False

    def _run(self, *cmd, **kw):
        return subprocess.run(cmd, check=True, capture_output=True, text=True, **kw)

    def _start(self):
        self.tmp = tempfile.mkdtemp(prefix="arraygui-")
        os.chmod(self.tmp, 0o755)
        self.state = os.path.join(self.tmp, "state")
        self.db = os.path.join(self.state, "db")
        self.sim_state = os.path.join(self.db, "sim-state.json")
        self.maildir = os.path.join(self.tmp, "mail")
        self.port, self.tls_port, self.http_port = free_ports(3)
        self._listen_audit()
        self._run("useradd", "-r", "-M", "-d", "/nonexistent", "-s", "/usr/sbin/nologin", "-G", "shadow", self.worker)
        self.accounts.append(self.worker)
        # The log-on account is an administrator (group root); the viewer is not.
        self._run("useradd", "-M", "-d", "/nonexistent", "-s", "/usr/sbin/nologin", "-G", "root", self.user)
        self.accounts.append(self.user)
        self._run("useradd", "-M", "-d", "/nonexistent", "-s", "/usr/sbin/nologin", self.viewer)
        self.accounts.append(self.viewer)
        self._run("chpasswd", input="%s:%s\n%s:%s\n" % (self.user, self.password, self.viewer, self.password))
        pw = pwd.getpwnam(self.worker)
        self.uid, self.gid = pw.pw_uid, pw.pw_gid
        os.mkdir(self.maildir)
        os.chown(self.maildir, self.uid, self.gid)
        self.sendmail = os.path.join(self.tmp, "sendmail")
        with open(self.sendmail, "w") as f:
            # Keeps each mail as mail/<time>-<pid>.eml; fails while mail/FAIL exists.
            f.write('#!/bin/sh\nd=%s\n[ -e "$d/FAIL" ] && { cat >/dev/null; exit 1; }\n'
                    'cat >"$d/.$$" && mv "$d/.$$" "$d/$(date +%%s%%N)-$$.eml"\n' % self.maildir)
        os.chmod(self.sendmail, 0o755)
        self.env = dict(os.environ, ARRAY_GUI_STATE=self.state, ARRAY_GUI_PORT=str(self.port),
                        ARRAY_GUI_USER=self.worker, ARRAY_GUI_SENDMAIL=self.sendmail, ARRAY_GUI_BUILD=BUILD,
                        ARRAYCORE_SIM_STATE=self.sim_state, ARRAY_DB_DIR=self.db,
                        ARRAYRPC_IPC_DIR=os.path.join(self.state, "run"), ARRAYWATCH_TICK_MS=str(self.tick_ms),
                        ARRAY_AUDIT_SOCKET=self.audit_path,
                        ARRAY_GUI_DAEMON=os.path.join(BUILD, "tests/service/arraywatch_testtick")
                        if self.gui_daemon else "none", **self.settings)
        if self.tls:
            self.env.update(ARRAY_GUI_ADDRESS="127.0.0.1", ARRAY_GUI_TLS_PORT=str(self.tls_port),
                            ARRAY_GUI_HTTP_PORT=str(self.http_port))
        self.gui_started = True
        out = self._run("bash", os.path.join(SOURCE, "scripts/gui.sh"), "start", "-d", *(["--tls"] if self.tls else []),
                        env=self.env).stdout
        if self.tls:
            self.base = "https://127.0.0.1:%d/Vesta/" % self.tls_port
            # The certificate gui.sh made is the one trusted, and checked.
            self.ssl = ssl.create_default_context(cafile=os.path.join(self.state, "tls/cert.pem"))
        else:
            self.base = "http://127.0.0.1:%d/Vesta/" % self.port
        assert ("GUI at " + self.base) in out, out
        wait_until("the GUI to answer", self._answers, 15)

    def _listen_audit(self):
        # Every process of the run sends here: the workers (their own
        # account, hence world-writable), the daemon and the tools.
        self.audit_path = os.path.join(self.tmp, "audit.sock")
        self.audit_sock = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
        self.audit_sock.bind(self.audit_path)
        os.chmod(self.audit_path, 0o666)
        self.audit_sock.settimeout(0.1)
        sock, stop = self.audit_sock, self.audit_stop

        def read():
            while not stop.is_set():
                try:
                    data = sock.recv(65536)
                except socket.timeout:
                    continue
                except OSError:
                    return
                with self.audit_lock:
                    self.audit.append(data.decode("utf-8", "replace"))
        self.audit_thread = threading.Thread(target=read, daemon=True)
        self.audit_thread.start()

    def audit_records(self, settle=0.5):
        """The audit records received so far, after settle seconds without a new one."""
        while True:
            with self.audit_lock:
                n = len(self.audit)
            time.sleep(settle)
            with self.audit_lock:
                if len(self.audit) == n:
                    return list(self.audit)

    def _answers(self):
        try:
            with urllib.request.urlopen(self.base + "login.php", timeout=5, context=self.ssl) as r:
                return r.status == 200
        except OSError:
            return False


    def tool(self, name, *args):
        path = {"arraysim": "sim/arraysim", "arrayctl": "cli/arrayctl"}[name]
        return subprocess.run([os.path.join(BUILD, path), *args], env=self.env, check=True,
                              capture_output=True, text=True).stdout

    def start_daemon(self):
        # As the workers' account: the event store it writes is cleared by the
        # GUI. Its output is not waited for: the daemon keeps it open.
        subprocess.run(["setpriv", "--reuid=%d" % self.uid, "--regid=%d" % self.gid, "--init-groups",
                        os.path.join(BUILD, "tests/service/arraywatch_testtick"), "start"],
                       env=self.env, check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=20)
        pidfile = os.path.join(self.db, "arraywatch.pid")
        self.daemon_pid = int(wait_until("the daemon's pid file",
                                         lambda: os.path.exists(pidfile) and open(pidfile).read().strip(), 10))

    def stop_gui(self):
        """gui.sh stop, as a user runs it: its output."""
        return self._run("bash", os.path.join(SOURCE, "scripts/gui.sh"), "stop", env=self.env).stdout

    def apache_workers(self):
        out = subprocess.run(["ps", "-o", "pid=,comm=", "-u", str(self.uid)], capture_output=True, text=True).stdout
        return [int(line.split()[0]) for line in out.splitlines() if line.split()[1:] == ["apache2"]]

    # --- what the tests look at -------------------------------------------
    def datafile(self):
        p = os.path.join(self.db, "db.xml")
        return open(p).read() if os.path.exists(p) else ""

    def mails(self):
        return sorted(f for f in os.listdir(self.maildir) if f.endswith(".eml"))

    def mail_text(self, name):
        return open(os.path.join(self.maildir, name)).read()

    def php_errors(self):
        p = os.path.join(self.state, "logs/php_error.log")
        return open(p).read() if os.path.exists(p) else ""

    def logs(self):
        d = os.path.join(self.state, "logs")
        return "".join(open(os.path.join(d, f), errors="replace").read() for f in sorted(os.listdir(d)))

    # --- tear-down --------------------------------------------------------
    def _pids_of(self, uid):
        out = subprocess.run(["ps", "-o", "pid=", "-u", str(uid)], capture_output=True, text=True).stdout
        return [int(p) for p in out.split()]

    def close(self):
        signal.signal(signal.SIGTERM, signal.SIG_IGN)  # finish the tear-down
        if self.daemon_pid:
            subprocess.run([os.path.join(BUILD, "tests/service/arraywatch_testtick"), "stop"], env=self.env,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20)
        if self.gui_started:
            subprocess.run(["bash", os.path.join(SOURCE, "scripts/gui.sh"), "stop"], env=self.env,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
            pidfile = os.path.join(self.state, "run/apache.pid")
            if os.path.exists(pidfile):
                try:
                    os.kill(int(open(pidfile).read()), signal.SIGKILL)
                except (OSError, ValueError):
                    pass
        if self.accounts:
            uid = self.uid if hasattr(self, "uid") else None
            if uid is not None:
                # Workers that outlived their parent and the daemon run as the
                # throw-away account: end each by its pid.
                for _ in range(50):
                    pids = self._pids_of(uid)
                    if not pids:
                        break
                    for p in pids:
                        try:
                            os.kill(p, signal.SIGKILL)
                        except OSError:
                            pass
                    time.sleep(0.1)
            for a in reversed(self.accounts):
                subprocess.run(["userdel", a], capture_output=True)
            self.accounts = []
        if self.audit_sock is not None:
            sock, self.audit_sock = self.audit_sock, None
            self.audit_stop.set()
            if self.audit_thread is not None:
                self.audit_thread.join(timeout=2)
            sock.close()
        if self.tmp:
            shutil.rmtree(self.tmp, ignore_errors=True)
            self.tmp = None
        signal.signal(signal.SIGTERM, signal.SIG_DFL)


class Client:
    """A browser-less client with a session of its own."""

    def __init__(self, env, timeout=30):
        self.env = env
        self.timeout = timeout
        self.jar = http.cookiejar.CookieJar()
        self.opener = urllib.request.build_opener(urllib.request.HTTPCookieProcessor(self.jar),
                                                  urllib.request.HTTPSHandler(context=env.ssl))

    def get(self, page):
        with self.opener.open(self.env.base + page, timeout=self.timeout) as r:
            return r.status, r.read().decode("utf-8")

    def post(self, page, fields):
        data = urllib.parse.urlencode(fields, doseq=True).encode()
        with self.opener.open(self.env.base + page, data=data, timeout=self.timeout) as r:
            return r.status, r.read().decode("utf-8")

    @staticmethod
    def token(html):
        m = re.search(r'name="csrf" value="([0-9a-f]{64})"', html)
        assert m, "no CSRF token on the page"
        return m.group(1)

    def log_on(self, user=None):
        _, page = self.get("login.php")
        status, page = self.post("login.php", {"csrf": self.token(page), "user": user or self.env.user,
                                               "password": self.env.password})
        assert "<h2>Overview</h2>" in page, page[:500]
        self.csrf = self.token(page)
        return page
