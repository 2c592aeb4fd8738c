#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright 2026 arraysuite maintainers

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: raid_layout
short_description: Make a RAID controller match a layout document
description:
  - Makes the arrays, virtual disks (VDs), spares and settings of the RAID
    adapters of the host match a layout document written by
    C(arrayconf save), with C(arrayconf plan) and C(arrayconf apply).
  - Arrays and VDs are matched by name, disks by ID and, where the document
    carries them, by serial number. An array or VD whose layout differs is
    deleted and made anew; settings are changed in place. What the
    document does not name is deleted.
  - A plan that destroys data (a VD deleted, a disk with a partition table
    taken into an array, a VD or made a spare) fails unless I(allow_destroy)
    is true; the failure message holds the plan.
  - The task reports C(changed) exactly when at least one step ran.
  - In check mode the plan is made and nothing is changed. In diff mode the
    plan is the diff.
version_added: "5.0.0"
author:
  - arraysuite maintainers
options:
  src:
    description:
      - Path of the layout document on the managed host.
      - Exactly one of I(src) and I(layout) is required.
    type: path
  layout:
    description:
      - The layout document itself (the parsed JSON of C(arrayconf save)).
      - Exactly one of I(src) and I(layout) is required.
    type: dict
  state:
    description:
      - C(present) makes the controller match the document.
    type: str
    choices: [present]
    default: present
  allow_destroy:
    description:
      - Run a plan that destroys data. Without it such a plan fails and
        nothing is changed.
    type: bool
    default: false
  arrayconf_path:
    description:
      - The arrayconf program.
    type: path
    default: arrayconf
notes:
  - The host needs the arraysuite package (arrayconf) and the controller
    library.
  - The controller library of the host is used as it is found; the
    simulated controller reads its state file from the environment
    variable C(ARRAYCORE_SIM_STATE), which the play's C(environment) can set.
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
seealso:
  - module: korvex.arraysuite.raid_facts
'''

EXAMPLES = r'''
- name: Capture the reference server's layout (on the reference server)
  ansible.builtin.command: arrayconf save --portable -o /root/raid-layout.json
  changed_when: false

- name: Roll the reference layout out, nothing destroyed
  korvex.arraysuite.raid_layout:
    layout: "{{ lookup('ansible.builtin.file', 'files/raid-layout.json') | from_json }}"

- name: Apply a layout document that is on the host, even when it destroys data
  korvex.arraysuite.raid_layout:
    src: /etc/arraysuite/layout.json
    allow_destroy: true
'''

RETURN = r'''
plan:
  description: The steps, one line each, in the order they run; a step that destroys data starts with "!".
  returned: always
  type: list
  elements: str
  sample: ['  1. adapter 0: create array "alpha": RAID5 of PD 0,1,2, stripe 64 KB, all space']
steps:
  description: The steps as arrayconf reports them, with their results after a run.
  returned: always
  type: list
  elements: dict
  contains:
    number:
      description: Place in the run order, from 1.
      type: int
    adapter:
      description: Adapter number.
      type: int
    action:
      description: Kind of step (create_array, create_vd, delete_vd, delete_array, release_spare, assign_spare, set_adapter, set_array, set_vd, set_disk).
      type: str
    text:
      description: What the step does.
      type: str
    destructive:
      description: Whether the step destroys data.
      type: bool
    result:
      description: done, failed or not_run (not in check mode).
      type: str
refusals:
  description: Why the controller would refuse the document, in arrayctl's words.
  returned: always
  type: list
  elements: str
'''

import json
import os
import tempfile

from ansible.module_utils.basic import AnsibleModule


def plan_lines(steps):
    lines = []
    for s in steps:
        line = '%s %d. %s' % ('!' if s['destructive'] else ' ', s['number'], s['text'])
        if s['destructive']:
            line += ' -- destroys ' + s['destroys']
        lines.append(line)
    return lines


def run_arrayconf(module, args):
    rc, out, err = module.run_command([module.params['arrayconf_path']] + args)
    try:
        result = json.loads(out)
    except ValueError:
        module.fail_json(msg='arrayconf gave no JSON (exit status %d): %s' % (rc, (err or out).strip()), rc=rc)
    return rc, result


def main():
    module = AnsibleModule(
        argument_spec=dict(
            src=dict(type='path'),
            layout=dict(type='dict'),
            state=dict(type='str', default='present', choices=['present']),
            allow_destroy=dict(type='bool', default=False),
            arrayconf_path=dict(type='path', default='arrayconf'),
        ),
        required_one_of=[('src', 'layout')],
        mutually_exclusive=[('src', 'layout')],
        supports_check_mode=True,
    )
    path = module.params['src']
    temp = None
    if module.params['layout'] is not None:
        fd, temp = tempfile.mkstemp(prefix='raid_layout.', suffix='.json', dir=module.tmpdir)
        with os.fdopen(fd, 'w') as f:
            json.dump(module.params['layout'], f)
        path = temp
    try:
        rc, planned = run_arrayconf(module, ['plan', path, '--json'])
        steps = planned.get('steps', [])
        lines = plan_lines(steps)
        result = dict(changed=False, plan=lines, steps=steps, refusals=planned.get('refusals', []))
        if module._diff:
            result['diff'] = dict(prepared='\n'.join(lines) + ('\n' if lines else ''))
        if rc == 1:
            module.fail_json(msg='the layout is refused: %s' % (planned.get('error') or '') +
                             ''.join('\n' + r for r in planned.get('refusals', [])), **result)
        if planned.get('destructive') and not module.params['allow_destroy']:
            module.fail_json(msg='the plan destroys data and allow_destroy is false; the plan:\n' + '\n'.join(lines),
                             **result)
        if module.check_mode or rc == 0:
            result['changed'] = rc == 2
            module.exit_json(**result)

        args = ['apply', path, '--yes', '--json']
        if module.params['allow_destroy']:
            args.append('--allow-destroy')
        rc, applied = run_arrayconf(module, args)
        steps = applied.get('steps', [])
        lines = plan_lines(steps)
        result.update(changed=bool(applied.get('changed')), plan=lines, steps=steps,
                      refusals=applied.get('refusals', []))
        if module._diff:
            result['diff'] = dict(prepared='\n'.join(lines) + ('\n' if lines else ''))
        if rc != 0:
            failed = [s for s in steps if s.get('result') == 'failed']
            msg = applied.get('error') or 'arrayconf apply failed'
            if failed:
                msg += ': step %d (%s): %s' % (failed[0]['number'], failed[0]['text'], failed[0]['message'])
            msg += ''.join('\n' + r for r in applied.get('refusals', []))
            module.fail_json(msg=msg, **result)
        module.exit_json(**result)
    finally:
        if temp:
            os.unlink(temp)


if __name__ == '__main__':
    main()
