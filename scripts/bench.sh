#!/usr/bin/env bash
# Sets up, builds the release preset and runs every benchmark (Google Benchmark), printing
# their figures: the byte queue and watcher, the console logic, and the end-to-end figures
# of Veltaro against the modem simulator (screen-to-log latency, command times, start-up,
# CPU at rest, memory). The end-to-end ones take about a minute and a half.
#
#   scripts/bench.sh [BENCHMARK-OPTIONS]   e.g. --benchmark_filter=ScreenToLog
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh
cmake --preset release >/dev/null

# Every executable target whose name ends in _bench, with what it needs, and nothing else.
mapfile -t benches < <(ninja -C build/release -t targets all |
                       sed -n 's/^\([A-Za-z0-9_.-]*_bench\): phony$/\1/p' |
                       grep -v '^cmake_' | sort -u)
if [ ${#benches[@]} -eq 0 ]; then
    echo "bench.sh: no benchmark targets (is VELTARO_BENCH off?)" >&2
    exit 1
fi
cmake --build --preset release -j "$(nproc)" --target "${benches[@]}"

# The Qt programs run on the offscreen platform; a private runtime directory keeps Qt from
# complaining when the session has none.
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-bench-runtime.XXXXXX")
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

for bench in "${benches[@]}"; do
    echo
    echo "== $bench"
    "build/release/bin/$bench" --benchmark_counters_tabular=true "$@"
done
