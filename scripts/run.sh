#!/usr/bin/env bash
# Sets up, builds and runs Veltaro against a simulated modem attached as COM1 through a
# private port directory (never your own). Without a display it says so and runs the
# terminal program's `info` against the same simulator instead. The simulator is stopped
# when the program ends.
#
#   scripts/run.sh [--model CODE]     default model: GT-45 (wide-range, GT period family)
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; }

model="GT-45"
while [ $# -gt 0 ]; do
    case "$1" in
        --model) [ $# -ge 2 ] || { echo "run.sh: --model needs a model code" >&2; exit 2; }
                 model="$2"; shift 2 ;;
        --model=*) model="${1#--model=}"; shift ;;
        -h|--help) usage; exit 0 ;;
        *) echo "run.sh: unknown option '$1' (try --help)" >&2; exit 2 ;;
    esac
done

# A display the program can really reach: an X server whose local socket exists (or a
# remote one), or a Wayland socket. A stale DISPLAY would only make the program abort.
display_available() {
    if [ -n "${DISPLAY:-}" ]; then
        case "$DISPLAY" in
            :*|unix:*) local n="${DISPLAY#*:}"; n="${n%%.*}"
                       [ -S "/tmp/.X11-unix/X$n" ] && return 0 ;;
            *) return 0 ;;
        esac
    fi
    if [ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${XDG_RUNTIME_DIR:-}" ] &&
       [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]; then
        return 0
    fi
    return 1
}

scripts/setup-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target veltaro veltaro-modem-sim veltaro-cli
bin=build/release/bin

port_dir=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-ports.XXXXXX")
sim_out="$port_dir/sim.out"
sim_pid=""
stop_sim() {
    [ -n "$sim_pid" ] || return 0
    kill -TERM "$sim_pid" 2>/dev/null || true
    for _ in $(seq 1 30); do
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
}
cleanup() {
    stop_sim
    rm -rf "$port_dir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

export BRENLOW_PORT_DIR="$port_dir"
"$bin/veltaro-modem-sim" --model "$model" --com 1 >"$sim_out" 2>&1 &
sim_pid=$!
# It prints its terminal's path once the port entry com1 is in place.
slave=""
for _ in $(seq 1 100); do
    slave=$(head -n1 "$sim_out" 2>/dev/null || true)
    [ -n "$slave" ] && [ -e "$port_dir/com1" ] && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        cat "$sim_out" >&2
        sim_pid=""
        exit 1
    fi
    sleep 0.05
done
if [ -z "$slave" ] || [ ! -e "$port_dir/com1" ]; then
    echo "run.sh: the simulator did not come up" >&2
    exit 1
fi
echo "Simulated modem $model on COM1 ($slave)."

if display_available; then
    echo "Starting Veltaro: the COM number is already 1, press Open."
    "$bin/veltaro"
else
    echo "No display available: running 'veltaro-cli --com 1 info' against the simulator instead."
    # The terminal program bounds its own waits; the outer limit only guards against a fault.
    timeout --kill-after=5 60 "$bin/veltaro-cli" --com 1 info
fi
