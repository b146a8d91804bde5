#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests natively (with the
# sanitizers), the same tests and the end-to-end tests under Wine, the
# fuzzer's corpus, and the checks of the shipped program and its archive.
# Ends with a line counting the passed and failed tests.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine_session.sh"
cd "$tandrel_root" || exit 1

"$tandrel_root/tools/setup.sh" || exit 1

# The product is always the 32-bit build; the Wine tests run the build that
# this machine's Wine can run (see wine_session.sh).
presets="native win32"
[ "$tandrel_wine_preset" = win32 ] || presets="$presets $tandrel_wine_preset"
for preset in $presets; do
    options=""
    if [ "$preset" = win32 ]; then
        # Where the Wine tests run another build, this one is only the product.
        options="-DTANDREL_TESTS=$([ "$tandrel_wine_preset" = win32 ] && echo ON || echo OFF)"
    fi
    # shellcheck disable=SC2086
    cmake --preset "$preset" $options >/dev/null || exit 1
    if [ "$preset" = win32 ]; then
        # Everything, then the publisher's archive, which the release checks read.
        cmake --build --preset win32 --target package || exit 1
    else
        cmake --build --preset "$preset" || exit 1
    fi
    rm -rf "build/$preset/results"
    mkdir -p "build/$preset/results"
done

ctest --preset native -j 2 --output-junit "$tandrel_root/build/native/results/ctest.xml"

# The shipped 32-bit program, its archive and a second build of it (label
# release); where the Wine tests run the 32-bit build, they are among them.
results="build/native/results build/$tandrel_wine_preset/results"
if [ "$tandrel_wine_preset" != win32 ]; then
    ctest --preset win32 -L release -j 2 \
        --output-junit "$tandrel_root/build/win32/results/ctest.xml"
    results="$results build/win32/results"
fi

# The display-scale cases run again in prefixes at 144 and 192 DPI (see
# tests/CMakeLists.txt); the plain prefix, prepared last, is the one selected.
wine_session_start_xvfb 24 192 || exit 1
trap wine_session_stop EXIT
for dpi in 144 192 ""; do
    wine_session_prefix "$tandrel_root/build/wine-tests" desktop $dpi || exit 1
done
ctest --preset "$tandrel_wine_preset" \
    --output-junit "$tandrel_root/build/$tandrel_wine_preset/results/ctest.xml"
wine_session_stop

# The release checks' figures: the program's size, the archive's, the hashes.
grep -h '^release: ' build/win32/Testing/Temporary/LastTest.log
# shellcheck disable=SC2086
"$tandrel_root/tools/count_results.sh" $results
