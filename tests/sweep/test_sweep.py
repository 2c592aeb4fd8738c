#!/usr/bin/env python3
"""Every command and GUI request that changes the controller, with each
of its changing calls failed in turn.

Usage: test_sweep.py BUILD_DIR

For each command of CASES: a clean run tells, from its audit record, the
changing calls it makes (arrayconf keeps no audit record: every call of
a changing operation is failed in turn); then for each changing call a
run over the same fixture fails that call alone (a counted fault of the
simulated controller, status 1) and the command must

  - end with a non-zero status,
  - say what failed (a line naming a failure),
  - leave the controller as it says: what it printed and the change of
    the state file are compared with sweep.golden, reviewed by hand;
  - or, for a step a later one makes good (MADE_GOOD), end as the clean
    run does with the same change of the state.
SWEEP_ONLY=<text> runs the cases whose name holds it and prints their
report.

SWEEP_UPDATE_GOLDEN=1 rewrites sweep.golden instead (review the
difference before committing it)."""
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile

BUILD = sys.argv[1]
HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(HERE)
ARRAYCTL = os.path.join(BUILD, "cli", "arrayctl")
ARRAYCONF = os.path.join(BUILD, "conf", "arrayconf")
GOLDEN = os.path.join(HERE, "sweep.golden")
PHP = shutil.which("php")
MODULE = os.path.join(BUILD, "backend", "phpdll", "arrayrpc.so")
STATUS_TEXTS = os.path.join(BUILD, "web", "lib")
FAULT_STATUS = 1
NEVER = 1 << 30  # a call count no command reaches: counts calls, fails none

# name, tool, fixture (under tests/), arguments, standard input.
# %DATA% is the fixture's folder.
CASES = [
    ("create array", "arrayctl", "create/golden/v2.json", "create -o array -r 5 -d 7,8,9 --cacheon", ""),
    ("create packagevd", "arrayctl", "create/golden/v2.json",
     "create -o packagevd -r 5 -d 7,8,9 -n pkg --cacheon", ""),
    ("set pd", "arrayctl", "setget/golden/v2.json", "set -o pd -i 3 --cacheoff --setoffline", ""),
    ("set pd (v1)", "arrayctl", "setget/golden/v1.json", "set -o pd -i 4 --cacheoff --setoffline", ""),
    ("set vd", "arrayctl", "setget/golden/v2.json", "set -o vd -i 0 --writethrough --readaheadon -n data_1", ""),
    ("flash update", "arrayctl", "flash/golden/flash.json", "flash -a update -f %DATA%/bios.img -t bios", ""),
    # Adapter 1 takes its firmware twice (a second image).
    ("flash update firmware twice", "arrayctl", "flash/golden/flash.json",
     "flash -a update -f %DATA%/firmware.img -t firmware -i 1", ""),
    ("flash erase", "arrayctl", "flash/golden/flash.json", "flash -a erase -t bios", "y\n"),
    ("migrate", "arrayctl", "bga/golden/bga_v2.json", "migrate -l 10 -r 6 -d 23,24,25,26", ""),
    ("delete vd in consistency check", "arrayctl", "bga/golden/bga_v1.json", "delete -o vd -i 1", "y\ny\n"),
    ("ssdop create", "arrayctl", "ssd/golden/laurel.json", "ssdop -a create -d Enable -w MAXIMUM", "y\nCONFIRM\n"),
    ("wipe", "arrayctl", "bga/golden/bga_v1.json", "wipe -d 13 -f", ""),
    # The GUI's create and spares pages: one request each, through the
    # module as PHP loads it.
    ("gui create array", "php", "create/golden/v2.json",
     "KX_DG_Create AdapterID=0 RaidMode=5 PDCount=3 \"PDIDs=7 8 9\" Name=web Size=0 InitializationOption=0", ""),
    ("gui create vd in slot", "php", "create/golden/v2.json",
     "KX_LD_Create_OnDG AdapterID=0 DGID=0 DGSlotNum=1 Name=web Size=1024 SectorCoefficient=1 InitializationOption=0",
     ""),
    ("gui spare", "php", "create/golden/v2.json", "KX_PD_FreeHD2GlobalSpare AdapterID=0 HD_ID=7", ""),
    # %DOC%: the document saved from conf/v2.json, applied on its blank
    # twin; %BLANK%: the blank one's, applied on conf/v2.json.
    ("arrayconf apply", "arrayconf", "conf/v2_blank.json", "apply %DOC% --yes", ""),
    ("arrayconf apply destroying", "arrayconf", "conf/v2.json", "apply %BLANK% --yes --allow-destroy", ""),
]

# Steps whose failure a later step makes good: the command must then end
# as the clean run does, with the same change of the controller.
MADE_GOOD = {
    # The delete itself stops what runs on the VD (its stop flag).
    ("delete vd in consistency check", "KX_LD_BGAControl"),
    ("ssdop create", "KX_LD_BGAControl"),
}

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL:", what)


def split_args(text):
    return [a.replace("\x00", " ") for a in re.sub(r'"([^"]*)"', lambda m: m.group(1).replace(" ", "\x00"),
                                                     text).split(" ")]


