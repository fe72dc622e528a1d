#!/usr/bin/env bash
# Sets up everything the tests need, builds, and runs every test:
#   the developer build (AddressSanitizer + UndefinedBehaviorSanitizer), all tests;
#   the ThreadSanitizer build, all tests that do not need Qt;
#   the package build (Release, for /usr): cmake --install and the Debian packages;
#   the real-driver stage: a QEMU guest on Debian's kernel, with a USB serial adapter and a UART;
#   the Windows i686 build (MinGW-w64), its tests under Wine; the Windows x86_64 build;
#   a short libFuzzer run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh

jobs=$(nproc)
passed=0
run_ctest() {  # preset, log name, ctest arguments
    local log="build/$1/ctest-$2.log"
    ctest --preset "$1" "${@:3}" | tee "$log"
    local total
    total=$(sed -n 's/.* tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n1)
    passed=$((passed + ${total:-0}))
}
# The end-to-end cases spend their time in the modem's pauses (a few per cent of a core each),
# so they run four to a core; everything else, one to a core.
waiting='^(cli|e2e|ansible)$'
for preset in dev tsan package win32; do
    echo "== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "== $preset: test"
    if [ "$preset" = dev ] || [ "$preset" = tsan ]; then
        run_ctest "$preset" waiting -j "$((jobs * 4))" -L "$waiting"
        run_ctest "$preset" other -j "$jobs" -LE "$waiting"
    else
        run_ctest "$preset" all -j "$jobs"
    fi
done

# Real serial drivers: the CLI and Brenlow's device tests in a QEMU guest. The kernel package
# is downloaded once into the cache folder (never committed, never installed on the host).
echo "== vm: configure and build"
cmake --preset vm >/dev/null
cmake --build --preset vm -j "$jobs"
echo "== vm: test in a QEMU guest"
python3 tests/vm/run_stage.py build/vm/bin build/vm/stage "${VELTARO_VM_CACHE:-build/vm-cache}"
passed=$((passed + 1))

echo "== win64: configure and build"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"

if [ -x scripts/fuzz.sh ]; then
    scripts/fuzz.sh 30
fi

# ctest stops the script on any failure (set -e with pipefail), so reaching here means all passed.
echo "tests: $passed passed, 0 failed"
