#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright 2026 arraysuite maintainers

from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: raid_facts
short_description: RAID adapters, disks, arrays and VDs as facts
description:
  - Returns the snapshot of C(arraystat --json) (schema described in the
    arraystat README) as the fact C(arraystat), which holds the adapters
    with their disks, spares, arrays, VDs, battery, enclosures and
    expanders, and the event counters.
  - Reads only; a controller call that fails is an entry of the
    snapshot's C(errors), not a failure of the task.
version_added: "5.0.0"
author:
  - arraysuite maintainers
options:
  adapter:
    description:
      - Only this adapter (0 is the first).
    type: int
  object:
    description:
      - Only one kind of object.
    type: str
    choices: [hba, bbu, pd, spare, array, vd, enc, exp, events]
  arraystat_path:
    description:
      - The arraystat program.
    type: path
    default: arraystat
attributes:
  check_mode:
    support: full
  diff_mode:
    support: none
  facts:
    support: full
seealso:
  - module: korvex.arraysuite.raid_layout
'''

EXAMPLES = r'''
- name: Read the RAID configuration
  korvex.arraysuite.raid_facts:

- name: Tell which VDs are not functional
  ansible.builtin.debug:
    msg: "{{ ansible_facts.arraystat.adapters | map(attribute='vds') | flatten
             | rejectattr('Status_word', 'equalto', 'functional') | map(attribute='Name') }}"
'''

RETURN = r'''
ansible_facts:
  description: Facts added.
  returned: always
  type: complex
  contains:
    arraystat:
      description: The document of C(arraystat --json).
      returned: always
      type: dict
      sample: {"schema_version": 1, "adapter_count": 1, "adapters": [], "errors": []}
'''

import json

from ansible.module_utils.basic import AnsibleModule


def main():
    module = AnsibleModule(
        argument_spec=dict(
            adapter=dict(type='int'),
            object=dict(type='str', choices=['hba', 'bbu', 'pd', 'spare', 'array', 'vd', 'enc', 'exp', 'events']),
            arraystat_path=dict(type='path', default='arraystat'),
        ),
        supports_check_mode=True,
    )
    args = [module.params['arraystat_path'], '--json']
    if module.params['adapter'] is not None:
        args += ['--adapter', str(module.params['adapter'])]
    if module.params['object']:
        args += ['--object', module.params['object']]
    rc, out, err = module.run_command(args)
    if rc != 0:
        module.fail_json(msg='arraystat failed (exit status %d): %s' % (rc, err.strip()), rc=rc)
    try:
        snapshot = json.loads(out)
    except ValueError:
        module.fail_json(msg='arraystat gave no JSON: %s' % out[:200])
    module.exit_json(changed=False, ansible_facts=dict(arraystat=snapshot))


if __name__ == '__main__':
    main()
