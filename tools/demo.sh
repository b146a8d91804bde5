#!/usr/bin/env bash
# Builds tandrel.exe and shows the panel on the sample distribution folder.
# With a display (DISPLAY set) the panel opens there; try its buttons. Without
# one, or with --screenshot, it runs under Xvfb and saves a screenshot.
#
#   tools/demo.sh [--screenshot] [DPI]   DPI: the display scale, 96 (100 %) unless given
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine_session.sh"
cd "$tandrel_root" || exit 1

screenshot_only=""
if [ "${1:-}" = --screenshot ]; then
    screenshot_only=yes
    shift
fi
dpi=${1:-}
case "$dpi" in
'' | 96) dpi="" ;;
*[!0-9]*)
    echo "usage: tools/demo.sh [--screenshot] [DPI]" >&2
    exit 2
    ;;
esac

wine_session_lock || exit 1
"$tandrel_root/tools/setup.sh" || exit 1
# The build that this machine's Wine runs (see wine_session.sh).
wine_session_choose_build
preset=$tandrel_wine_preset
if [ "$preset" = win32 ]; then
    echo "demo: the 32-bit build, the program that ships (build/win32/tandrel.exe)"
else
    echo "demo: the 64-bit build (build/win64/tandrel.exe): this machine cannot run 32-bit programs"
fi
# The camera, screenshot.exe, is built with the tests' window probe.
cmake --preset "$preset" -DTANDREL_TESTS=ON >/dev/null || exit 1
cmake --build --preset "$preset" --target sample_distribution screenshot || exit 1

bin="$tandrel_root/build/$preset"
sample="$bin/sample"
show_check() { # the publisher's check of the sample, as README shows it
    echo "demo: tandrel.exe /check in $sample"
    (cd "$sample" && wine tandrel.exe /check | cat)
}
wine_session_stop_on_exit
if [ -n "${DISPLAY:-}" ] && [ -z "$screenshot_only" ]; then
    wine_session_prefix "$tandrel_root/build/wine-demo" "" $dpi || exit 1
    show_check
    echo "demo: showing the panel on $DISPLAY; close it to end the demo"
    (cd "$sample" && wine tandrel.exe)
    echo "demo: the panel closed with exit code $?"
    exit 0
fi

screenshot="$tandrel_root/build/demo-screenshot${dpi:+-$dpi}.png"
wine_session_start_xvfb 24 "$dpi" || exit 1
wine_session_prefix "$tandrel_root/build/wine-tests" desktop $dpi || exit 1
show_check
(cd "$sample" && wine tandrel.exe) &
panel=$!
rm -f "$screenshot"
wine "$bin/screenshot.exe" "Z:$screenshot"
shot=$?
wine "$bin/screenshot.exe" close
wait "$panel"
if [ "$shot" -ne 0 ] || [ ! -s "$screenshot" ]; then
    echo "demo: no screenshot was taken" >&2
    exit 1
fi
echo "demo: screenshot saved as $screenshot"
