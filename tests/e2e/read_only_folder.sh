#!/bin/sh
# Runs a command with the folder WORK/source seen as WORK/read-only through a
# read-only bind mount, which refuses writes to root too, as a disc does (the
# tests run as root, whom Unix permissions do not stop). The command finds
# WORK's Windows path in TANDREL_READ_ONLY_WORK. Fails also when the prefix's
# registry or drive C has changed.
#   read_only_folder.sh WORK COMMAND [ARGUMENTS...]
set -u
work=$1
shift
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo -n"
while grep -qs " $work/read-only " /proc/mounts; do # left by a run cut short
    $sudo umount "$work/read-only" || exit 1
done
rm -rf "$work" && mkdir -p "$work/source" "$work/read-only" &&
    $sudo mount --bind "$work/source" "$work/read-only" || exit 1
trap '$sudo umount "$work/read-only"' EXIT
$sudo mount -o remount,bind,ro "$work/read-only" || exit 1
# The registry as the prefix's server saves it when ended, less Wine's own
# settings, the machine's devices and services (which Wine rewrites for any
# program) and the times keys were written; and drive C, the profile with it.
state() {
    wineserver -k 2>/dev/null
    wineserver -w
    cat "${WINEPREFIX:?}"/*.reg | sed 's/^\(\[.*\]\) [0-9]*$/\1/' |
        awk '/^\[/ { skip = /^\[(Software\\\\Wine|System|Hardware)/ } !skip && !/^#time=/'
    find -P "$WINEPREFIX/drive_c" -printf '%p %s %T@\n' | LC_ALL=C sort
}
state >"$work/before"
TANDREL_READ_ONLY_WORK="Z:$(printf '%s' "$work" | tr / '\134')" "$@"
status=$?
state | diff "$work/before" - || { echo "FAILED: the registry or drive C changed" && exit 1; }
exit $status
