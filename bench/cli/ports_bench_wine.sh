#!/usr/bin/env bash
# The figures of ports_bench.sh for veltaro-cli.exe under Wine, beside the Linux ones:
# `set power=5` on 1, 4 and 16 simulated GT-45s at once, median wall time and the ratio to
# one port. The simulators run natively on pseudo-terminals linked as COM ports of a Wine
# prefix of the bench's own; the test-only preload lets Wine wait on them (real ports need
# nothing of it).
#
#   bench/cli/ports_bench_wine.sh [WIN-BUILD-DIR] [LINUX-BIN-DIR] [RUNS]
#
# WIN-BUILD-DIR: the win32 or win64 preset's build (default build/win32; the targets
# veltaro-cli, veltaro_native_modem_sim and windows_test_natives built). LINUX-BIN-DIR as
# for ports_bench.sh (default build/release/bin, else build/dev/bin); "-" skips Linux.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
linux=${2:-}
[ -z "$linux" ] || [ "$linux" = "-" ] || linux=$(cd "$linux" && pwd)
runs=${3:-3}
native=$build/test-native
for file in "$build/bin/veltaro-cli.exe" "$native/veltaro-modem-sim"; do
    [ -f "$file" ] || { echo "ports_bench_wine: no $file (build it first)" >&2; exit 2; }
done

# The prefix of the CLI's Wine tests, and their turn: nothing else uses its COM ports then.
export WINEPREFIX=$build/wineprefix-cli WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX.run.lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 && wineserver -w
fi
# The server stays up for the whole measure, so Wine's start-up is the same in every run
# and its own COM links (COM1 to /dev/ttyS0, ...) are not made again once taken out.
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
for link in "$WINEPREFIX"/dosdevices/com*; do
    [ -L "$link" ] && [ ! -e "$link.lock" ] && rm -f "$link"
done

echo "veltaro-cli.exe under Wine ($(wine --version)):"
LD_PRELOAD="$native/\$LIB/libbrenlow_pty_modem_lines.so" \
    PORTS_BENCH_CLI="wine $build/bin/veltaro-cli.exe" PORTS_BENCH_SIM="$native/veltaro-modem-sim" \
    PORTS_BENCH_PORT_DIR="$WINEPREFIX/dosdevices" "$root/bench/cli/ports_bench.sh" - "$runs"
if [ "$linux" != "-" ]; then
    echo
    echo "veltaro-cli on Linux:"
    "$root/bench/cli/ports_bench.sh" "$linux" "$runs"
fi
