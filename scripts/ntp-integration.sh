#!/usr/bin/env bash
# Asks a real NTP server on loopback: Debian's chronyd with a configuration of its own on
# an unprivileged port, serving this machine's clock and never setting it (-x).
#   scripts/ntp-integration.sh [build-dir]     (default build/mingw-i686; needs chrony)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build/mingw-i686}
port=${QUENDEL_NTP_PORT:-12323}
command -v chronyd >/dev/null || { echo "chronyd missing: apt-get install chrony" >&2; exit 2; }
cmake --build "$build" --target sntp_integration_test quendel >/dev/null

dir=$(mktemp -d)
cat >"$dir/chrony.conf" <<CONF
port $port
bindaddress 127.0.0.1
allow 127.0.0.1
local stratum 1
cmdport 0
pidfile $dir/chronyd.pid
driftfile $dir/drift
CONF
chronyd -x -d -u "$(id -un)" -f "$dir/chrony.conf" >"$dir/chronyd.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
sleep 1
kill -0 "$server" 2>/dev/null || { cat "$dir/chronyd.log" >&2; exit 1; }
QUENDEL_NTP_PORT=$port "$here/wine-run" "$build/tests/net/sntp_integration_test.exe"

# The program itself, measuring only: /query never sets the clock.
"$here/wine-run" reg add 'HKCU\Software\Quendel' /v Zeitserver /d "127.0.0.1:$port" /f >/dev/null 2>&1
rc=0
lines=$("$here/wine-run" "$build/app/quendel.exe" /query /quiet | iconv -f cp1252 -t utf-8) || rc=$?
"$here/wine-run" reg delete 'HKCU\Software\Quendel' /v Zeitserver /f >/dev/null 2>&1 || true
echo "$lines"
[ "$rc" -eq 0 ] || { echo "quendel.exe /query: exit code $rc, expected 0" >&2; exit 1; }
grep -q '^Die PC-Uhr wurde nicht gestellt: nur gemessen (/query)\.' <<<"$lines" &&
    grep -q "^Server: 127.0.0.1:$port (127.0.0.1)" <<<"$lines" && grep -q '^Stratum: ' <<<"$lines" ||
    { echo "quendel.exe /query: unexpected lines" >&2; exit 1; }
echo "quendel.exe /query: exit code 0"
