#!/usr/bin/env bash
# The collection against three gateways on this machine, each with a simulated modem of its
# own model: the facts give model and settings, the example channel plan changes them, a
# second run changes nothing and types nothing beyond what info types, check mode with --diff
# shows the change without typing a setting key, a host whose port is missing fails alone, and
# a profile applied to two ports of which one is missing fails that host's task.
#   playbook_test.sh BIN_DIR SOURCE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
FLEET_BIN=$1
FLEET_COLLECTIONS=$2/contrib/ansible
plan=ostrane.veltaro.channel_plan
# shellcheck source-path=SCRIPTDIR source=fleet_lib.sh
source "$here/fleet_lib.sh"
fleet_start --fast

show() {
    echo "== $1 (ansible-playbook status $FLEET_STATUS)"
    cat "$FLEET_DIR/$1.out"
}

# expect_recap RUN HOST FIELD...: the host's line of the play recap has every field.
expect_recap() {
    local run=$1 host=$2 line field
    shift 2
    line=$(sed -n "s/^$host *: //p" "$FLEET_DIR/$run.out" | tr -s ' ')
    for field in "$@"; do
        [[ " $line " == *" $field "* ]] || { show "$run"; fleet_fail "$run: $host: no $field in [$line]"; }
    done
}

expect_output() {
    grep -qF -- "$2" "$FLEET_DIR/$1.out" || { show "$1"; fleet_fail "$1: no [$2] in the output"; }
}

# The bytes each modem received since mark_traces, one hexadecimal pair per line, sorted.
declare -A MARK=() INFO_KEYS=()
mark_traces() {
    local host
    for host in "${FLEET_HOSTS[@]}"; do MARK[$host]=$(wc -l <"$FLEET_DIR/$host/trace"); done
}
keys_since_mark() {
    tail -n +"$((MARK[$1] + 1))" "$FLEET_DIR/$1/trace" | awk '{print $2}' | sort -u
}

# expect_only_info_keys RUN: every modem received only keys that info also types (detection
# and the information screens), and no channel prompt ("2").
expect_only_info_keys() {
    local host extra
    for host in "${FLEET_HOSTS[@]}"; do
        extra=$(comm -23 <(keys_since_mark "$host") <(echo "${INFO_KEYS[$host]}"))
        [[ -z $extra ]] || { show "$1"; fleet_fail "$1: $host received setting keys: $extra"; }
    done
}

# What reading alone types, per model: the facts, which also name each host's model.
mark_traces
fleet_playbook facts-before "$here/facts.yml"
[[ $FLEET_STATUS -eq 0 ]] || { show facts-before; fleet_fail "facts: status $FLEET_STATUS"; }
for host in "${FLEET_HOSTS[@]}"; do
    expect_recap facts-before "$host" ok=2 failed=0
    INFO_KEYS[$host]=$(keys_since_mark "$host")
    if [[ -z ${INFO_KEYS[$host]} ]] || grep -qx 32 <<<"${INFO_KEYS[$host]}"; then
        fleet_fail "$host: info typed [${INFO_KEYS[$host]}]"
    fi
done

mark_traces
fleet_playbook first "$plan"
for host in "${FLEET_HOSTS[@]}"; do
    expect_recap first "$host" ok=1 changed=1 failed=0
    keys_since_mark "$host" | grep -qx 32 || fleet_fail "first: $host never got the channel prompt"
done

mark_traces
fleet_playbook second "$plan"
show second
for host in "${FLEET_HOSTS[@]}"; do expect_recap second "$host" ok=1 changed=0 failed=0; done
expect_only_info_keys second

mark_traces
fleet_playbook check "$plan" --check --diff -e veltaro_channel=12
show check
for host in "${FLEET_HOSTS[@]}"; do
    expect_recap check "$host" ok=1 changed=1 failed=0
    expect_output check "before: COM1 (${FLEET_MODEL[$host]})"
done
for line in "-channel: 23" "+channel: 12" " power: 1F"; do expect_output check "$line"; done
expect_only_info_keys check

# The adapter is gone and its link dangles (without the link COM1 would fall to /dev/ttyS0).
fleet_stop_sim gw-fl25
ln -s "$FLEET_DIR/gw-fl25/unplugged" "$FLEET_DIR/gw-fl25/ports/com1"
fleet_playbook missing "$plan" --diff -e veltaro_channel=5
show missing
[[ $FLEET_STATUS -eq 2 ]] || fleet_fail "missing: ansible-playbook ended with $FLEET_STATUS, not 2"
expect_recap missing gw-fl25 ok=0 failed=1
expect_output missing '"msg": "COM1: status 3, '
expect_output missing '"rc": 3'
for host in gw-gt45 gw-kd35; do expect_recap missing "$host" ok=1 changed=1 failed=0; done
# The others found the first run's channel: the check before changed nothing.
expect_output missing "-channel: 23"
expect_output missing "+channel: 05"  # as the modem shows it

ln -s "$FLEET_DIR/gw-gt45/unplugged" "$FLEET_DIR/gw-gt45/ports/com2"
fleet_playbook profile "$here/profile.yml"
[[ $FLEET_STATUS -eq 0 ]] || { show profile; fleet_fail "profile: status $FLEET_STATUS"; }
expect_recap profile gw-gt45 ok=3 failed=0 ignored=1
echo "playbook test passed"
