#!/usr/bin/env bash
# Builds the Windows programs and runs the benchmarks under Wine, in a session
# of their own (Xvfb at 24 bits, the tests' prefix with its virtual desktop):
# start-up to first paint against a minimal window, observed two ways, the
# picture's load against a raw read of its file, and PNG and JPEG loads
# against the imaging component's own decode. They print figures and judge
# nothing; tools/test.sh does not run them.
#
#   tools/bench.sh [runs]     runs of each program in bench_startup (default 30)
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine_session.sh"
cd "$tandrel_root" || exit 1

runs=${1:-30}
case "$runs" in
'' | *[!0-9]*)
    echo "usage: tools/bench.sh [runs]" >&2
    exit 2
    ;;
esac

wine_session_lock || exit 1
"$tandrel_root/tools/setup.sh" || exit 1
# The build that this machine's Wine runs (see wine_session.sh).
wine_session_choose_build
preset=$tandrel_wine_preset
echo "bench: the $preset build"
cmake --preset "$preset" -DTANDREL_TESTS=ON >/dev/null || exit 1
cmake --build --preset "$preset" || exit 1

wine_session_stop_on_exit
wine_session_start_xvfb 24 || exit 1
wine_session_prefix "$tandrel_root/build/wine-tests" desktop || exit 1

bin="$tandrel_root/build/$preset"
status=0
echo
echo "== bench_startup $runs"
wine "$bin/bench_startup.exe" "$runs" || status=1
echo
echo "== bench_startup $runs --pixels"
wine "$bin/bench_startup.exe" "$runs" --pixels || status=1
echo
echo "== bench_dib_load"
wine "$bin/bench_dib_load.exe" || status=1
echo
echo "== bench_decode"
wine "$bin/bench_decode.exe" || status=1
exit "$status"
