#!/bin/sh
# Checks the installer under Wine in a prefix of its own: it installs silently, the
# installed program starts and stays up, veltaro-cli runs, the folder goes on the user's
# PATH only when asked (/PATH) and the uninstaller takes out exactly that entry, and the
# uninstaller removes what was installed.
# Usage: check-install.sh SETUP.exe PREFIX VERSION
set -eu
setup=$1 prefix=$2 version_wanted=$3
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

user_path() {
    wine reg query 'HKCU\Environment' /v Path 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *Path *REG_[A-Z_]*SZ *//p'
}
set_user_path() {
    wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$1" /f >/dev/null 2>&1
    wineserver -w
}
expect_path() {  # WHAT EXPECTED
    actual=$(user_path)
    if [ "$actual" != "$2" ]; then
        printf '%s: PATH is\n  %s\nexpected\n  %s\n' "$1" "$actual" "$2"
        exit 1
    fi
}
uninstall() {
    wine "$dir/uninstall.exe" /S
    wineserver -w
}

# Without /PATH the user's PATH stays as it is, through install and uninstall.
before='C:\tools;;%USERPROFILE%\bin'
set_user_path "$before"
wine "$setup" /S
wineserver -w
expect_path "installed without /PATH" "$before"
uninstall
expect_path "uninstalled" "$before"

wine "$setup" /S /PATH
wineserver -w
for f in veltaro.exe veltaro-cli.exe brenlow.dll README.txt uninstall.exe; do
    [ -f "$dir/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ -f "$menu/Veltaro.lnk" ] || { echo "no Start-menu entry in $menu"; exit 1; }
echo "installed in $dir, Start-menu entry present"

windir="C:\\Program Files\\Ostrane\\Veltaro"
case $dir in *"(x86)"*) windir="C:\\Program Files (x86)\\Ostrane\\Veltaro" ;; esac
expect_path "installed with /PATH" "$before;$windir"
version=$(wine "$dir/veltaro-cli.exe" --version </dev/null 2>&1 | tr -d '\r')
[ "$version" = "veltaro-cli $version_wanted" ] || { echo "veltaro-cli --version: $version"; exit 1; }
echo "on the PATH; $version"
# An entry the user adds afterwards stays when the installer's goes.
set_user_path "$before;$windir;D:\\later"

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

uninstall
expect_path "uninstalled" "$before;D:\\later"
if [ -e "$dir" ] || [ -e "$menu" ]; then
    echo "left behind after uninstall:"; ls -la "$dir" "$menu" 2>&1 || true
    exit 1
fi
echo "uninstalled"
