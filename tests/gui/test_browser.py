#!/usr/bin/env python3
"""The web GUI in a real browser: headless Chromium through WebDriver against
Apache serving the real pages with the real module on the simulated
controller, the real daemon triggering a schedule and asking for mail, and
arraysim failing disks. Screenshots go to $ARRAY_GUI_SCREENSHOTS."""
import os
import http.client
import re
import signal
import sys
import time
import urllib.error

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.support.ui import Select

from guienv import Client, GuiEnv, run_as_root, wait_until

SHOTS = os.environ.get("ARRAY_GUI_SCREENSHOTS", "screenshots")
WARNING = re.compile(r"PHP (Warning|Notice|Deprecated|Fatal error|Parse error)")


def browser(env):
    opts = webdriver.ChromeOptions()
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
              "--window-size=1280,1400", "--user-data-dir=" + os.path.join(env.tmp, "chromium")):
        opts.add_argument(a)
    if env.tls:
        # The certificate gui.sh made for the run is self-signed.
        opts.add_argument("--ignore-certificate-errors")
    opts.binary_location = "/usr/bin/chromium"
    d = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=opts)
    d.set_page_load_timeout(60)
    return d


class Steps:
    def __init__(self, env, d):
        self.env, self.d = env, d

    def open(self, page):
        self.d.get(self.env.base + page)

    def text(self, css):
        # A page that reloads itself (an activity runs) may be replaced
        # between finding an element and reading it: read it again.
        for attempt in range(20):
            try:
                return self.d.find_element(By.CSS_SELECTOR, css).text
            except WebDriverException:
                if attempt == 19:
                    raise
                time.sleep(0.1)

    def exists(self, css):
        return bool(self.d.find_elements(By.CSS_SELECTOR, css))

    def message(self):
        return self.text("#message") if self.exists("#message") else ""

    def fill(self, field_id, value):
        el = self.d.find_element(By.ID, field_id)
        el.clear()
        el.send_keys(value)

    def click(self, element_id, confirm=False):
        """Submits through a button and waits for the answer's page: a new
        document that is not one of the page's own reloads."""
        before = self.d.execute_script("return performance.timeOrigin")
        for attempt in range(20):
            try:
                self.d.find_element(By.ID, element_id).click()
                break
            except WebDriverException:
                if attempt == 19:
                    raise
                time.sleep(0.1)
        if confirm:
            self.d.switch_to.alert.accept()
        wait_until("the page after " + element_id, lambda: self.answered(before), 30, step=0.05)

    def answered(self, before):
        # The browser may answer with an error while it navigates.
        try:
            return self.d.execute_script(
                "var n = performance.getEntriesByType('navigation')[0];"
                "return performance.timeOrigin !== arguments[0] && document.readyState === 'complete'"
                " && !!n && n.type !== 'reload'", before)
        except WebDriverException:
            return False

    def shot(self, name):
        os.makedirs(SHOTS, exist_ok=True)
        self.d.save_screenshot(os.path.join(SHOTS, name + ".png"))

    def reload_until(self, what, page, condition, timeout):
        def check():
            self.open(page)
            return condition()
        return wait_until(what, check, timeout, step=0.5)

    def vd_cells(self, vd):
        row = "#vd-0-%d" % vd
        return self.text(row + " .name"), self.text(row + " .activity")


def log_on(s, env):
    s.open("overview.php")
    assert s.d.current_url.endswith("/login.php"), "a page without a session must lead to the log-on page"
    s.fill("user", env.user)
    s.fill("password", env.password + "x")
    s.click("logon")
    assert s.message() == "Log-on failed: unknown user or wrong password.", s.message()
    s.fill("user", env.user)
    s.fill("password", env.password)
    s.click("logon")
    assert s.d.current_url.endswith("/overview.php"), s.d.current_url
    cookie = s.d.get_cookie("VESTASESSION")
    assert cookie["httpOnly"] and cookie["sameSite"] == "Strict" and cookie["secure"] == env.tls, cookie


