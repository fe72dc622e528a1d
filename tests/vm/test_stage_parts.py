"""The host side of the real-driver stage, without a guest: the archive the kernel unpacks,
the modules' load order, and that every check fails on the fault it is there for."""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import checks  # noqa: E402
import initramfs  # noqa: E402
from stage_error import StageError  # noqa: E402


class ArchiveTest(unittest.TestCase):
    def test_busybox_cpio_reads_back_files_links_and_folders(self):
        busybox = shutil.which("busybox")
        if not busybox:
            self.skipTest("busybox is not installed")
        archive = initramfs.Archive()
        entries = {"init.sh": (b"#!/bin/sh\n", 0o755), "a/b/c/odd": (b"x" * 13, 0o644),
                   "a/empty": (b"", 0o600), "lib/x.so.1": (bytes(range(256)) * 3, 0o755)}
        for path, (data, mode) in entries.items():
            archive.file(path, data, mode)
        archive.link("init", "/init.sh")
        with tempfile.TemporaryDirectory() as folder:
            image = os.path.join(folder, "image.cpio")
            archive.write(image)
            self.assertEqual(os.path.getsize(image) % 512, 0)
            out = os.path.join(folder, "out")
            os.mkdir(out)
            with open(image, "rb") as source:
                subprocess.run([busybox, "cpio", "-i", "-d"], stdin=source, cwd=out, check=True,
                               capture_output=True)
            for path, (data, mode) in entries.items():
                with self.subTest(path=path):
                    with open(os.path.join(out, path), "rb") as extracted:
                        self.assertEqual(extracted.read(), data)
                    self.assertEqual(os.stat(os.path.join(out, path)).st_mode & 0o777, mode)
            self.assertEqual(os.readlink(os.path.join(out, "init")), "/init.sh")


class LoadOrderTest(unittest.TestCase):
    def modules(self, folder, depends):
        for name, needs in depends.items():
            sub = os.path.join(folder, "kernel", name[0])
            os.makedirs(sub, exist_ok=True)
            with open(os.path.join(sub, name + ".ko"), "wb") as module:
                module.write(b"\x7fELF\0license=GPL\0depends=" + ",".join(needs).encode() + b"\0name=x\0")

    def test_every_module_comes_after_what_it_depends_on_and_only_once(self):
        with tempfile.TemporaryDirectory() as folder:
            self.modules(folder, {"usb-common": [], "usbcore": ["usb-common"], "xhci-hcd": ["usbcore"],
                                  "xhci-pci": ["xhci-hcd", "usbcore"], "usbserial": ["usbcore"],
                                  "ftdi_sio": ["usbserial", "usbcore"]})
            order = [os.path.basename(p)[:-3] for p in initramfs.load_order(folder)]
        self.assertEqual(order, ["usb-common", "usbcore", "xhci-hcd", "xhci-pci", "usbserial", "ftdi_sio"])

    def test_a_missing_module_is_named(self):
        with tempfile.TemporaryDirectory() as folder:
            self.modules(folder, {"xhci-pci": ["usbcore"], "ftdi_sio": []})
            with self.assertRaisesRegex(StageError, "usbcore"):
                initramfs.load_order(folder)


class FakeModem:
    def __init__(self, received):
        self.bytes = received

    def received(self, since=0.0, until=float("inf")):
        return [(t, b) for t, b in self.bytes if since <= t <= until]


