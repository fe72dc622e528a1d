"""The collection's own logic without Ansible: COM lists, command lines, the CLI's JSON.

    python3 module_utils_test.py SOURCE_DIR
"""

import importlib.util
import json
import os
import sys
import unittest

SOURCE = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..')
_PATH = os.path.join(SOURCE, 'contrib/ansible/ansible_collections/ostrane/veltaro/plugins/'
                     'module_utils/veltaro_cli.py')
_SPEC = importlib.util.spec_from_file_location('veltaro_cli', _PATH)
vc = importlib.util.module_from_spec(_SPEC)
_SPEC.loader.exec_module(vc)


class ComNumbers(unittest.TestCase):
    def test_accepted(self):
        for value, numbers, spelled in [
            (5, [5], '5'),
            ('5', [5], '5'),
            ('COM12', [12], '12'),
            ('3,5,7-9', [3, 5, 7, 8, 9], '3,5,7-9'),
            (' 4 - 6 ', [4, 5, 6], '4-6'),
            ([1, '3-4', 'com9'], [1, 3, 4, 9], '1,3-4,9'),
            ('8-8', [8], '8'),
            ('999', [999], '999'),
        ]:
            with self.subTest(value=value):
                self.assertEqual(vc.com_numbers(value), (numbers, spelled))

    def test_refused(self):
        for value, words in [
            ('abc', 'neither a COM number'),
            ('', 'neither a COM number'),
            ('3,,5', 'neither a COM number'),
            ([], 'no COM number'),
            (True, 'not a COM number'),
            ([1.5], 'neither a COM number'),
            ('9-7', 'runs backwards'),
            ('0', 'start at 1'),
            (-2, 'start at 1'),
            ('5,4-6', 'COM5 is given twice'),
            ('1-100000', 'beyond COM999'),
            ('1-257', 'at most 256'),
        ]:
            with self.subTest(value=value):
                with self.assertRaises(vc.CliError) as caught:
                    vc.com_numbers(value)
                self.assertIn(words, str(caught.exception))


class CommandLines(unittest.TestCase):
    def test_set(self):
        for kwargs, tail in [
            (dict(settings={'channel': '23', 'power': '1F'}),
             ['set', '--json', 'channel=23', 'power=1F']),
            # Numbers from YAML become text; profile names become set's keys; null is left out.
            (dict(settings={'channel': 23, 'destination_id': '0BEEF', 'stop_bits': 1.5,
                            'power': None}),
             ['set', '--json', 'channel=23', 'destination-id=0BEEF', 'stop-bits=1.5']),
            (dict(profile='/var/tmp/radio.json', only_offered=True, check=True,
                  settings={'channel': '5'}),
             ['set', '--json', '--check', '--from', '/var/tmp/radio.json', '--only-offered',
              'channel=5']),
            (dict(profile='p.json', timeout=2.5), ['--timeout', '2.5', 'set', '--json',
                                                   '--from', 'p.json']),
        ]:
            with self.subTest(kwargs=kwargs):
                command = vc.set_command('/usr/bin/veltaro-cli', '1-3', **kwargs)
                self.assertEqual(command[:3], ['/usr/bin/veltaro-cli', '--com', '1-3'])
                self.assertEqual(command[3:], tail)

    def test_set_refused(self):
        for kwargs, words in [
            (dict(), 'nothing to set'),
            (dict(settings={'power': None}), 'nothing to set'),
            (dict(settings={'mode': True}), 'mode is a boolean'),
            (dict(settings={'channel': ['1', '2']}), 'single value'),
        ]:
            with self.subTest(kwargs=kwargs):
                with self.assertRaises(vc.CliError) as caught:
                    vc.set_command('veltaro-cli', '1', **kwargs)
                self.assertIn(words, str(caught.exception))

    def test_info(self):
        self.assertEqual(vc.info_command('cli', '2,4', timeout=3),
                         ['cli', '--com', '2,4', '--timeout', '3', 'info', '--json'])


def port(com, status=0, error=None, **more):
    return dict(com=com, exit_status=status, error=error, **more)


