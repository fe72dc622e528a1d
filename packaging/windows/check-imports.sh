#!/bin/sh
# The shipped program needs nothing beside it but brenlow.dll and the system's own DLLs.
# Usage: check-imports.sh OBJDUMP PROGRAM
set -eu
objdump=$1 program=$2
imports=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
status=0
for dll in $imports; do
    case $dll in
        brenlow.dll | kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | imm32.dll | winmm.dll | msvcrt.dll) ;;
        *) echo "unexpected import: $dll"; status=1 ;;
    esac
done
echo "imports:" $imports
exit $status