def default_controller(s):
    for pd in range(6):
        assert s.exists("#pd-0-%d" % pd), "PD %d is not listed" % pd
    assert s.text("#pd-0-4 .state") == "global spare"
    assert s.text("#pd-0-5 .state") == "free"
    assert s.text("#vd-0-0 .name") == "data"
    assert "array0" in s.text("#arrays-0") and "RAID5" in s.text("#arrays-0")
    assert s.text("#spares-0") == "PD 4: global spare"
    assert re.match(r"Battery: \d+% remaining", s.text("#battery-0")), s.text("#battery-0")
    assert s.text("#adapter-0 h3").startswith("Adapter 0: 1f3c-9200, firmware 2.1.0.7, serial KXSIM000000"), s.text("#adapter-0 h3")


def create_vd(s):
    s.open("create.php")
    s.fill("name-slot-0", "webvd")
    s.fill("size-slot-0", "102400")
    Select(s.d.find_element(By.ID, "dgslot-0")).select_by_value("0:1")
    Select(s.d.find_element(By.ID, "init-slot-0")).select_by_value("3")
    s.shot("create")
    s.click("submit-slot-0")
    assert s.message() == 'VD "webvd" created on adapter 0.', s.message()
    s.fill("name-array-0", "bad")
    s.click("submit-array-0")  # no disk chosen
    assert s.message() == "Choose 1 to 128 physical disks.", s.message()
    # A refusal of the controller shows its status text: RAID5 of one disk.
    s.fill("name-array-0", "bad")
    Select(s.d.find_element(By.ID, "raid-array-0")).select_by_value("5")
    s.d.find_element(By.ID, "pd-array-0-5").click()
    s.click("submit-array-0")
    assert s.message() == "The controller refused the creation: Number of physical disks doesn't fit the specified " \
                          "RAID level (error 57)", s.message()
    s.open("overview.php")
    assert s.text("#vd-0-1 .name") == "webvd"
    assert "100.0 GiB" in s.text("#vd-0-1"), s.text("#vd-0-1")


def spares(s):
    s.open("spares.php")
    assert s.text("#spare-pd-0-4 .state") == "global spare"
    s.click("global-0-5")
    assert s.message() == "PD 5 is a global spare now." and s.text("#spare-pd-0-5 .state") == "global spare"
    s.click("free-0-5")
    assert s.message() == "PD 5 is a free disk now." and s.text("#spare-pd-0-5 .state") == "free"
    s.click("dedicated-0-5")  # the SSD is smaller than the array's members
    assert s.message() == "The controller refused (PD 5): Disk space is too small to be assigned as spare drive " \
                          "(error 77)", s.message()
    s.click("free-0-4")
    Select(s.d.find_element(By.ID, "dg-0-4")).select_by_value("0")
    s.click("dedicated-0-4")
    assert s.message() == "PD 4 is a spare of array 0 now.", s.message()
    assert s.text("#spare-pd-0-4 .state") == "dedicated spare of array 0"
    s.click("free-0-4")
    s.click("global-0-4")
    assert s.text("#spare-pd-0-4 .state") == "global spare"


def percent(s, vd):
    m = re.search(r"(\d+)%", s.vd_cells(vd)[1])
    return int(m.group(1)) if m else None


