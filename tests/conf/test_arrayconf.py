#!/usr/bin/env python3
"""arrayconf through the real program over fixtures of the simulated
controller.

Usage: test_arrayconf.py BUILD_DIR CASE
  CASE: roundtrip, golden, fault, json, save

The golden case compares whole outputs with golden/*.golden: each run is
"=== <name>", "--- rc <status>", then what the program wrote (standard
output, then standard error). ARRAYCONF_UPDATE_GOLDEN=1 rewrites the files
instead (review the difference before committing it)."""
import copy
import json
import os
import shutil
import subprocess
import sys
import tempfile

BUILD = sys.argv[1]
CASE = sys.argv[2]
HERE = os.path.dirname(os.path.abspath(__file__))
CONF = os.path.join(BUILD, "conf", "arrayconf")
SIM = os.path.join(BUILD, "sim", "arraysim")
SCRATCH = tempfile.mkdtemp(prefix="arrayconf-test-")
ENV = dict(os.environ, ARRAYCORE_SIM_STATE=os.path.join(SCRATCH, "state.json"))
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL:", what)


def run(args, stdin=""):
    p = subprocess.run([CONF] + args, env=ENV, input=stdin, capture_output=True, text=True, timeout=60)
    return p.returncode, p.stdout, p.stderr


def sim(*args):
    subprocess.run([SIM] + list(args), env=ENV, check=True, stdout=subprocess.DEVNULL, timeout=60)


def load(fixture):
    sim("load", os.path.join(HERE, fixture))


def state():
    with open(ENV["ARRAYCORE_SIM_STATE"]) as f:
        return f.read()


def save(portable=False):
    rc, out, err = run(["save"] + (["--portable"] if portable else []))
    assert rc == 0, err
    return json.loads(out)


def write_doc(doc, name="doc.json"):
    path = os.path.join(SCRATCH, name)
    with open(path, "w") as f:
        json.dump(doc, f)
    return path


def adapter(doc):
    return doc["adapters"][0]


def find(items, name):
    return next(i for i in items if i.get("name") == name)


# ---------------------------------------------------------------- roundtrip

def case_roundtrip():
    """Save a configured controller, apply the document on a blank one,
    save again: equal. Applying twice changes nothing."""
    for kind in ("v2", "v1"):
        load(kind + ".json")
        saved = save()
        load(kind + "_blank.json")
        path = write_doc(saved)
        rc, out, err = run(["apply", path, "--yes"])
        check(rc == 0 and out.endswith("steps.\n") and "Applied" in out, "%s: first apply rc %d %s%s" % (kind, rc, out, err))
        check(save() == saved, "%s: the document saved after apply differs" % kind)
        before = state()
        rc, out, _ = run(["apply", path, "--yes"])
        check(rc == 0 and out == "Nothing to do: the controller matches the document.\n", "%s: second apply %d %s" % (kind, rc, out))
        check(state() == before, "%s: the second apply changed the state" % kind)
        rc, out, _ = run(["plan", path])
        check(rc == 0, "%s: plan after apply rc %d" % (kind, rc))

    # Other disks (other serial numbers, larger): a portable document
    # fits, a strict one is refused for every disk.
    load("v2.json")
    strict, portable = save(), save(portable=True)
    check("serial" not in adapter(portable) and all("serial" not in d for d in adapter(portable)["disks"]),
          "--portable leaves serial numbers out")
    other = json.load(open(os.path.join(HERE, "v2_blank.json")))
    for d in other["adapters"][0]["pds"]:
        d["serial"] = "OTHER%02d" % d["id"]
        d["size"] = 2 * d["size"]
    other_path = write_doc(other, "other.json")
    sim("load", other_path)
    rc, out, _ = run(["plan", write_doc(strict)])
    check(rc == 1 and out.count("as the document says") == 16, "strict document on other disks: %d\n%s" % (rc, out))
    rc, out, err = run(["apply", write_doc(portable), "--yes"])
    check(rc == 0, "portable apply: %d %s %s" % (rc, out, err))
    def sizes_aside(doc):
        for d in adapter(doc)["disks"]:
            del d["size"]
        return doc
    check(sizes_aside(save(portable=True)) == sizes_aside(copy.deepcopy(portable)),
          "portable round trip differs beyond the disks' sizes")
    rc, _, _ = run(["apply", write_doc(portable), "--yes"])
    check(rc == 0, "portable: second apply")


# ---------------------------------------------------------------- golden

