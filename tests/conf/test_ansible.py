#!/usr/bin/env python3
"""The Ansible collection (ansible/) through Debian's ansible-core: built
with ansible-galaxy, installed into a scratch directory, its modules
rendered by ansible-doc, and run by ansible-playbook on an inventory of
three local hosts, each with a simulated controller of its own.

Usage: test_ansible.py SOURCE_DIR BUILD_DIR build|playbook
Everything Ansible writes (its home, temporary and collection
directories) stays in a scratch directory."""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

SOURCE, BUILD, CASE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
HERE = os.path.dirname(os.path.abspath(__file__))
SCRATCH = tempfile.mkdtemp(prefix="arrayconf-ansible-")
COLLECTIONS = os.path.join(SCRATCH, "collections")
ENV = dict(os.environ, HOME=SCRATCH, ANSIBLE_HOME=os.path.join(SCRATCH, "ansible"),
           ANSIBLE_LOCAL_TEMP=os.path.join(SCRATCH, "tmp"), ANSIBLE_REMOTE_TEMP=os.path.join(SCRATCH, "tmp"),
           ANSIBLE_COLLECTIONS_PATH=COLLECTIONS, ANSIBLE_NOCOLOR="1", ANSIBLE_RETRY_FILES_ENABLED="0",
           ANSIBLE_HOST_KEY_CHECKING="0", ANSIBLE_STDOUT_CALLBACK="default", ANSIBLE_FORCE_COLOR="0",
           ANSIBLE_DEPRECATION_WARNINGS="0", ANSIBLE_LOCALHOST_WARNING="0")
HOSTS = ["raid1", "raid2", "raid3"]
if not shutil.which("ansible-playbook"):
    print("SKIP: ansible-core is not installed (scripts/setup.sh installs it)")
    sys.exit(77)
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL:", what)


def run(cmd, **kw):
    return subprocess.run(cmd, env=ENV, capture_output=True, text=True, timeout=300, **kw)


def build_and_install():
    out = os.path.join(SCRATCH, "dist")
    p = run(["ansible-galaxy", "collection", "build", os.path.join(SOURCE, "ansible"), "--output-path", out])
    assert p.returncode == 0, p.stdout + p.stderr
    tarball = os.path.join(out, "korvex-arraysuite-5.0.0.tar.gz")
    assert os.path.exists(tarball), os.listdir(out)
    p = run(["ansible-galaxy", "collection", "install", tarball, "-p", COLLECTIONS])
    assert p.returncode == 0, p.stdout + p.stderr
    return tarball


def case_build():
    tarball = build_and_install()
    listing = run(["tar", "tzf", tarball]).stdout.split()
    check({"MANIFEST.json", "README.md", "plugins/modules/raid_layout.py", "plugins/modules/raid_facts.py"}
          <= set(listing), "collection contents: %s" % listing)
    for module, options in [("raid_layout", ["allow_destroy", "src", "layout", "state"]),
                            ("raid_facts", ["adapter", "object", "arraystat_path"])]:
        p = run(["ansible-doc", "korvex.arraysuite." + module])
        check(p.returncode == 0 and "KORVEX.ARRAYSUITE." + module.upper() in p.stdout
              and all("- " + o in p.stdout for o in options) and "EXAMPLES:" in p.stdout
              and "RETURN VALUES:" in p.stdout, "ansible-doc %s: %s%s" % (module, p.stdout[:400], p.stderr))
    p = run(["ansible-doc", "-l", "korvex.arraysuite"])
    check(p.returncode == 0 and "raid_layout" in p.stdout and "raid_facts" in p.stdout, "ansible-doc -l: " + p.stdout)


def sim(host, *args):
    subprocess.run([os.path.join(BUILD, "sim", "arraysim"), "-f", state_file(host)] + list(args), check=True,
                   stdout=subprocess.DEVNULL, timeout=60)


def state_file(host):
    return os.path.join(SCRATCH, host + ".json")


def read_state(host):
    with open(state_file(host)) as f:
        return f.read()


def playbook(name, extra, check_mode=False):
    args = ["ansible-playbook", "-i", os.path.join(SCRATCH, "inventory.ini"), os.path.join(SCRATCH, name),
            "-e", json.dumps(extra), "--forks", "3"]
    if check_mode:
        args += ["--check", "--diff"]
    p = run(args)
    recap = {}
    for host, counts in re.findall(r"^(raid\d)\s*:\s*(.*)$", p.stdout, re.M):
        recap[host] = {k: int(v) for k, v in re.findall(r"(\w+)=(\d+)", counts)}
    return p, recap


