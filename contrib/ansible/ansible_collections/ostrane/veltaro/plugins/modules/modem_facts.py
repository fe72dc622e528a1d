#!/usr/bin/python
# Copyright: The Veltaro project
# No license is granted yet: all rights reserved (see COPYING).

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: modem_facts
short_description: Read the wireless serial modems' current settings as facts
version_added: "1.0.0"
description:
  - Detects the model of each modem on the given COM numbers of the managed host and reads
    its current settings, by running C(veltaro-cli info --json) there. Nothing is set.
  - The result is the fact C(veltaro_modems), a mapping from C(COMn) to that modem's
    profile (model, range class, family, settings, settable keys) and its COM number. The
    profile is what C(veltaro-cli set --from) and M(ostrane.veltaro.modem_settings) apply.
  - A port that fails (missing, busy, no model detected) fails the task on that host with
    veltaro-cli's message and exit status; the facts of the other ports are still returned.
options:
  com:
    description:
      - The COM numbers, as for M(ostrane.veltaro.modem_settings).
    type: raw
    required: true
  timeout:
    description:
      - Seconds to wait for the model code and for each information screen.
    type: float
  cli_path:
    description:
      - The veltaro-cli program, a path or a name looked up in the PATH.
    type: path
    default: veltaro-cli
  port_dir:
    description:
      - The port directory in which C(COMn) names are looked up (C(BRENLOW_PORT_DIR)).
    type: path
notes:
  - Reading opens each port, as the program's Open button does; the modem's console returns
    to its main menu.
requirements:
  - veltaro-cli 1.2 or later on the managed host (Debian package C(veltaro-cli)).
attributes:
  check_mode:
    support: full
    description: Reads only, in check mode as in a real run.
  diff_mode:
    support: none
seealso:
  - module: ostrane.veltaro.modem_settings
author:
  - The Veltaro project
'''

EXAMPLES = r'''
- name: Read the modems on COM1 to COM4
  ostrane.veltaro.modem_facts:
    com: 1-4

- name: Show each modem's model and channel
  ansible.builtin.debug:
    msg: "{{ item.key }}: {{ item.value.model }} on channel {{ item.value.settings.channel }}"
  loop: "{{ ansible_facts.veltaro_modems | dict2items }}"

- name: Keep COM1's settings as a profile on the controller
  ansible.builtin.copy:
    content: "{{ ansible_facts.veltaro_modems.COM1 | to_nice_json }}"
    dest: "profiles/{{ inventory_hostname }}.json"
  delegate_to: localhost
'''

RETURN = r'''
ansible_facts:
  description: The facts gathered.
  returned: always
  type: dict
  contains:
    veltaro_modems:
      description:
        - One entry per port that was read, keyed C(COMn).
        - Each is the port's profile as C(veltaro-cli info --json) prints it, plus C(com).
      type: dict
      sample:
        COM1:
          com: 1
          veltaro_profile: 1
          model: GT-45
          range_class: wide
          family: GT period family
          settings: {"channel": "07", "power": "0A", "mode": "device",
                     "destination_id": "1A2B3", "period": "30", "period_unit": "seconds"}
          settable: ["channel", "power", "mode", "destination-id", "period"]
rc:
  description: veltaro-cli's exit status.
  returned: always
  type: int
ports:
  description: Per port, C(com), C(exit_status), C(error) and C(info) (the profile or null).
  returned: when veltaro-cli gave its JSON
  type: list
  elements: dict
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.ostrane.veltaro.plugins.module_utils.veltaro_cli import (
    COMMON_OPTIONS, CliError, com_numbers, facts_of, failure_message, info_command, run_cli)


def main():
    module = AnsibleModule(
        argument_spec=dict(COMMON_OPTIONS),
        supports_check_mode=True,
    )
    params = module.params
    try:
        numbers, coms = com_numbers(params['com'])
    except CliError as error:
        module.fail_json(msg=str(error))
    command = info_command(module.get_bin_path(params['cli_path'], required=True), coms,
                           timeout=params['timeout'])
    rc, stderr, ports = run_cli(module, command, numbers, info=True)
    if ports is not None and len(numbers) == 1 and rc != 0:
        ports[0]['exit_status'], ports[0]['error'] = rc, stderr.strip() or None
    result = dict(changed=False, rc=rc, stderr=stderr, cmd=command,
                  ansible_facts=dict(veltaro_modems=facts_of(ports or [])))
    if ports is not None:
        result['ports'] = ports
    if rc != 0 or ports is None:
        module.fail_json(msg=failure_message(ports, rc, stderr), **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