def good_run():
    """Reports and modem traces as a passing stage leaves them, on a made-up clock."""
    report = checks.Report
    ports = [{"com": n + 1, "path": f"/dev/ttyS{n}", "usb": None, "no_uart": n >= 2} for n in range(4)]
    ports.append({"com": 5, "path": "/dev/ttyUSB0", "no_uart": False,
                  "usb": {"vendor_id": "0403", "product_id": "6001", "serial": "S1"}})
    info = [{"com": 2, "exit_status": 0, "info": {"model": "KD-35"}},
            {"com": 5, "exit_status": 0, "info": {"model": "GT-45"}}]

    def single(channel):
        return json.dumps({"model": "GT-45", "settings": {"channel": channel, "power": "1E"}})

    refused = {d: "refused: " + ",".join(sorted(f)) for d, f in checks.REFUSED_FRAMES.items()}
    reports = [
        report("ports", 0, json.dumps(ports), "", 100, 10.0),
        report("no-uart", 3, "", "No device answers at /dev/ttyS2 (Input/output error).", 100, 11.0),
        report("info", 0, json.dumps(info), "", 5000, 20.0),
        report("set", 0, "", "", 5000, 30.0),
        report("profile", 0, "", "skipped, not offered by GT-45: interface", 5000, 40.0),
        report("device-usb", 0, refused["usb"] + "\nmeasure: drain_ms 1.5", "", 5000, 50.0),
        report("device-uart", 0, refused["uart"], "", 5000, 60.0),
        report("unplug-log", 8, "", "the modem hung up: the device behind COM5 went away", 5000, 71.0),
        report("info-replug-log", 0, single("21"), "", 3000, 80.0),
        report("unplug-set", 8, "", "the modem hung up: the device behind COM5 went away", 5000, 91.0),
        report("while-unplugged", 3, "", "cannot open COM5", 500, 91.5),
        report("info-replug-set", 0, single("03"), "", 3000, 100.0),
        report("unplug-open", 0, "", "", 3000, 110.0),
        report("info-replug-open", 0, single("21"), "", 3000, 120.0),
    ]
    usb = [(46.0 + i / 1000, checks.CR) for i in range(checks.DRAIN_BYTES)] + [(88.0, 0x32), (88.1, checks.LF)]
    uart = [(56.0 + i / 1000, checks.CR) for i in range(checks.DRAIN_BYTES)]
    run = type("Run", (), {})()
    run.reports = {r.name: r for r in reports}
    run.actions = {("unplug", "unplug-log"): 70.0, ("replug", "unplug-log"): 72.0,
                   ("unplug", "unplug-set"): 90.0, ("replug", "unplug-set"): 92.0,
                   ("unplug", "unplug-open"): 108.0, ("hungup", "unplug-open"): 109.0}
    run.failures, run.usb, run.uart = [], FakeModem(usb), FakeModem(uart)
    return run


def replace(run, name, **fields):
    run.reports[name] = run.reports[name]._replace(**fields)


# Each fault, and a word of the failure that must name it.
FAULTS = [
    ("wrong serial number", lambda r: replace(r, "ports", out=r.reports["ports"].out.replace("S1", "S2")),
     "ttyUSB0"),
    ("ttyS2 with a UART", lambda r: replace(r, "ports", out=r.reports["ports"].out.replace(
        '"/dev/ttyS2", "usb": null, "no_uart": true', '"/dev/ttyS2", "usb": null, "no_uart": false')), "ttyS2"),
    ("no UART opened", lambda r: replace(r, "no-uart", status=6), "no-uart"),
    ("a port's model missing", lambda r: replace(r, "info", out=r.reports["info"].out.replace("KD-35", "")),
     "info"),
    ("set read back differs", lambda r: replace(r, "set", status=12), "set"),
    ("6 bits taken on the adapter", lambda r: replace(r, "device-usb", out=r.reports["device-uart"].out), "refused"),
    ("a byte before Close lost", lambda r: r.usb.bytes.pop(500), "999"),
    ("unplug not noticed", lambda r: replace(r, "unplug-log", status=0), "unplug-log"),
    ("lost-port message missing", lambda r: replace(r, "unplug-set", err="veltaro-cli: done"), "lacks"),
    ("run ended late", lambda r: replace(r, "unplug-log", stamp=73.5), "after the unplug"),
    ("hang-up seen late", lambda r: r.actions.update({("hungup", "unplug-open"): 111.5}), "after the unplug"),
    ("written after the unplug", lambda r: r.usb.bytes.append((91.0, 0x35)), "after the unplug"),
    ("written to the UART", lambda r: r.uart.bytes.append((89.0, 0x35)), "UART"),
    ("second key sent after replug", lambda r: replace(r, "info-replug-set", out=r.reports[
        "info-replug-set"].out.replace("1E", "07")), "settings"),
    ("a step never reported", lambda r: r.reports.pop("unplug-open"), "never reported"),
    ("an unplugged COM5 opened", lambda r: replace(r, "while-unplugged", status=0), "while-unplugged"),
    ("never plugged back", lambda r: r.actions.pop(("replug", "unplug-set")), "replug"),
]


class ChecksTest(unittest.TestCase):
    def test_a_good_run_passes(self):
        self.assertEqual(checks.check_all(good_run(), "S1", "GT-45", "KD-35")[0], [])

    def test_every_fault_fails_with_a_failure_that_names_it(self):
        for name, fault, word in FAULTS:
            with self.subTest(fault=name):
                run = good_run()
                fault(run)
                failures = checks.check_all(run, "S1", "GT-45", "KD-35")[0]
                self.assertTrue(any(word in failure for failure in failures), failures)


if __name__ == "__main__":
    unittest.main()
