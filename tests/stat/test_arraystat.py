#!/usr/bin/env python3
"""arraystat end to end: test_arraystat.py BUILD_DIR CASE

Cases: json, prometheus, fault, atomic, rules, smart, check, metrics. Each
runs the real programs over a fixture in a scratch directory."""
import glob
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import threading

build, case = sys.argv[1], sys.argv[2]
here = os.path.dirname(os.path.abspath(__file__))
arraystat = os.path.join(build, "stat", "arraystat")
arraysim = os.path.join(build, "sim", "arraysim")
scratch = tempfile.mkdtemp()
env = dict(os.environ, ARRAYCORE_SIM_STATE=os.path.join(scratch, "state.json"), ARRAY_DB_DIR=scratch)
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)


def run(*args, rc=0):
    p = subprocess.run(list(args), env=env, capture_output=True, text=True)
    check(p.returncode == rc, "%s: exit %d, stderr %r" % (" ".join(args), p.returncode, p.stderr))
    return p.stdout


def load(name="fixture.json"):
    run(arraysim, "load", os.path.join(here, name))


cache = os.path.join(scratch, "smart.json")


def golden_check(path):
    """Runs the --check cases of a golden file: blocks of
         === FIXTURE ARGUMENTS          (check_arraysuite as first argument: by that name)
         --- sim ARRAYSIM-ARGUMENTS     (after loading, before the SMART pass)
         --- smart none | broken-state  (no SMART pass; or a state file that cannot be read)
         --- rc N
         expected output
       The age of the SMART data in the performance data reads <age>, the
       scratch directory <scratch>."""
    blocks = re.split(r"^=== ", open(path).read(), flags=re.M)[1:]
    plugin = os.path.join(scratch, "check_arraysuite")
    if not os.path.exists(plugin):
        os.symlink(arraystat, plugin)
    for block in blocks:
        lines = block.split("\n")
        head = shlex.split(lines[0])
        fixture, args = head[0], head[1:]
        sims, smart, rc, i = [], "pass", None, 1
        while i < len(lines) and lines[i].startswith("--- "):
            key, _, rest = lines[i][4:].partition(" ")
            if key == "sim":
                sims.append(shlex.split(rest))
            elif key == "smart":
                smart = rest
            elif key == "rc":
                rc = int(rest)
            i += 1
        want = "\n".join(lines[i:]).rstrip("\n") + "\n"
        if os.path.exists(cache):
            os.unlink(cache)
        run(arraysim, "load", os.path.join(os.path.dirname(path), fixture))
        for a in sims:
            run(arraysim, *a)
        if smart != "none":
            run(arraystat, "--smart", "--output", cache)
        if smart == "broken-state":
            with open(env["ARRAYCORE_SIM_STATE"], "w") as f:
                f.write("{")
        prog = [plugin] + args[1:] if args and args[0] == "check_arraysuite" else [arraystat] + args
        p = subprocess.run(prog + ["--smart-cache", cache], env=env, capture_output=True, text=True)
        got = re.sub(r"'smart_age'=\d+s", "'smart_age'=<age>s", p.stdout).replace(scratch, "<scratch>")
        check(p.returncode == rc, "%s %s: exit %d, not %r" % (fixture, " ".join(args), p.returncode, rc))
        check(got == want, "%s %s:\n--- expected\n%s--- got\n%s" % (fixture, " ".join(args), want, got))


def promtool(*args, stdin=None):
    p = subprocess.run(["promtool"] + list(args), input=stdin, capture_output=True, text=True)
    check(p.returncode == 0, "promtool %s: %s%s" % (" ".join(args), p.stdout, p.stderr))
    return p.stdout


