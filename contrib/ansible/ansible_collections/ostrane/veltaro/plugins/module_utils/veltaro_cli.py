# Copyright: The Veltaro project
# No license is granted yet: all rights reserved (see COPYING).
"""What the modules share: the command lines of veltaro-cli and the reading of its JSON.

Plain Python without Ansible imports, so that the unit tests run it with any interpreter.
"""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import re

# veltaro-cli's own limits on --com: a modem's COM number, and ports in one run.
COM_MAX = 999
PORTS_MAX = 256

# Non-UTF-8 bytes of a path or a console line reach Python as lone surrogates (\udcNN), which
# Ansible cannot print; they are shown as \xNN, the way veltaro-cli writes them in text.
_SURROGATE = re.compile(u'[\ud800-\udfff]')


class CliError(Exception):
    """A run of veltaro-cli that did not give a usable answer."""


# The options every module takes: which ports, and where veltaro-cli and the ports are.
COMMON_OPTIONS = dict(
    com=dict(type='raw', required=True),
    timeout=dict(type='float'),
    cli_path=dict(type='path', default='veltaro-cli'),
    port_dir=dict(type='path'),
)


def _com_item(item):
    """The COM numbers of one item: an int, "5" or "7-12"."""
    if isinstance(item, bool):
        raise CliError('com: %r is not a COM number' % (item,))
    if isinstance(item, int):
        return [item], str(item)
    text = str(item).strip()
    match = re.match(r'^(?:COM)?(\d+)(?:\s*-\s*(?:COM)?(\d+))?$', text, re.IGNORECASE)
    if not match:
        raise CliError('com: "%s" is neither a COM number nor a range such as 7-12' % text)
    first = int(match.group(1))
    last = int(match.group(2)) if match.group(2) else first
    if last < first:
        raise CliError('com: the range "%s" runs backwards' % text)
    if last > COM_MAX:  # checked here so that a typo does not build a huge list
        raise CliError('com: COM%d is beyond COM%d' % (last, COM_MAX))
    spelled = str(first) if first == last else '%d-%d' % (first, last)
    return list(range(first, last + 1)), spelled


def com_numbers(value):
    """The COM numbers of the com parameter and its spelling for --com.

    Takes one number, a list of numbers and ranges, or a string "3,5,7-12"."""
    if isinstance(value, (list, tuple)):
        items = list(value)
    elif isinstance(value, str):
        items = value.split(',')
    else:
        items = [value]
    if not items:
        raise CliError('com: no COM number given')
    numbers, spelled = [], []
    for item in items:
        these, text = _com_item(item)
        numbers.extend(these)
        spelled.append(text)
    seen = set()
    for number in numbers:
        if number < 1:
            raise CliError('com: COM numbers start at 1, not %d' % number)
        if number in seen:
            raise CliError('com: COM%d is given twice' % number)
        seen.add(number)
    if len(numbers) > PORTS_MAX:
        raise CliError('com: %d ports given; one run takes at most %d' % (len(numbers), PORTS_MAX))
    return numbers, ','.join(spelled)


def setting_arguments(settings):
    """KEY=VALUE arguments for set, in the mapping's order.

    Keys may be written as in the profiles (destination_id) or as set takes them
    (destination-id). A value of None is left out, as a profile's null is."""
    arguments = []
    for key, value in (settings or {}).items():
        if value is None:
            continue
        if isinstance(value, bool):
            # YAML reads yes/no/on/off as booleans: say so rather than send "True".
            raise CliError('settings: %s is a boolean (%s); quote the value' % (key, value))
        if isinstance(value, (dict, list)):
            raise CliError('settings: %s must be a single value' % key)
        arguments.append('%s=%s' % (str(key).strip().replace('_', '-'), value))
    return arguments


def base_command(cli, coms, timeout):
    """The options that come before the command."""
    command = [cli, '--com', coms]
    if timeout is not None:
        command += ['--timeout', '%g' % timeout]
    return command


