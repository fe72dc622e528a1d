#!/bin/sh
# Runs a Windows test program under Wine, in the build's own prefix (never the user's),
# beside the native host that plays the modems on pseudo-terminals. The first run makes
# the prefix; runs side by side wait for it.
# Usage: wine-run.sh PREFIX HOST PRELOAD_DIR PROGRAM ARGS...
set -eu
prefix=$1 host=$2 preload=$3
shift 3

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    flock "$prefix.lock" sh -c \
        '[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1 && wineserver -w; }'
fi
# The server opens the devices, so a pseudo-terminal can become its controlling terminal;
# when a test's modem hangs up, the server then dumps its state on SIGHUP. Started here, its
# output goes nowhere instead of into the test's; it ends a few seconds after the last run.
wineserver -p3 </dev/null >/dev/null 2>&1 || true
# Wine's helper processes that a run starts (services, the device manager) can outlive it
# while other runs keep the server up; holding the test's output open, they would keep
# CTest waiting after the test ended. So the output goes through a file.
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$out"' EXIT
# ld.so picks the build that matches each process: 32-bit Wine, 64-bit Wine and the host.
LD_PRELOAD="$preload/\$LIB/libbrenlow_pty_modem_lines.so" "$host" wine "$@" </dev/null \
    >"$out" 2>&1 && status=0 || status=$?
cat "$out"
exit "$status"
