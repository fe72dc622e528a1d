#!/bin/sh
# Fails unless every dynamic symbol that the library defines belongs to one of the classes
# it exports (CQueue, CSerialConn and their helper interfaces CNotifyTarget and
# CMessageBoxHook), to the C++ library's templates instantiated for them, or to the linker.
# Usage: check_exports.sh NM LIBRARY (a shared object), or OBJDUMP LIBRARY (a DLL, whose
# export table objdump -p prints).
set -eu
tool=$1
library=$2

case "$library" in
*.dll)
    # The name pointer table's rows: "[   3] _ZN6CQueue5ClearEv".
    symbols=$("$tool" -p "$library" |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -nE 's/^[[:space:]]*\[ *[0-9]+\] +//p' | c++filt)
    ;;
*)
    symbols=$("$tool" -D --defined-only -C "$library" | sed -E 's/^[0-9a-fA-F]* *[A-Za-z] //')
    ;;
esac

ours='^((typeinfo|typeinfo name|vtable|VTT) for )?(CQueue|CSerialConn|CNotifyTarget|CMessageBoxHook)(::|$)'
standard='^((typeinfo|typeinfo name|vtable) for )?([^:(]* )?(std|__gnu_cxx)::'
linker='^(_init|_fini|_edata|_end|__bss_start)$'

unexpected=$(printf '%s\n' "$symbols" | grep -Ev "$ours|$standard|$linker" || true)
if [ -n "$unexpected" ]; then
    echo "exported beyond the library's classes:"
    printf '%s\n' "$unexpected"
    exit 1
fi

for needed in 'CQueue::GetByte(' 'CSerialConn::OpenPort(' 'CSerialConn::sendData('; do
    if ! printf '%s\n' "$symbols" | grep -qF "$needed"; then
        echo "missing from the exports: $needed"
        exit 1
    fi
done
echo "exports: $(printf '%s\n' "$symbols" | grep -cE "$ours") of the classes," \
     "$(printf '%s\n' "$symbols" | grep -cE "$standard") library instantiations, nothing else"
