#!/bin/sh
# Runs a command with a folder WORK/source that it also sees, read-only, as
# WORK/read-only: a read-only bind mount, which refuses writes to every
# process, root's too, as a disc or a write-protected stick does (the tests
# run as root, whom Unix permissions do not stop, and Wine has no access
# control of its own). The command finds WORK as a Windows path in
# TANDREL_READ_ONLY_WORK. Fails also when the prefix's drive C changed.
#   read_only_folder.sh WORK COMMAND [ARGUMENTS...]
set -u
work=$1
shift
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo -n"
# A mount left by a run that was cut short.
while grep -qs " $work/read-only " /proc/mounts; do
    $sudo umount "$work/read-only" || exit 1
done
rm -rf "$work" && mkdir -p "$work/source" "$work/read-only" || exit 1
$sudo mount --bind "$work/source" "$work/read-only" || {
    echo "FAILED: cannot mount $work/read-only (it needs root, or sudo)"
    exit 1
}
trap '$sudo umount "$work/read-only"' EXIT
$sudo mount -o remount,bind,ro "$work/read-only" || {
    echo "FAILED: cannot make $work/read-only read-only"
    exit 1
}
# Drive C of the prefix, the user's profile with it, before and after: the
# command writes nothing there, and nor must what it runs.
files() {
    find -P "${WINEPREFIX:-$HOME/.wine}/drive_c" -printf '%p %s %T@\n' | LC_ALL=C sort
}
files >"$work/drive_c.before"
TANDREL_READ_ONLY_WORK="Z:$(printf '%s' "$work" | tr / '\134')" "$@"
status=$?
files >"$work/drive_c.after"
if ! diff "$work/drive_c.before" "$work/drive_c.after"; then
    echo "FAILED: drive C changed"
    status=1
fi
exit $status
