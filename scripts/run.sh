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
bash scripts/xvfb-shot.sh "$exe" build/screenshots/quendel.png "${QUENDEL_RUN_SECONDS:-10}"
echo "Quendel ran under Xvfb; screenshot: build/screenshots/quendel.png"
