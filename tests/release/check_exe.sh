#!/bin/sh
# The shipped tandrel.exe itself: a 32-bit GUI program that loads only Windows'
# own DLLs, has ASLR and DEP on, runs with the user's rights, names no build
# folder and stays small. Prints its size.
# $1: the target's objdump, $2: tandrel.exe, $3 and $4: source and build folders.
set -u
exe=$2
# What the program needs of the customer's Windows (no MinGW DLL). A new
# import fails here and joins the list only on purpose.
imports_expected="COMCTL32.DLL GDI32.dll KERNEL32.dll USER32.dll msvcrt.dll" # sorted
size_limit=73728
status=0
fail() {
    echo "FAILED: $*"
    status=1
}

headers=$("$1" -p "$exe") || exit 1
for line in '^Magic.*(PE32)$' '^Subsystem.*(Windows GUI)$' DYNAMIC_BASE NX_COMPAT; do
    echo "$headers" | grep -q "$line" || fail "the header lacks $line"
done

imports=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | LC_ALL=C sort | paste -sd ' ' -)
[ "$imports" = "$imports_expected" ] || fail "imports $imports; expected $imports_expected"

grep -aq 'requestedExecutionLevel level="asInvoker"' "$exe" ||
    fail "the manifest does not ask to run with the user's rights (asInvoker)"
for folder in "$3" "$4"; do
    ! grep -aqF "$folder" "$exe" || fail "names the folder $folder"
done

size=$(wc -c <"$exe")
echo "release: tandrel.exe is $size bytes (limit $size_limit)"
[ "$size" -le "$size_limit" ] || fail "larger than $size_limit bytes"
exit $status
