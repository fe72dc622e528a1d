"""What each guest report must show, checked against what QEMU was told and what the
modems on the host received. Every check is a row: the report it reads and a function that
returns the failures it finds (an empty list when all is well)."""

import collections
import json
import re

Report = collections.namedtuple("Report", "name status out err milliseconds stamp")

CR, LF = 0x0D, 0x0A
DRAIN_BYTES = 1000
UNPLUG_LIMIT_S = 3.0
HUNG_UP = "status 8"
LOST_PORT_WORDS = ("went away", "hung up")
# Frames each driver refuses ("data-bits stop-bits parity", as the device test lists them):
# termios cannot say 1.5 stop bits, and a UART sends 1.5 for "2" with 5 data bits, so Brenlow
# refuses both; ftdi_sio puts back the old size when asked for 6 bits.
PARITIES = ("none", "odd", "even", "mark", "space")
BRENLOW_REFUSES = {f"{bits} 1.5 {parity}" for bits in (5, 6, 7, 8) for parity in PARITIES} | {
    f"5 2 {parity}" for parity in PARITIES}
SIX_BITS = {f"6 {stop} {parity}" for stop in ("1", "1.5", "2") for parity in PARITIES}
REFUSED_FRAMES = {"usb": BRENLOW_REFUSES | SIX_BITS, "uart": BRENLOW_REFUSES}


class Context:
    def __init__(self, run, serial, usb_model, uart_model):
        self.run, self.serial = run, serial
        self.models = {"usb": usb_model, "uart": uart_model}
        self.modems = {"usb": run.usb, "uart": run.uart}
        self.figures = {}

    def report(self, name):
        return self.run.reports.get(name)

    def started(self, report):
        return report.stamp - report.milliseconds / 1000.0


def _json(report):
    try:
        return json.loads(report.out), []
    except ValueError as error:
        return None, [f"{report.name}: standard output is not JSON ({error})"]


def status_is(expected):
    def check(context, report):
        if report.status != expected:
            return [f"{report.name}: exit status {report.status}, expected {expected}; stderr: {report.err}"]
        return []
    return check


def ports_match_qemu(context, report):
    entries, failures = _json(report)
    if entries is None:
        return failures
    by_path = {entry["path"]: entry for entry in entries}
    adapter = by_path.get("/dev/ttyUSB0")
    usb = (adapter or {}).get("usb") or {}
    wanted = {"vendor_id": "0403", "product_id": "6001", "serial": context.serial}
    if not adapter or adapter["com"] != 5 or {k: usb.get(k) for k in wanted} != wanted:
        failures.append(f"ports: /dev/ttyUSB0 should be COM5 with {wanted}, got {adapter}")
    # QEMU was given two UARTs (the console and the modem's); the kernel numbers four.
    for index, has_uart in enumerate([True, True, False, False]):
        entry = by_path.get(f"/dev/ttyS{index}")
        if not entry or entry["no_uart"] == has_uart:
            failures.append(f"ports: /dev/ttyS{index} should {'' if has_uart else 'not '}have a UART: {entry}")
    return failures


def info_models(com_models):
    def check(context, report):
        entries, failures = _json(report)
        if entries is None:
            return failures
        entries = entries if isinstance(entries, list) else [dict(com=5, exit_status=0, info=entries)]
        got = {entry["com"]: (entry["exit_status"], (entry.get("info") or {}).get("model"))
               for entry in entries}
        wanted = {com: (0, context.models[device]) for com, device in com_models.items()}
        return [] if got == wanted else [f"{report.name}: ports and models {got}, expected {wanted}"]
    return check


def settings_are(expected):
    def check(context, report):
        entry, failures = _json(report)
        if entry is None:
            return failures
        settings = entry.get("settings") or {}
        got = {key: settings.get(key) for key in expected}
        return [] if got == expected else [f"{report.name}: settings {got}, expected {expected}"]
    return check


def stderr_has(*words):
    def check(context, report):
        missing = [word for word in words if word not in report.err]
        return [f"{report.name}: standard error lacks {missing}: {report.err}"] if missing else []
    return check


