#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests natively (with the
# sanitizers), the same tests and the end-to-end tests under Wine, the
# fuzzer's corpus, and the checks of the shipped program and its archive.
# Ends with a line counting the passed and failed tests.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine_session.sh"
cd "$tandrel_root" || exit 1

wine_session_lock || exit 1
"$tandrel_root/tools/setup.sh" || exit 1
wine_session_choose_build

# The Wine tests run the build that this machine's Wine runs; the other
# Windows build is only the program, whose release checks (the loader's rules
# for both, everything about the shipped 32-bit one) run all the same.
other_preset=win64
if [ "$tandrel_wine_preset" != win32 ]; then
    other_preset=win32
    echo "test: this machine cannot run 32-bit programs (wine32): the Wine tests run the" \
        "64-bit build; the shipped 32-bit tandrel.exe gets its release checks only"
fi
for preset in native win32 win64; do
    options=""
    if [ "$preset" != native ]; then
        options="-DTANDREL_TESTS=$([ "$preset" = "$tandrel_wine_preset" ] && echo ON || echo OFF)"
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
ctest --preset "$other_preset" -L release -j 2 \
    --output-junit "$tandrel_root/build/$other_preset/results/ctest.xml"

# The display-scale cases run again in prefixes at 144 and 192 DPI, the
# display-language ones in a prefix of their own at 96 (see
# tests/CMakeLists.txt); the plain prefix, prepared last, is the one selected.
wine_session_stop_on_exit
wine_session_start_xvfb 24 192 || exit 1
for dpi in 96 144 192 ""; do
    wine_session_prefix "$tandrel_root/build/wine-tests" desktop $dpi || exit 1
done
ctest --preset "$tandrel_wine_preset" \
    --output-junit "$tandrel_root/build/$tandrel_wine_preset/results/ctest.xml"
wine_session_stop

# The release checks' figures: the program's size, the archive's, the hashes,
# and the loader's rules on both builds.
grep -h -e '^release: ' -e "the loader's rules hold" \
    build/win32/Testing/Temporary/LastTest.log build/win64/Testing/Temporary/LastTest.log
"$tandrel_root/tools/count_results.sh" build/native/results build/win32/results build/win64/results
