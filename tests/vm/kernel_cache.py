"""Debian's kernel for the guest: downloaded with apt-get and unpacked with dpkg -x into a
cache folder outside the tracked files, never installed on the host."""

import glob
import os
import re
import subprocess

from stage_error import StageError

META_PACKAGE = "linux-image-amd64"


def _run(args, cwd=None):
    result = subprocess.run(args, cwd=cwd, capture_output=True, text=True)
    if result.returncode != 0:
        said = result.stderr.strip() or result.stdout.strip() or f"exit status {result.returncode}"
        raise StageError(f"{' '.join(args)} failed: {said}")
    return result.stdout


def _update_package_lists():
    sudo = [] if os.geteuid() == 0 else ["sudo", "-n"]
    _run(sudo + ["apt-get", "update", "-qq"])


def image_package():
    """The versioned package that the meta package points at (linux-image-6.1.0-NN-amd64)."""
    try:
        depends = _run(["apt-cache", "depends", META_PACKAGE])
    except StageError:
        _update_package_lists()  # a fresh machine may have no package lists yet
        depends = _run(["apt-cache", "depends", META_PACKAGE])
    match = re.search(r"Depends:\s*(linux-image-[0-9][^\s]*)", depends)
    if not match:
        raise StageError(f"apt-cache knows no kernel image behind {META_PACKAGE}")
    return match.group(1)


class Kernel:
    def __init__(self, root):
        self.root = root
        images = glob.glob(os.path.join(root, "boot", "vmlinuz-*"))
        if len(images) != 1:
            raise StageError(f"expected one kernel image under {root}/boot, found {len(images)}")
        self.image = images[0]
        self.release = os.path.basename(self.image)[len("vmlinuz-"):]
        self.modules = os.path.join(root, "lib", "modules", self.release)

    def config(self, option):
        """A kernel option's value from the package's config file: 'y', 'm', a number, or None."""
        with open(os.path.join(self.root, "boot", f"config-{self.release}")) as config:
            for line in config:
                if line.startswith(option + "="):
                    return line.strip().split("=", 1)[1]
        return None


def fetch(cache_dir):
    """Returns the unpacked kernel, downloading it on the first run only."""
    os.makedirs(cache_dir, exist_ok=True)
    package = image_package()
    root = os.path.join(cache_dir, package)
    stamp = os.path.join(root, ".unpacked")
    if not os.path.exists(stamp):
        debs = glob.glob(os.path.join(cache_dir, f"{package}_*.deb"))
        if not debs:
            try:
                _run(["apt-get", "download", package], cwd=cache_dir)
            except StageError:
                _update_package_lists()  # the lists name a version the mirror has dropped
                _run(["apt-get", "download", package], cwd=cache_dir)
            debs = glob.glob(os.path.join(cache_dir, f"{package}_*.deb"))
        if len(debs) != 1:
            raise StageError(f"apt-get download {package} left {len(debs)} packages in {cache_dir}")
        _run(["dpkg", "-x", debs[0], root])
        open(stamp, "w").close()
    return Kernel(root)
