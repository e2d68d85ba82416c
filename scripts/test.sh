#!/usr/bin/env bash
# Builds Quendel for both architectures, and x86_64 once more with undefined behaviour
# trapped, and runs every test under Wine in each of the three.
# The last line reads "N passed, N failed, N skipped" (counted over all three).
# On a host that cannot run 32-bit programs, i686 is built but its tests are not run: they
# count as skipped.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

passed=0
failed=0
skipped=0
i686_skipped=""
x86_64_total=0
finish() {
    # Leave no Wine processes behind.
    for p in build/wineprefix build/wineprefix-x11; do
        [ -d "$p" ] && WINEPREFIX=$PWD/$p wineserver -k >/dev/null 2>&1
    done
    echo "$passed passed, $failed failed, $skipped skipped"
    [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
    exit $?
}

if ! bash scripts/install-deps.sh; then
    echo "installing the build dependencies failed"
    failed=1
    finish
fi

. scripts/wine-host.sh
if [ "$QUENDEL_HOST_32BIT" = 1 ]; then
    echo "host: runs 32-bit and 64-bit Windows programs"
else
    echo "host: runs 64-bit Windows programs only ($QUENDEL_NO_32BIT_REASON: $QUENDEL_WINE32 does not start)"
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
    if [ "$preset" = mingw-i686 ] && [ "$QUENDEL_HOST_32BIT" != 1 ]; then
        echo "i686: built; its tests cannot run on this host ($QUENDEL_NO_32BIT_REASON)"
        i686_skipped=1  # counted below as x86_64's: the same tests (their lists come from running them)
        continue
    fi
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
        # Tests that skip themselves (SKIP_RETURN_CODE) count in ctest's total as passed.
        s=$(grep -cE 'Test +#[0-9]+: .*\*\*\*Skipped' "$log")
        [ "$preset" = mingw-x86_64 ] && x86_64_total=$n
        passed=$((passed + n - f - s))
        failed=$((failed + f))
        skipped=$((skipped + s))
    fi
    rm -f "$log"
done
[ -z "${i686_skipped:-}" ] || skipped=$((skipped + ${x86_64_total:-0}))
finish