try:
    if case == "json":
        load()
        doc = json.loads(run(arraystat, "--json"))
        check(doc["schema_version"] == 2 and doc["adapter_count"] == 2, "header %r" % doc)
        a0, a1 = doc["adapters"]
        check(a0["info"]["ModelNumber"] == 'KX "Q" 1' and a0["info"]["SerialNo"] == "SER-A0", "info %r" % a0["info"])
        bat = a0["battery"]
        check(bat["present"] and bat["percentage"] == 15 and bat["status_word"] == "low battery"
              and bat["temperature"] == 41.5, "battery %r" % bat)
        check(a1["battery"] == {"present": False}, "no battery %r" % a1["battery"])
        pds = {p["HDID"]: p for p in a0["pds"]}
        check(sorted(pds) == [0, 1, 2, 7], "pd ids %r" % sorted(pds))
        check(pds[2]["raid_status"]["Status_word"] == "offline" and pds[0]["Size"] == 976762584
              and pds[7]["SerialNo"] == "S7", "pds %r" % pds)
        check([s["HDID"] for s in a0["spares"]] == [7] and a0["spares"][0]["Status_word"] == "global spare",
              "spares %r" % a0["spares"])
        vds = {v["ID"]: v for v in a0["vds"]}
        check(vds[0]["Status_word"] == "degraded" and vds[0]["Name"] == "mirror" and vds[0]["RaidMode_word"] == "RAID1",
              "vd 0 %r" % vds[0])
        act = vds[0]["activity"]
        check(act is not None and act["type_word"] == "rebuilding" and act["state_word"] == "running", "activity %r" % act)
        check(vds[3]["Status_word"] == "offline" and vds[3]["activity"] is None, "vd 3 %r" % vds[3])
        check(a0["errors"] == [] and doc["errors"] == [], "errors %r %r" % (a0["errors"], doc["errors"]))
        check("change_counters" in doc["events"], "events %r" % doc["events"])
        # Narrowed: one adapter, one kind of object.
        one = json.loads(run(arraystat, "--json", "--adapter", "1", "--object", "vd"))
        check([a["adapter"] for a in one["adapters"]] == [1] and one["adapters"][0]["pds"] == []
              and one["events"] is None, "narrowed %r" % one)
        run(arraystat, "--json", "--object", "disks", rc=2)
        run(arraystat, "--json", "--prometheus", rc=2)
        run(arraystat, rc=2)
    elif case == "prometheus":
        load()
        text = run(arraystat, "--prometheus")
        promtool("check", "metrics", stdin=text)
        for line in [
            'array_scrape_error 0',
            'array_adapters 2',
            'array_adapter_info{adapter="0",model="KX \\"Q\\" 1",serial="SER-A0"} 1',
            'array_battery_charge_ratio{adapter="0"} 0.15',
            'array_battery_low{adapter="0"} 1',
            'array_battery_temperature_celsius{adapter="0"} 41.5',
            'array_battery_present{adapter="1"} 0',
            'array_pd_state{adapter="0",pd="2",state="offline"} 1',
            'array_pd_state{adapter="0",pd="7",state="global spare"} 1',
            'array_pd_size_bytes{adapter="0",pd="0"} 1000204886016',
            'array_vd_state{adapter="0",vd="0",state="degraded"} 1',
            'array_vd_state{adapter="0",vd="3",state="offline"} 1',
            'array_vd_bga_state{adapter="0",vd="0",activity="rebuilding",state="running"} 1',
        ]:
            check(line in text.splitlines(), "missing line %s" % line)
        progress = [l for l in text.splitlines() if l.startswith('array_vd_bga_progress_ratio{adapter="0",vd="0"')]
        # The simulated activity moves on with the clock: 40% or a little more.
        check(len(progress) == 1 and 0.4 <= float(progress[0].split()[-1]) < 1, "progress %r" % progress)
    elif case == "fault":
        load()
        run(arraysim, "-a", "0", "fault", "KX_LD_GetInfo", "9")
        doc = json.loads(run(arraystat, "--json"))
        errs = doc["adapters"][0]["errors"]
        check(errs == [{"operation": "KX_LD_GetInfo", "status": 9, "message": errs[0]["message"] if errs else ""}]
              and doc["adapters"][0]["vds"] == [] and len(doc["adapters"][0]["pds"]) == 4, "fault json %r" % errs)
        text = run(arraystat, "--prometheus")
        promtool("check", "metrics", stdin=text)
        check('array_scrape_error{adapter="0",operation="KX_LD_GetInfo",status="9"} 1' in text.splitlines(),
              "fault sample missing")
        check("array_scrape_error 0" not in text, "no-error sample beside an error")
        # A library that cannot start still gives a document.
        run(arraysim, "-a", "0", "clear-fault", "KX_LD_GetInfo")
    elif case == "atomic":
        load()
        out = os.path.join(scratch, "textfile", "arraystat.prom")
        os.mkdir(os.path.dirname(out))
        run(arraystat, "--prometheus", "--output", out)
        whole = open(out).read()
        check(whole.endswith("\n") and "array_snapshot_timestamp_seconds" in whole, "first write")
        last_family = whole.splitlines()[-1].split("{")[0].split(" ")[0]
        stop = threading.Event()
        seen = {"reads": 0, "bad": 0}

        def reader():
            while not stop.is_set():
                with open(out) as f:
                    t = f.read()
                seen["reads"] += 1
                lines = t.splitlines()
                if not t.endswith("\n") or not lines or not lines[-1].startswith(last_family) \
                        or "array_scrape_error" not in t:
                    seen["bad"] += 1

        th = threading.Thread(target=reader)
        th.start()
        for _ in range(60):
            run(arraystat, "--prometheus", "--output", out)
        stop.set()
        th.join()
        check(seen["reads"] > 0 and seen["bad"] == 0, "reads %r" % seen)
        check(os.listdir(os.path.dirname(out)) == ["arraystat.prom"], "temporary files left: %r"
              % os.listdir(os.path.dirname(out)))
        # A directory that cannot be written: exit 1, the old file stays.
        run(arraystat, "--prometheus", "--output", os.path.join(scratch, "nodir", "x.prom"), rc=1)
    elif case == "rules":
        rules = os.path.join(here, "..", "..", "stat", "arraystat-alerts.yml")
        promtool("check", "rules", rules)
        shutil.copy(rules, os.path.join(scratch, "arraystat-alerts.yml"))
        shutil.copy(os.path.join(here, "alerts_test.yml"), scratch)
        p = subprocess.run(["promtool", "test", "rules", "alerts_test.yml"], cwd=scratch, capture_output=True, text=True)
        check(p.returncode == 0, "promtool test rules: %s%s" % (p.stdout, p.stderr))
    elif case == "smart":
        # The SMART pass and its cache read back by the snapshot: every
        # attribute whole (48-bit raw values), SAS disks without data,
        # a replaced disk's old data dropped, a disk that fails skipped.
        load("e2e.json")
        run(arraystat, "--smart", "--output", cache)
        doc = json.loads(run(arraystat, "--json", "--smart-cache", cache))
        check(doc["schema_version"] == 2 and doc["smart"]["ok"] and doc["smart"]["errors"] == [], "smart %r" % doc["smart"])
        pds = {p["HDID"]: p for p in doc["adapters"][0]["pds"]}
        check(pds[4]["smart"] == {"supported": False, "note": "SAS disk: no SMART data"}, "sas %r" % pds[4]["smart"])
        check(pds[1]["SmartThresholdExceeded"] is True and pds[0]["SmartThresholdExceeded"] is False, "flags")
        attrs = {a["Id"]: a for a in pds[0]["smart"]["attributes"]}
        check(attrs[9]["RawValue"] == 70000 and attrs[194]["RawValue"] == 30 and attrs[1]["ThresholdValue"] == 51
              and attrs[5]["AttributeName"] == "Reallocated_Sector_Ct", "attributes %r" % attrs)
        check(pds[2]["smart"]["known"] == {"reallocated_sectors": 10, "power_on_seconds": 41000 * 3600,
                                           "temperature_celsius": 58, "pending_sectors": 1, "udma_crc_errors": 3},
              "known %r" % pds[2]["smart"]["known"])
        vd = doc["adapters"][0]["vds"][0]["write_policy"]
        check(vd["asked"] == "write-back" and vd["effective"] == "write-through" and vd["fallback"]
              and vd["reason"] == "battery", "policy %r" % vd)
        els = doc["adapters"][0]["enclosures"][0]["elements"]
        hot = [e for e in els if e["type"] == 4 and e["elementID"] == 1][0]
        check(hot["celsius"] == 48 and hot["thresholds"] == {"highCritical": 50, "highWarning": 40,
                                                              "lowCritical": None, "lowWarning": -15}, "sensor %r" % hot)
        parts = {(c["collector"], c.get("adapter")): c["success"] for c in doc["collectors"]}
        check(parts[("expander", 0)] is False and parts[("vd", 0)] is True and parts[("smart", None)] is True,
              "collectors %r" % parts)
        # A full 48-bit raw value, and a disk that does not answer: its error
        # is kept, the others are read, and the pass tries it once.
        fx = json.load(open(os.path.join(here, "e2e.json")))
        fx["adapters"][0]["pds"][0]["smart"] = [{"id": 241, "name": "Total_LBAs_Written", "raw": [255] * 6}]
        fx["adapters"][0]["pds"][3]["smartOn"] = False
        # Disk 2 replaced by another one under the same ID after the pass.
        with open(os.path.join(scratch, "fx.json"), "w") as f:
            json.dump(fx, f)
        run(arraysim, "load", os.path.join(scratch, "fx.json"))
        run(arraystat, "--smart", "--output", cache)
        fx["adapters"][0]["pds"][2]["serial"] = "NEWDISK"
        with open(os.path.join(scratch, "fx.json"), "w") as f:
            json.dump(fx, f)
        run(arraysim, "load", os.path.join(scratch, "fx.json"))
        text = run(arraystat, "--prometheus", "--smart-cache", cache)
        promtool("check", "metrics", stdin=text)
        lines = text.splitlines()
        for line in ['array_pd_smart_attribute_raw{adapter="0",pd="0",id="241",name="Total_LBAs_Written"} 281474976710655',
                     'array_scrape_error{adapter="0",operation="KX_PD_GET_SMART_INFO",status="19",object="3"} 1',
                     'array_collector_success{collector="smart"} 0',
                     'array_pd_smart_supported{adapter="0",pd="4"} 0',
                     'array_pd_temperature_celsius{adapter="0",pd="1"} 31']:
            check(line in lines, "missing line %s" % line)
        check(not any(l.startswith('array_pd_temperature_celsius{adapter="0",pd="2"}') for l in lines),
              "the replaced disk shows the old disk's SMART data")
        smart = json.load(open(cache))
        tries = [d for d in smart["disks"] if d["HDID"] == 3]
        check(len(tries) == 1 and tries[0]["error"] == {"operation": "KX_PD_GET_SMART_INFO", "status": 19, "object": 3}
              and tries[0]["attributes"] == [], "failing disk %r" % tries)
        # No cache at all: the snapshot goes on and says so.
        text = run(arraystat, "--prometheus", "--smart-cache", os.path.join(scratch, "missing.json"))
        check('array_collector_success{collector="smart"} 0' in text.splitlines()
              and "array_smart_snapshot_timestamp_seconds" not in text, "missing cache")
        doc = json.loads(run(arraystat, "--json", "--smart-cache", "none"))
        check(doc["smart"] is None, "--smart-cache none")
    elif case == "check":
        golden_check(os.path.join(here, "check", "check.golden"))
    elif case == "metrics":
        # Every fixture of these tests is valid exposition, with and without
        # SMART data.
        for fx in sorted(glob.glob(os.path.join(here, "*.json")) + glob.glob(os.path.join(here, "check", "*.json"))):
            run(arraysim, "load", fx)
            promtool("check", "metrics", stdin=run(arraystat, "--prometheus", "--smart-cache", "none"))
            run(arraystat, "--smart", "--output", cache)
            promtool("check", "metrics", stdin=run(arraystat, "--prometheus", "--smart-cache", cache))
    else:
        failures.append("unknown case " + case)
finally:
    shutil.rmtree(scratch, ignore_errors=True)

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