def activity(s):
    s.open("overview.php")
    s.click("cc-0-1")
    assert s.message() == "Consistency check started: VD 1 of adapter 0.", s.message()
    first = percent(s, 1)
    assert first is not None and "synchronizing running" in s.vd_cells(1)[1], s.vd_cells(1)
    # The page reloads itself while an activity runs: wait for the browser to
    # show a higher percentage without being told to reload.
    wait_until("the check's progress to move", lambda: (percent(s, 1) or 0) > first, 20, step=0.5)
    s.shot("overview")
    s.click("pause-0-1")
    assert s.message() == "Pause done: VD 1 of adapter 0.", s.message()
    assert "synchronizing paused" in s.vd_cells(1)[1], s.vd_cells(1)
    held = percent(s, 1)
    time.sleep(2.5)
    s.open("overview.php")
    assert percent(s, 1) == held, "a paused check must not move"
    s.click("resume-0-1")
    assert "synchronizing running" in s.vd_cells(1)[1], s.vd_cells(1)
    s.click("delete-0-1", confirm=True)
    assert s.message() == "VD deleted: VD 1 of adapter 0.", s.message()
    assert not s.exists("#vd-0-1")
    # A disk's own activity.
    s.click("mp-pd-0-0")
    assert s.message() == "Media patrol started: PD 0 of adapter 0.", s.message()
    assert s.text("#pd-0-0 .activity").startswith("media patrol running"), s.text("#pd-0-0 .activity")
    s.click("stop-pd-0-0")
    assert s.message() == "Stop done: PD 0 of adapter 0." and s.text("#pd-0-0 .activity") == "", s.message()


def schedule(s, env):
    """A schedule due now, triggered by the real daemon. The Apache workers
    are held (SIGSTOP) while the daemon triggers, so that its request waits
    in the listen queue and status 1 (triggered) is seen in the data file
    before the page moves it to 2."""
    s.open("schedules.php")
    Select(s.d.find_element(By.ID, "settingType")).select_by_value("0")
    Select(s.d.find_element(By.ID, "bgaType")).select_by_value("4")
    s.fill("object", "0")
    s.fill("settingTime", time.strftime("%H:%M", time.localtime(time.time() - 60)))
    s.fill("settingDate", time.strftime("%Y-%m-%d", time.localtime(time.time() - 60)))
    s.click("add-schedule")
    assert s.message() == "Schedule 1 saved.", s.message()
    assert s.text("#schedule-1 .status") == "waiting"
    held = env.apache_workers()
    assert held, "no Apache worker found"
    try:
        for p in held:
            os.kill(p, signal.SIGSTOP)
        env.start_daemon()
        wait_until("the daemon to trigger the schedule", lambda: "<status>1</status>" in env.datafile(), 20)
        time.sleep(1)
        assert "<status>1</status>" in env.datafile(), "the schedule moved on while no worker ran"
    finally:
        for p in held:
            os.kill(p, signal.SIGCONT)
    s.reload_until("the schedule to have run", "schedules.php", lambda: s.text("#schedule-1 .status") == "has run", 20)
    # The result is recorded once the activity's request returned.
    wait_until("the run's result", lambda: "<lastResult>0</lastResult>" in env.datafile(), 10)
    state = env.tool("arrayctl", "info", "-o", "vd", "-i", "0")
    assert re.search(r"synchroniz", state, re.I), state
    s.open("overview.php")
    assert "synchronizing running" in s.vd_cells(0)[1], s.vd_cells(0)
    # The array shows its VD's activity, which is controlled on the VD's row.
    assert s.text("#array-0-0 .activity") == "synchronizing running", s.text("#array-0-0 .activity")
    assert not s.exists("#pause-array-0-0") and s.exists("#pause-0-0")


