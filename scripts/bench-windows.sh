#!/usr/bin/env bash
# The Win32 program's figures under Wine, beside the Linux ones of scripts/bench.sh: All
# Setting's wall time over its pauses, screen-to-log latency, start to first paint. Each
# figure is a process of its own with its own simulated modem; takes about a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target veltaro_win32_bench windows_test_natives \
    veltaro_native_modem_sim

build=$PWD/build/win32
runner=(sh tests/e2e_win32/e2e-wine-run.sh "$build/test-native/veltaro-modem-sim"
        "$build/wineprefix-gui"
        sh tests/ui_win32/wine-gui-run.sh "$build/wineprefix-gui"
        sh tests/win32/wine-run.sh "$build/wineprefix" "$build/test-native/brenlow-pty-host"
        "$build/test-native")
for filter in Win32Bench.AllSettingHandlerOverPauses Win32Bench.ScreenToLogPane Win32Bench.ApplyProfile \
              Win32StartBench.StartToFirstPaintedDialog; do
    "${runner[@]}" "$build/bin/veltaro_win32_bench.exe" --gtest_filter="$filter" |
        grep '^FIGURE' || { echo "bench-windows.sh: $filter failed" >&2; exit 1; }
done
# Start-up as a user meets it: from starting Wine to the program's first paint.
start=$(date +%s%N)
"${runner[@]}" "$build/bin/veltaro_win32_bench.exe" \
    --gtest_filter=Win32StartBench.StartToFirstPaintedDialog >/dev/null
echo "FIGURE wine start, first paint and exit: $(( ($(date +%s%N) - start) / 1000000 )) ms"
