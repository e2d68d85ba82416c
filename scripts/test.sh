#!/usr/bin/env bash
# Builds Quendel for both architectures, and x86_64 once more with undefined behaviour
# trapped, and runs every test under Wine in each of the three.
# The last line reads "N passed, N failed" (counted over all three).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

passed=0
failed=0
finish() {
    # Leave no Wine processes behind.
    for p in build/wineprefix build/wineprefix-x11; do
        [ -d "$p" ] && WINEPREFIX=$PWD/$p wineserver -k >/dev/null 2>&1
    done
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
    exit $?
}

if ! bash scripts/install-deps.sh; then
    echo "installing the build dependencies failed"
    failed=1
    finish
fi

# The Wine prefix is made once, before any test program has to wait for it.
mkdir -p build
if ! scripts/wine-run cmd /c exit >/dev/null 2>&1; then
    echo "Wine does not start"
    failed=1
    finish
fi

for preset in mingw-i686 mingw-x86_64 mingw-x86_64-trapub; do
    echo "== $preset"
    if ! cmake --preset "$preset" >"build/$preset-build.log" 2>&1 || ! cmake --build --preset "$preset" >>"build/$preset-build.log" 2>&1; then
        cat "build/$preset-build.log"
        echo "$preset: build failed"
        failed=$((failed + 1))
        continue
    fi
    rm -f "build/$preset-build.log"
    log=$(mktemp)
    ctest --preset "$preset" 2>&1 | tee "$log"
    # "100% tests passed, 0 tests failed out of 38"
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        echo "$preset: ctest gave no summary"
        failed=$((failed + 1))
    else
        f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
        n=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
        passed=$((passed + n - f))
        failed=$((failed + f))
    fi
    rm -f "$log"
done
finish
