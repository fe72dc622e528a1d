#!/usr/bin/env bash
# Builds the Windows i686 preset and measures, under Wine, the latency from a byte at the
# pseudo-terminal to the data-arrived notification: once as the tests run (with the
# test-only preload that lets Wine wait on a pseudo-terminal, as on a real port), once
# without it (Wine then ends every wait at once, and the watcher finds the byte only after
# its pause).
#
#   bench/wine/wine_latency.sh [SAMPLES]
set -euo pipefail
cd "$(dirname "$0")/../.."
samples=${1:-10}

scripts/setup-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" --target brenlow_wine_latency_bench windows_test_natives

build=$PWD/build/win32
run() {
    sh tests/win32/wine-run.sh "$build/wineprefix" "$build/test-native/brenlow-pty-host" "$1" \
        "$build/bin/brenlow_wine_latency_bench.exe" "$samples"
}
echo "with the pty preload (as on a real port):"
run "$build/test-native"
echo "without it (Wine cannot wait on a pseudo-terminal):"
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT
run "$empty" 2> >(grep -v 'cannot be preloaded' >&2)
