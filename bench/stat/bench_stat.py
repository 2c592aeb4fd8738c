#!/usr/bin/env python3
"""Cost of "arraystat --prometheus" (the minutely snapshot, reading the
SMART cache) over 128 disks and 32 VDs against "arrayctl ver" in the same
run, process start included, each a fresh process over the same simulated
controller; beside them the SMART pass ("arraystat --smart") over the 128
disks, reported per disk. Rounds are interleaved so a slow moment of the
machine falls on all alike; medians are compared.
Target: the snapshot at most 3x arrayctl ver (the SMART pass has none: on
real controllers it is the disks' time, and it runs on its own timer).

Usage: bench_stat.py BUILD_DIR [rounds]    (exit 1 when the target is missed)"""
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
    fixture = {"adapters": [{
        "Adapter_Info": {"MaxDiskGroup": 0, "MaxBufferSize": 64, "MaxHD": 128, "MaxLogicalDrive": 32},
        "pds": [{"id": i, "HD_Info": {"Model": "DISK %d" % i, "Size": 976762584},
                 "HD_RAID_Status": {"Status": 2}} for i in range(128)],
        "vds": [{"id": v, "LD_Info": {"RaidMode": 1, "Name": "vd%d" % v, "Status": 0},
                 "LD_Status": {"Bga": 2, "BgaState": 1, "BgaPercentage": 10}} for v in range(32)],
        "enclosures": [{"id": 0}],
    }]}
    env = load_fixture(build, scratch, fixture)
    cache = os.path.join(scratch, "smart.json")
    smart_cmd = [os.path.join(build, "stat", "arraystat"), "--smart", "--output", cache]
    stat_cmd = [os.path.join(build, "stat", "arraystat"), "--prometheus", "--smart-cache", cache]
    ver_cmd = [os.path.join(build, "cli", "arrayctl"), "ver"]
    subprocess.run(smart_cmd, env=env, check=True)
    out = subprocess.run(stat_cmd, env=env, check=True, capture_output=True, text=True).stdout
    assert out.count("array_pd_state{") == 128 and out.count("array_vd_state{") == 32, "fixture not read"
    assert out.count("array_pd_temperature_celsius{") == 128, "SMART cache not read"

    stat_ms, ver_ms, smart_ms, per_disk_ms = [], [], [], []
    for _ in range(rounds):
        ver_ms.append(timed(ver_cmd, env))
        stat_ms.append(timed(stat_cmd, env))
        smart_ms.append(timed(smart_cmd, env))
        with open(cache) as f:
            disks = json.load(f)["disks"]
        assert len(disks) == 128 and not any(d["error"] for d in disks), "SMART pass incomplete"
        per_disk_ms.extend(d["seconds"] * 1000 for d in disks)
    v, s = statistics.median(ver_ms), statistics.median(stat_ms)
    m = statistics.median(smart_ms)
    print("arrayctl ver                              %8.2f ms" % v)
    print("arraystat --prometheus (128 PDs, 32 VDs)  %8.2f ms  %.2fx ver (target 3x)" % (s, s / v))
    print("arraystat --smart (128 PDs)               %8.2f ms  %.3f ms per disk (whole pass / 128)" % (m, m / 128))
    print("  one disk's SMART read, in the pass      %8.3f ms median, %.3f ms slowest of %d"
          % (statistics.median(per_disk_ms), max(per_disk_ms), len(per_disk_ms)))
    sys.exit(0 if s <= 3 * v else 1)
finally:
    shutil.rmtree(scratch, ignore_errors=True)
