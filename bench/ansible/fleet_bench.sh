#!/usr/bin/env bash
# What an idempotent set saves, and what Ansible adds on top of veltaro-cli. The modems are
# veltaro-modem-sim at the real 9600-baud pacing, one per gateway as in tests/ansible.
#
# 1. A GT-45 in PC mode, five settings (channel, power, mode, destination ID, period): wall
#    time of the first `set`, which sends them all, and of the same `set` again, which finds
#    them equal and sends nothing (goal: at most 0.4 times the first).
# 2. The channel plan over three gateways (GT-45, KD-35, FL-25) with ansible-playbook, against
#    veltaro-cli's own time for one gateway (the slowest of the three, since Ansible runs them
#    side by side) plus Ansible's fixed cost (the same inventory with one ping task). Goal: at
#    most 1.5 times that sum. Both for a run that changes the modems and for the next one.
#
#   bench/ansible/fleet_bench.sh [BIN-DIR] [RUNS]
#
# BIN-DIR holds veltaro-cli and veltaro-modem-sim (default: build/release/bin, else
# build/dev/bin); RUNS per figure (default 3), of which the median is reported.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
FLEET_BIN=${1:-}
if [ -z "$FLEET_BIN" ]; then
    FLEET_BIN=$root/build/release/bin
    [ -x "$FLEET_BIN/veltaro-cli" ] || FLEET_BIN=$root/build/dev/bin
fi
runs=${2:-3}
FLEET_COLLECTIONS=$root/contrib/ansible
# shellcheck source-path=SCRIPTDIR source=../../tests/ansible/fleet_lib.sh
source "$root/tests/ansible/fleet_lib.sh"
# shellcheck disable=SC2119  # no options: the simulators keep the real 9600-baud pacing
fleet_start
plan=ostrane.veltaro.channel_plan

# seconds COMMAND...: runs it, prints its wall time; a failure ends the benchmark.
seconds() {
    local start end status=0
    start=$(date +%s.%N)
    "$@" >"$FLEET_DIR/last.out" 2>&1 || status=$?
    end=$(date +%s.%N)
    if [ "$status" -ne 0 ]; then
        echo "fleet_bench: status $status from $*:" >&2
        cat "$FLEET_DIR/last.out" >&2
        exit 1
    fi
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f\n", b - a }'
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
max() { printf '%s\n' "$@" | sort -n | tail -n1; }
restart() {
    local host=$1
    shift
    fleet_stop_sim "$host"
    fleet_start_sim "$host" "$@"
}
cli() {
    BRENLOW_PORT_DIR=$FLEET_DIR/$1/ports "$FLEET_BIN/veltaro-cli" --com 1 set "${@:2}"
}

five=(channel=23 power=1F mode=device destination-id=0BEEF period=45s)
first=() second=()
for _ in $(seq "$runs"); do
    restart gw-gt45 --set mode=pc
    first+=("$(seconds cli gw-gt45 "${five[@]}")")
    second+=("$(seconds cli gw-gt45 "${five[@]}")")
done
t1=$(median "${first[@]}") t2=$(median "${second[@]}")
echo "GT-45, set ${five[*]} (median of $runs)"
printf '  first run (sends all five)     %6.2f s\n' "$t1"
printf '  second run (nothing to send)   %6.2f s   %s of the first (goal <= 0.40)\n' "$t2" \
    "$(ratio "$t2" "$t1")"

# Ansible's fixed cost: the same three hosts, one task that reaches each.
printf -- '---\n- hosts: gateways\n  gather_facts: false\n  tasks:\n    - ansible.builtin.ping:\n' \
    >"$FLEET_DIR/ping.yml"
fixed=()
for _ in $(seq "$runs"); do fixed+=("$(seconds fleet_playbook ping "$FLEET_DIR/ping.yml")"); done
tf=$(median "${fixed[@]}")

declare -A cli_first=() cli_second=()
ans_first=() ans_second=()
for _ in $(seq "$runs"); do
    for host in "${FLEET_HOSTS[@]}"; do
        restart "$host"
        cli_first[$host]+="$(seconds cli "$host" --json channel=23 power=1F) "
        cli_second[$host]+="$(seconds cli "$host" --json channel=23 power=1F) "
    done
    for host in "${FLEET_HOSTS[@]}"; do restart "$host"; done
    ans_first+=("$(seconds fleet_playbook first "$plan")")
    ans_second+=("$(seconds fleet_playbook second "$plan")")
done

echo "channel plan (channel=23 power=1F) on three gateways (median of $runs)"
printf '  Ansible fixed cost (ping, 3 hosts)   %6.2f s\n' "$tf"
for run in first second; do
    medians=()
    for host in "${FLEET_HOSTS[@]}"; do
        declare -n times=cli_$run
        # shellcheck disable=SC2086  # the runs' times are words
        medians+=("$(median ${times[$host]})")
        printf '  %-6s veltaro-cli on %-8s      %6.2f s\n' "$run" "${FLEET_MODEL[$host]}" \
            "${medians[-1]}"
    done
    declare -n ans=ans_$run
    tc=$(max "${medians[@]}")
    ta=$(median "${ans[@]}")
    printf '  %-6s ansible-playbook, 3 hosts    %6.2f s = %.2f x (slowest CLI %.2f s + fixed %.2f s) (goal <= 1.5)\n' \
        "$run" "$ta" "$(ratio "$ta" "$(awk -v a="$tc" -v b="$tf" 'BEGIN { print a + b }')")" "$tc" "$tf"
done
