#!/usr/bin/env bash
# Mutation testing: how many small faults planted in the product code does the suite notice?
# Copies the repository's tracked files (as they are in the working tree) to
# $MUTATION_BUILD_DIR/src, builds the copy for i686 (x86_64 on a host that cannot run 32-bit
# programs, which it says) and runs its whole suite once as a
# baseline. Then, one at a time, it plants a fault (a mutant) in the copy's product code
# (timelib, strings, wintoolkit, net, app), rebuilds and runs the suite until the first
# failure: a failing suite kills the mutant. Mutants that do not compile, or compile to
# the very same objects, are skipped and do not count. Prints one line per mutant, the
# surviving mutants and, last, "mutation score: K/N" (K of N mutants killed); the same
# report goes to $MUTATION_BUILD_DIR/report-seed<SEED>.txt. The caller's tree is not touched.
#
#   scripts/mutation.sh [SEED] [N]    SEED chooses the mutants (default 1), N how many (60)
#   MUTATION_BUILD_DIR=dir            the copy and the report (default build/mutation;
#                                     a relative path is taken from the repository's root)
#
# The exit status is 0 whatever the score; it is not 0 when the tool cannot do its work
# (bad arguments, the copy does not build, the unmutated suite fails).
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/.." && pwd)
seed=${1:-1}
count=${2:-60}
if ! [[ $seed =~ ^[0-9]+$ && $count =~ ^[0-9]+$ ]] || [ "$count" -eq 0 ] || [ $# -gt 2 ]; then
    echo "usage: scripts/mutation.sh [SEED] [N]   (SEED >= 0, N >= 1)" >&2
    exit 2
fi
out=${MUTATION_BUILD_DIR:-build/mutation}
[[ $out = /* ]] || out=$repo/$out
mkdir -p "$out/logs" || exit 1
out=$(cd "$out" && pwd -P)
src=$out/src
. "$here/wine-host.sh"
preset=mingw-i686
[ "$QUENDEL_HOST_32BIT" = 1 ] || preset=mingw-x86_64
bin=$src/build/$preset
logs=$out/logs
state=$out/mutant  # $state.orig / $state.path: the file under mutation, while there is one
report=$out/report-seed$seed.txt
if [ "$src" = "$(cd "$repo" && pwd -P)" ]; then
    echo "MUTATION_BUILD_DIR/src would be the repository itself" >&2
    exit 2
fi

# Two runs in one directory would mutate each other's copy. (The suite's commands get the
# lock's descriptor closed: the Wine server they start outlives them.)
exec 8>"$out/.lock"
if ! flock -n 8; then
    echo "another mutation run is using $out" >&2
    exit 1
fi

say() { printf '%s\n' "$*" | tee -a "$report"; }
die() { say "error: $*"; exit 1; }

# Puts the original file back. The fresh mtime makes the next build recompile it.
restore() {
    [ -f "$state.path" ] || return 0
    local file
    file=$(cat "$state.path")
    cp "$state.orig" "$src/$file" && touch "$src/$file" && rm -f "$state.path" "$state.orig"
}

finish() {
    restore
    # The copy's Wine server (started by its scripts/wine-run) is ours to end.
    [ -d "$src/build/wineprefix" ] && WINEPREFIX="$src/build/wineprefix" wineserver -k >/dev/null 2>&1
    true
}
trap finish EXIT
suite_pid=""
trap 'echo "interrupted" >&2; [ -n "$suite_pid" ] && kill -TERM -- "-$suite_pid" 2>/dev/null; exit 130' INT
trap '[ -n "$suite_pid" ] && kill -TERM -- "-$suite_pid" 2>/dev/null; exit 143' TERM

: >"$report"
# A run killed hard may have left a mutant behind; the sync below would replace it too.
restore

# ---- the copy, its build and the baseline
say "mutation testing, seed $seed, $count mutants; copy in $src"
[ "$preset" = mingw-i686 ] || say "this host cannot run 32-bit programs ($QUENDEL_NO_32BIT_REASON): judging the x86_64 build"
python3 "$here/mutation.py" sync "$repo" "$src" || die "copying the tracked files failed"
(cd "$src" && cmake --preset "$preset") >"$logs/configure.log" 2>&1 ||
    die "configuring the copy failed, see $logs/configure.log"
(cd "$src" && cmake --build --preset "$preset") >"$logs/build.log" 2>&1 ||
    die "building the copy failed, see $logs/build.log"
started=$(date +%s)
(cd "$src" && ctest --preset "$preset" --timeout 60) >"$logs/baseline-ctest.log" 2>&1 8>&- ||
    die "the unmutated suite fails, see $logs/baseline-ctest.log"
baseline=$(($(date +%s) - started))
say "baseline: the unmutated suite passes ($baseline s)"

# Every object and resource file the build compiles, with its hash: a mutant that leaves all
# of them as they were is equivalent at the binary level, and is not worth a suite run.
mapfile -t objects < <(ninja -C "$bin" -t targets all | sed -n 's/^\(.*\): [A-Z]*_COMPILER__.*$/\1/p')
[ ${#objects[@]} -gt 0 ] || die "no object files found in $bin"
(cd "$bin" && sha1sum "${objects[@]}") >"$out/objects.sha1" || die "hashing the objects failed"
# Installed headers also reach programs that the suite compiles while it runs (the library
# user's examples); their mutants always get the suite.
installed=$(grep -rhoE --include=cmake_install.cmake '"[^"]+\.h"' "$bin" | tr -d '"' | sort -u)

sites=$out/sites-seed$seed.json
summary=$(python3 "$here/mutation.py" sites "$src" "$seed" "$sites") || die "finding mutation sites failed"
total=${summary%% *}
say "sites: $total (${summary#* })"
say ""

# A mutant that hangs is stopped by the tests' own timeouts (ctest's --timeout covers tests
# without one); this bounds the whole run in case ctest itself hangs.
guard=$((2 * baseline + 300))
# CTest runs the tests it has noted as failed last time (Testing/Temporary/CTestCostData.txt,
# after "---") before all others. Noted there: the test that killed the last mutant, and the
# tests of the mutated file's part (timelib, app, ...), most likely to notice the fault.
(cd "$src" && ctest --preset "$preset" -N --show-only=json-v1) 2>/dev/null 8>&- |
    python3 "$here/mutation.py" tests >"$out/tests.tsv" || die "listing the tests failed"
last_killer=""
failed_line='Test +#[0-9]+: .*\*\*\*(Failed|Exception|Timeout|Not Run)'
costs=$bin/Testing/Temporary/CTestCostData.txt

index=0 done=0 killed=0 uncompiled=0 equivalent=0
survivors=()
loop_started=$(date +%s)
while [ "$done" -lt "$count" ] && [ "$index" -lt "$total" ]; do
    site=$index
    index=$((index + 1))
    log=$logs/seed$seed-site$site.log
    if ! info=$(python3 "$here/mutation.py" apply "$src" "$sites" "$site" "$state" 2>"$log"); then
        restore
        say "        skipped: cannot apply site $site ($(tail -n 1 "$log"))"
        continue
    fi
    IFS=$'\t' read -r file line desc before after <<<"$info"
    where="$file:$line  $desc"
    mutant_started=$(date +%s)

    # Objects first: a compile error or unchanged objects are found without linking.
    if ! (cd "$src" && cmake --build --preset "$preset" --target "${objects[@]}") >"$log" 2>&1; then
        restore
        uncompiled=$((uncompiled + 1))
        say "        skipped: does not compile  $where"
        continue
    fi
    if ! grep -qxF "$src/$file" <<<"$installed" &&
        (cd "$bin" && sha1sum --quiet -c "$out/objects.sha1") >/dev/null 2>&1; then
        restore
        equivalent=$((equivalent + 1))
        say "        skipped: equivalent        $where"
        continue
    fi
    if ! (cd "$src" && cmake --build --preset "$preset") >>"$log" 2>&1; then
        restore
        uncompiled=$((uncompiled + 1))
        say "        skipped: does not compile  $where  (link)"
        continue
    fi

    if [ -f "$costs" ]; then
        sed -i '/^---$/,$d' "$costs"
        { echo ---
          [ -n "$last_killer" ] && printf '%s\n' "$last_killer"
          awk -F '\t' -v part="${file%%/*}" '$1 == part { print $2 }' "$out/tests.tsv"
        } >>"$costs"
    fi
    # The suite runs in the background, so that Ctrl-C (the INT trap) is seen at once;
    # timeout makes a process group of its own, which the trap ends.
    (cd "$src" && exec timeout -k 10 "$guard" ctest --preset "$preset" --stop-on-failure --timeout 60) >>"$log" 2>&1 8>&- &
    suite_pid=$!
    # --stop-on-failure still waits for the tests running beside the failed one, which a
    # mutant may have made hang: the first failure ends the run here and now.
    failure=""
    while kill -0 "$suite_pid" 2>/dev/null; do
        failure=$(grep -m 1 -E "$failed_line" "$log") && break
        sleep 0.5
    done
    [ -n "$failure" ] && kill -TERM -- "-$suite_pid" 2>/dev/null
    wait "$suite_pid"
    rc=$?
    suite_pid=""
    restore
    done=$((done + 1))
    seconds=$(($(date +%s) - mutant_started))
    [ -n "$failure" ] || failure=$(grep -m 1 -E "$failed_line" "$log")
    if [ -n "$failure" ] || [ "$rc" -ne 0 ]; then
        killed=$((killed + 1))
        verdict=killed
        test_name=""
        [ -n "$failure" ] && test_name=$(sed -E 's/.*Test +#[0-9]+: (.*[^ ]) +\.+ *\*\*\*.*/\1/' <<<"$failure")
        by=$test_name
        if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
            by="the whole run timed out"
        fi
        # Tests stopped halfway may leave Wine programs behind: the next suite starts a
        # fresh Wine server (which takes about a second).
        WINEPREFIX="$src/build/wineprefix" wineserver -k >/dev/null 2>&1
        [ -n "$test_name" ] && last_killer=$test_name
    else
        verdict=survived
        by=""
        survivors+=("$file:$line  $desc"$'\n'"      - $before"$'\n'"      + $after")
    fi
    say "$(printf '[%d/%d] %-9s %s   (%d s)%s' "$done" "$count" "$verdict" "$where" "$seconds" "${by:+  by $by}")"
done
elapsed=$(($(date +%s) - loop_started))

say ""
if [ "$done" -lt "$count" ]; then
    say "only $done mutants: the $total sites ran out"
fi
say "surviving mutants: ${#survivors[@]}"
for s in "${survivors[@]}"; do
    say "  $s"
done
say "skipped: $uncompiled do not compile, $equivalent equivalent"
if [ "$done" -gt 0 ]; then
    say "time: $elapsed s for $done mutants, $((elapsed / done)) s per mutant (skipped ones included)"
fi
say "mutation score: $killed/$done"
exit 0
