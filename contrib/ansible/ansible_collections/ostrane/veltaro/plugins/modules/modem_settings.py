#!/usr/bin/python
# Copyright: The Veltaro project
# No license is granted yet: all rights reserved (see COPYING).

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: modem_settings
short_description: Configure the wireless serial modems on a host with veltaro-cli
version_added: "1.0.0"
description:
  - Sets channel, power, mode, destination ID, period and UART settings of the modems
    attached to the managed host, by running C(veltaro-cli set --json) there.
  - All the ports of a task are configured at once, each on its own connection.
  - Each modem's settings are read first; only the settings whose value differs are sent,
    so a second run with the same settings sends nothing and reports no change.
  - A port that fails (missing, busy, no model detected, a value refused) fails the task on
    that host with veltaro-cli's message and exit status; the other ports of the task are
    still configured, and other hosts are not affected.
options:
  com:
    description:
      - The COM numbers of the modems, as veltaro-cli's C(--com) takes them.
      - One number, a list of numbers and ranges, or a string such as C(3,5,7-12).
      - At most 256 ports, none twice.
    type: raw
    required: true
  settings:
    description:
      - The settings to make, as a mapping of key to value.
      - Keys as C(veltaro-cli set) takes them (C(channel), C(power), C(mode),
        C(destination-id), C(period), C(interface), C(data-bits), C(stop-bits), C(parity));
        the profile's names with underscores (C(destination_id)) are taken too.
      - 'Values as typed into the program: C(channel: "23"), C(power: "1F"),
        C(period: 30m). Quote channel and power, since YAML reads C(010) as eight and
        C(yes) as a boolean. A value of C(null) is left out.'
      - Beside C(profile), a setting here replaces the profile's value of that key.
    type: dict
  profile:
    description:
      - A profile file on the managed host, as C(veltaro-cli info --json) writes it; its
        settings are applied as C(veltaro-cli set --from) does.
      - Copy it there first (see the examples).
    type: path
  only_offered:
    description:
      - Leave out the settings that a port's model does not offer (reported as C(skipped))
        instead of failing that port.
    type: bool
    default: false
  timeout:
    description:
      - Seconds to wait for the model code and for each information screen (C(--timeout));
        veltaro-cli's default, 10 s, when not given.
    type: float
  cli_path:
    description:
      - The veltaro-cli program, a path or a name looked up in the PATH.
    type: path
    default: veltaro-cli
  port_dir:
    description:
      - The port directory in which C(COMn) names are looked up (C(BRENLOW_PORT_DIR)).
      - When not given, veltaro-cli's own rule applies (C(~/.config/brenlow/ports), then
        the serial devices in order).
    type: path
notes:
  - The user that runs the task needs read and write access to the serial devices,
    usually by membership of the group that owns them (C(dialout) on Debian).
  - Ports are opened exclusively; a port open in another program fails.
  - Each run takes several seconds per port (the modem's console is slow); the ports of
    one task run side by side.
requirements:
  - veltaro-cli 1.2 or later on the managed host (Debian package C(veltaro-cli)).
attributes:
  check_mode:
    support: full
    description: Runs C(set --check), which reads the settings and sends no setting.
  diff_mode:
    support: full
    description: Per port, the asked-for settings before and after.
seealso:
  - module: ostrane.veltaro.modem_facts
author:
  - The Veltaro project
'''

EXAMPLES = r'''
- name: Put every modem of the gateway on the site's channel
  ostrane.veltaro.modem_settings:
    com: 1-4
    settings:
      channel: "{{ site_channel }}"
      power: "1F"

- name: One modem in device mode, reporting every 30 minutes
  ostrane.veltaro.modem_settings:
    com: 5
    settings:
      mode: device
      destination-id: "0BEEF"
      period: 30m

- name: Copy a profile to the gateway
  ansible.builtin.copy:
    src: radio.json
    dest: /var/tmp/radio.json
    mode: "0644"

- name: Apply it to COM1 and COM3, leaving out what a model does not offer
  ostrane.veltaro.modem_settings:
    com: [1, 3]
    profile: /var/tmp/radio.json
    only_offered: true
    timeout: 15
'''

RETURN = r'''
changed:
  description: Whether a setting was sent to any port (with check mode, would be).
  returned: always
  type: bool
rc:
  description: veltaro-cli's exit status (15 when several ports ran and one failed).
  returned: always
  type: int
  sample: 0
ports:
  description:
    - One result per port, in the order of C(com), as veltaro-cli's C(set --json) reports it.
  returned: when veltaro-cli gave its JSON
  type: list
  elements: dict
  contains:
    com:
      description: The COM number.
      type: int
      sample: 5
    exit_status:
      description: The port's own exit status (see veltaro-cli's manual).
      type: int
      sample: 0
    error:
      description: The port's last message, or null.
      type: str
    model:
      description: The detected model, or null.
      type: str
      sample: GT-45
    check:
      description: Whether this was a check.
      type: bool
    changed:
      description: Whether something was sent to this port (with check, would be).
      type: bool
    settings:
      description:
        - Per asked-for setting, its C(result) (C(changed), C(unchanged), C(refused),
          C(skipped), C(not sent), C(in flight)) with C(before), C(requested) and C(after).
      type: dict
      sample: {"channel": {"result": "changed", "before": "07", "requested": "12", "after": "12"}}
    before:
      description: The modem's settings before, as C(info --json) prints them.
      type: dict
    after:
      description: The settings read back after the run; null with check.
      type: dict
stderr:
  description: What veltaro-cli wrote on standard error (skipped settings, the failure summary).
  returned: always
  type: str
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.ostrane.veltaro.plugins.module_utils.veltaro_cli import (
    COMMON_OPTIONS, CliError, com_numbers, failure_message, port_diff, run_cli, set_command)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            COMMON_OPTIONS,
            settings=dict(type='dict'),
            profile=dict(type='path'),
            only_offered=dict(type='bool', default=False),
        ),
        required_one_of=[('settings', 'profile')],
        supports_check_mode=True,
    )
    params = module.params
    try:
        numbers, coms = com_numbers(params['com'])
        command = set_command(module.get_bin_path(params['cli_path'], required=True), coms,
                              settings=params['settings'], profile=params['profile'],
                              only_offered=params['only_offered'], check=module.check_mode,
                              timeout=params['timeout'])
    except CliError as error:
        module.fail_json(msg=str(error), changed=False)

    rc, stderr, ports = run_cli(module, command, numbers)
    changed = any(port.get('changed') is True for port in ports or [])
    result = dict(changed=changed, rc=rc, stderr=stderr, cmd=command)
    if ports is not None:
        result['ports'] = ports
        if module._diff:
            result['diff'] = [port_diff(port) for port in ports]
    if rc != 0 or ports is None:
        module.fail_json(msg=failure_message(ports, rc, stderr), **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
