#!/usr/bin/env bash
# Wall time of `veltaro-cli set` on 1, 4 and 16 simulated modems at once (one setting each),
# and the ratio to one port. The modems are veltaro-modem-sim at the real 9600-baud pacing,
# each on its own COM number of a private port directory, all of one model ($MODEL, default
# GT-45): models differ in what is read (a KD model has a second information screen), and
# the ratio is to show what running at once costs, not which model is slowest.
#
#   bench/cli/ports_bench.sh [BIN-DIR] [RUNS]
#
# BIN-DIR holds veltaro-cli and veltaro-modem-sim (default: build/release/bin, else
# build/dev/bin); RUNS per count (default 3), of which the median is reported.
# bench/cli/ports_bench_wine.sh runs the same measure on veltaro-cli.exe under Wine through
# PORTS_BENCH_CLI (the command that runs the CLI), PORTS_BENCH_SIM (the simulator) and
# PORTS_BENCH_PORT_DIR (where the COM ports are linked: the Wine prefix's dosdevices).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:-}
if [ -z "$bin" ]; then
    bin=$root/build/release/bin
    [ -x "$bin/veltaro-cli" ] || bin=$root/build/dev/bin
fi
runs=${2:-3}
read -r -a cli <<<"${PORTS_BENCH_CLI:-$bin/veltaro-cli}"
sim=${PORTS_BENCH_SIM:-$bin/veltaro-modem-sim}
for program in "${cli[-1]}" "$sim"; do
    [ -f "$program" ] || { echo "ports_bench: no $program (build it first)" >&2; exit 2; }
done

dir=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-ports-bench.XXXXXX")
sims=()
cleanup() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
ports=${PORTS_BENCH_PORT_DIR:-$dir}
export BRENLOW_PORT_DIR=$ports

model=${MODEL:-GT-45}
for com in $(seq 1 16); do
    "$sim" --model "$model" --com "$com" >/dev/null &
    sims+=("$!")
done
for com in $(seq 1 16); do
    for _ in $(seq 1 100); do [ -L "$ports/com$com" ] && break; sleep 0.05; done
    [ -L "$ports/com$com" ] || { echo "ports_bench: simulator on COM$com did not start" >&2; exit 1; }
done

# Prints the median wall time in seconds of RUNS runs on COM1..COMn.
median_seconds() {
    local n=$1 times=() start end status
    for _ in $(seq 1 "$runs"); do
        start=$(date +%s.%N)
        status=0
        "${cli[@]}" --com "1-$n" set power=5 >/dev/null 2>"$dir/err" </dev/null || status=$?
        end=$(date +%s.%N)
        if [ "$status" -ne 0 ]; then
            echo "ports_bench: $n ports failed with status $status:" >&2
            cat "$dir/err" >&2
            exit 1
        fi
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

one=$(median_seconds 1)
printf '%s, set power=5; ports  wall time (median of %d)  ratio to 1 port\n' "$model" "$runs"
printf '%5d  %8.2f s  %6.2f\n' 1 "$one" 1
for n in 4 16; do
    t=$(median_seconds "$n")
    printf '%5d  %8.2f s  %6.2f\n' "$n" "$t" "$(awk -v a="$t" -v b="$one" 'BEGIN { print a / b }')"
done
