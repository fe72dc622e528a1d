#!/usr/bin/env bash
# ansible-doc renders both modules' documentation without an error or warning, lists them
# in the collection, and shows their options, examples and return values.
#   ansible_doc_test.sh SOURCE_DIR
set -euo pipefail
scratch=$(mktemp -d "${TMPDIR:-/tmp}/veltaro-ansible-doc.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export ANSIBLE_COLLECTIONS_PATH=$1/contrib/ansible ANSIBLE_HOME=$scratch ANSIBLE_NOCOLOR=1
export ANSIBLE_CONFIG=$scratch/ansible.cfg ANSIBLE_LOCAL_TEMP=$scratch/tmp
: >"$ANSIBLE_CONFIG"
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

listed=$(ansible-doc -t module -l ostrane.veltaro 2>"$scratch/list.err") || fail "ansible-doc -l failed"
# module: the words its page must show, beside the three documentation blocks
declare -A words=(
    [modem_settings]="com settings profile only_offered timeout cli_path port_dir ports"
    [modem_facts]="com timeout cli_path port_dir veltaro_modems"
)
for module in "${!words[@]}"; do
    name=ostrane.veltaro.$module
    grep -q "^$name " <<<"$listed" || fail "ansible-doc -l does not list $name"
    page=$scratch/$module.txt
    if ! ansible-doc -t module "$name" >"$page" 2>"$scratch/$module.err"; then
        fail "ansible-doc $name failed: $(cat "$scratch/$module.err")"
        continue
    fi
    [[ ! -s $scratch/$module.err ]] || fail "ansible-doc $name warned: $(cat "$scratch/$module.err")"
    for word in OPTIONS EXAMPLES "RETURN VALUES"; do
        grep -q "^$word" "$page" || fail "the page of $name lacks its $word"
    done
    for word in ${words[$module]}; do
        grep -Eq "^ *[-=] $word\$" "$page" || fail "the page of $name does not document $word"
    done
done
# The examples are YAML tasks that name their module by its full name; the return values parse.
modules=("${!words[@]}")
ansible-doc -t module --json "${modules[@]/#/ostrane.veltaro.}" 2>/dev/null | python3 -c '
import json, sys, yaml
for name, doc in json.load(sys.stdin).items():
    tasks = yaml.safe_load(doc["examples"])
    assert any(name in task for task in tasks), "no example of " + name + " uses it"
    assert doc["return"], "no return values for " + name
    print(name, "examples:", len(tasks))
' || fail "the examples or return values do not parse"
[[ ! -s $scratch/list.err ]] || fail "ansible-doc -l warned: $(cat "$scratch/list.err")"
[[ $status -ne 0 ]] || echo "ansible-doc test passed"
exit $status
