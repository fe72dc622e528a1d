#!/usr/bin/env python3
"""The real-driver stage: boots a QEMU guest on Debian's kernel with an emulated FTDI adapter
and a second 16550 UART, both on simulated modems of the host, runs the guest's steps, acts
on its requests (unplug, replug) and checks every report.

    run_stage.py BIN_DIR WORK_DIR [CACHE_DIR]

Exit status 0 when every check passed; 1 with the failures listed otherwise, including
when QEMU or the kernel package cannot be had."""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import checks  # noqa: E402
import initramfs  # noqa: E402
import kernel_cache  # noqa: E402
from modem import Modem  # noqa: E402
from stage_error import StageError  # noqa: E402
from vm import Guest, find_qemu  # noqa: E402

ADAPTER_SERIAL = "VT20A5"
USB_MODEL, UART_MODEL = "GT-45", "KD-35"
# A guard against a hung guest; a run takes 1.5 to 2.5 minutes on a busy 2-core machine.
STAGE_SECONDS = 240
GUEST_PROGRAMS = ["veltaro-cli", "brenlow_device_test"]


class Run:
    """What the guest reported and when the host acted, on the host's clock."""

    def __init__(self, guest, usb, uart):
        self.guest, self.usb, self.uart = guest, usb, uart
        self.reports = {}
        self.actions = {}  # (request, step) -> host time
        self.failures = []

    def act(self, stamp, words):
        request, step = words[0], (words[1] if len(words) > 1 else "")
        if request == "UNPLUG":
            self.actions[("unplug", step)] = self.guest.unplug(self.usb)
        elif request == "UNPLUG_AFTER_VALUE":
            self.actions[("unplug", step)] = self.unplug_after_line_end(stamp)
        elif request == "REPLUG":
            self.actions[("replug", step)] = time.monotonic()
            self.guest.replug()
        elif request == "HUNGUP":
            self.actions[("hungup", step)] = stamp
        elif request == "FAIL":
            self.failures.append("guest: " + " ".join(words[1:]))

    def unplug_after_line_end(self, since):
        """Unplugs once the adapter's modem got the first value's line end: between two keys."""
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            if any(byte in (0x0A, 0x0D) for _, byte in self.usb.received(since)):
                return self.guest.unplug(self.usb)
            time.sleep(0.02)
        raise StageError("the set never finished its first value on the adapter")

    def follow(self, deadline):
        current, lines, stream = None, {"out": [], "err": []}, "out"
        while True:
            stamp, line = self.guest.next_line(deadline)
            if line is None or line.startswith("@@DONE"):
                return
            if line.startswith("@@BEGIN "):
                current, lines, stream = line.split()[1], {"out": [], "err": []}, "out"
            elif line == "@@STDERR" and current:
                stream = "err"
            elif line.startswith("@@END ") and current:
                _, name, status, milliseconds = line.split()
                self.reports[name] = checks.Report(name, int(status), "\n".join(lines["out"]),
                                                   "\n".join(lines["err"]), int(milliseconds), stamp)
                current = None
            elif line.startswith("@@") and current is None:
                self.act(stamp, line[2:].split())
            elif current:
                lines[stream].append(line)


def prepare(bin_dir, work_dir, cache_dir):
    kernel = kernel_cache.fetch(cache_dir)
    if kernel.config("CONFIG_SERIAL_8250") != "y":
        raise StageError("this kernel has no built-in 8250 driver")
    programs = [os.path.join(bin_dir, name) for name in GUEST_PROGRAMS]
    for program in programs:
        if not os.access(program, os.X_OK):
            raise StageError(f"{program} is not built")
    guest_files = {f"stage/{name}": os.path.join(HERE, "guest", name)
                   for name in os.listdir(os.path.join(HERE, "guest"))}
    initrd = os.path.join(work_dir, "initrd.cpio")
    modules = initramfs.build(initrd, kernel, programs, guest_files)
    print(f"vm: kernel {kernel.release}, modules {' '.join(modules)}", flush=True)
    return kernel, initrd


def stage(bin_dir, work_dir, cache_dir):
    os.makedirs(work_dir, exist_ok=True)
    find_qemu()  # before the kernel's download, which is of no use without it
    kernel, initrd = prepare(bin_dir, work_dir, cache_dir)
    sim = os.path.join(bin_dir, "veltaro-modem-sim")
    usb = Modem(sim, USB_MODEL, work_dir, "usb")
    uart = Modem(sim, UART_MODEL, work_dir, "uart")
    guest = None
    try:
        started = time.monotonic()
        guest = Guest(kernel.image, initrd, uart.pty, usb.pty, ADAPTER_SERIAL, work_dir)
        run = Run(guest, usb, uart)
        try:
            run.follow(started + STAGE_SECONDS)
        except StageError as error:
            status = guest.exit_status()
            raise StageError(f"{error}; QEMU {'runs' if status is None else f'ended with status {status}'}")
        print(f"vm: guest ran {time.monotonic() - started:.1f} s", flush=True)
        failures, figures = checks.check_all(run, ADAPTER_SERIAL, USB_MODEL, UART_MODEL)
        for name, value in sorted(figures.items()):
            print(f"vm: measured {name}: {value:.2f}")
        return failures
    finally:
        if guest:
            guest.stop()
        usb.stop()
        uart.stop()


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    bin_dir, work_dir = sys.argv[1], os.path.abspath(sys.argv[2])
    cache_dir = sys.argv[3] if len(sys.argv) == 4 else os.path.join(work_dir, "cache")
    try:
        failures = stage(bin_dir, work_dir, cache_dir)
    except StageError as error:
        failures = [str(error)]
    for failure in failures:
        print(f"vm: FAILED: {failure}", file=sys.stderr)
    print(f"vm: {'FAILED' if failures else 'passed'} (logs in {work_dir})", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
