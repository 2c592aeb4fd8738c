#!/usr/bin/env python3
"""The audit record names the person: run through sudo -u, arrayctl's
record says the account it ran as and the one that called sudo. The
records go to a log socket of the test's own."""
import json, os, shutil, socket, subprocess, sys, tempfile

arrayctl, fixture = sys.argv[1], sys.argv[2]
if not shutil.which("sudo"):
    print("sudo is not installed (scripts/setup.sh installs it)")
    sys.exit(1)
tmp = tempfile.mkdtemp(prefix="audit-user-")
try:
    os.chmod(tmp, 0o777)
    state = os.path.join(tmp, "state.json")
    shutil.copy(fixture, state)
    os.chmod(state, 0o666)
    path = os.path.join(tmp, "log.sock")
    sock = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
    sock.bind(path)
    os.chmod(path, 0o666)
    sock.settimeout(5)
    env = {"ARRAYCORE_SIM_STATE": state, "ARRAY_DB_DIR": tmp, "ARRAY_SG_DEVICE": tmp + "/none",
           "ARRAY_SG_WAIT": "0", "ARRAY_AUDIT_SOCKET": path, "ARRAY_CLOCK_FILE": tmp + "/clock"}
    cmd = ["sudo", "-u", "nobody", "env"] + ["%s=%s" % kv for kv in env.items()] + [arrayctl, "locate", "-i", "2"]
    run = subprocess.run(cmd, capture_output=True, text=True, timeout=30)
    if run.returncode != 0:
        print("arrayctl as nobody failed:", run.returncode, run.stdout, run.stderr)
        sys.exit(1)
    record = sock.recv(8192).decode()
    problems = [want for want in ('user="nobody"', 'sudo_user="root"', "uid=65534", "KX_LocateArrayDevice@0=0")
                if want not in record]
    if problems:
        print("record lacks", problems, ":", record)
        sys.exit(1)
    print("ok:", record)
finally:
    shutil.rmtree(tmp, ignore_errors=True)