class Results(unittest.TestCase):
    def test_shapes(self):
        profile = {'veltaro_profile': 1, 'model': 'GT-45', 'settings': {'channel': '07'}}
        for stdout, numbers, info, expected in [
            (json.dumps(port(5, changed=True)), [5], False, [port(5, changed=True)]),
            (json.dumps([port(1), port(2, 3, 'cannot open')]), [1, 2], False,
             [port(1), port(2, 3, 'cannot open')]),
            # info on one port prints the bare profile.
            (json.dumps(profile), [7], True, [port(7, info=profile)]),
            (json.dumps([port(1, info=profile)]), [1, 2], True, [port(1, info=profile)]),
            ('', [1], False, None),
            ('veltaro-cli: bad option\n', [1], False, None),
            ('[1, 2]', [1, 2], False, None),
            ('"text"', [1], False, None),
        ]:
            with self.subTest(stdout=stdout):
                self.assertEqual(vc.port_results(stdout, numbers, info=info), expected)

    def test_non_utf8_bytes_become_readable(self):
        # A port directory named with byte 0xFF, as veltaro-cli escapes it in JSON.
        stdout = '{"com": 1, "exit_status": 3, "error": "cannot open /tmp/\\udcff/com1", ' \
                 '"settings": {"\\udcfe": "\\ud800"}}'
        ports = vc.port_results(stdout, [1])
        self.assertEqual(ports[0]['error'], 'cannot open /tmp/\\xff/com1')
        self.assertEqual(ports[0]['settings'], {'\\xfe': '\\ud800'})
        json.dumps(ports, ensure_ascii=False).encode('utf-8')  # Ansible prints it as UTF-8

    def test_failure_message(self):
        for ports, rc, stderr, expected in [
            ([port(1), port(4, 8, 'the modem hung up')], 15, 'summary',
             'COM4: status 8, the modem hung up'),
            ([port(3, 3, 'cannot open COM3'), port(5, 13, None)], 15, '',
             'COM3: status 3, cannot open COM3; COM5: status 13, failed'),
            ([port(1, 'x')], 1, '', 'COM1: status 1, failed'),
            (None, 2, 'veltaro-cli: unknown key "chanel"\n', 'veltaro-cli: unknown key "chanel"'),
            ([port(1)], 14, 'veltaro-cli: write error\n', 'veltaro-cli: write error'),
            (None, 130, '', 'veltaro-cli ended with status 130'),
            (None, 0, '', 'veltaro-cli printed no JSON; it needs to be version 1.2 or later'),
        ]:
            with self.subTest(expected=expected):
                self.assertEqual(vc.failure_message(ports, rc, stderr), expected)


class Diffs(unittest.TestCase):
    settings = {
        'channel': {'result': 'changed', 'before': '07', 'requested': '12', 'after': '12'},
        'power': {'result': 'unchanged', 'before': '0A', 'requested': 'A', 'after': '0A'},
        'interface': {'result': 'skipped', 'requested': 'rs485'},
        'parity': {'result': 'refused', 'before': 'none', 'requested': 'odd',
                   'after': 'none'},
        'mode': {'result': 'not sent', 'before': 'pc', 'requested': 'device'},
    }

    def test_real_run_shows_what_was_read_back(self):
        diff = vc.port_diff(dict(com=5, model='GT-45', check=False, settings=self.settings))
        self.assertEqual(diff['before_header'], 'COM5 (GT-45)')
        self.assertEqual(diff['before'],
                         'channel: 07\npower: 0A\nparity: none\nmode: pc\n')
        self.assertEqual(diff['after'],
                         'channel: 12\npower: 0A\nparity: none\nmode: pc\n')

    def test_check_shows_what_set_would_make(self):
        settings = {key: {k: v for k, v in entry.items() if k != 'after'}
                    for key, entry in self.settings.items()}
        settings['mode']['result'] = 'changed'
        diff = vc.port_diff(dict(com=5, model='GT-45', check=True, settings=settings))
        self.assertEqual(diff['before'], 'channel: 07\npower: 0A\nparity: none\nmode: pc\n')
        self.assertEqual(diff['after'],
                         'channel: 12\npower: 0A\nparity: none\nmode: device\n')

    def test_port_without_model_or_settings(self):
        diff = vc.port_diff(port(9, 3, 'cannot open', model=None, settings=None))
        self.assertEqual((diff['before_header'], diff['before'], diff['after']),
                         ('COM9', '', ''))


class Facts(unittest.TestCase):
    def test_keyed_by_com_and_only_read_ports(self):
        profile = {'model': 'KD-35', 'settings': {'channel': '23'}}
        facts = vc.facts_of([port(2, info=profile), port(3, 3, 'cannot open', info=None)])
        self.assertEqual(facts, {'COM2': dict(profile, com=2)})
        self.assertNotIn('com', profile)


if __name__ == '__main__':
    unittest.main()
