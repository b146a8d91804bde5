#!/bin/sh
# The shipped tandrel.exe itself: a 32-bit GUI program that has ASLR and DEP
# on, runs with the user's rights, names no build folder and stays small.
# Prints its size and the icon's share of it.
# $1: the target's objdump, $2: inspect_exe, $3: tandrel.exe, $4 and $5:
# source and build folders.
set -u
exe=$3
size_limit=98304 # 96 KiB, with every feature
status=0
fail() {
    echo "FAILED: $*"
    status=1
}

headers=$("$1" -p "$exe") || exit 1
for line in '^Magic.*(PE32)$' '^Subsystem.*(Windows GUI)$' DYNAMIC_BASE NX_COMPAT; do
    echo "$headers" | grep -q "$line" || fail "the header lacks $line"
done

grep -aq 'requestedExecutionLevel level="asInvoker"' "$exe" ||
    fail "the manifest does not ask to run with the user's rights (asInvoker)"
for folder in "$4" "$5"; do
    ! grep -aqF "$folder" "$exe" || fail "names the folder $folder"
done

size=$(wc -c <"$exe")
icon=$("$2" icon "$exe") || exit 1
echo "release: tandrel.exe is $size bytes (limit $size_limit), the icon $icon of them" \
    "($(awk "BEGIN { printf \"%.1f\", 100 * $icon / $size }") %)"
[ "$size" -le "$size_limit" ] || fail "larger than $size_limit bytes"
exit $status
