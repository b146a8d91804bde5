# A Wine session of the project's own: its prefixes and, where needed, one Xvfb
# display. Sourced by the test, demo, benchmark and planted-fault scripts;
# ends only what it started. A script takes the clone's lock, runs
# tools/setup.sh, then chooses the build:
#   wine_session_lock; tools/setup.sh; wine_session_choose_build

tandrel_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tandrel_xvfb_pid=""
tandrel_wine_prefixes=()
tandrel_wine_preset=""
tandrel_lock_fd=""

# One session at a time in a clone: its runs share the build folders and the
# Wine prefixes in build/, so a second one would rebuild the programs the
# first is running and end its Wine server. Runs in other clones have their
# own. The lock is held until the script ends.
wine_session_lock() {
    mkdir -p "$tandrel_root/build" || return 1
    exec {tandrel_lock_fd}>"$tandrel_root/build/.session.lock" || return 1
    if ! flock -n "$tandrel_lock_fd"; then
        echo "wine session: another run in $tandrel_root is under way; waiting for it to end"
        flock "$tandrel_lock_fd" || return 1
    fi
}

# Which build the Wine tests run: the product's own 32-bit one where this
# machine runs 32-bit Linux programs (wine32 needs them), else the 64-bit
# build of the same sources under wine64, where some kernels leave 32-bit
# programs out. Only after tools/setup.sh: before it, a bare machine has no
# Wine at all and would look like one that cannot run wine32.
wine_session_choose_build() {
    if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
        tandrel_wine_preset=win32
    else
        tandrel_wine_preset=win64
    fi
}

# Ends the session's Wine servers and Xvfb whenever the script ends, also on
# an interrupt. Set before anything is started.
wine_session_stop_on_exit() {
    trap wine_session_stop EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# The virtual desktop of a prefix: 1024x768 at 96 DPI, as many inches at
# another display scale ($1, in DPI).
wine_session_desktop_size() {
    local dpi=${1:-96}
    echo "$((1024 * dpi / 96))x$((768 * dpi / 96))"
}

# Starts Xvfb on a free display number and exports DISPLAY. $1: screen depth;
# $2: the largest display scale in DPI that the screen must hold a desktop of.
wine_session_start_xvfb() {
    local depth=${1:-24} display_file
    display_file=$(mktemp) || return 1
    # Without the clone's lock: an Xvfb left behind by a killed script must
    # not keep the next run waiting.
    Xvfb -displayfd 3 -screen 0 "$(wine_session_desktop_size "${2:-}")x$depth" -nolisten tcp \
        3>"$display_file" {tandrel_lock_fd}>&- \
        >/dev/null 2>&1 &
    tandrel_xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        kill -0 "$tandrel_xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$display_file" ]; then
        echo "wine session: Xvfb did not start" >&2
        rm -f "$display_file"
        wine_session_stop_xvfb
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$display_file")"
    rm -f "$display_file"
}

# Ends the Xvfb that this session started, by PID.
wine_session_stop_xvfb() {
    if [ -n "$tandrel_xvfb_pid" ]; then
        kill "$tandrel_xvfb_pid" 2>/dev/null
        wait "$tandrel_xvfb_pid" 2>/dev/null
        tandrel_xvfb_pid=""
    fi
}

# Prepares the prefix $1 once; with $2 = desktop, inside a Wine virtual
# desktop (1024x768 at 96 DPI), which draws frames and activates windows as
# Windows does. With $3, a display scale in DPI, the prefix is one of its own
# beside the plain one: its name ends in -dpi$3, as tests/run_under_wine.sh
# expects.
wine_session_prefix() {
    if [ -z "$tandrel_lock_fd" ] || [ -z "$tandrel_wine_preset" ]; then
        echo "wine session: take the lock and choose the build first" >&2
        return 1
    fi
    export WINEPREFIX="$1" WINEARCH=win32 WINEDEBUG=-all
    if [ "$tandrel_wine_preset" = win64 ]; then
        # Debian's wine and wineboot start the 32-bit loader whenever it is
        # installed; these stand-ins start the 64-bit one.
        local shims="$tandrel_root/build/wine64-loader"
        mkdir -p "$shims"
        for name in wine wine-stable; do
            printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shims/$name"
            chmod +x "$shims/$name"
        done
        export WINEPREFIX="$1-64" WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
        case ":$PATH:" in *":$shims:"*) ;; *) export PATH="$shims:$PATH" ;; esac
    fi
    if [ -n "${3:-}" ]; then
        export WINEPREFIX="$WINEPREFIX-dpi$3"
    fi
    tandrel_wine_prefixes+=("$WINEPREFIX")
    # No Mono or Gecko installers, no menu entries on the host.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # A server left over from an earlier run of this prefix would keep the
    # display it was started with. The clone's lock keeps every other run
    # away from the prefix, so a server found here is such a leftover.
    wineserver -k >/dev/null 2>&1
    wineserver -w
    local marker="$WINEPREFIX/.tandrel-ready-${2:-plain}"
    [ -f "$marker" ] && return 0
    echo "wine session: preparing $WINEPREFIX (once)"
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || return 1
    local settings="$WINEPREFIX/tandrel.reg"
    {
        echo "REGEDIT4"
        echo
        echo "[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]"
        echo "\"ShowCrashDialog\"=dword:00000000"
        if [ "${2:-}" = desktop ]; then
            echo
            echo "[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]"
            echo "\"Desktop\"=\"Default\""
            echo
            echo "[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]"
            echo "\"Default\"=\"$(wine_session_desktop_size "${3:-}")\""
        fi
        if [ -n "${3:-}" ]; then
            echo
            echo "[HKEY_CURRENT_USER\\Control Panel\\Desktop]"
            printf '"LogPixels"=dword:%08x\n' "$3"
        fi
    } >"$settings"
    wine regedit /S "$settings" >/dev/null 2>&1 || return 1
    # The desktop already running keeps its old settings until the server ends.
    wineserver -k >/dev/null 2>&1
    wineserver -w
    touch "$marker"
}

# Ends the Wine servers of this session's prefixes (those only) and its Xvfb
# (by PID).
wine_session_stop() {
    local prefix
    for prefix in "${tandrel_wine_prefixes[@]}"; do
        WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    done
    tandrel_wine_prefixes=()
    wine_session_stop_xvfb
}