def device_test(device):
    def check(context, report):
        failures = []
        match = re.search(r"^refused: (.*)$", report.out, re.M)
        refused = set(filter(None, match.group(1).split(","))) if match else None
        if refused != REFUSED_FRAMES[device]:
            failures.append(f"{report.name}: refused frames {sorted(refused or [])}, "
                            f"expected {sorted(REFUSED_FRAMES[device])}")
        for name, value in re.findall(r"^measure: (\S+) (\S+)$", report.out, re.M):
            context.figures[f"{device} {name}"] = float(value)
        returns = [t for t, byte in context.modems[device].received(context.started(report), report.stamp)
                   if byte == CR]
        if len(returns) != DRAIN_BYTES:
            failures.append(f"{report.name}: the modem got {len(returns)} of the {DRAIN_BYTES} bytes "
                            "written just before Close")
        elif len(returns) > 1:
            span = returns[-1] - returns[0]
            context.figures[f"{device} bytes_per_s"] = (len(returns) - 1) / span if span > 0 else float("inf")
        return failures
    return check


def ended_soon_after_unplug(context, report):
    unplugged = context.run.actions.get(("unplug", report.name))
    if unplugged is None:
        return [f"{report.name}: the host never unplugged the adapter"]
    ended = context.run.actions.get(("hungup", report.name), report.stamp)
    seconds = ended - unplugged
    context.figures[f"unplug to end: {report.name} s"] = seconds
    return [] if seconds <= UNPLUG_LIMIT_S else [f"{report.name}: ended {seconds:.1f} s after the unplug"]


def nothing_sent_after_unplug(context, report):
    """Neither the adapter (until its replug had settled) nor the UART got a byte after it."""
    unplugged = context.run.actions.get(("unplug", report.name))
    replugged = context.run.actions.get(("replug", report.name))
    if unplugged is None or replugged is None:
        return [f"{report.name}: the host did not both unplug and replug the adapter"]
    failures = []
    late = context.modems["usb"].received(unplugged + 0.05, replugged + 0.5)
    if late:
        failures.append(f"{report.name}: the adapter's modem got {len(late)} bytes after the unplug")
    return failures + uart_untouched(context, report)


def uart_untouched(context, report):
    stray = context.modems["uart"].received(context.started(report), report.stamp)
    return [f"{report.name}: the UART's modem got {len(stray)} bytes of a run on COM5"] if stray else []


OK = status_is(0)
LOST = [status_is(8), stderr_has(*LOST_PORT_WORDS), ended_soon_after_unplug]
# After the profile: channel 21, power 1E on both; the set cut between its keys left the
# channel it sent (3) and never sent the power.
CHECKS = [
    ("ports", [OK, ports_match_qemu]),
    # /dev/ttyS2 exists but no UART answers behind it: "port not found".
    ("no-uart", [status_is(3), stderr_has("No device answers at /dev/ttyS2")]),
    ("info", [OK, info_models({2: "uart", 5: "usb"})]),
    ("set", [OK]),
    ("profile", [OK, stderr_has("skipped, not offered", "interface")]),
    ("device-usb", [OK, device_test("usb")]),
    ("device-uart", [OK, device_test("uart")]),
    ("unplug-log", LOST),
    ("info-replug-log", [OK, info_models({5: "usb"}), settings_are({"channel": "21", "power": "1E"})]),
    ("unplug-set", LOST + [nothing_sent_after_unplug]),
    # With the adapter gone COM5 names no device; no other port stands in for it.
    ("while-unplugged", [status_is(3), uart_untouched]),
    ("info-replug-set", [OK, info_models({5: "usb"}), settings_are({"channel": "03", "power": "1E"})]),
    ("unplug-open", [OK, ended_soon_after_unplug]),
    ("info-replug-open", [OK, info_models({5: "usb"})]),
]


def check_all(run, serial, usb_model, uart_model):
    """Failures of every row, and the figures measured on the way."""
    context = Context(run, serial, usb_model, uart_model)
    failures = list(run.failures)
    for name, rows in CHECKS:
        report = context.report(name)
        if report is None:
            failures.append(f"{name}: the guest never reported it")
            continue
        for row in rows:
            failures.extend(row(context, report))
    return failures, context.figures