class Golden:
    def __init__(self, name):
        self.path = os.path.join(HERE, "golden", name)
        self.text = ""

    def add(self, title, args, stdin=""):
        rc, out, err = run(args, stdin)
        self.text += "=== %s\n--- rc %d\n%s%s" % (title, rc, out, err.replace(SCRATCH, "TMP"))
        return rc

    def finish(self):
        if os.environ.get("ARRAYCONF_UPDATE_GOLDEN"):
            with open(self.path, "w") as f:
                f.write(self.text)
            return
        with open(self.path) as f:
            want = f.read()
        if want != self.text:
            got = self.path + ".out"
            with open(os.path.join(SCRATCH, os.path.basename(got)), "w") as f:
                f.write(self.text)
            import difflib
            sys.stdout.writelines(difflib.unified_diff(want.splitlines(True), self.text.splitlines(True),
                                                       "golden", "run"))
            failures.append(self.path)


def edited(base, edit):
    doc = copy.deepcopy(base)
    edit(adapter(doc))
    return write_doc(doc)


def plan_cases(g, fixture, base, cases):
    for title, edit in cases:
        load(fixture)
        before = state()
        g.add(title, ["plan", edited(base, edit)])
        check(state() == before, "plan changed the state: " + title)


def case_golden():
    g = Golden("plan.golden")
    load("v2.json")
    v2 = save()
    load("v1.json")
    v1 = save()

    def every_kind(a):
        a["settings"]["rates"]["rebuild"] = 60                        # set adapter
        find(a["arrays"], "alpha")["write_cache"] = False             # set array
        find(a["vds"], "data")["write_policy"] = "write-through"      # set VD
        a["disks"][9]["smart"] = False                                # set disk
        a["vds"] = [v for v in a["vds"] if v["name"] not in ("logs", "boot")]   # delete VDs
        a["arrays"] = [x for x in a["arrays"] if x["name"] != "beta"]  # delete array
        a["arrays"].append({"name": "gamma", "raid": "RAID0", "disks": [3, 12], "stripe": 128})  # partitioned
        a["vds"].append({"name": "fresh", "raid": "RAID0", "array": "gamma", "size": 1048576})
        a["spares"] = [{"disk": 6, "array": None}, {"disk": 8, "array": "alpha"}]

    def resize(a):
        find(a["vds"], "data")["size"] = 8388608

    def new_array(**kw):
        def edit(a):
            arr = {"name": "new", "raid": "RAID5", "disks": [8, 9, 14]}
            arr.update(kw)
            a["arrays"].append(arr)
        return edit

    def set_(path, value):
        def edit(a):
            obj = a
            for k in path[:-1]:
                obj = obj[k]
            obj[path[-1]] = value
        return edit

    plan_cases(g, "v2.json", v2, [
        ("array-based: the saved document, nothing to do", lambda a: None),
        ("array-based: every kind of step", every_kind),
        ("array-based: a VD of another size is made anew", resize),
        ("refused: a RAID level the adapter lacks", new_array(raid="tandem capacity")),
        ("refused: a disk count that does not fit", new_array(disks=[8, 9])),
        ("refused: parity disks for RAID5", new_array(parity=2)),
        ("refused: an offline disk", new_array(disks=[8, 9, 10])),
        ("refused: a foreign disk", new_array(disks=[8, 9, 11])),
        ("refused: disks of another sector size", new_array(disks=[8, 9, 13])),
        ("refused: a stripe size the adapter lacks", new_array(stripe=48 * 1024)),
        ("refused: a name with other characters", new_array(name="new-one")),
        ("refused: a name too long", new_array(name="a" * 17)),
        ("refused: a serial number that does not match", set_(["disks", 3, "serial"], "WRONG")),
        ("refused: a disk smaller than the document's", set_(["disks", 3, "size"], 99999999999)),
        ("refused: a disk that is not there", lambda a: a["disks"].append({"id": 29, "size": 1})),
        ("refused: another adapter", set_(["serial"], "KXOTHER")),
        ("refused: a VD below 100 MB", lambda a: a["vds"].append({"name": "tiny", "raid": "RAID5", "array": "alpha", "size": 50 * 1024})),
        ("refused: an array member's write cache", set_(["disks", 0, "write_cache"], False)),
        ("refused: VDs straight from disks here", lambda a: a.update(
            arrays=[], spares=[], vds=[{"name": "raw", "raid": "RAID1", "disks": [8, 9]}])),
    ])
    # Capabilities and states the fixture does not have.
    def fixture_with(name, change):
        fx = json.load(open(os.path.join(HERE, "v2.json")))
        change(fx["adapters"][0])
        path = write_doc(fx, name)
        return path

    for title, change, edit in [
        ("refused: alarm setting without a buzzer", lambda a: a["Adapter_Info"].update(AlarmSupport=0),
         set_(["settings", "alarm"], True)),
        ("refused: a VD cache setting the adapter lacks",
         lambda a: a["Adapter_Info"].update(AdvancedFeatures=(1 << 14) | (1 << 15)),
         lambda a: find(a["vds"], "data").update(write_policy="write-back", read_ahead=True)),
        ("refused: a spare standing in for a member", lambda a: a["pds"][5].update(HD_RAID_Status={"Status": 6}),
         lambda a: a.update(spares=[])),
        ("refused: a VD with an operating system on it", lambda a: a["vds"][1].update(os=True),
         lambda a: a.update(vds=[v for v in a["vds"] if v["name"] != "logs"])),
    ]:
        sim("load", fixture_with("special.json", change))
        g.add(title, ["plan", edited(v2, edit)])

    load("v2.json")
    sim("fault", "KX_DG_GetInfo", "19")
    g.add("refused: the adapter cannot be read", ["plan", write_doc(v2)])

    plan_cases(g, "v1.json", v1, [
        ("without arrays: the saved document, nothing to do", lambda a: None),
        ("without arrays: VDs made, replaced and deleted", lambda a: a.update(
            vds=[find(a["vds"], "mirror"), dict(find(a["vds"], "six"), stripe=128),
                 {"name": "r6", "raid": "RAID6", "parity": 3, "disks": [7, 9, 2, 3, 4], "size": 1048576}])),
        ("refused: arrays here", lambda a: (a.update(vds=[], spares=[]), new_array(disks=[7, 9, 3])(a))),
        ("refused: RAID6 parity beyond the disks", lambda a: a["vds"].append({"name": "r6", "raid": "RAID6", "parity": 3, "disks": [7, 9, 2]})),
        ("refused: an offline disk for a VD", lambda a: a["vds"].append({"name": "r1", "raid": "RAID1", "disks": [7, 8]})),
        ("refused: a name too long for a VD", lambda a: a["vds"].append({"name": "elevenchars", "raid": "RAID1", "disks": [7, 9]})),
    ])

    # Documents that are not layouts at all.
    for title, text in [
        ("document: not JSON", "{"),
        ("document: a newer schema", '{"schema_version": 2, "adapters": []}'),
        ("document: an unknown key", '{"schema_version": 1, "adapters": [{"adapter": 0, "disk": []}]}'),
        ("document: an unknown RAID level", json.dumps({"schema_version": 1, "adapters": [
            {"adapter": 0, "disks": [{"id": 0, "size": 1}], "arrays": [{"name": "x", "raid": "RAID7", "disks": [0]}]}]})),
        ("document: a size not in whole MB", json.dumps({"schema_version": 1, "adapters": [
            {"adapter": 0, "disks": [{"id": 0, "size": 1}], "arrays": [{"name": "x", "raid": "RAID0", "disks": [0], "size": 1000}]}]})),
        ("document: a disk in two arrays", json.dumps({"schema_version": 1, "adapters": [
            {"adapter": 0, "disks": [{"id": 0, "size": 1}], "arrays": [{"name": "x", "raid": "RAID0", "disks": [0]},
                                                                    {"name": "y", "raid": "RAID0", "disks": [0]}]}]})),
    ]:
        path = os.path.join(SCRATCH, "bad.json")
        with open(path, "w") as f:
            f.write(text)
        g.add(title, ["plan", path])
    g.add("usage: no document", ["plan"])
    g.finish()

    # apply: the question, the destroy guard, statuses.
    a = Golden("apply.golden")
    load("v2.json")
    destroy = edited(v2, lambda x: x.update(vds=[v for v in x["vds"] if v["name"] != "logs"]))
    before = state()
    a.add("a destructive plan without --allow-destroy", ["apply", destroy, "--yes"])
    check(state() == before, "refused destructive apply changed the state")
    a.add("end of input at the question", ["apply", destroy, "--allow-destroy"], "")
    a.add("declined after an answer that is neither", ["apply", destroy, "--allow-destroy"], "x\nno thanks\n")
    check(state() == before, "declined apply changed the state")
    a.add("accepted", ["apply", destroy, "--allow-destroy"], "yes\n")
    check(state() != before, "accepted apply changed nothing")
    a.add("again: nothing to do", ["apply", destroy])
    a.add("a refused document changes nothing", ["apply", edited(v2, new_array(disks=[8, 9])), "--yes"])
    a.finish()