def run_tool(scratch, tool, args, stdin):
    """Runs the tool over scratch/state.json; returns (rc, output, calls),
    calls being the (operation, adapter, status) list of its audit record."""
    sock_path = os.path.join(scratch, "audit.sock")
    if os.path.exists(sock_path):
        os.unlink(sock_path)
    log = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
    log.bind(sock_path)
    env = dict(os.environ, ARRAYCORE_SIM_STATE=os.path.join(scratch, "state.json"), ARRAY_DB_DIR=scratch,
               ARRAY_CLOCK_FILE=os.path.join(scratch, "clock"),
               ARRAY_SG_DEVICE=os.path.join(scratch, "no-sg-device"), ARRAY_SG_WAIT="0", ARRAY_SSD_WAIT="0", TZ="UTC",
               ARRAY_AUDIT_SOCKET=sock_path)
    if tool == "php":
        env["ARRAYRPC_IPC_DIR"] = scratch
        command = [PHP, "-d", "extension=" + MODULE, "-d", "include_path=" + STATUS_TEXTS,
                   os.path.join(HERE, "request.php")]
    else:
        command = [ARRAYCTL if tool == "arrayctl" else ARRAYCONF]
    try:
        p = subprocess.run(command + args, env=env, input=stdin, capture_output=True, text=True, timeout=120)
        records = []
        log.setblocking(False)
        while True:
            try:
                records.append(log.recv(65536).decode())
            except BlockingIOError:
                break
    finally:
        log.close()
    out = p.stdout.replace("Wait for SG driver ready.\n", "") + re.sub(r"cli :error opening SG device .*\n", "",
                                                                        p.stderr)
    if tool == "php":
        # The module's own trace of each request.
        out = "".join(l for l in out.splitlines(True) if not l.startswith(("PHP module ", "PHP_FUNCTION")))
    calls = []
    for rec in records:
        m = re.search(r' calls="([^"]*)"', rec)
        if m and m.group(1):
            for c in m.group(1).split(","):
                if c == "...":
                    continue
                op, rest = c.split("@")
                adapter, status = rest.split("=")
                calls.append((op, int(adapter), int(status)))
    return p.returncode, out, calls


# Parts of the state that every call changes or that only count.
VOLATILE = {"events", "faults", "nextSequenceNo", "since", "percent", "created"}


def stripped(value):
    """The value without its volatile parts."""
    if isinstance(value, dict):
        return {k: stripped(v) for k, v in value.items() if k not in VOLATILE}
    if isinstance(value, list):
        return [stripped(v) for v in value]
    return value


def keyed(items):
    """A list of objects with ids as a map by id."""
    if all(isinstance(i, dict) and "id" in i for i in items):
        return {str(i["id"]): i for i in items}
    return None


def diff(before, after, path=""):
    """The changes from before to after, one line each."""
    lines = []
    if isinstance(before, dict) and isinstance(after, dict):
        for k in sorted(set(before) | set(after)):
            if k in VOLATILE:
                continue
            p = path + "/" + k
            if k not in after:
                lines.append("- " + p)
            elif k not in before:
                lines.append("+ " + p + " " + json.dumps(stripped(after[k]), sort_keys=True)[:200])
            else:
                lines += diff(before[k], after[k], p)
    elif isinstance(before, list) and isinstance(after, list) and keyed(before) is not None \
            and keyed(after) is not None:
        lines += diff(keyed(before), keyed(after), path)
    elif isinstance(before, list) and isinstance(after, list) and len(before) == len(after):
        for i, (b, a) in enumerate(zip(before, after)):
            lines += diff(b, a, path + "/" + str(i))
    elif before != after:
        lines.append("~ " + path + " " + json.dumps(after, sort_keys=True)[:160])
    return lines


def state_of(scratch):
    """The state as the simulated controller tells it (every field)."""
    p = subprocess.run([os.path.join(BUILD, "sim", "arraysim"), "-f", os.path.join(scratch, "state.json"), "dump"],
                       capture_output=True, text=True, timeout=60)
    return json.loads(p.stdout)


def with_faults(fixture_doc, faults):
    doc = json.loads(json.dumps(fixture_doc))
    for a in doc.get("adapters", []):
        f = a.setdefault("faults", {})
        for op, call in faults.items():
            f[op] = {"status": FAULT_STATUS, "call": call}
    return doc


def run_case(scratch, tool, fixture_doc, faults, args, stdin):
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    with open(os.path.join(scratch, "state.json"), "w") as f:
        json.dump(with_faults(fixture_doc, faults), f)
    before = state_of(scratch)
    rc, out, calls = run_tool(scratch, tool, args, stdin)
    return rc, out, calls, diff(before, state_of(scratch)), state_of(scratch)


FAILURE_WORDS = re.compile(r"fail|error|unable|not done|could not|can ?not|aborted", re.I)


