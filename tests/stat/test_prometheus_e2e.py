#!/usr/bin/env python3
"""arraystat under the real monitoring stack: test_prometheus_e2e.py BUILD_DIR

Debian's prometheus-node-exporter reads arraystat's textfile directory and
prometheus scrapes it with the shipped alerting rules, both on loopback
ports of their own (whatever runs from the packages' own services is left
alone), started and stopped here. Over a controller with a disk predicting
its failure, another one hot and losing sectors, a hot enclosure sensor, a
failed fan, a VD whose write cache fell back to write-through (failed
battery), a failing collection part and SMART data gone stale, every new
alert must fire, for those objects only, and every query of the shipped
Grafana dashboard must return data. Bounded: it gives up after two minutes."""
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import shutil
import time
import urllib.parse
import urllib.request

build = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))
top = os.path.join(here, "..", "..")
arraystat = os.path.join(build, "stat", "arraystat")
arraysim = os.path.join(build, "sim", "arraysim")
scratch = tempfile.mkdtemp()
env = dict(os.environ, ARRAYCORE_SIM_STATE=os.path.join(scratch, "state.json"), ARRAY_DB_DIR=scratch)
deadline = time.monotonic() + 110
failures = []
procs = []


def check(cond, what):
    if not cond:
        failures.append(what)


def run(*args):
    subprocess.run(list(args), env=env, check=True, capture_output=True, text=True)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start(name, args):
    log = open(os.path.join(scratch, name + ".log"), "w")
    # A session of its own, so that stopping it reaches every process it made.
    p = subprocess.Popen(args, stdout=log, stderr=subprocess.STDOUT, start_new_session=True, cwd=scratch)
    procs.append((name, p))
    return p


def stop_all():
    for name, p in procs:
        if p.poll() is None:
            os.killpg(p.pid, signal.SIGTERM)
    for name, p in procs:
        try:
            p.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()


def api(port, path, **params):
    url = "http://127.0.0.1:%d/api/v1/%s" % (port, path)
    if params:
        url += "?" + urllib.parse.urlencode(params)
    with urllib.request.urlopen(url, timeout=3) as r:
        doc = json.load(r)
    if doc.get("status") != "success":
        raise RuntimeError("%s: %r" % (path, doc))
    return doc["data"]


def wait_for(what, probe, step=0.5):
    """probe() until it returns something true or the test's time is up."""
    last = None
    while time.monotonic() < deadline:
        try:
            last = probe()
            if last:
                return last
        except (OSError, RuntimeError, ValueError) as e:
            last = e
        time.sleep(step)
    failures.append("gave up waiting for %s (last: %r)" % (what, last))
    return None


textdir = os.path.join(scratch, "textfile")
os.mkdir(textdir)
prom_file = os.path.join(textdir, "arraystat.prom")
cache = os.path.join(scratch, "smart.json")
fixture = json.load(open(os.path.join(here, "e2e.json")))


def write_fixture_and_snapshot():
    with open(os.path.join(scratch, "fixture.json"), "w") as f:
        json.dump(fixture, f)
    run(arraysim, "load", os.path.join(scratch, "fixture.json"))
    run(arraystat, "--smart", "--output", cache)


try:
    write_fixture_and_snapshot()
    run(arraystat, "--prometheus", "--smart-cache", cache, "--output", prom_file)

    rules = os.path.join(scratch, "arraystat-alerts.yml")
    shutil.copy(os.path.join(top, "stat", "arraystat-alerts.yml"), rules)
    ne_port, prom_port = free_port(), free_port()
    with open(os.path.join(scratch, "prometheus.yml"), "w") as f:
        f.write("global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
                "rule_files:\n  - %s\n"
                "scrape_configs:\n  - job_name: node\n    static_configs:\n      - targets: ['127.0.0.1:%d']\n"
                % (rules, ne_port))
    start("node_exporter", ["prometheus-node-exporter", "--web.listen-address=127.0.0.1:%d" % ne_port,
                            "--collector.disable-defaults", "--collector.textfile",
                            "--collector.textfile.directory=" + textdir])
    start("prometheus", ["prometheus", "--config.file=" + os.path.join(scratch, "prometheus.yml"),
                         "--storage.tsdb.path=" + os.path.join(scratch, "data"),
                         "--web.listen-address=127.0.0.1:%d" % prom_port])

    def value(query):
        r = api(prom_port, "query", query=query)["result"]
        return float(r[0]["value"][1]) if r else None

    # The first snapshot is in Prometheus.
    wait_for("the first scrape", lambda: value('array_pd_reallocated_sectors{pd="2"}') == 10)
    # Disk 2 loses two more sectors; the SMART pass that saw it is then
    # left to age (its time set back two hours), as when its timer stops.
    fixture["adapters"][0]["pds"][2]["smart"][0]["raw"] = 12
    write_fixture_and_snapshot()
    with open(cache) as f:
        doc = json.load(f)
    doc["taken_at"] -= 7200
    with open(cache, "w") as f:
        json.dump(doc, f)
    run(arraystat, "--prometheus", "--smart-cache", cache, "--output", prom_file)

    # Each new alert, and the objects it must fire for (and no other).
    expected = {
        "ArrayDiskPredictiveFailure": [{"pd": "1"}],
        "ArrayDiskSectorsGrowing": [{"pd": "2"}],
        "ArrayDiskTemperatureHigh": [{"pd": "2"}],
        "ArrayEnclosureTemperatureHigh": [{"enclosure": "0", "element": "1"}],
        "ArrayEnclosureFanOrPowerFailed": [{"type": "cooling", "element": "1"}],
        "ArrayWriteCacheFallback": [{"vd": "0"}],
        "ArraySmartDataStale": [{}],
        "ArrayCollectorFailed": [{"collector": "expander"}],
    }

    def firing():
        alerts = api(prom_port, "alerts")["alerts"]
        got = {}
        for a in alerts:
            if a["state"] == "firing" and a["labels"]["alertname"] in expected:
                got.setdefault(a["labels"]["alertname"], []).append(a["labels"])
        return got if set(got) == set(expected) else None

    got = wait_for("every new alert to fire", firing, step=1) or {}
    for name, objects in expected.items():
        labels = got.get(name, [])
        check(len(labels) == len(objects) and all(
            any(all(l.get(k) == v for k, v in o.items()) for l in labels) for o in objects),
            "%s fires for %r, expected %r" % (name, labels, objects))

    # Every query of the dashboard returns data.
    dash = json.load(open(os.path.join(top, "stat", "arraystat-dashboard.json")))
    queries = [t["expr"] for p in dash["panels"] for t in p["targets"]]
    check(len(queries) >= 10, "dashboard queries: %d" % len(queries))
    for q in queries:
        expr = q.replace("$instance", ".*")
        try:
            r = api(prom_port, "query", query=expr)["result"]
        except (OSError, RuntimeError) as e:
            r = None
            failures.append("dashboard query %s: %s" % (q, e))
        check(bool(r), "dashboard query returns nothing: %s" % q)
except subprocess.CalledProcessError as e:
    failures.append("%s: exit %d: %s" % (" ".join(e.cmd), e.returncode, e.stderr))
finally:
    stop_all()
    if failures:
        for name, _ in procs:
            path = os.path.join(scratch, name + ".log")
            if os.path.exists(path):
                print("--- %s log (tail)" % name)
                print("".join(open(path).readlines()[-15:]))
    shutil.rmtree(scratch, ignore_errors=True)

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
