#!/usr/bin/env bash
# Installs Quendel silently into a copy of the test prefix, checks what the installer left
# (program, Start-menu entry, uninstall key), starts the installed program and closes its
# window, uninstalls silently and checks that nothing of it is left.
#   installer_test.sh <setup.exe> <window_check.exe> <work dir> <i686|x86_64> <version> <CurrentUser|AllUsers>
# Exits 77 (skipped) when makensis is not installed, as then there is no installer.
set -euo pipefail
setup=$1 check=$2 work=$3 arch=$4 version=$5 mode=$6
if ! command -v makensis >/dev/null; then
    echo "SKIPPED: makensis is not installed (Debian package nsis; scripts/install-deps.sh installs it)"
    exit 77
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
run=$root/scripts/wine-run

# A copy of the shared prefix: the installer changes the registry and the Start menu, which
# the other tests must not see, and a failed run leaves nothing behind in the shared one.
fail() { echo "FAIL: $*" >&2; exit 1; }
"$run" cmd /c exit >/dev/null 2>&1  # makes the shared prefix if there is none yet
rm -rf "$work"
mkdir -p "$work"
# Tests running meanwhile may remove their temporary files under the copy's feet: such
# files do not matter, the registry and the Windows folder do.
cp -a "$root/build/wineprefix" "$work/prefix" 2>/dev/null || true
for f in system.reg user.reg .quendel-ready drive_c/windows; do
    [ -e "$work/prefix/$f" ] || fail "copying the Wine prefix failed: no $f"
done
export QUENDEL_WINEPREFIX=$work/prefix
# Shortcuts must not turn into menu entries of the machine that runs the tests.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
# KEEP=1 leaves the copy in place to look at after a failure.
[ -n "${KEEP:-}" ] || trap cleanup EXIT

unix() { "$run" winepath -u "$1" | tr -d '\r'; }
winvar() { "$run" cmd /c echo "%$1%" | tr -d '\r'; }

key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quendel'
if [ "$mode" = AllUsers ]; then
    hive=HKLM
    if [ "$arch" = x86_64 ]; then dir="$(winvar ProgramW6432)\\Quendel"; view=/reg:64
    else dir="$(winvar 'ProgramFiles(x86)')\\Quendel"; view=/reg:32; fi
    menu="$(winvar ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs"
else
    hive=HKCU view=""
    dir="$(winvar LOCALAPPDATA)\\Programs\\Quendel"
    menu="$(winvar APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs"
fi
udir=$(unix "$dir")
ulink=$(unix "$menu\\Quendel.lnk")
query() { "$run" reg query "$hive\\$key" $view 2>/dev/null | tr -d '\r'; }
has_key() { "$run" reg query "$hive\\$key" $view >/dev/null 2>&1; }
value() { query | sed -nE "s/^ +$1 +REG_[A-Z_]+ +(.*)$/\1/p"; }

echo "== install (/S /$mode) to $dir"
"$run" "$(unix "$setup")" /S "/$mode" || fail "the installer failed"
for f in quendel.exe uninstall.exe README.md LICENSE; do
    [ -f "$udir/$f" ] || fail "$dir\\$f is missing"
done
[ -f "$ulink" ] || fail "no Start-menu entry $menu\\Quendel.lnk"
[ "$(value DisplayName)" = Quendel ] || fail "DisplayName is '$(value DisplayName)'"
[ "$(value DisplayVersion)" = "$version" ] || fail "DisplayVersion is '$(value DisplayVersion)'"
[ "$(value DisplayIcon)" = "$dir\\quendel.exe,0" ] || fail "DisplayIcon is '$(value DisplayIcon)'"
[ -n "$(value Publisher)" ] || fail "no Publisher"
[ "$(value UninstallString)" = "\"$dir\\uninstall.exe\"" ] || fail "UninstallString is '$(value UninstallString)'"
echo "installed; uninstall key:"
query

echo "== start the installed program"
"$run" "$check" "$dir\\quendel.exe" "Quendel $version" || fail "the installed program did not show its window"

echo "== uninstall (/S)"
"$run" "$udir/uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller hands over to a copy of itself in the temporary folder and returns at once.
for _ in $(seq 300); do
    [ -e "$udir" ] || break
    sleep 0.1
done
[ ! -e "$udir" ] || fail "$dir is still there: $(ls -A "$udir")"
[ ! -e "$ulink" ] || fail "the Start-menu entry is still there"
! has_key || fail "the uninstall key is still there"
echo "uninstalled without a trace"
