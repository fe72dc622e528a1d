# shellcheck shell=bash
# Three gateways on this machine for the Ansible tests and benchmark: each host of the
# inventory has its own port directory with a simulated modem of its own model on COM1, and
# Ansible reaches it with the local connection. Source it, then call fleet_start.
#   FLEET_BIN         directory with veltaro-cli and veltaro-modem-sim
#   FLEET_COLLECTIONS directory that holds ansible_collections/ (contrib/ansible)

FLEET_HOSTS=(gw-gt45 gw-kd35 gw-fl25)
declare -A FLEET_MODEL=([gw-gt45]=GT-45 [gw-kd35]=KD-35 [gw-fl25]=FL-25)
declare -A FLEET_SIM=()
FLEET_DIR=""

fleet_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

fleet_stop_sim() {
    local host=$1 pid=${FLEET_SIM[$1]:-}
    [[ -n $pid ]] || return 0
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    FLEET_SIM[$host]=""
}

fleet_cleanup() {
    local host
    for host in "${FLEET_HOSTS[@]}"; do fleet_stop_sim "$host"; done
    [[ -z $FLEET_DIR ]] || rm -rf "$FLEET_DIR"
}

# fleet_start_sim HOST [SIM OPTIONS...]: the host's modem, traced to $FLEET_DIR/HOST/trace.
fleet_start_sim() {
    local host=$1 dir=$FLEET_DIR/$1
    shift
    mkdir -p "$dir/ports"
    : >"$dir/sim.out"
    BRENLOW_PORT_DIR=$dir/ports "$FLEET_BIN/veltaro-modem-sim" --model "${FLEET_MODEL[$host]}" \
        --com 1 --trace "$dir/trace" "$@" >"$dir/sim.out" 2>"$dir/sim.err" &
    FLEET_SIM[$host]=$!
    for _ in $(seq 100); do
        [[ -s $dir/sim.out ]] && return 0
        kill -0 "${FLEET_SIM[$host]}" 2>/dev/null || fleet_fail "simulator of $host: $(cat "$dir/sim.err")"
        sleep 0.1
    done
    fleet_fail "the simulator of $host did not start within 10 s"
}

# fleet_start [SIM OPTIONS...]: scratch space, the three modems, the inventory and the
# environment that points Ansible at the collection and keeps its files in the scratch space.
fleet_start() {
    local host python
    FLEET_BIN=$(cd "$FLEET_BIN" && pwd)  # the inventory names it from any directory
    FLEET_DIR=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-fleet.XXXXXX")
    trap fleet_cleanup EXIT
    for host in "${FLEET_HOSTS[@]}"; do fleet_start_sim "$host" "$@"; done
    # The interpreter that Ansible itself runs on has its libraries.
    python=$(sed -n '1s/^#! *//p' "$(command -v ansible-playbook)" | awk '{print $NF}')
    [[ $python == */python3* ]] || python=/usr/bin/python3
    {
        echo "gateways:"
        echo "  vars:"
        echo "    ansible_connection: local"
        echo "    ansible_python_interpreter: $python"
        echo "    veltaro_cli: $FLEET_BIN/veltaro-cli"
        echo "    veltaro_com: 1"
        echo '    veltaro_channel: "23"'
        echo '    veltaro_power: "1F"'
        echo "  hosts:"
        for host in "${FLEET_HOSTS[@]}"; do
            echo "    $host:"
            echo "      veltaro_port_dir: $FLEET_DIR/$host/ports"
            echo "      expected_model: ${FLEET_MODEL[$host]}"
        done
    } >"$FLEET_DIR/inventory.yml"
    export ANSIBLE_COLLECTIONS_PATH=$FLEET_COLLECTIONS
    export ANSIBLE_HOME=$FLEET_DIR/ansible ANSIBLE_LOCAL_TEMP=$FLEET_DIR/ansible/tmp
    export ANSIBLE_CONFIG=$FLEET_DIR/ansible.cfg ANSIBLE_NOCOLOR=1 ANSIBLE_FORCE_COLOR=0
    export ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_PYTHON_INTERPRETER=$python
    : >"$ANSIBLE_CONFIG"
}

# fleet_playbook NAME PLAYBOOK [ARGS...]: runs it on the inventory; output in $FLEET_DIR/NAME.out,
# its status in FLEET_STATUS.
fleet_playbook() {
    local name=$1
    shift
    FLEET_STATUS=0  # read by the caller
    export FLEET_STATUS
    ansible-playbook -i "$FLEET_DIR/inventory.yml" "$@" >"$FLEET_DIR/$name.out" 2>&1 ||
        FLEET_STATUS=$?
}
