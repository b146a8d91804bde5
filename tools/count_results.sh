#!/usr/bin/env bash
# Counts the results of test runs: every GoogleTest case in the XML files that
# the test programs wrote, and every other ctest test (or a test program that
# ended before writing its results) as one. Exits 1 when anything failed.
set -u
passed=0
failed=0

attribute() { # $1: attribute name; reads one XML start tag on stdin
    sed -n "s/.* $1=\"\\([0-9]*\\)\".*/\\1/p" | head -n 1
}

for dir in "$@"; do
    junit="$dir/ctest.xml"
    if [ ! -f "$junit" ]; then
        echo "no results in $dir" >&2
        failed=$((failed + 1))
        continue
    fi
    # One line per ctest test: its name and status.
    while IFS='|' read -r name status; do
        gtest="$dir/$name.xml"
        if [ -f "$gtest" ]; then
            header=$(grep -m 1 '<testsuites ' "$gtest")
            total=$(attribute tests <<<"$header")
            failures=$(attribute failures <<<"$header")
            errors=$(attribute errors <<<"$header")
            disabled=$(attribute disabled <<<"$header")
            bad=$((${failures:-0} + ${errors:-0}))
            passed=$((passed + ${total:-0} - bad - ${disabled:-0}))
            failed=$((failed + bad))
            # A program that failed after writing its results, or crashed at exit.
            if [ "$bad" -eq 0 ] && [ "$status" != run ]; then
                echo "$name: the program failed although its tests passed" >&2
                failed=$((failed + 1))
            fi
        elif [ "$status" = run ]; then
            passed=$((passed + 1))
        else
            echo "$name: failed" >&2
            failed=$((failed + 1))
        fi
    done < <(grep -o '<testcase name="[^"]*"[^>]*status="[^"]*"' "$junit" |
        sed 's/<testcase name="\([^"]*\)".*status="\([^"]*\)"/\1|\2/')
done

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
