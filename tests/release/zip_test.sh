#!/usr/bin/env bash
# Checks the ZIP's file list, unpacks it, removes the library DLL and starts quendel.exe
# from the unpacked folder: the program carries the library itself.
#   zip_test.sh <zip> <window_check.exe> <work dir> <i686|x86_64> <version>
set -euo pipefail
zip=$1 check=$2 work=$3 arch=$4 version=$5
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }

top=quendel-$version-$arch
expected=$(sort <<EOF_LIST
$top/
$top/LICENSE
$top/README.md
$top/include/
$top/include/strings/
$top/include/strings/c_string.h
$top/include/strings/export.h
$top/include/timelib/
$top/include/timelib/c_time.h
$top/include/timelib/c_timespan.h
$top/include/timelib/export.h
$top/include/timelib/format_flags.h
$top/include/timelib/time_source.h
$top/libquendel_time.dll.a
$top/quendel.exe
$top/quendel_time.dll
EOF_LIST
)
actual=$(unzip -Z1 "$zip" | sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "the ZIP holds other files than expected (< expected, > found)"
fi
echo "file list as expected"

rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
rm "$work/$top/quendel_time.dll"
"$root/scripts/wine-run" "$check" "$("$root/scripts/wine-run" winepath -w "$work/$top/quendel.exe" | tr -d '\r')" \
    "Quendel $version" || fail "quendel.exe did not show its window without quendel_time.dll"
