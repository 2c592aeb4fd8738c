#!/usr/bin/env python3
"""Replacing a failed disk in a real browser, on a controller without
arrays: a RAID5 VD lost PD 1; the free disks are PD 3 (fits), PD 4 (too
small), PD 5 (an SSD), PD 6 (SAS) and PD 7 (4096-byte sectors). The
overview's banner leads to the replacement page, which offers PD 3 alone
and says why not the others; the LEDs are lit in the simulated controller,
the rebuild runs to its end there (rebuild rate and speed set high in the
fixture) and the LEDs go off. Each change leaves its audit record."""
import json
import os
import re

from selenium.webdriver.common.by import By

from guienv import Client, GuiEnv, run_as_root, wait_until
from test_browser import WARNING, Steps, browser, log_on

FIXTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures/replace.json")
TARGET = "target-0-vd-0"


def sim(env):
    """The simulated controller's own state: the disks by ID, and VD 0's line."""
    state = json.loads(env.tool("arraysim", "dump"))
    pds = {p["id"]: p for p in state["adapters"][0]["pds"]}
    vd = re.search(r'^\s*VD 0 "data": .*$', env.tool("arraysim", "show"), re.M).group(0)
    return pds, vd


def overview(s):
    s.open("overview.php")
    banner = s.text("#health")
    assert "PD 1 of adapter 0 is offline (failed)" in banner and 'VD 0 "data" of adapter 0 is degraded' in banner, banner
    # The state is said in words, the colour only adds to it.
    cell = s.d.find_element(By.CSS_SELECTOR, "#vd-0-0 .status")
    assert "degraded" in cell.text and "level-warn" in cell.get_attribute("class"), cell.get_attribute("outerHTML")
    assert s.text("#vd-0-0 #init-0-0") == "Initialize (destroys its data)" and not s.exists("#cc-0-0")
    assert s.exists("#rebuild-0-0"), "a degraded VD offers its rebuild"
    s.shot("overview-health")
    s.d.find_element(By.ID, "replace-link").click()
    wait_until("the replacement page", lambda: s.d.current_url.endswith("/replace.php"), 30)


def offers(s, env):
    row = s.text("#failed-0-1")
    for want in ("enclosure 0, expander 0, port 1", "FAILED001", "931.5 GiB (1000 GB)", 'VD 0 "data" (RAID5)'):
        assert want in row, (want, row)
    fits = [e.get_attribute("id") for e in s.d.find_elements(By.CSS_SELECTOR, "#candidates-%s tr.fits" % TARGET)]
    assert fits == ["cand-%s-3" % TARGET], fits
    assert [e.get_attribute("id") for e in s.d.find_elements(By.CSS_SELECTOR, "button[id^=rebuild-]")] \
        == ["rebuild-%s-3" % TARGET]
    why = {pd: s.text("#cand-%s-%d .why" % (TARGET, pd)) for pd in (3, 4, 5, 6, 7)}
    assert why == {3: "yes", 4: "no: too small: 100 GB, needs 269 GB", 5: "no: SSD, the member is a hard disk",
                   6: "no: SAS, the member is SATA", 7: "no: sector size 4096, the member has 512"}, why
    s.shot("replace")


def rebuild(s, env):
    s.click("led-on-0-1")
    assert s.message() == "The locate LED of PD 1 is on.", s.message()
    pds, _ = sim(env)
    assert pds[1]["locate"] and not pds[3]["locate"], (pds[1], pds[3])
    assert "on" in s.text("#failed-0-1 .led")
    s.click("rebuild-%s-3" % TARGET)
    assert s.message() == 'Rebuild of VD 0 "data" (RAID5) onto PD 3 started.', s.message()
    pds, vd = sim(env)
    assert pds[1]["locate"] and pds[3]["locate"], "the new disk's LED is lit while it is rebuilt"
    assert re.search(r"\d+%", s.text("#job")), s.text("#job")
    # The page follows the rebuild by itself, and at its end the LEDs go off.
    wait_until("the rebuild to complete", lambda: "is complete" in s.text("#job"), 40, step=0.5)
    assert s.text("#job") == 'The rebuild of VD 0 "data" (RAID5) onto PD 3 is complete; the locate LEDs of PD 3, PD 1 ' \
                             'are off.', s.text("#job")
    pds, vd = sim(env)
    assert not pds[1]["locate"] and not pds[3]["locate"], (pds[1], pds[3])
    assert "status 15" in vd, vd
    assert "assigned" in env.tool("arraysim", "show").split("PD 3:", 1)[1].split("\n", 1)[0]
    s.open("overview.php")
    assert s.text("#vd-0-0 .status") == "functional and initialized", s.text("#vd-0-0 .status")
    # The failed disk is still in its slot, to be pulled.
    assert "PD 1 of adapter 0 is offline (failed)" in s.text("#health")


def audited(env):
    records = [r for r in env.audit_records() if "tool=arrayrpc" in r]
    steps = [re.search(r'what="(\S+) [^"]*deviceId=(\d+)[^"]*ledStatus=(\d)|what="(KX_LD_StartRebuild)', r).groups()
             for r in records]
    assert steps == [("KX_LocateArrayDevice", "1", "1", None), ("KX_LocateArrayDevice", "3", "1", None),
                     (None, None, None, "KX_LD_StartRebuild"), ("KX_LocateArrayDevice", "3", "0", None),
                     ("KX_LocateArrayDevice", "1", "0", None)], records
    assert all('user="%s"' % env.user in r for r in records), records


def viewer_refused(env):
    c = Client(env)
    c.log_on(env.viewer)
    try:
        status = c.get("replace.php")[0]
    except Exception as e:  # urllib raises on 403
        status = getattr(e, "code", None)
    assert status == 403, status


def main():
    with GuiEnv(limit_s=150) as env:
        env.tool("arraysim", "load", FIXTURE)
        d = browser(env)
        s = Steps(env, d)
        try:
            for name, step in (("log on", lambda: log_on(s, env)), ("overview", lambda: overview(s)),
                               ("offers", lambda: offers(s, env)), ("rebuild", lambda: rebuild(s, env)),
                               ("audited", lambda: audited(env)), ("viewer refused", lambda: viewer_refused(env))):
                step()
                print("ok  " + name, flush=True)
        except BaseException:
            try:
                s.shot("replace-failure")
                print("page at failure:", d.current_url, d.page_source[:3000])
            except Exception:
                pass
            print(env.logs()[-3000:])
            raise
        finally:
            d.quit()
        assert not WARNING.search(env.logs()), env.logs()
    print("gui replace: 6 passed, 0 failed")


if __name__ == "__main__":
    run_as_root(main)