# ---------------------------------------------------------------- fault

def case_fault():
    """A fault on the third step: two done, the rest not, exit 1; once
    the fault is lifted the next apply finishes the job."""
    load("v2.json")
    saved = save()
    path = write_doc(saved)
    load("v2_blank.json")
    rc, out, _ = run(["plan", path])
    steps = [l for l in out.splitlines() if l[2:4].strip().rstrip(".").isdigit()]
    check(rc == 2 and "create VD" in steps[2], "the third step is the first VD made: %s" % out)
    sim("fault", "KX_CreateOrModify_VD", "19")
    g = Golden("fault.golden")
    rc = g.add("a fault on the third step", ["apply", path, "--yes"])
    check(rc == 1, "apply with a fault exits 1")
    doc = save()
    check([x["name"] for x in adapter(doc)["arrays"]] == ["alpha", "beta"] and adapter(doc)["vds"] == [],
          "the two steps before the fault stay done, nothing after it ran")
    sim("clear-fault", "KX_CreateOrModify_VD")
    g.add("the fault lifted: the rest", ["apply", path, "--yes"])
    g.add("then nothing to do", ["plan", path])
    g.finish()
    check(save() == saved, "after the second apply the controller matches the document")


# ---------------------------------------------------------------- json

def case_json():
    load("v2.json")
    v2 = save()
    path = edited(v2, lambda a: (a.update(vds=[v for v in a["vds"] if v["name"] != "logs"]),
                                 a["settings"]["rates"].update(sync=70)))
    rc, out, _ = run(["plan", path, "--json"])
    j = json.loads(out)
    check(rc == 2 and j["changes"] and j["destructive"] and [s["action"] for s in j["steps"]] == ["delete_vd", "set_adapter"]
          and j["steps"][0]["destructive"] and "logs" in j["steps"][0]["destroys"] and j["refusals"] == [],
          "plan --json: %s" % out)
    rc, out, _ = run(["apply", path, "--json", "--yes"])
    j = json.loads(out)
    check(rc == 1 and not j["changed"] and j["error"] and all(s["result"] == "not_run" for s in j["steps"]),
          "apply --json without --allow-destroy: %s" % out)
    sim("fault", "KX_Adapter_SetConfig", "5")
    rc, out, _ = run(["apply", path, "--json", "--yes", "--allow-destroy"])
    j = json.loads(out)
    check(rc == 1 and j["changed"] and j["exit_status"] == 1 and [s["result"] for s in j["steps"]] == ["done", "failed"]
          and j["steps"][1]["status"] == 5 and j["steps"][1]["message"].startswith("Failed to configure adapter 0 (error 5"),
          "apply --json with a failing step: %s" % out)
    sim("clear-fault", "KX_Adapter_SetConfig")
    rc, out, _ = run(["apply", path, "--json", "--yes"])
    j = json.loads(out)
    check(rc == 0 and j["changed"] and [s["result"] for s in j["steps"]] == ["done"], "apply --json: %s" % out)
    rc, out, _ = run(["apply", path, "--json", "--yes"])
    j = json.loads(out)
    check(rc == 0 and not j["changed"] and j["steps"] == [], "apply --json again: %s" % out)
    rc, out, _ = run(["plan", edited(v2, lambda a: a["disks"].append({"id": 29, "size": 1})), "--json"])
    j = json.loads(out)
    check(rc == 1 and j["refusals"] == ["Unable to get info of PD 29 (error 9 : Invalid physical disk id)"],
          "plan --json refused: %s" % out)
    with open(os.path.join(SCRATCH, "bad.json"), "w") as f:
        f.write("[]")
    rc, out, _ = run(["plan", os.path.join(SCRATCH, "bad.json"), "--json"])
    check(rc == 1 and "document: an object is expected" in json.loads(out)["error"], "plan --json, bad document: %s" % out)