def mail(s, env):
    s.open("notify.php")
    s.fill("recipients", "admin@example.com")
    s.d.find_element(By.ID, "class-2").click()
    for sev in range(8):
        s.d.find_element(By.ID, "severity-%d" % sev).click()
    s.click("save-notify")
    assert s.message() == "Notification settings saved.", s.message()
    settled = lambda: re.search(r"<mailedCount>(\d+)</mailedCount>", env.datafile())
    # Wait until a pass has recorded the events stored so far.
    wait_until("a mail pass", settled, 20)
    time.sleep(3)
    before = env.mails()
    env.tool("arraysim", "fail", "5")
    new = wait_until("the mail of the failed disk", lambda: [m for m in env.mails() if m not in before], 30)
    assert len(new) == 1, new
    text = env.mail_text(new[0])
    assert "To: admin@example.com" in text and "Physical disk 5" in text, text
    time.sleep(4)  # several more passes
    assert len(env.mails()) == len(before) + 1, "a mail was sent twice"
    # A failed hand-over is tried again on the next pass.
    open(os.path.join(env.maildir, "FAIL"), "w").close()
    env.tool("arraysim", "insert", "5")
    wait_until("the failed hand-over to be logged", lambda: "could not be handed to sendmail" in env.php_errors(), 30)
    os.unlink(os.path.join(env.maildir, "FAIL"))
    later = wait_until("the retried mail", lambda: [m for m in env.mails() if m not in before + new], 30)
    assert "Physical disk 5" in env.mail_text(later[0]), env.mail_text(later[0])
    s.open("events.php")
    assert "Physical disk 5" in s.text("#events"), s.text("#events")
    s.shot("events")
    s.click("clear-events", confirm=True)
    assert s.message() == "The event log was cleared.", s.message()
    assert s.text("main p:nth-of-type(2)").startswith("0 stored events"), s.text("main")


def http_code(call):
    try:
        return call()[0]
    except urllib.error.HTTPError as e:
        return e.code


def http_rules(env):
    c = Client(env)
    _, page = c.get("overview.php")
    assert "<h2>Log on</h2>" in page, "no session must lead to the log-on page"
    with c.opener.open(env.base.replace("/Vesta/", "/"), timeout=30) as r:
        assert r.url == env.base + "login.php" and "<h2>Log on</h2>" in r.read().decode(), r.url
    c.log_on()
    assert http_code(lambda: c.post("action.php", {"csrf": "0" * 64, "adapter": "0", "do": "vd:0:cc"})) == 403
    assert http_code(lambda: c.get("action.php?adapter=0&do=vd:0:cc&csrf=" + c.csrf)) == 403
    assert http_code(lambda: c.get("../lib/rpc.php")) == 403
    assert http_code(lambda: c.get("runBGASchedule.php?index=1;rm")) == 400
    # Fields sent as lists where a text belongs are refused without a PHP warning.
    assert "The time of day is hh:mm" in c.post("schedules.php", {"csrf": c.csrf, "op": "add", "settingType": "0",
                                                                  "bgaType": "4", "adapter": "0", "object": "0",
                                                                  "settingTime[]": "1"})[1]
    assert "Notification settings saved." in c.post("notify.php", {"csrf": c.csrf, "recipients[]": "a", "sender[]": "b"})[1]
    # An account outside the group root looks but changes nothing.
    viewer = Client(env)
    assert "(read only: not an administrator)" in viewer.log_on(env.viewer)
    assert http_code(lambda: viewer.post("action.php", {"csrf": viewer.csrf, "adapter": "0", "do": "vd:0:stop"})) == 403
    assert "synchronizing running" in viewer.get("overview.php")[1]


def tls_rules(env):
    """What the production site promises over TLS: the certificate made for
    the run is checked (not ignored) here, HSTS on every answer, plain HTTP
    on the chosen address and the loopback port redirected to HTTPS, but for
    the daemon's requests, which the loopback port still serves."""
    c = Client(env)
    with c.opener.open(env.base + "login.php", timeout=30) as r:
        assert r.headers["Strict-Transport-Security"] == "max-age=31536000", r.headers
    for port in (env.http_port, env.port):
        conn = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
        conn.request("GET", "/Vesta/overview.php")
        r = conn.getresponse()
        assert r.status == 301 and r.getheader("Location") == env.base + "overview.php", (port, r.status, r.headers)
        conn.close()
    conn = http.client.HTTPConnection("127.0.0.1", env.port, timeout=30)
    conn.request("GET", "/Vesta/runBGASchedule.php?index=x")
    assert conn.getresponse().status == 400, "the daemon's request must be served on the loopback port"
    conn.close()


