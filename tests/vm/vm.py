"""The guest: QEMU on TCG with the console on its standard output (each line stamped with the
host's monotonic clock as it arrives), the UART and the USB adapter on the modems' terminals,
and the adapter unplugged and plugged back through QMP."""

import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time

from qmp import Qmp
from stage_error import StageError

ADAPTER_ID = "ftdi"


def find_qemu():
    qemu = shutil.which("qemu-system-x86_64")
    if not qemu:
        raise StageError("qemu-system-x86_64 is not installed (Debian package qemu-system-x86)")
    return qemu


class Guest:
    def __init__(self, kernel_image, initrd, uart_pty, usb_pty, serial, work_dir):
        qemu = find_qemu()
        self.serial = serial
        # A socket's path has at most 107 bytes; a deep checkout's work folder may not fit.
        self.socket_dir = tempfile.mkdtemp(prefix="veltaro-vm-")
        monitor = os.path.join(self.socket_dir, "qmp.sock")
        # KVM hung at boot on these machines; TCG boots Debian's kernel in a few seconds.
        # Kernel messages stay off the console, where they could split the guest's report
        # lines; the guest prints its kernel log at the end instead.
        command = [
            qemu, "-accel", "tcg", "-m", "256", "-smp", "1", "-nodefaults", "-display", "none",
            "-no-reboot", "-kernel", kernel_image, "-initrd", initrd,
            "-append", "console=ttyS0 loglevel=1 panic=-1",
            "-chardev", "stdio,id=console,signal=off", "-serial", "chardev:console",
            "-chardev", f"serial,id=uart,path={uart_pty}", "-serial", "chardev:uart",
            "-chardev", f"serial,id=usb,path={usb_pty}",
            "-device", "qemu-xhci,id=xhci",
            "-device", self._adapter_args(),
            "-qmp", f"unix:{monitor},server=on,wait=off",
        ]
        self.log = open(os.path.join(work_dir, "console.log"), "w")
        self.log.write(f"{time.monotonic():.3f} (QEMU starts)\n")
        self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT)
        self.lines = queue.Queue()
        threading.Thread(target=self._read_console, daemon=True).start()
        try:
            self.qmp = Qmp(monitor)
        except StageError as error:
            self.process.kill()
            self.process.wait()
            shutil.rmtree(self.socket_dir, ignore_errors=True)
            raise StageError(f"QEMU did not start: {error} (its messages are in console.log)")

    def _adapter_args(self):
        return f"usb-serial,id={ADAPTER_ID},bus=xhci.0,chardev=usb,serial={self.serial}"

    def _read_console(self):
        for raw in self.process.stdout:
            line = raw.decode(errors="replace").rstrip("\r\n")
            stamp = time.monotonic()
            self.log.write(f"{stamp:.3f} {line}\n")
            self.log.flush()
            self.lines.put((stamp, line))
        self.lines.put((time.monotonic(), None))

    def next_line(self, deadline):
        """(host time, line) of the next console line; line None once QEMU has ended."""
        left = deadline - time.monotonic()
        if left <= 0:
            raise StageError("the guest did not finish in time (see console.log)")
        try:
            return self.lines.get(timeout=left)
        except queue.Empty:
            raise StageError("the guest did not finish in time (see console.log)")

    def unplug(self, modem):
        """Pulls the adapter out; returns the host time of the pull.

        QEMU 7.2 crashes when a byte from the chardev reaches the adapter between its unplug
        and its end (usb_wakeup on a device without a bus), so its modem is held still
        meanwhile: a pause of some 0.3 s in what the modem sends, unseen by the guest, which
        has lost the adapter by then."""
        modem.hold()
        try:
            time.sleep(0.05)  # the byte on its way lands first
            pulled = time.monotonic()
            self.qmp.execute("device_del", id=ADAPTER_ID)
            if not self.qmp.wait_gone(ADAPTER_ID, 5):
                raise StageError("QEMU did not report the adapter deleted within 5 s")
            time.sleep(0.2)  # the device's end follows its deletion
        finally:
            modem.release()
        return pulled

    def replug(self):
        # QEMU frees the id a moment after the guest let go of the device.
        deadline = time.monotonic() + 5
        while True:
            try:
                self.qmp.execute("device_add", driver="usb-serial", id=ADAPTER_ID, bus="xhci.0",
                                 chardev="usb", serial=self.serial)
                return
            except StageError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.1)

    def exit_status(self):
        return self.process.poll()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self.qmp.close()
        self.log.close()
        shutil.rmtree(self.socket_dir, ignore_errors=True)
