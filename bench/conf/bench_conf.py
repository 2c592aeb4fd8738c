#!/usr/bin/env python3
"""Cost of "arrayconf plan" over 128 disks and 32 VDs (8 arrays of 16
disks, 4 VDs each) against "arrayctl ver" in the same run, process start
included, each a fresh process over the same simulated controller. The
document is the controller's own with one rate changed, so the plan reads
everything, matches every object and has one step to print. Rounds are
interleaved so a slow moment of the machine falls on both alike; medians
are compared. Target: arrayconf plan at most 3x arrayctl ver.

Usage: bench_conf.py BUILD_DIR [rounds]    (exit 1 when the target is missed)"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from simbench import load_fixture, timed  # noqa: E402

build = sys.argv[1]
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 30
scratch = tempfile.mkdtemp()
try:
    arrays, vds = [], []
    for g in range(8):
        members = list(range(16 * g, 16 * g + 16))
        arrays.append({"id": g, "name": "array%d" % g, "raid": 5, "pds": members})
        for k in range(4):
            vds.append({"id": 4 * g + k, "name": "vd%d" % (4 * g + k), "array": g, "raid": 5, "pds": members,
                        "size": 1048576 * (k + 1)})
    fixture = {"adapters": [{
        "Adapter_Info": {"MaxDiskGroup": 8, "MaxVDPerDG": 4, "MaxBufferSize": 64, "MaxHD": 128,
                         "MaxLogicalDrive": 32},
        "bgaSpeed": 0,
        "pds": [{"id": i, "size": 10485760} for i in range(128)],
        "arrays": arrays, "vds": vds,
    }]}
    env = load_fixture(build, scratch, fixture)
    conf = os.path.join(build, "conf", "arrayconf")
    doc = json.loads(subprocess.run([conf, "save"], env=env, check=True, capture_output=True, text=True).stdout)
    a = doc["adapters"][0]
    assert len(a["disks"]) == 128 and len(a["vds"]) == 32, "fixture not read"
    a["settings"]["rates"]["rebuild"] = 10
    path = os.path.join(scratch, "layout.json")
    with open(path, "w") as f:
        json.dump(doc, f)
    plan_cmd = [conf, "plan", path]
    ver_cmd = [os.path.join(build, "cli", "arrayctl"), "ver"]
    p = subprocess.run(plan_cmd, env=env, capture_output=True, text=True)
    assert p.returncode == 2 and p.stdout.endswith("1 step.\n"), p.stdout

    plan_ms, ver_ms = [], []
    for _ in range(rounds):
        ver_ms.append(timed(ver_cmd, env))
        plan_ms.append(timed(plan_cmd, env, 2))
    v, s = statistics.median(ver_ms), statistics.median(plan_ms)
    print("arrayctl ver                                 %8.2f ms" % v)
    print("arrayconf plan (128 PDs, 8 arrays, 32 VDs)   %8.2f ms  %.2fx ver (target 3x)" % (s, s / v))
    sys.exit(0 if s <= 3 * v else 1)
finally:
    shutil.rmtree(scratch, ignore_errors=True)
