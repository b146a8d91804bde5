#!/usr/bin/env bash
# Plants the faults listed in tools/mutants.txt one at a time, runs the tests
# on each (run tools/test.sh once first, to set everything up) and tells which
# ones they catch: a measure of the tests that a leaner suite must not fall
# below. Each fault's output goes to
# build/mutants/NN.log (NN its number in the list). The file is restored after
# every fault, also when the run is interrupted.
#   tools/mutants.sh [PATTERN]   only the faults whose list line matches PATTERN
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine_session.sh"
cd "$tandrel_root" || exit 1
pattern="${1:-}"
logs=build/mutants
mkdir -p "$logs"

# The build that this machine's Wine runs, chosen once set-up is done; the
# clone's lock keeps other runs here off the sources while faults are planted.
wine_session_lock || exit 1
tools/setup.sh || exit 1
wine_session_choose_build

planted="" # the file that holds a fault right now
child=""   # the running test command, leader of its own process group
restore() {
    if [ -n "$child" ]; then
        kill -TERM -- "-$child" 2>/dev/null
        wait "$child" 2>/dev/null
        child=""
    fi
    if [ -n "$planted" ]; then
        git checkout -- "$planted"
        planted=""
    fi
}
trap restore EXIT
trap 'echo "mutants: interrupted" >&2; exit 130' INT TERM
# The test command runs in a process group of its own, so that an interrupt
# reaches this script first and ends exactly that group.
set -m

# The test command's native and Wine tests, built incrementally and stopping
# at the first failure: only "caught or not" matters here.
quick_test() (
    preset=$tandrel_wine_preset
    caught() { echo "tests: 0 passed, 1 failed"; exit 1; }
    # $1: a display scale (empty: 96 DPI); the rest: a program and its options.
    wine_test() {
        local dpi=$1 program=$2
        shift 2
        wine_session_prefix "$PWD/build/wine-tests" desktop $dpi || exit 1
        if ! wine "build/$preset/$program.exe" --gtest_fail_fast "$@" >"build/$preset/$program.out" 2>&1; then
            grep -E '^\[  FAILED  \] [A-Za-z]' "build/$preset/$program.out"
            caught
        fi
    }
    for p in native "$preset"; do
        cmake --build --preset "$p" || exit 1
    done
    # Not the format: a planted fault may change it, which says nothing of the tests.
    ctest --preset native -j 2 --stop-on-failure -E '^format$' || caught
    wine_session_stop_on_exit
    wine_session_start_xvfb 24 192 || exit 1
    for program in unit_launcher unit_dib tandrel_e2e; do
        wine_test "" "$program"
    done
    # What shows only at another display scale, or in another display language.
    for dpi in 144 192; do
        for program in unit_launcher tandrel_e2e; do
            wine_test "$dpi" "$program" --gtest_filter='Scaled*'
        done
    done
    LC_ALL=zh_TW.UTF-8 TANDREL_TEST_LANGUAGE=zh-TW wine_test 96 tandrel_e2e \
        --gtest_filter='DisplayLanguage*'
    # The downloaded disc image: planted DLLs, nothing written.
    wine_session_prefix "$PWD/build/wine-tests" desktop || exit 1
    ctest --preset "$preset" -R '^tandrel_read_only$' --output-on-failure || caught
    echo "tests: 1 passed, 0 failed"
)

# Replaces the one occurrence of $2 in file $1 by $3; fails when there is not
# exactly one. Plain text, no patterns.
plant() {
    python3 - "$@" <<'EOF'
import os, sys
path, old, new = sys.argv[1], os.fsencode(sys.argv[2]), os.fsencode(sys.argv[3])
data = open(path, "rb").read()
if data.count(old) != 1:
    sys.exit(1)
open(path, "wb").write(data.replace(old, new))
EOF
}

# What failed, from a run's log: the test programs that ctest saw fail, then
# the failing cases (a crashed program wrote no results, so not the XML).
failures_in() {
    local programs cases count
    programs=$(sed -n 's/.*Test *#[0-9]*: \([^ ]*\) \.*\*\*\*\([A-Za-z]*\).*/\1 \2/p' "$1" |
        paste -sd ',' -)
    cases=$(grep -o '^\[  FAILED  \] [A-Za-z0-9_/]*\.[A-Za-z0-9_/]*' "$1" | cut -c 14- | sort -u)
    count=$(grep -c . <<<"$cases")
    cases=$(head -n 3 <<<"$cases" | paste -sd ',' -)
    [ "$count" -le 3 ] || cases="$cases and $((count - 3)) more"
    echo "$programs${cases:+; $cases}"
}

caught=0 missed=0 broken=0 stale=0 other=0
number=0
started=$SECONDS
while IFS= read -r line; do
    case "$line" in '' | '#'*) continue ;; esac
    number=$((number + 1))
    if [ -n "$pattern" ] && ! grep -qE -- "$pattern" <<<"$line"; then
        continue
    fi
    IFS=$'\t' read -r file original replacement description <<<"$line"
    id=$(printf '%02d' "$number")
    if ! git diff --quiet HEAD -- "$file"; then
        echo "mutants: $file has uncommitted changes; stopping" >&2
        exit 1
    fi
    if ! plant "$file" "$original" "$replacement"; then
        echo "$id stale        $description ($file)"
        stale=$((stale + 1))
        continue
    fi
    planted=$file
    # Laid out as the file's author would have written it: the format check
    # is not what should catch a fault.
    case "$file" in *.cpp | *.h) clang-format -i "$file" ;; esac

    log="$logs/$id.log"
    begun=$SECONDS
    quick_test >"$log" 2>&1 </dev/null &
    child=$!
    wait "$child"
    status=$?
    child=""
    git checkout -- "$file"
    planted=""

    seconds=$((SECONDS - begun))
    failures=$(sed -n 's/^tests: [0-9]* passed, \([0-9]*\) failed$/\1/p' "$log" | tail -n 1)
    if [ "$status" -eq 0 ]; then
        result=MISSED missed=$((missed + 1)) detail=""
    elif [ "${failures:-0}" -gt 0 ]; then
        result=caught caught=$((caught + 1)) detail=$(failures_in "$log")
    elif grep -qE 'error:|\*\*\* .*Error [0-9]' "$log"; then
        result=build-error broken=$((broken + 1))
        detail=$(grep -m 1 -E 'error:' "$log" | cut -c 1-120)
    else
        result=no-result other=$((other + 1)) detail="see $log"
    fi
    printf '%s %-12s %s (%s, %ss)%s\n' "$id" "$result" "$description" "$file" "$seconds" \
        "${detail:+: $detail}"
done <tools/mutants.txt

summary="mutants: $caught caught, $missed missed, $broken build errors, $stale stale"
[ "$other" -eq 0 ] || summary="$summary, $other without a result"
echo "$summary ($((SECONDS - started)) s)"
