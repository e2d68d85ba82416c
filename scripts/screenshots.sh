#!/usr/bin/env bash
# Screenshots of both main-dialog templates and the about box for review, at 96, 144 and
# 192 DPI (100, 150, 200 %): the delivered simple template, the expert one (a second build
# with QUENDEL_SIMPLE_VARIANT=0), and the about box, opened through the system menu (command
# 16) by the test helper window_check, and the settings dialog (command 32); under Xvfb with a window manager, title bars included.
# Writes build/screenshots/{simple,expert,about,settings}.png (96 DPI) and -144.png, -192.png beside
# them; with --docs also copies them into docs/screenshots/ for the README.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
. scripts/wine-host.sh
# The delivered 32-bit build; the x86_64 one where this host cannot run 32-bit programs.
arch=i686
[ "$QUENDEL_HOST_32BIT" = 1 ] || { arch=x86_64; echo "No 32-bit support on this host: screenshots of the x86_64 build."; }
cmake --preset mingw-$arch >/dev/null
cmake --build --preset mingw-$arch --target quendel window_check >/dev/null
cmake --preset mingw-$arch -B build/expert-$arch -DQUENDEL_SIMPLE_VARIANT=0 >/dev/null
cmake --build build/expert-$arch --target quendel >/dev/null
quendel=$(scripts/wine-run winepath -w "$PWD/build/mingw-$arch/app/quendel.exe" | tr -d '\r')
version=$(sed -nE 's/^project\(Quendel VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
names=()
for dpi in 96 144 192; do
    suffix=$([ "$dpi" = 96 ] || echo "-$dpi")
    export SHOT_DPI=$dpi
    # The screen trimmed to the windows on it, frames and title bars included; the about box
    # with its frame.
    bash scripts/xvfb-shot.sh build/mingw-$arch/app/quendel.exe "build/screenshots/simple$suffix.png"
    bash scripts/xvfb-shot.sh build/expert-$arch/app/quendel.exe "build/screenshots/expert$suffix.png"
    SHOT_WINDOW="Info über Quendel" bash scripts/xvfb-shot.sh build/mingw-$arch/tests/release/window_check.exe \
        "build/screenshots/about$suffix.png" 8 "$quendel" "Quendel $version" 16
    SHOT_WINDOW="Einstellungen" bash scripts/xvfb-shot.sh build/mingw-$arch/tests/release/window_check.exe \
        "build/screenshots/settings$suffix.png" 8 "$quendel" "Quendel $version" 32
    names+=("simple$suffix" "expert$suffix" "about$suffix" "settings$suffix")
done
echo "Screenshots: ${names[*]/%/.png} in build/screenshots/"
if [ "${1:-}" = --docs ]; then
    mkdir -p docs/screenshots
    for name in "${names[@]}"; do
        convert "build/screenshots/$name.png" -strip "docs/screenshots/$name.png"
    done
    ls -l docs/screenshots
fi