# ---------------------------------------------------------------- save

def case_save():
    load("v2.json")
    target = os.path.join(SCRATCH, "out", "layout.json")
    os.makedirs(os.path.dirname(target))
    with open(target, "w") as f:
        f.write("old\n")
    rc, out, err = run(["save", "-o", target])
    check(rc == 0 and out == "" and json.load(open(target)) == save(), "save -o: %d %s" % (rc, err))
    check(sorted(os.listdir(os.path.dirname(target))) == ["layout.json"], "save -o leaves no temporary file")
    check(oct(os.stat(target).st_mode & 0o777) == "0o644", "save -o file mode")
    rc, _, err = run(["save", "-o", os.path.join(SCRATCH, "missing", "x.json")])
    check(rc == 1 and "cannot create a temporary file" in err, "save into a missing directory: %d %s" % (rc, err))
    doc = save()
    check(doc["schema_version"] == 1 and adapter(doc)["serial"] == "KXSIM000000", "save: schema and serial")
    rc, out, _ = run(["save", "--adapter", "0"])
    check(rc == 0 and json.loads(out) == doc, "save --adapter 0")
    rc, _, err = run(["save", "--adapter", "3"])
    check(rc == 1 and "adapter 3 is not found" in err, "save --adapter 3: %s" % err)
    rc, _, err = run(["save", "--bogus"])
    check(rc == 1 and err.startswith("arrayconf: unknown"), "save usage error")
    sim("fault", "KX_LD_GetInfo", "19")
    rc, out, err = run(["save"])
    check(rc == 1 and out == "" and "KX_LD_GetInfo failed (error 19" in err, "save with a failing read: %s" % err)


