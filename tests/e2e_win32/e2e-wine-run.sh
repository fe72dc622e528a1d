#!/bin/sh
# Runs a Windows end-to-end test program under Wine beside the modem simulator, which runs
# natively on a pseudo-terminal linked as a COM port of the Wine prefix. The program asks
# for its modem by writing "MODEL COM [OPTIONS]" to request in the session folder
# ($VELTARO_E2E_DIR, which it sees through Wine's Z: drive); the simulator's slave path in
# ready says it is up; its traces of received and sent bytes are trace and trace-out.
# Usage: e2e-wine-run.sh SIMULATOR PREFIX RUNNER... PROGRAM ARGS...
#   RUNNER as for wine-gui-run.sh, whose prefix becomes PREFIX.
set -eu
sim=$1 prefix=$2
shift 2
session=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-e2e.XXXXXX")
cleanup() {
    touch "$session/end"
    if [ -s "$session/sim.pid" ]; then
        kill "$(cat "$session/sim.pid")" 2>/dev/null || true
    fi
    rm -rf "$session"
}
trap cleanup EXIT INT TERM

serve() {
    while [ ! -s "$session/request" ]; do
        [ -e "$session/end" ] && return 0
        sleep 0.05
    done
    read -r model com extra <"$session/request"
    mkdir -p "$prefix/dosdevices"
    # shellcheck disable=SC2086  # extra holds the simulator's further options
    BRENLOW_PORT_DIR="$prefix/dosdevices" "$sim" --model "$model" --com "$com" ${extra:-} \
        --trace "$session/trace" --trace-out "$session/trace-out" >"$session/ready.part" &
    pid=$!
    echo "$pid" >"$session/sim.pid"
    while [ ! -s "$session/ready.part" ]; do
        kill -0 "$pid" 2>/dev/null || return 0  # it failed; the program times out
        [ -e "$session/end" ] && return 0
        sleep 0.02
    done
    mv "$session/ready.part" "$session/ready"
}
serve &
server=$!

# The runner prepares the prefix (null graphics) before the program asks for a port.
VELTARO_E2E_DIR="Z:$session" "$@" && status=0 || status=$?
touch "$session/end"
wait "$server" || true
exit "$status"
