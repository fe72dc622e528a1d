# shellcheck shell=bash
# Shared by the install and package tests: scratch space, failure reports, the simulated
# modem and the checks of installed programs.

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-packaging.XXXXXX")
SIM_PID=""

cleanup() {
    if [[ -n $SIM_PID ]]; then
        kill "$SIM_PID" 2>/dev/null || true
        wait "$SIM_PID" 2>/dev/null || true
    fi
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# expect_equal WHAT EXPECTED ACTUAL
expect_equal() {
    [[ $2 == "$3" ]] || fail "$1: expected [$2], got [$3]"
}

# The RUNPATH of an ELF file, empty when it has none.
runpath_of() {
    readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p'
}

# start_sim SIM_BINARY COM_NUMBER: a simulated modem linked as comN in a scratch port
# directory (exported as BRENLOW_PORT_DIR); its received bytes are traced to $SIM_TRACE.
start_sim() {
    export BRENLOW_PORT_DIR=$SCRATCH/ports
    SIM_TRACE=$SCRATCH/sim-trace.txt
    mkdir -p "$BRENLOW_PORT_DIR"
    "$1" --model GT-45 --com "$2" --fast --trace "$SIM_TRACE" >"$SCRATCH/sim.out" &
    SIM_PID=$!
    for _ in $(seq 100); do
        [[ -s $SCRATCH/sim.out ]] && return 0
        kill -0 "$SIM_PID" 2>/dev/null || fail "the simulated modem ended at start"
        sleep 0.1
    done
    fail "the simulated modem did not start within 10 s"
}

stop_sim() {
    kill "$SIM_PID"
    wait "$SIM_PID" || fail "the simulated modem did not end cleanly"
    SIM_PID=""
}

# expect_outside_talks PROGRAM COM_NUMBER: the outside program opens the simulated modem by
# its COM name, and the modem receives the ESC it sends.
expect_outside_talks() {
    : >"$SIM_TRACE"
    "$1" "COM$2" || fail "$1 did not talk to the simulated modem"
    grep -q ' 1b$' "$SIM_TRACE" || fail "the simulated modem never received ESC from $1"
}

# expect_programs_run BINDIR: the command-line programs start and say who they are.
expect_programs_run() {
    local version
    version=$("$1/veltaro-cli" --version) || fail "veltaro-cli --version failed"
    expect_equal "veltaro-cli --version" "veltaro-cli $VELTARO_VERSION" "$version"
    "$1/veltaro-modem-sim" --help | grep -q '^Usage: veltaro-modem-sim' ||
        fail "veltaro-modem-sim --help printed no usage"
}

# expect_libraries_found PROGRAM...: the dynamic linker resolves every library they need.
expect_libraries_found() {
    local program missing
    for program in "$@"; do
        missing=$(ldd "$program" | grep 'not found' || true)
        [[ -z $missing ]] || fail "$program: $missing"
    done
}

# The package names of a Depends field, without versions; of alternatives the first.
depends_names() {
    tr ',' '\n' <<<"$1" | sed 's/|.*//; s/(.*//; s/:.*//; s/[[:space:]]//g' | sed '/^$/d'
}

# expect_runs_with_its_depends_only DEB OUR_DEBS...: the command-line programs of DEB start in
# a root that holds DEB, our own packages it needs, and the libraries of the system packages
# that its Depends names, nothing else (so neither Qt nor anything else it does not name).
# The root is entered with chroot, as root or in a user namespace.
expect_runs_with_its_depends_only() {
    local deb=$1 own=" " name path bin qt jail arch
    jail=$SCRATCH/jail-$(dpkg-deb -f "$deb" Package)
    arch=$(dpkg --print-architecture)
    shift
    for name in "$deb" "$@"; do
        dpkg-deb -x "$name" "$jail"
        own+="$(dpkg-deb -f "$name" Package) "
    done
    : >"$jail.files"
    for name in $(depends_names "$(dpkg-deb -f "$deb" Depends)"); do
        [[ $own != *" $name "* ]] || continue
        dpkg -L "$name:$arch" >>"$jail.files" 2>/dev/null || dpkg -L "$name" >>"$jail.files" ||
            fail "$name is not installed"
    done
    grep -E '^/(usr/)?lib(64|32|x32)?/' "$jail.files" | while read -r path; do
        if [[ -f $path ]]; then cp -L --parents "$path" "$jail"; fi
    done
    path=$(dirname "$(find "$jail" -name 'libbrenlow.so.1' | head -n1)")
    for bin in "$jail"/usr/bin/*; do
        qt=$(LD_LIBRARY_PATH=$path ldd "$bin" | grep -i 'libqt' || true)
        [[ -z $qt ]] || fail "$(basename "$bin") loads Qt: $qt"
    done
    local enter=(chroot "$jail")
    if [[ $EUID -ne 0 ]]; then
        enter=(unshare -r chroot "$jail")
        if ! unshare -r true 2>/dev/null; then
            echo "note: neither root nor user namespaces here: veltaro-cli checked with ldd only"
            return 0
        fi
    fi
    "${enter[@]}" /usr/bin/veltaro-cli --version >"$SCRATCH/jail.out" 2>&1 ||
        fail "veltaro-cli does not run with only its Depends: $(cat "$SCRATCH/jail.out")"
    expect_equal "veltaro-cli --version in the bare root" "veltaro-cli $VELTARO_VERSION" \
        "$(cat "$SCRATCH/jail.out")"
    "${enter[@]}" /usr/bin/veltaro-modem-sim --help | grep -q '^Usage: veltaro-modem-sim' ||
        fail "veltaro-modem-sim --help printed no usage in the bare root"
}