# ---------------------------------------------------------------- export

def case_export():
    """The GUI's "Export configuration": the page through PHP's own web
    server on the loopback interface, with session files for an
    administrator and for another account."""
    import socket
    import time
    import urllib.error
    import urllib.request
    if not shutil.which("php"):
        print("SKIP: php is not installed")
        sys.exit(77)
    load("v2.json")
    sessions = os.path.join(SCRATCH, "sessions")
    os.makedirs(sessions)
    for sid, role in (("admin0123456789", "Administrator"), ("viewer012345678", "ValidUser")):
        with open(os.path.join(sessions, "sess_" + sid), "w") as f:
            f.write('user|s:4:"%s";csrf|s:2:"xx";role|s:%d:"%s";' % ("user", len(role), role))
    sock = socket.socket()
    sock.bind(("127.0.0.1", 0))
    port = sock.getsockname()[1]
    sock.close()
    web = os.path.join(os.path.dirname(os.path.dirname(HERE)), "web", "Vesta")
    env = dict(ENV, ARRAYCONF=os.path.abspath(CONF))
    server = subprocess.Popen(["php", "-n", "-S", "127.0.0.1:%d" % port, "-t", web,
                               "-d", "session.save_path=" + sessions, "-d", "session.use_strict_mode=1"],
                              env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    class NoRedirect(urllib.request.HTTPRedirectHandler):
        def redirect_request(self, *args):
            return None
    opener = urllib.request.build_opener(NoRedirect)

    def get(sid):
        req = urllib.request.Request("http://127.0.0.1:%d/export.php" % port)
        if sid:
            req.add_header("Cookie", "VESTASESSION=" + sid)
        try:
            r = opener.open(req, timeout=20)
            return r.status, dict(r.headers), r.read().decode()
        except urllib.error.HTTPError as e:
            return e.code, dict(e.headers), e.read().decode()
    try:
        deadline = time.time() + 10
        while True:
            try:
                socket.create_connection(("127.0.0.1", port), timeout=1).close()
                break
            except OSError:
                if time.time() > deadline:
                    raise
                time.sleep(0.1)
        status, headers, body = get("admin0123456789")
        check(status == 200 and headers.get("Content-Type", "").startswith("application/json")
              and headers.get("Content-Disposition", "").startswith('attachment; filename="raid-layout-')
              and json.loads(body) == save(), "export for an administrator: %d %s" % (status, headers))
        status, _, body = get("viewer012345678")
        check(status == 403 and "only an administrator" in body and "adapters" not in body, "export for a viewer: %d" % status)
        status, headers, _ = get(None)
        check(status == 303 and headers.get("Location") == "login.php", "export without a session: %d" % status)
        sim("fault", "KX_DG_GetInfo", "19")
        status, _, body = get("admin0123456789")
        check(status == 200 and 'class="error"' in body and "KX_DG_GetInfo failed (error 19" in body,
              "export of a controller that cannot be read: %d %s" % (status, body))
    finally:
        server.terminate()
        server.wait(timeout=10)


try:
    {"export": case_export, "roundtrip": case_roundtrip, "golden": case_golden, "fault": case_fault, "json": case_json,
     "save": case_save}[CASE]()
finally:
    shutil.rmtree(SCRATCH, ignore_errors=True)
if failures:
    print("%d failure(s)" % len(failures))
    sys.exit(1)
print("ok")
