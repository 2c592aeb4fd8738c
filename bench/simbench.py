"""What the Python benchmarks share: a simulated controller loaded from a
fixture in a scratch folder, and the time of one run of a program."""
import json
import os
import subprocess
import time


def load_fixture(build, scratch, fixture):
    """Loads fixture (a state document) into a controller whose state, data
    and clock live in scratch; returns the environment of its programs."""
    with open(os.path.join(scratch, "fixture.json"), "w") as f:
        json.dump(fixture, f)
    with open(os.path.join(scratch, "clock"), "w") as f:
        f.write("UTC=true\n")
    env = dict(os.environ, ARRAYCORE_SIM_STATE=os.path.join(scratch, "state.json"), ARRAY_DB_DIR=scratch,
               ARRAY_CLOCK_FILE=os.path.join(scratch, "clock"), ARRAY_SG_DEVICE=os.path.join(scratch, "sg0"),
               ARRAY_SG_WAIT="0")
    subprocess.run([os.path.join(build, "sim", "arraysim"), "load", os.path.join(scratch, "fixture.json")],
                   env=env, check=True, stdout=subprocess.DEVNULL)
    return env


def timed(cmd, env, status=0):
    """Milliseconds of one run of cmd, process start included; it must end
    with status."""
    t0 = time.perf_counter()
    rc = subprocess.run(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    assert rc == status, (cmd, rc)
    return (time.perf_counter() - t0) * 1000
