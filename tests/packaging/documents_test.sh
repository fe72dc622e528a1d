#!/usr/bin/env bash
# The generated manual pages format without a warning; the desktop entry and the AppStream
# metadata pass their validators; the menu's icon is the window's icon, where both exist.
#   documents_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1 build=$2
status=0

pages=("$build"/packaging/man/*.1)
[[ -f ${pages[0]} ]] || { echo "FAIL: no manual pages in $build/packaging/man" >&2; exit 1; }
for page in "${pages[@]}"; do
    warnings=$(groff -ww -z -man "$page" 2>&1)
    if [[ -n $warnings ]]; then
        echo "FAIL: $page: $warnings" >&2
        status=1
    fi
done
desktop-file-validate "$source_dir"/packaging/desktop/*.desktop || status=1
appstreamcli validate --no-net --pedantic "$source_dir"/packaging/desktop/*.metainfo.xml || status=1
icons=$build/packaging/icons
if [[ -d $icons ]]; then
    for size in 32 48 96; do
        own=$source_dir/ui/common/resources/icon128_$size.png
        drawn=$icons/${size}x$size/apps/veltaro.png
        [[ ! -f $drawn ]] || cmp -s "$own" "$drawn" || {
            echo "FAIL: $drawn differs from the program's own $own" >&2
            status=1
        }
    done
fi
exit $status