def case_playbook():
    build_and_install()
    with open(os.path.join(SCRATCH, "inventory.ini"), "w") as f:
        f.write("[raid]\n")
        for h in HOSTS:
            f.write("%s ansible_connection=local ansible_python_interpreter=%s array_state=%s\n"
                    % (h, sys.executable, state_file(h)))
    with open(os.path.join(SCRATCH, "layout.yml"), "w") as f:
        f.write("""- hosts: raid
  gather_facts: false
  environment:
    ARRAYCORE_SIM_STATE: "{{ array_state }}"
  tasks:
    - name: RAID layout
      korvex.arraysuite.raid_layout:
        layout: "{{ lookup('ansible.builtin.file', layout_file) | from_json }}"
        allow_destroy: "{{ allow_destroy | default(false) }}"
        arrayconf_path: "{{ build }}/conf/arrayconf"
""")
    with open(os.path.join(SCRATCH, "facts.yml"), "w") as f:
        f.write("""- hosts: raid
  gather_facts: false
  environment:
    ARRAYCORE_SIM_STATE: "{{ array_state }}"
  tasks:
    - korvex.arraysuite.raid_facts:
        arraystat_path: "{{ build }}/stat/arraystat"
        object: vd
    - ansible.builtin.assert:
        that:
          - ansible_facts.arraystat.schema_version == 1
          - ansible_facts.arraystat.adapters[0].vds | map(attribute='Name') | sort | list == ['boot', 'data', 'logs']
""")
    # The reference layout: the configured fixture, saved portable.
    env = dict(ENV, ARRAYCORE_SIM_STATE=os.path.join(SCRATCH, "reference.json"))
    subprocess.run([os.path.join(BUILD, "sim", "arraysim"), "load", os.path.join(HERE, "v2.json")], env=env,
                   check=True, stdout=subprocess.DEVNULL)
    layout = os.path.join(SCRATCH, "reference-layout.json")
    subprocess.run([os.path.join(BUILD, "conf", "arrayconf"), "save", "--portable", "-o", layout], env=env, check=True)
    for h in HOSTS:
        sim(h, "load", os.path.join(HERE, "v2_blank.json"))
    vars_ = {"build": BUILD, "layout_file": layout}

    # Check mode on blank controllers: changed, the plan as the diff, no
    # state file touched.
    before = {h: read_state(h) for h in HOSTS}
    p, recap = playbook("layout.yml", vars_, check_mode=True)
    check(p.returncode == 0 and all(recap.get(h, {}).get("changed") == 1 for h in HOSTS), "check mode: %s" % p.stdout)
    check(p.stdout.count('create array "alpha"') == 3, "check mode shows the plan as the diff: %s" % p.stdout)
    check(all(read_state(h) == before[h] for h in HOSTS), "check mode changed a state file")

    p, recap = playbook("layout.yml", vars_)
    check(p.returncode == 0 and all(recap.get(h, {}).get("changed") == 1 and recap[h].get("failed") == 0
                                    for h in HOSTS), "first run: %s %s" % (p.stdout, p.stderr))
    p, recap = playbook("layout.yml", vars_)
    check(p.returncode == 0 and all(recap.get(h, {}).get("changed") == 0 and recap[h].get("ok") == 1
                                    for h in HOSTS), "second run: %s" % p.stdout)
    p, recap = playbook("facts.yml", vars_)
    check(p.returncode == 0 and all(recap.get(h, {}).get("failed") == 0 and recap[h].get("ok") == 2
                                    for h in HOSTS), "facts: %s" % p.stdout)

    # One VD less: destroys data; refused without allow_destroy, with the
    # plan in the message, and nothing changed.
    with open(layout) as f:
        doc = json.load(f)
    doc["adapters"][0]["vds"] = [v for v in doc["adapters"][0]["vds"] if v["name"] != "logs"]
    smaller = os.path.join(SCRATCH, "smaller.json")
    with open(smaller, "w") as f:
        json.dump(doc, f)
    before = {h: read_state(h) for h in HOSTS}
    p, recap = playbook("layout.yml", dict(vars_, layout_file=smaller))
    check(p.returncode != 0 and all(recap.get(h, {}).get("failed") == 1 for h in HOSTS)
          and p.stdout.count("allow_destroy is false; the plan:") == 3
          and p.stdout.count('delete VD \\"logs\\"') >= 3, "destructive without allow_destroy: %s" % p.stdout)
    check(all(read_state(h) == before[h] for h in HOSTS), "a refused destructive run changed a state file")
    p, recap = playbook("layout.yml", dict(vars_, layout_file=smaller, allow_destroy=True))
    check(p.returncode == 0 and all(recap.get(h, {}).get("changed") == 1 for h in HOSTS),
          "destructive with allow_destroy: %s" % p.stdout)


try:
    {"build": case_build, "playbook": case_playbook}[CASE]()
finally:
    shutil.rmtree(SCRATCH, ignore_errors=True)
if failures:
    print("%d failure(s)" % len(failures))
    sys.exit(1)
print("ok")
