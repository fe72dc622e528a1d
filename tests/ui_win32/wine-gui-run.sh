#!/bin/sh
# Runs a Windows program that opens windows under Wine with its null graphics driver: the
# windows, messages and GDI drawing are real, nothing is shown. The prefix is the GUI
# tests' own (made on first use) so that the setting touches no other test's prefix.
# Usage: wine-gui-run.sh PREFIX RUNNER... PROGRAM ARGS...
#   where RUNNER is the normal Wine runner (wine-run.sh with its arguments), whose own
#   prefix argument is replaced by PREFIX.
set -eu
prefix=$1
shift
# RUNNER is "sh wine-run.sh OLD_PREFIX HOST PRELOAD"; put this prefix in its place.
shell=$1 script=$2 host=$4 preload=$5
shift 5
if [ ! -f "$prefix/.null-graphics" ]; then
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" WINEDEBUG=-all flock "$prefix.lock" sh -c '
        [ -f "$WINEPREFIX/.null-graphics" ] && exit 0
        [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
        wine reg add "HKCU\\Software\\Wine\\Drivers" /v Graphics /d null /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.null-graphics"'
fi
exec "$shell" "$script" "$prefix" "$host" "$preload" "$@"
