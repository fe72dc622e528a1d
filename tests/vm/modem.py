"""A simulated modem on the host, its pseudo-terminal handed to QEMU as a serial chardev,
with its trace of received bytes ("<ms> <hex>" on CLOCK_MONOTONIC, time.monotonic's clock)."""

import os
import signal
import subprocess

from stage_error import StageError


class Modem:
    def __init__(self, sim, model, work_dir, name):
        self.name = name
        self.trace_path = os.path.join(work_dir, f"{name}.trace")
        self.process = subprocess.Popen(
            [sim, "--model", model, "--trace", self.trace_path],
            stdout=subprocess.PIPE, stderr=open(os.path.join(work_dir, f"{name}.err"), "w"), text=True)
        self.pty = self.process.stdout.readline().strip()
        if not self.pty.startswith("/dev/"):
            raise StageError(f"the simulator for the {name} did not start (see {name}.err)")

    def received(self, since=0.0, until=float("inf")):
        """(seconds, byte) of what it received in the time window, on the host's clock."""
        out = []
        with open(self.trace_path) as trace:
            for line in trace:
                fields = line.split()
                if len(fields) == 2:
                    seconds = float(fields[0]) / 1000
                    if since <= seconds <= until:
                        out.append((seconds, int(fields[1], 16)))
        return out

    def hold(self):
        """Stops it sending (and reading) until release."""
        self.process.send_signal(signal.SIGSTOP)

    def release(self):
        self.process.send_signal(signal.SIGCONT)

    def stop(self):
        self.release()
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
