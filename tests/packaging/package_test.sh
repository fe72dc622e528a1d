#!/usr/bin/env bash
# The Debian packages: built by CPack, each holds exactly what its install component holds,
# their control fields, the unpacked programs running (veltaro-cli's with nothing but what
# its Depends names, so no Qt), and lintian without errors.
#   package_test.sh BUILD_DIR        (VELTARO_VERSION in the environment)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$here/lib.sh"
unset LD_LIBRARY_PATH

debs=$SCRATCH/debs
cpack --config "$build/CPackConfig.cmake" -B "$debs" >"$SCRATCH/cpack.log" ||
    { cat "$SCRATCH/cpack.log" >&2; fail "cpack failed"; }
arch=$(dpkg --print-architecture)

# component package section
packages=(
    programs veltaro comm
    cli veltaro-cli comm
    library libbrenlow1 libs
    development libbrenlow-dev libdevel
)
root=$SCRATCH/root
for ((i = 0; i < ${#packages[@]}; i += 3)); do
    component=${packages[i]} package=${packages[i + 1]} section=${packages[i + 2]}
    deb=$debs/${package}_${VELTARO_VERSION}_$arch.deb
    [[ -f $deb ]] || fail "no $deb"
    expect_equal "$package: Package" "$package" "$(dpkg-deb -f "$deb" Package)"
    expect_equal "$package: Section" "$section" "$(dpkg-deb -f "$deb" Section)"

    # The package holds what the install rules of its component put under /usr.
    DESTDIR=$SCRATCH/expected-$component cmake --install "$build" --prefix /usr \
        --component "$component" >/dev/null
    expected=$(cd "$SCRATCH/expected-$component" && find . ! -type d | sort)
    actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
    expect_equal "$package: files" "$expected" "$actual"
    dpkg-deb -x "$deb" "$root"
    printf '%-16s %8s bytes\n' "$package" "$(stat -c %s "$deb")"
done

# Nothing installed falls outside the three packages (an install rule without a component).
DESTDIR=$SCRATCH/expected-all cmake --install "$build" --prefix /usr >/dev/null
expect_equal "files of all packages" "$(cd "$SCRATCH/expected-all" && find . ! -type d | sort)" \
    "$(cd "$root" && find . ! -type d | sort)"

depends=$(dpkg-deb -f "$debs/veltaro_${VELTARO_VERSION}_$arch.deb" Depends)
for needed in "libbrenlow1 (= $VELTARO_VERSION)" "veltaro-cli (= $VELTARO_VERSION)" fonts-nanum \
    libqt6widgets6 libc6; do
    [[ $depends == *"$needed"* ]] || fail "veltaro does not depend on $needed: $depends"
done
# veltaro-cli: our library and the C++ runtime, nothing else (no Qt, no fonts).
cli_deb=$debs/veltaro-cli_${VELTARO_VERSION}_$arch.deb
depends=$(dpkg-deb -f "$cli_deb" Depends)
[[ $depends == *"libbrenlow1 (= $VELTARO_VERSION)"* ]] ||
    fail "veltaro-cli does not depend on libbrenlow1: $depends"
[[ ${depends,,} != *qt* ]] || fail "veltaro-cli depends on Qt: $depends"
for name in $(depends_names "$depends"); do
    [[ $name =~ ^(libbrenlow1|libc6|libgcc-s1|libstdc\+\+6)$ ]] ||
        fail "veltaro-cli depends on $name, beyond libbrenlow1 and the C++ runtime: $depends"
done
depends=$(dpkg-deb -f "$debs/libbrenlow-dev_${VELTARO_VERSION}_$arch.deb" Depends)
[[ $depends == *"libbrenlow1 (= $VELTARO_VERSION)"* ]] ||
    fail "libbrenlow-dev does not depend on libbrenlow1: $depends"

# In /usr the library sits in the system's directory: the programs carry no RUNPATH.
libfile=$(find "$root/usr/lib" -name libbrenlow.so.1)
[[ -n $libfile ]] || fail "no libbrenlow.so.1 in the packages"
for program in veltaro veltaro-cli veltaro-modem-sim; do
    expect_equal "RUNPATH of the packaged $program" "" "$(runpath_of "$root/usr/bin/$program")"
done
LD_LIBRARY_PATH=$(dirname "$libfile") expect_programs_run "$root/usr/bin"
expect_runs_with_its_depends_only "$cli_deb" "$debs/libbrenlow1_${VELTARO_VERSION}_$arch.deb"

# lintian: errors fail the test; warnings are listed for the release notes.
lintian_status=0
lintian --allow-root --tag-display-limit 0 "$debs"/*.deb >"$SCRATCH/lintian.txt" 2>&1 ||
    lintian_status=$?
cat "$SCRATCH/lintian.txt"
[[ $lintian_status -le 1 ]] || fail "lintian could not check the packages (status $lintian_status)"
if grep -q '^E:' "$SCRATCH/lintian.txt"; then
    fail "lintian reported errors"
fi
echo "package test passed"
