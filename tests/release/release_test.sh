#!/usr/bin/env bash
# What a user downloads, in Wine: release_test.sh <mode> <artifact> <window_check.exe> <work dir> <arch> <version>
# zip: the file list; quendel.exe started from the unpacked folder without the DLL, as it carries the library.
# CurrentUser, AllUsers: a silent install into a copy of the test prefix, what it left, the program started, and
# a silent uninstall that leaves nothing; 77 (skipped) without makensis, as then there is no installer.
set -euo pipefail
mode=$1 artifact=$2 check=$3 work=$4 arch=$5 version=$6 data=$(dirname "${BASH_SOURCE[0]}")/../data
run=$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-run
fail() { echo "FAIL: $*" >&2; exit 1; }
started() { "$run" "$check" "$1" "Quendel $version" || fail "$1 did not show its window and end with 0 when closed"; }
unix() { "$run" winepath -u "$1" | tr -d '\r'; }
rm -rf "$work" && mkdir -p "$work"
if [ "$mode" = zip ]; then
    trap 'rm -rf "$work"' EXIT
    diff <(grep -v '^#' "$data/release_zip_contents.txt" | sed "s|^|quendel-$version-$arch/|" | sort) \
        <(unzip -Z1 "$artifact" | sort) >&2 || fail "the ZIP holds other files than expected (< expected, > found)"
    unzip -q "$artifact" -d "$work" && rm "$work/quendel-$version-$arch/quendel_time.dll"
    started "$("$run" winepath -w "$work/quendel-$version-$arch/quendel.exe" | tr -d '\r')" && exit 0
fi
command -v makensis >/dev/null || { echo "SKIPPED: makensis is not installed (Debian package nsis)"; exit 77; }
. "$(dirname "$run")/wine-host.sh"
[ "$QUENDEL_HOST_32BIT" = 1 ] ||
    { echo "SKIPPED: the installer is a 32-bit program; this host cannot run it ($QUENDEL_NO_32BIT_REASON)"; exit 77; }
# A copy, as the installer changes the registry and Start menu (no menu entries here; KEEP=1 keeps it).
"$run" cmd /c exit >/dev/null 2>&1  # makes the prefix if there is none yet
cp -a "${QUENDEL_WINEPREFIX:-$(dirname "$run")/../build/wineprefix}" "$work/prefix" 2>/dev/null || true
[ -e "$work/prefix/system.reg" ] || fail "copying the Wine prefix failed"
export QUENDEL_WINEPREFIX=$work/prefix WINEDLLOVERRIDES="winemenubuilder.exe=d"
[ -n "${KEEP:-}" ] || trap 'WINEPREFIX=$work/prefix wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
winvar() { "$run" cmd /c echo "%$1%" | tr -d '\r'; }
hive=HKCU view="" dir="$(winvar LOCALAPPDATA)\\Programs\\Quendel" menu=$(winvar APPDATA)
[ "$mode" = CurrentUser ] || hive=HKLM view=/reg:64 dir="$(winvar ProgramW6432)\\Quendel" menu=$(winvar ProgramData)
[ "$mode$arch" != AllUsersi686 ] || view=/reg:32 dir="$(winvar 'ProgramFiles(x86)')\\Quendel"
udir=$(unix "$dir") link=$(unix "$menu\\Microsoft\\Windows\\Start Menu\\Programs\\Quendel.lnk")
texts() {  # the uninstall key's texts, name=value, sorted
    "$run" reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quendel" $view 2>/dev/null |
        tr -d '\r' | sed -nE 's/^ +([A-Za-z]+) +REG_SZ +(.*)$/\1=\2/p' | sort
}
"$run" "$(unix "$artifact")" /S "/$mode" || fail "the installer failed"
ls "$udir"/{quendel.exe,uninstall.exe,README.md,LICENSE,quendel_time.dll,quendel_time.lib,libquendel_time.dll.a} \
   "$udir"/include/quendel_time.h "$link" || fail "files missing"
key=$(grep -v '^#' "$data/release_uninstall_key.txt") && key=${key//\{dir\}/"$dir"}
diff <(texts) <(echo "${key//\{version\}/"$version"}") || fail "the uninstall key differs (< found, > expected)"
started "$dir\\quendel.exe"
"$run" "$udir/uninstall.exe" /S || fail "the uninstaller failed"
for _ in $(seq 300); do [ -e "$udir" ] || break; sleep 0.1; done  # its copy in the temporary folder works on
[ ! -e "$udir" ] && [ ! -e "$link" ] && [ -z "$(texts)" ] || fail "left behind: $(ls -A "$udir" "$link" 2>&1)"
