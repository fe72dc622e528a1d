#!/usr/bin/env bash
# Sets up everything the tests need, builds, and runs every test:
#   the developer build (AddressSanitizer + UndefinedBehaviorSanitizer), all tests;
#   the ThreadSanitizer build, all tests that do not need Qt;
#   a short libFuzzer run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh

jobs=$(nproc)
for preset in dev tsan; do
    echo "== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "== $preset: test"
    ctest --preset "$preset" -j "$jobs"
done

if [ -x scripts/fuzz.sh ]; then
    scripts/fuzz.sh 30
fi