def scheduled_run(s, env):
    """A schedule due now, run by the daemon that gui.sh started."""
    s.open("schedules.php")
    Select(s.d.find_element(By.ID, "settingType")).select_by_value("0")
    Select(s.d.find_element(By.ID, "bgaType")).select_by_value("4")
    s.fill("object", "0")
    s.fill("settingTime", time.strftime("%H:%M", time.localtime(time.time() - 60)))
    s.fill("settingDate", time.strftime("%Y-%m-%d", time.localtime(time.time() - 60)))
    s.click("add-schedule")
    assert s.message() == "Schedule 1 saved.", s.message()
    s.reload_until("the schedule to have run", "schedules.php", lambda: s.text("#schedule-1 .status") == "has run", 20)
    s.open("overview.php")
    assert "synchronizing running" in s.vd_cells(0)[1], s.vd_cells(0)


def root_leads_to_log_on(s, env):
    s.d.delete_all_cookies()
    s.d.get(env.base.replace("/Vesta/", "/"))
    assert s.d.current_url == env.base + "login.php", s.d.current_url


def stopped_together(env):
    """gui.sh stop ends the daemon it started with the web server."""
    pidfile = os.path.join(env.db, "arraywatch.pid")
    pid = int(open(pidfile).read())
    out = env.stop_gui()
    assert "daemon stopped" in out and "GUI stopped" in out, out
    assert not os.path.exists(pidfile), "the daemon outlived gui.sh stop"

    def gone():
        # It removes its pid file just before it exits; then it may wait to be reaped.
        try:
            return open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()[0] in ("Z", "X")
        except OSError:
            return True
    wait_until("the daemon to exit", gone, 5, step=0.05)
    assert not os.path.exists(os.path.join(env.state, "run/apache.pid")), "Apache outlived gui.sh stop"
    assert "start arraywatch successfully" in open(os.path.join(env.db, "arraywatch.log")).read()


def run(env, steps):
    d = browser(env)
    try:
        s = Steps(env, d)
        for name, step in steps(s):
            began = time.monotonic()
            step()
            print("ok  %-24s %.1f s" % (name, time.monotonic() - began), flush=True)
    except BaseException:
        try:
            s.shot("failure")
            print("page at failure:", d.current_url, d.page_source[:3000], file=sys.stderr)
        except Exception:
            pass
        print(env.logs()[-4000:], file=sys.stderr)
        raise
    finally:
        d.quit()
    assert not WARNING.search(env.logs()), env.logs()
    written = env.logs() + env.datafile()
    if os.path.exists(os.path.join(env.db, "arraywatch.log")):
        written += open(os.path.join(env.db, "arraywatch.log")).read()
    assert env.password not in written, "the password was written down"


def main():
    with GuiEnv(limit_s=200) as env:
        run(env, lambda s: (("log on", lambda: log_on(s, env)), ("default controller", lambda: default_controller(s)),
                            ("create", lambda: create_vd(s)), ("spares", lambda: spares(s)),
                            ("activity", lambda: activity(s)), ("schedule", lambda: schedule(s, env)),
                            ("mail", lambda: mail(s, env)), ("http rules", lambda: http_rules(env))))
    # Once more as the production site serves it, over TLS, with the daemon
    # that gui.sh starts beside it.
    with GuiEnv(limit_s=110, tls=True, gui_daemon=True) as env:
        run(env, lambda s: (("tls: log on", lambda: log_on(s, env)), ("tls: default controller", lambda: default_controller(s)),
                            ("tls: create", lambda: create_vd(s)), ("tls: scheduled run", lambda: scheduled_run(s, env)),
                            ("tls: events and mail", lambda: mail(s, env)), ("tls: rules", lambda: tls_rules(env)),
                            ("tls: root", lambda: root_leads_to_log_on(s, env))))
        stopped_together(env)
        print("ok  tls: stopped together", flush=True)
    print("gui browser: 16 passed, 0 failed")


if __name__ == "__main__":
    run_as_root(main)
