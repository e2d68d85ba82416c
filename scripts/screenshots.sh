#!/usr/bin/env bash
# Screenshots of both main-dialog templates for review: the delivered simple template and
# the expert one (a second build with QUENDEL_SIMPLE_VARIANT=0), under Xvfb, and of the about
# box, opened through the system menu (command 16) by the test helper window_check.
# Writes build/screenshots/simple.png, expert.png and about.png; with --docs also copies them
# into docs/screenshots/ for the README.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 --target quendel window_check >/dev/null
cmake --preset mingw-i686 -B build/expert-i686 -DQUENDEL_SIMPLE_VARIANT=0 >/dev/null
cmake --build build/expert-i686 --target quendel >/dev/null
bash scripts/xvfb-shot.sh build/mingw-i686/app/quendel.exe build/screenshots/simple.png
bash scripts/xvfb-shot.sh build/expert-i686/app/quendel.exe build/screenshots/expert.png
quendel=$(scripts/wine-run winepath -w "$PWD/build/mingw-i686/app/quendel.exe" | tr -d '\r')
version=$(sed -nE 's/^project\(Quendel VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
SHOT_WINDOW="Info über Quendel" bash scripts/xvfb-shot.sh build/mingw-i686/tests/release/window_check.exe build/screenshots/about.png 8 \
    "$quendel" "Quendel $version" 16
echo "Screenshots: build/screenshots/simple.png build/screenshots/expert.png build/screenshots/about.png"
if [ "${1:-}" = --docs ]; then
    mkdir -p docs/screenshots
    for name in simple expert about; do
        convert "build/screenshots/$name.png" -strip "docs/screenshots/$name.png"
    done
    ls -l docs/screenshots
fi
