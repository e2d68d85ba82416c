#!/usr/bin/env bash
# Builds every release artifact into build/release/: per architecture (i686, x86_64) the ZIP
# quendel-<version>-<arch>.zip and the installer quendel-<version>-setup-<arch>.exe, and
# SHA256SUMS over them. The version is the one of project() in CMakeLists.txt.
#   bash scripts/release.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
out=build/release
rm -rf "$out"
mkdir -p "$out"
for preset in mingw-i686 mingw-x86_64; do
    # Build folders of their own, without the tests: a release never mixes with test builds.
    dir=build/release-$preset
    cmake --preset "$preset" -B "$dir" -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$dir" --target quendel_release >/dev/null
    cp "$dir"/release/quendel-* "$out"/
done
(cd "$out" && sha256sum quendel-* >SHA256SUMS)
ls -l "$out"
