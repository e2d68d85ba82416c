#!/usr/bin/env bash
# Builds Quendel and starts it under Wine: the delivered 32-bit build, or the x86_64 build on a
# host that cannot run 32-bit programs (it says so).
# With a display (DISPLAY set) the window opens there. Without one it runs under Xvfb for
# QUENDEL_RUN_SECONDS (default 10) and saves a screenshot to build/screenshots/quendel.png.
# Every failure names its step.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
step() {  # step "what" command...: runs it, or ends with the step named
    local what=$1 rc=0
    shift
    "$@" || rc=$?
    [ "$rc" -eq 0 ] || { echo "run.sh: $what failed (exit status $rc)" >&2; exit "$rc"; }
}
step "installing the build dependencies" bash scripts/install-deps.sh
. scripts/wine-host.sh
preset=mingw-i686
if [ "$QUENDEL_HOST_32BIT" != 1 ]; then
    preset=mingw-x86_64
    echo "This host cannot run 32-bit programs ($QUENDEL_NO_32BIT_REASON): starting the x86_64 build instead."
fi
step "configuring $preset" cmake --preset "$preset" >/dev/null
step "building $preset" cmake --build --preset "$preset" --target quendel
exe=build/$preset/app/quendel.exe

if [ -n "${DISPLAY:-}" ]; then
    QUENDEL_DISPLAY=$DISPLAY exec scripts/wine-run "$exe"
fi
step "running Quendel under Xvfb" bash scripts/xvfb-shot.sh "$exe" build/screenshots/quendel.png "${QUENDEL_RUN_SECONDS:-10}"
[ -s build/screenshots/quendel.png ] || { echo "run.sh: no screenshot was written" >&2; exit 1; }
echo "Quendel ran under Xvfb; screenshot: build/screenshots/quendel.png"
