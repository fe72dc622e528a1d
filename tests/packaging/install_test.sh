#!/usr/bin/env bash
# cmake --install into a scratch prefix: the layout, the programs running from there without
# LD_LIBRARY_PATH, and an outside program built against the installed Brenlow through its
# CMake package and through pkg-config, talking to a simulated modem.
#   install_test.sh BUILD_DIR        (VELTARO_VERSION in the environment)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$here/lib.sh"
unset LD_LIBRARY_PATH

prefix=$SCRATCH/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

# The library's names: link name -> SONAME -> the versioned file, which carries the SONAME.
libfile=$(find "$prefix" -name "libbrenlow.so.$VELTARO_VERSION")
[[ -f $libfile ]] || fail "no libbrenlow.so.$VELTARO_VERSION under $prefix"
libdir=$(dirname "$libfile")
expect_equal "libbrenlow.so.1" "libbrenlow.so.$VELTARO_VERSION" \
    "$(readlink "$libdir/libbrenlow.so.1")"
expect_equal "libbrenlow.so" "libbrenlow.so.1" "$(readlink "$libdir/libbrenlow.so")"
soname=$(readelf -d "$libfile" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
expect_equal "SONAME" "libbrenlow.so.1" "$soname"

for file in include/brenlow/serial_conn.h include/brenlow/queue.h \
    share/man/man1/veltaro-cli.1.gz share/bash-completion/completions/veltaro-cli \
    share/applications/org.veltaro.veltaro.desktop share/icons/hicolor/48x48/apps/veltaro.png \
    share/metainfo/org.veltaro.veltaro.metainfo.xml; do
    [[ -f $prefix/$file ]] || fail "$file is not installed"
done

# Outside /usr the programs find the library relative to themselves.
for program in veltaro veltaro-cli veltaro-modem-sim; do
    runpath=$(runpath_of "$prefix/bin/$program")
    expect_equal "RUNPATH of $program" "\$ORIGIN/../${libdir#"$prefix/"}" "$runpath"
done
expect_libraries_found "$prefix"/bin/*
expect_programs_run "$prefix/bin"
loaded=$(ldd "$prefix/bin/veltaro-cli" | sed -n 's/.*libbrenlow.so.1 => \(.*\) (.*/\1/p')
expect_equal "libbrenlow.so.1 that veltaro-cli loads" "$libdir/libbrenlow.so.1" \
    "$(realpath -s "$(dirname "$loaded")")/libbrenlow.so.1"

start_sim "$prefix/bin/veltaro-modem-sim" 7

# Through the CMake package.
cmake -S "$here/outside" -B "$SCRATCH/outside-cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$SCRATCH/outside-cmake" >/dev/null
expect_outside_talks "$SCRATCH/outside-cmake/outside" 7

# Through pkg-config, as the README shows it.
export PKG_CONFIG_PATH=$libdir/pkgconfig
expect_equal "pkg-config --modversion" "$VELTARO_VERSION" "$(pkg-config --modversion brenlow)"
expect_equal "pkg-config libdir" "$libdir" "$(pkg-config --variable=libdir brenlow)"
# shellcheck disable=SC2046  # the flags are words
c++ -std=c++17 -o "$SCRATCH/outside-pc" "$here/outside/main.cpp" \
    $(pkg-config --cflags --libs brenlow) -Wl,-rpath,"$(pkg-config --variable=libdir brenlow)"
expect_outside_talks "$SCRATCH/outside-pc" 7

stop_sim
echo "install test passed"
