#!/usr/bin/env bash
# Screenshots of both main-dialog templates for review: the delivered simple template and
# the expert one (a second build with QUENDEL_SIMPLE_VARIANT=0), under Xvfb.
# Writes build/screenshots/simple.png and build/screenshots/expert.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 --target quendel >/dev/null
cmake --preset mingw-i686 -B build/expert-i686 -DQUENDEL_SIMPLE_VARIANT=0 >/dev/null
cmake --build build/expert-i686 --target quendel >/dev/null
bash scripts/xvfb-shot.sh build/mingw-i686/app/quendel.exe build/screenshots/simple.png
bash scripts/xvfb-shot.sh build/expert-i686/app/quendel.exe build/screenshots/expert.png
echo "Screenshots: build/screenshots/simple.png build/screenshots/expert.png"
