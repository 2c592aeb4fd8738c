#!/usr/bin/env python3
"""The overview page of an adapter with 128 disks and 32 VDs, served by the
real Apache and module, against the module's own time for the requests the
page makes (measured in the same run, in one PHP process). The page must
take less than 4 times the module's time.

Run as root (a throw-away worker account, Apache): bench/gui/bench_overview.py [build dir] [rounds]"""
import json
import re
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.abspath(os.path.join(HERE, "../.."))
os.environ.setdefault("ARRAY_SOURCE_DIR", SOURCE)
if len(sys.argv) > 1:
    os.environ["ARRAY_BUILD_DIR"] = os.path.abspath(sys.argv[1])
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 30
sys.path.insert(0, os.path.join(SOURCE, "tests/gui"))
from guienv import BUILD, Client, GuiEnv  # noqa: E402


def fixture():
    """One adapter without arrays: 128 disks, 32 RAID5 VDs of four disks
    each, every fourth VD checking its consistency."""
    vds = []
    for v in range(32):
        vd = {"id": v, "name": "vd%02d" % v, "raid": 5, "pds": list(range(4 * v, 4 * v + 4)), "initialized": True}
        if v % 4 == 0:
            vd["bga"] = {"type": 2, "state": "running", "percent": 10}
        vds.append(vd)
    return {"adapters": [{"Adapter_Info": {"MaxDiskGroup": 0, "MaxHD_Ext": 256, "MaxLogicalDrive": 32},
                          "pds": [{"id": p} for p in range(128)], "vds": vds}]}


def main():
    with GuiEnv(limit_s=600) as env:
        path = os.path.join(env.tmp, "fixture.json")
        with open(path, "w") as f:
            json.dump(fixture(), f)
        env.tool("arraysim", "load", path)
        c = Client(env)
        c.log_on()
        _, page = c.get("overview.php")
        assert page.count('<tr id="pd-0-') == 128 and page.count('<tr id="vd-0-') == 32, "the fixture is not shown"
        for _ in range(10):  # every worker initialises the module once
            c.get("overview.php")
        served = []
        for _ in range(ROUNDS):
            began = time.perf_counter()
            status, page = c.get("overview.php")
            served.append(time.perf_counter() - began)
            assert status == 200 and page.endswith("</body></html>\n")
        plain = []
        for _ in range(ROUNDS):
            began = time.perf_counter()
            c.get("stamp.php")
            plain.append(time.perf_counter() - began)
        ipc = os.path.join(env.tmp, "ipc")
        os.mkdir(ipc)
        out = subprocess.run(["php", "-d", "extension=" + os.path.join(BUILD, "backend/phpdll/arrayrpc.so"),
                              os.path.join(HERE, "overview_requests.php"), str(ROUNDS)],
                             env=dict(env.env, ARRAYRPC_IPC_DIR=ipc), capture_output=True, text=True, check=True).stdout
        calls, module_ms = re.search(r"overview requests: (\d+) in ([\d.]+) ms", out).groups()
        page_ms = min(served) * 1000
        ratio = page_ms / float(module_ms)
        print("overview page, 128 disks and 32 VDs: best of %d: %.2f ms served; its %s module requests: %.2f ms; "
              "ratio %.2f (limit 4)" % (ROUNDS, page_ms, calls, float(module_ms), ratio))
        print("for comparison, the smallest page with a session and one module request (stamp.php): %.2f ms"
              % (min(plain) * 1000))
        sorted_served = sorted(served)
        print("served: median %.2f ms, worst %.2f ms" % (sorted_served[len(served) // 2] * 1000, sorted_served[-1] * 1000))
        return 0 if ratio < 4 else 1


if __name__ == "__main__":
    sys.exit(main())
