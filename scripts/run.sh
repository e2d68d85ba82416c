#!/usr/bin/env bash
# Builds the delivered 32-bit Quendel and starts it under Wine.
# With a display (DISPLAY set) the window opens there. Without one it runs under Xvfb for
# QUENDEL_RUN_SECONDS (default 10) and saves a screenshot to build/screenshots/quendel.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 --target quendel
exe=build/mingw-i686/app/quendel.exe

if [ -n "${DISPLAY:-}" ]; then
    QUENDEL_DISPLAY=$DISPLAY exec scripts/wine-run "$exe"
fi

command -v xwd >/dev/null && command -v convert >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q x11-apps imagemagick >/dev/null
display=:77
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
QUENDEL_DISPLAY=$display scripts/wine-run "$exe" &
app=$!
sleep "${QUENDEL_RUN_SECONDS:-10}"
mkdir -p build/screenshots
xwd -root -display "$display" | convert xwd:- build/screenshots/quendel.png
echo "Quendel ran under Xvfb; screenshot: build/screenshots/quendel.png"
kill $app 2>/dev/null || true
WINEPREFIX=$PWD/build/wineprefix-x11 wineserver -k >/dev/null 2>&1 || true
