#!/usr/bin/env bash
# The soak test: 100,000 refreshes, 10,000 timer ticks, 500 about-box cycles and 100 sync
# attempts against a loopback responder; fails when the process's GDI or USER objects, the
# toolkit's live handles or its private memory grow. Takes minutes; not part of the tests.
#   scripts/soak.sh [build-dir] [refreshes ticks about-cycles syncs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build/mingw-i686}
shift || true
cmake --build "$build" --target soak
exec "$here/wine-run" "$build/bench/soak.exe" "$@"
