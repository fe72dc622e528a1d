#!/bin/sh
# Checks the installer under Wine in a prefix of its own: it installs silently, the
# installed program starts and stays up, and the uninstaller removes what was installed.
# Usage: check-install.sh SETUP.exe PREFIX
set -eu
setup=$1 prefix=$2
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
rm -rf "$prefix"
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w

dir="$prefix/drive_c/Program Files/Ostrane/Veltaro"
[ -d "$prefix/drive_c/Program Files (x86)" ] && dir="$prefix/drive_c/Program Files (x86)/Ostrane/Veltaro"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ostrane"

wine "$setup" /S
wineserver -w
for f in veltaro.exe brenlow.dll README.txt uninstall.exe; do
    [ -f "$dir/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ -f "$menu/Veltaro.lnk" ] || { echo "no Start-menu entry in $menu"; exit 1; }
echo "installed in $dir, Start-menu entry present"

# The installed program starts and keeps its dialog up until it is ended.
wine "$dir/veltaro.exe" &
program=$!
sleep 5
if ! kill -0 "$program" 2>/dev/null; then
    wait "$program" && status=0 || status=$?
    echo "the installed program ended by itself (status $status)"
    exit 1
fi
wineserver -k  # ends the program; only this prefix's processes
wait "$program" 2>/dev/null || true
echo "installed program started"

wine "$dir/uninstall.exe" /S
wineserver -w
if [ -e "$dir" ] || [ -e "$menu" ]; then
    echo "left behind after uninstall:"; ls -la "$dir" "$menu" 2>&1 || true
    exit 1
fi
echo "uninstalled"
