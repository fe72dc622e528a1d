#!/usr/bin/env bash
# Builds the libFuzzer targets with the fuzz preset (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one for the given number of seconds (default 30),
# growing its corpus under the build directory. Exits non-zero when a target finds a fault;
# the input that caused it is kept under <build>/artifacts/<target>/.
#
#   scripts/fuzz.sh [seconds]
#   FUZZ_BUILD_DIR=build/other scripts/fuzz.sh 600   # same preset, another build directory
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
build=${FUZZ_BUILD_DIR:-build/fuzz}

if [ "$build" = build/fuzz ]; then
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz --target fuzz_targets
else
    cmake --preset fuzz -B "$build" >/dev/null
    cmake --build "$build" --target fuzz_targets
fi

status=0
while read -r target; do
    [ -n "$target" ] || continue
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    log="$build/logs/$target.log"
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    dirs=("$corpus")
    [ -d "tests/fuzz/seeds/$target" ] && dirs+=("tests/fuzz/seeds/$target")

    echo "== fuzz $target for ${seconds}s (log: $log)"
    if "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 -max_len=8192 \
        -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts" "${dirs[@]}" >"$log" 2>&1; then
        grep -E '^#[0-9]+[[:space:]]+DONE|^Done|stat::number_of_executed_units|stat::peak_rss_mb' "$log" || true
    else
        tail -n 60 "$log" >&2
        echo "fuzz: $target found a fault; the input is under $artifacts" >&2
        status=1
    fi
done <"$build/fuzz_targets.txt"
exit "$status"