def sweep(name, tool, fixture, argline, stdin, report):
    fixture_path = os.path.join(TESTS, fixture)
    with open(fixture_path) as f:
        fixture_doc = json.load(f)
    args = [a.replace("%DATA%", os.path.dirname(fixture_path)).replace("%DOC%", DOCS["v2"]).replace("%BLANK%", DOCS["v2_blank"]) for a in split_args(argline)]
    scratch = os.path.join(SCRATCH, "run")
    def run(faults):
        rc, out, calls, changes, st = run_case(scratch, tool, fixture_doc, faults, args, stdin)
        out = out.replace(os.path.dirname(fixture_path), "%DATA%").replace(SCRATCH, "%SCRATCH%")
        return rc, out, calls, changes, st

    rc, out, calls, clean_changes, _ = run({})
    report.append("### %s: %s" % (name, argline))
    if tool != "arrayconf":
        check(rc == 0 and calls and all(c[2] == 0 for c in calls),
              "%s: the clean run failed (rc %d)\n%s" % (name, rc, out))
        report.append("calls: " + ",".join("%s@%d" % c[:2] for c in calls))
        ops = sorted({c[0] for c in calls})
    else:
        # No audit record: every changing operation is a candidate.
        check(rc == 0, "%s: the clean run failed (rc %d)\n%s" % (name, rc, out))
        ops = CHANGING
    # How many calls of each operation the command makes, reads included:
    # the fault's counter after a run with counters that never strike.
    _, _, _, _, st = run({op: NEVER for op in ops})
    made = {op: max(a.get("faults", {}).get(op, {}).get("made", 0) for a in st["adapters"]) for op in ops}
    cases = {}
    for op in ops:
        for n in range(1, made[op] + 1):
            rc, out, got, changes, _ = run({op: n})
            if tool != "arrayconf":
                failed = [i for i, c in enumerate(got) if c[2] != 0]
                if not failed or got[failed[0]][0] != op:
                    continue  # the n-th call was a read
                cases[failed[0]] = (op, n, rc, out, changes)
            else:
                cases[len(cases)] = (op, n, rc, out, changes)
    if tool != "arrayconf":
        check(len(cases) == len(calls), "%s: %d of %d changing calls failed in turn" % (name, len(cases), len(calls)))
    total = len(calls)
    for step in sorted(cases):
        op, n, rc, out, changes = cases[step]
        what = "%s: step %d (%s call %d) failed" % (name, step + 1, op, n)
        if (name, op) in MADE_GOOD:
            check(rc == 0 and changes == clean_changes, what + ": not made good by the later steps\n" + out)
        else:
            check(rc != 0, what + ": exit status 0\n" + out)
            check(FAILURE_WORDS.search(out), what + ": nothing says so\n" + out)
        if tool != "arrayconf":
            report.append("=== step %d of %d: %s (call %d) fails" % (step + 1, total, op, n))
        else:
            report.append("=== %s (call %d) fails" % (op, n))
        report.append("--- rc %d" % rc)
        report.append(out.rstrip("\n"))
        report.append("--- state")
        report += changes


def changing_operations():
    with open(os.path.join(os.path.dirname(TESTS), "client", "audit_calls.cpp")) as f:
        return sorted(set(re.findall(r"^AUDITED\((KX_\w+)", f.read(), re.M)))


def main():
    global SCRATCH, DOCS, CHANGING
    if not PHP or not os.path.exists(MODULE):
        print("skipped: the GUI's requests need php and the arrayrpc module")
        return 77
    SCRATCH = tempfile.mkdtemp(prefix="sweep-test-")
    CHANGING = changing_operations()
    report = []
    try:
        # The documents arrayconf applies: what the fixtures hold.
        DOCS = {}
        for kind in ("v2", "v2_blank"):
            DOCS[kind] = os.path.join(SCRATCH, kind + ".doc.json")
            env = dict(os.environ, ARRAYCORE_SIM_STATE=os.path.join(SCRATCH, "saved.json"))
            shutil.copy(os.path.join(TESTS, "conf", kind + ".json"), env["ARRAYCORE_SIM_STATE"])
            saved = subprocess.run([ARRAYCONF, "save"], env=env, capture_output=True, text=True, timeout=60)
            check(saved.returncode == 0, "arrayconf save: " + saved.stderr)
            with open(DOCS[kind], "w") as f:
                f.write(saved.stdout)
        only = os.environ.get("SWEEP_ONLY")
        for case in CASES:
            if not only or only in case[0]:
                sweep(*case, report)
    finally:
        shutil.rmtree(SCRATCH, ignore_errors=True)
    text = "\n".join(report) + "\n"
    if os.environ.get("SWEEP_UPDATE_GOLDEN"):
        with open(GOLDEN, "w") as f:
            f.write(text)
    elif not os.environ.get("SWEEP_ONLY"):
        with open(GOLDEN) as f:
            want = f.read()
        if want != text:
            import difflib
            sys.stdout.writelines(difflib.unified_diff(want.splitlines(True), text.splitlines(True), GOLDEN, "got"))
            failures.append("output differs from sweep.golden")
    else:
        sys.stdout.write(text)
    if failures:
        print("%d failures" % len(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
