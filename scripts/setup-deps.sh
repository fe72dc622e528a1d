#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with, only those missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    qt6-base-dev libgl-dev
    fonts-nanum fonts-dejavu-core xvfb xauth
    python3 groff-base desktop-file-utils appstream dpkg-dev file lintian
    # Windows: cross compilers (POSIX threads), GoogleTest's sources for them, Wine with its
    # 32-bit part for the i686 tests, and a 32-bit C compiler for the test-only preload.
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest
    wine wine64 wine32:i386 gcc-multilib
    # Windows packages: the installer and the zip.
    nsis zip
    # JSON (profiles, --json output) and the CLI's command line: header-only libraries.
    nlohmann-json3-dev libcli11-dev
    # Fleet tests: Ansible drives veltaro-cli on an inventory of local hosts.
    ansible-core
    # Real serial drivers: a QEMU guest on Debian's kernel with a busybox initramfs.
    qemu-system-x86 busybox-static
    # Faster rebuilds for developers (CMAKE_CXX_COMPILER_LAUNCHER=ccache); the scripts do not need it.
    ccache
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
# wine32 is an i386 package: its architecture must be known before the package lists are read.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
