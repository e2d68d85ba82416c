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
cmake --build "$build" --target sntp_integration_test >/dev/null

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
