#!/bin/sh
# Runs a Windows test program of veltaro-cli under Wine, with a console, beside the modem
# simulators it asks for. The simulators run natively, each on a pseudo-terminal linked as
# a COM port of the prefix; the program asks through files in the session folder
# ($VELTARO_CLI_SESSION, seen through Wine's Z: drive; the protocol is described in
# tests/cli/support/win32/simulated_modem.cpp).
# The CLI's tables name fixed COM numbers, so the prefix is this runner's alone and its runs
# take turns; Wine's own links (COM1 to /dev/ttyS0, ...) are taken out for the run.
# The program gets a console from Wine because its input is a terminal (script(1)): Ctrl-C
# can then be sent to a process group of that console. Its output goes through a file.
# Usage: cli-wine-run.sh SIMULATOR PREFIX PRELOAD_DIR PROGRAM ARGS...
set -eu
sim=$1 prefix=$2 preload=$3
shift 3

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Unix file names are UTF-8 to Wine only in a UTF-8 locale.
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$prefix"
exec 9>"$prefix.run.lock"
flock 9
if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 && wineserver -w
fi
# Wine makes its COM links when its device services start with the first program; start
# them now, then take the links out while the server stays up for the whole run.
wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
for link in "$prefix"/dosdevices/com*; do
    case $link in *.lock) continue ;; esac
    if [ -L "$link" ] && [ ! -e "$link.lock" ]; then
        rm -f "$link"
    fi
done

session=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-cli-wine.XXXXXX")
cleanup() {
    touch "$session/end"
    for pidfile in "$session"/sim-*.pid; do
        [ -s "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
    done
    sleep 0.2
    rm -rf "$session"
    wineserver -k >/dev/null 2>&1 || true
}
trap cleanup EXIT INT TERM

start_sim() {  # ID
    read -r model com extra <"$session/request-$1"
    # shellcheck disable=SC2086  # extra holds the simulator's further options
    BRENLOW_PORT_DIR="$prefix/dosdevices" "$sim" --fast --model "$model" --com "$com" ${extra:-} \
        --trace "$session/trace-$1" >"$session/ready-$1.part" 2>"$session/sim-$1.err" &
    echo "$!" >"$session/sim-$1.pid"
}

stop_sim() {  # ID
    pid=$(cat "$session/sim-$1.pid" 2>/dev/null || true)
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        while kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
    fi
    : >"$session/sim-$1.pid"
    touch "$session/stopped-$1"
}

serve() {
    while [ ! -e "$session/end" ]; do
        for request in "$session"/request-*; do
            id=${request##*/request-}
            case $id in *.part | '*') continue ;; esac
            if [ ! -e "$session/sim-$id.pid" ]; then
                start_sim "$id"
            fi
        done
        for part in "$session"/ready-*.part; do
            [ -s "$part" ] && mv "$part" "${part%.part}"
        done
        for stop in "$session"/stop-*; do
            id=${stop##*/stop-}
            case $id in *.part | '*') continue ;; esac
            [ -e "$session/stopped-$id" ] || stop_sim "$id"
        done
        sleep 0.02
    done
}
serve &

quoted=""
for arg in "$@"; do
    quoted="$quoted '$(printf '%s' "$arg" | sed "s/'/'\\\\''/g")'"
done
out="$session/output"
VELTARO_CLI_SESSION="Z:$session" LD_PRELOAD="$preload/\$LIB/libbrenlow_pty_modem_lines.so" \
    script -qec "wine $quoted >'$out' 2>&1" /dev/null </dev/null >/dev/null 2>&1 &&
    status=0 || status=$?
cat "$out"
exit "$status"
