#!/bin/sh
# Runs a Windows program that opens windows under Wine with its null graphics driver: the
# windows, messages and GDI drawing are real, nothing is shown. The prefix is the GUI
# tests' own (made on first use) so that the setting touches no other test's prefix. With
# VELTARO_WINE_DPI set (144, 192, ...), the screen has that many dots per inch, in a prefix
# of its own (PREFIX-dpiN).
# Usage: wine-gui-run.sh PREFIX RUNNER... PROGRAM ARGS...
#   where RUNNER is the normal Wine runner (wine-run.sh with its arguments), whose own
#   prefix argument is replaced by PREFIX.
set -eu
prefix=$1
shift
dpi=${VELTARO_WINE_DPI:-96}
[ "$dpi" = 96 ] || prefix=$prefix-dpi$dpi
# RUNNER is "sh wine-run.sh OLD_PREFIX HOST PRELOAD"; put this prefix in its place.
shell=$1 script=$2 host=$4 preload=$5
shift 5
if [ ! -f "$prefix/.null-graphics" ]; then
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" WINEDEBUG=-all DPI=$dpi flock "$prefix.lock" sh -c '
        [ -f "$WINEPREFIX/.null-graphics" ] && exit 0
        [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
        wine reg add "HKCU\\Software\\Wine\\Drivers" /v Graphics /d null /f >/dev/null 2>&1
        [ "$DPI" = 96 ] || wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels \
            /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.null-graphics"'
fi
exec "$shell" "$script" "$prefix" "$host" "$preload" "$@"
