#!/usr/bin/env bash
# The bash completion of veltaro-cli: sourced, driven through COMP_WORDS and COMP_CWORD as
# bash drives it, against a scratch port directory and a scratch device directory.
#   completion_test.sh COMPLETION_SCRIPT
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../../packaging/completion/veltaro-cli
source "$1"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-completion.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# Port directory entries com3 (a dangling link still counts), com12, and names that are no
# entry Brenlow would look up. Devices: ttyS0 ttyS1, ttyS3 after a gap (not reached),
# ttyUSB0, no ttyACM: COM1..COM3 from devices.
export BRENLOW_PORT_DIR=$scratch/ports
mkdir -p "$BRENLOW_PORT_DIR" "$scratch/dev"
ln -s "$scratch/dev/gone" "$BRENLOW_PORT_DIR/com3"
touch "$BRENLOW_PORT_DIR/com12" "$BRENLOW_PORT_DIR/com07" "$BRENLOW_PORT_DIR/comX" \
    "$BRENLOW_PORT_DIR/com1000" "$scratch/dev/ttyS0" "$scratch/dev/ttyS1" \
    "$scratch/dev/ttyS3" "$scratch/dev/ttyUSB0"
_veltaro_cli_dev_dir=$scratch/dev

failures=0
# complete "EXPECTED REPLIES" WORD...: completes the last word of the line.
complete_line() {
    local expected=$1 actual
    shift
    COMP_WORDS=(veltaro-cli "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    set +eu  # as in an interactive shell
    _veltaro_cli
    set -eu
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [[ $actual != "$expected" ]]; then
        echo "FAIL: veltaro-cli $* -> [$actual], expected [$expected]" >&2
        failures=$((failures + 1))
    fi
}

#             expected replies                          words, the last one being completed
complete_line "info log ports set"                      ""
complete_line "set"                                     s
complete_line "--check --com --from --help --json --only-offered --timeout --version" --
complete_line "--json"                                  --com 1 info --j
complete_line "1 12 2 3"                                --com ""
complete_line "1 12"                                    --com 1
complete_line "3,5,1 3,5,12 3,5,2 3,5,3"                --com 3,5,
complete_line "info log ports set"                      --com 12 --timeout 2.5 ""
complete_line ""                                        --timeout ""
complete_line "data-bits= dest-id= destination-id="     --com 1 set d
complete_line "parity= period= power="                  --com 1 set channel=5 p
complete_line "mode=device mode=pc"                     --com 1 set mode=
complete_line "parity=even"                             --com 1 set parity=e
complete_line "1 1.5 2"                                 --com 1 set stop-bits =
complete_line "rs232 rs485"                             --com 1 set interface = r
complete_line ""                                        --com 1 set channel=
complete_line ""                                        --com 1 info ""
complete_line "$scratch/ports"                          --from "$scratch/po"
touch "$scratch/two words.txt"
complete_line "$scratch/two words.txt"                  --com 1 set --from "$scratch/two"
[[ ${#COMPREPLY[@]} -eq 1 ]] || { echo "FAIL: a file name with a blank was split" >&2; exit 1; }

# Without BRENLOW_PORT_DIR: XDG_CONFIG_HOME when absolute, else the home directory.
unset BRENLOW_PORT_DIR
mkdir -p "$scratch/xdg/brenlow/ports" "$scratch/home/.config/brenlow/ports"
touch "$scratch/xdg/brenlow/ports/com40" "$scratch/home/.config/brenlow/ports/com50"
HOME=$scratch/home XDG_CONFIG_HOME=$scratch/xdg complete_line "1 2 3 40" --com ""
HOME=$scratch/home XDG_CONFIG_HOME=relative complete_line "1 2 3 50" --com ""

[[ $failures -eq 0 ]] || exit 1
echo "completion test passed"
