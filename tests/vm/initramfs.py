"""The guest's root file system: busybox, the kernel modules of the USB serial adapter in
load order, the project's programs with the shared libraries ldd finds, and the guest's
scripts, written as an uncompressed newc cpio archive (what the kernel unpacks)."""

import os
import re
import shutil
import stat
import subprocess

from stage_error import StageError

# The adapter's drivers; their dependencies are read from each module's depends= field.
ADAPTER_MODULES = ["xhci-pci", "ftdi_sio"]


class Archive:
    """Collects entries by path and writes them as newc; parent folders are added on the way."""

    def __init__(self):
        self.entries = {}

    def folder(self, path):
        path = path.strip("/")
        parts = path.split("/")
        for i in range(1, len(parts) + 1):
            self.entries.setdefault("/".join(parts[:i]), (stat.S_IFDIR | 0o755, b""))

    def file(self, path, data, mode=0o755):
        path = path.strip("/")
        self.folder(os.path.dirname(path)) if "/" in path else None
        self.entries[path] = (stat.S_IFREG | mode, data)

    def link(self, path, target):
        path = path.strip("/")
        self.folder(os.path.dirname(path)) if "/" in path else None
        self.entries[path] = (stat.S_IFLNK | 0o777, target.encode())

    def write(self, out_path):
        with open(out_path, "wb") as out:
            for number, (name, (mode, data)) in enumerate(sorted(self.entries.items()), start=1):
                out.write(_header(name, mode, len(data), number))
                out.write(data)
                out.write(b"\0" * (-len(data) % 4))
            out.write(_header("TRAILER!!!", 0, 0, 0))
            out.write(b"\0" * (-out.tell() % 512))


def _header(name, mode, size, inode):
    encoded = name.encode() + b"\0"
    fields = [inode, mode, 0, 0, 1, 0, size, 0, 0, 0, 0, len(encoded), 0]
    header = b"070701" + b"".join(b"%08X" % value for value in fields) + encoded
    return header + b"\0" * (-len(header) % 4)


def module_files(modules_dir):
    files = {}
    for folder, _, names in os.walk(modules_dir):
        for name in names:
            if name.endswith(".ko"):
                files[name[:-3].replace("_", "-")] = os.path.join(folder, name)
    return files


def module_depends(path):
    with open(path, "rb") as module:
        match = re.search(rb"(?:^|\0)depends=([^\0]*)", module.read())
    return [name.decode().replace("_", "-") for name in match.group(1).split(b",") if name] if match else []


def load_order(modules_dir, wanted=ADAPTER_MODULES):
    """Module paths, every one after those it depends on."""
    files = module_files(modules_dir)
    order = []

    def visit(name):
        key = name.replace("_", "-")
        if key not in files:
            raise StageError(f"kernel module {name} is not in {modules_dir}")
        if files[key] in order:
            return
        for dependency in module_depends(files[key]):
            visit(dependency)
        order.append(files[key])

    for name in wanted:
        visit(name)
    return order


def shared_libraries(binary):
    """Absolute paths of what the dynamic loader maps for binary, the loader included."""
    result = subprocess.run(["ldd", binary], capture_output=True, text=True)
    if result.returncode != 0:
        raise StageError(f"ldd {binary}: {result.stderr.strip()}")
    libraries = []
    for line in result.stdout.splitlines():
        if "not found" in line:
            raise StageError(f"ldd {binary}: {line.strip()}")
        match = re.search(r"(/\S+)\s+\(0x", line)
        if match:
            libraries.append(match.group(1))
    return libraries


def _read(path):
    with open(path, "rb") as source:
        return source.read()


def build(out_path, kernel, programs, guest_files):
    """programs: host paths put into /opt/veltaro/bin; guest_files: {guest path: host path}."""
    archive = Archive()
    for folder in ["dev", "proc", "sys", "tmp", "bin", "sbin", "root"]:
        archive.folder(folder)
    busybox = shutil.which("busybox")
    if not busybox:
        raise StageError("busybox is not installed (Debian package busybox-static)")
    if subprocess.run(["ldd", busybox], capture_output=True).returncode == 0:
        raise StageError(f"{busybox} is linked dynamically; the guest needs busybox-static")
    archive.file("bin/busybox", _read(busybox))
    order = load_order(kernel.modules)
    for path in order:
        archive.file("lib/modules/" + os.path.basename(path), _read(path), 0o644)
    names = "".join(os.path.basename(path) + "\n" for path in order)
    archive.file("lib/modules/load-order", names.encode(), 0o644)
    libraries = set()
    for program in programs:
        archive.file("opt/veltaro/bin/" + os.path.basename(program), _read(program))
        libraries.update(shared_libraries(program))
    # The project's own libraries go where the programs' run path ($ORIGIN/../lib) looks.
    project = os.path.dirname(os.path.dirname(os.path.abspath(programs[0]))) + "/"
    for library in sorted(libraries):
        inside = library.startswith(project)
        guest_path = "opt/veltaro/lib/" + os.path.basename(library) if inside else library
        archive.file(guest_path, _read(os.path.realpath(library)))
    for guest_path, host_path in guest_files.items():
        archive.file(guest_path, _read(host_path))
    archive.link("init", "/stage/init.sh")
    archive.write(out_path)
    return [os.path.basename(path) for path in order]
