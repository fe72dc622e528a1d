"""QEMU's machine protocol over its Unix socket: commands in, answers out; events are kept."""

import json
import socket
import time

from stage_error import StageError


class Qmp:
    def __init__(self, path, timeout=10):
        deadline = time.monotonic() + timeout
        while True:
            try:
                self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                self.sock.connect(path)
                break
            except OSError:
                self.sock.close()
                if time.monotonic() > deadline:
                    raise StageError(f"QEMU's monitor socket {path} does not answer")
                time.sleep(0.05)
        self.sock.settimeout(timeout)
        self.reader = self.sock.makefile("r")
        self.events = []
        self._read()  # the greeting
        self.execute("qmp_capabilities")

    def _read(self):
        try:
            line = self.reader.readline()
        except OSError as error:
            raise StageError(f"QEMU's monitor connection broke ({error})")
        if not line:
            raise StageError("QEMU closed its monitor socket")
        return json.loads(line)

    def execute(self, command, **arguments):
        request = {"execute": command}
        if arguments:
            request["arguments"] = arguments
        try:
            self.sock.sendall(json.dumps(request).encode() + b"\n")
        except OSError as error:
            raise StageError(f"QEMU's monitor connection broke ({error})")
        while True:
            answer = self._read()
            if "event" in answer:
                self.events.append(answer)
            elif "error" in answer:
                raise StageError(f"QMP {command}: {answer['error'].get('desc', answer['error'])}")
            elif "return" in answer:
                return answer["return"]

    def wait_gone(self, device_id, timeout):
        """Waits until the device has left QEMU's object tree; False on timeout."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                self.execute("qom-get", path=f"/machine/peripheral/{device_id}", property="type")
            except StageError:
                return True
            time.sleep(0.02)
        return False

    def close(self):
        self.reader.close()
        self.sock.close()
