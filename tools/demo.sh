#!/usr/bin/env bash
# Builds tandrel.exe and shows the panel on the sample distribution folder.
# With a display (DISPLAY set) the panel opens there; try its buttons. Without
# one, or with --screenshot, it runs under Xvfb and saves a screenshot.
#
#   tools/demo.sh [--screenshot] [--lang TAG] [DPI]
#     TAG: a language of the sample (ja, de), shown as tandrel.exe /lang:TAG
#     shows it; DPI: the display scale, 96 (100 %) unless given
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine_session.sh"
cd "$tandrel_root" || exit 1

usage() {
    echo "usage: tools/demo.sh [--screenshot] [--lang TAG] [DPI]" >&2
    exit 2
}
screenshot_only=""
lang=""
dpi=""
while [ $# -gt 0 ]; do
    case "$1" in
    --screenshot) screenshot_only=yes ;;
    --lang)
        [ $# -ge 2 ] || usage
        lang=$2
        shift
        ;;
    96) dpi="" ;;
    *[!0-9]* | '') usage ;;
    *) dpi=$1 ;;
    esac
    shift
done
case "$lang" in *[!A-Za-z0-9-]*) usage ;; esac

# Japanese (and Chinese and Korean) need glyphs that Wine's own fonts lack:
# only for them is such a font installed, and used in a prefix of its own.
cjk=""
case "$lang" in ja* | zh* | ko*) cjk=yes ;; esac

wine_session_lock || exit 1
"$tandrel_root/tools/setup.sh" ${cjk:+--demo-fonts} || exit 1
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
options=${lang:+/lang:$lang}
show_check() { # the publisher's check of the sample, as README shows it
    echo "demo: tandrel.exe /check $options in $sample"
    (cd "$sample" && wine tandrel.exe /check $options | cat)
}
# Wine draws a font's missing glyphs from the fonts it links to it, among
# them "MS UI Gothic", which stands for the Japanese font set-up installed.
use_demo_fonts() {
    [ -n "$cjk" ] || return 0
    local marker="$WINEPREFIX/.tandrel-demo-fonts"
    [ -f "$marker" ] && return 0
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n"MS UI Gothic"="IPAGothic"\n' \
        >"$WINEPREFIX/demo-fonts.reg"
    wine regedit /S "$WINEPREFIX/demo-fonts.reg" >/dev/null 2>&1 || return 1
    wineserver -k >/dev/null 2>&1
    wineserver -w
    touch "$marker"
}
wine_session_stop_on_exit
if [ -n "${DISPLAY:-}" ] && [ -z "$screenshot_only" ]; then
    wine_session_prefix "$tandrel_root/build/wine-demo${cjk:+-cjk}" "" $dpi || exit 1
    use_demo_fonts || exit 1
    show_check
    echo "demo: showing the panel on $DISPLAY; close it to end the demo"
    (cd "$sample" && wine tandrel.exe $options)
    echo "demo: the panel closed with exit code $?"
    exit 0
fi

screenshot="$tandrel_root/build/demo-screenshot${lang:+-$lang}${dpi:+-$dpi}.png"
wine_session_start_xvfb 24 "$dpi" || exit 1
prefix="$tandrel_root/build/wine-tests"
[ -n "$cjk" ] && prefix="$tandrel_root/build/wine-demo-cjk"
wine_session_prefix "$prefix" desktop $dpi || exit 1
use_demo_fonts || exit 1
show_check
(cd "$sample" && wine tandrel.exe $options) &
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
