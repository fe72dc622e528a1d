# Framing of what the guest reports on its console; the host parses these lines.
#   @@BEGIN name / (standard output) / @@STDERR / (standard error) / @@END name status ms
# Other @@ lines ask the host to act (unplug, replug) at that moment.

# Hundredths of a second since boot; a 0 appended to a difference makes milliseconds.
now_cs() { cut -d' ' -f1 /proc/uptime | tr -d . ; }

report() {  # name status started_cs
    echo "@@BEGIN $1"
    cat /tmp/out
    echo "@@STDERR"
    cat /tmp/err
    echo "@@END $1 $2 $(( $(now_cs) - $3 ))0"
}

run() {  # name command...
    name=$1; shift
    started=$(now_cs)
    "$@" >/tmp/out 2>/tmp/err
    report "$name" $? "$started"
}

# Waits until the path exists (present) or is gone (absent); seconds at most.
wait_path() {  # present|absent path seconds
    tries=$(( $3 * 10 ))
    while [ $tries -gt 0 ]; do
        if [ "$1" = present ] && [ -e "$2" ]; then return 0; fi
        if [ "$1" = absent ] && [ ! -e "$2" ]; then return 0; fi
        sleep 0.1
        tries=$(( tries - 1 ))
    done
    echo "@@FAIL $2 not $1 after $3 s"
    return 1
}

# Lets the host plug the adapter back in and waits for its new device.
replug() {  # name of the step that unplugged it
    wait_path absent /dev/ttyUSB0 10
    echo "@@REPLUG $1"
    wait_path present /dev/ttyUSB0 20
    sleep 1  # the driver finishes its setup after the node appears
}

# Runs a command in the background, asks the host to act, and reports how it ended.
# With "first-output" the request waits for the command's first output (the modem detected).
during() {  # name host-request first-output|at-once command...
    name=$1 request=$2 when=$3; shift 3
    started=$(now_cs)
    : >/tmp/out  # emptied here, not in the child, so that wait_output sees this run's output
    : >/tmp/err
    "$@" >/tmp/out 2>/tmp/err &
    pid=$!
    [ "$when" = first-output ] && wait_output
    echo "@@$request $name"
    wait $pid
    report "$name" $? "$started"
}

# Until the command's first output (the modem detected), at most 30 s.
wait_output() {
    tries=300
    while [ ! -s /tmp/out ] && [ $tries -gt 0 ]; do sleep 0.1; tries=$(( tries - 1 )); done
}