def set_command(cli, coms, settings=None, profile=None, only_offered=False, check=False,
                timeout=None):
    """The command line of one set run for all the ports at once."""
    arguments = setting_arguments(settings)
    if not arguments and not profile:
        raise CliError('nothing to set: give settings, a profile, or both')
    command = base_command(cli, coms, timeout) + ['set', '--json']
    if check:
        command.append('--check')
    if profile:
        command += ['--from', profile]
    if only_offered:
        command.append('--only-offered')
    return command + arguments


def info_command(cli, coms, timeout=None):
    return base_command(cli, coms, timeout) + ['info', '--json']


def readable(value):
    """The value with lone surrogates written as \\xNN, everywhere inside it."""
    if isinstance(value, str):
        return _SURROGATE.sub(lambda m: '\\x%02x' % (ord(m.group()) & 0xff)
                              if 0xdc80 <= ord(m.group()) <= 0xdcff
                              else '\\u%04x' % ord(m.group()), value)
    if isinstance(value, list):
        return [readable(item) for item in value]
    if isinstance(value, dict):
        return dict((readable(k), readable(v)) for k, v in value.items())
    return value


def _decode(stdout):
    try:
        return readable(json.loads(stdout))
    except ValueError:
        return None


def port_results(stdout, numbers, info=False):
    """The per-port objects of one run, in the order of numbers, or None without JSON.

    One port prints one object; several print an array. info --json on one port prints
    the profile itself, which is wrapped here as the array's objects are."""
    data = _decode(stdout)
    if data is None:
        return None
    if isinstance(data, dict):
        if info and 'info' not in data:
            data = {'com': numbers[0], 'exit_status': 0, 'error': None, 'info': data}
        data = [data]
    if not isinstance(data, list) or not all(isinstance(port, dict) for port in data):
        return None
    return data


def run_cli(module, command, numbers, info=False):
    """Runs command for the module: its status, its stderr made readable, and its ports
    (None without JSON)."""
    port_dir = module.params['port_dir']
    environ = {'BRENLOW_PORT_DIR': port_dir} if port_dir else None
    rc, stdout, stderr = module.run_command(command, environ_update=environ)
    return rc, readable(stderr), port_results(stdout, numbers, info=info)


def port_status(port):
    status = port.get('exit_status')
    return status if isinstance(status, int) else 1


def failure_message(ports, rc, stderr):
    """The CLI's own words for a failed run: each failed port's message, else its stderr."""
    failed = [port for port in ports or [] if port_status(port) != 0]
    if failed:
        return '; '.join('COM%s: status %d, %s' % (port.get('com'), port_status(port),
                                                    port.get('error') or 'failed')
                         for port in failed)
    text = readable(stderr or '').strip()
    if text:
        return text
    if rc == 0:  # success without its JSON: a veltaro-cli without set --json
        return 'veltaro-cli printed no JSON; it needs to be version 1.2 or later'
    return 'veltaro-cli ended with status %d' % rc


def _lines(values):
    return ''.join('%s: %s\n' % (key, value) for key, value in values)


def port_diff(port):
    """Before and after of the settings that were asked for on one port.

    After a real run "after" is what the modem read back; with check, what set would make it:
    the requested value where a setting would change, the current one elsewhere."""
    before, after = [], []
    for key, entry in (port.get('settings') or {}).items():
        if not isinstance(entry, dict) or entry.get('result') == 'skipped':
            continue
        old = entry.get('before')
        if port.get('check'):
            new = entry.get('requested') if entry.get('result') == 'changed' else old
        else:
            new = entry.get('after', old)
        before.append((key, '' if old is None else old))
        after.append((key, '' if new is None else new))
    header = 'COM%s' % port.get('com')
    if port.get('model'):
        header += ' (%s)' % port['model']
    return {'before_header': header, 'after_header': header,
            'before': _lines(before), 'after': _lines(after)}


def facts_of(ports):
    """ansible_facts.veltaro_modems: COMn -> the modem's profile and its COM number."""
    modems = {}
    for port in ports:
        info = port.get('info')
        if not isinstance(info, dict):
            continue
        entry = dict(info)
        entry['com'] = port.get('com')
        modems['COM%s' % port.get('com')] = entry
    return modems
