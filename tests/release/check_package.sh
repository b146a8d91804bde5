#!/bin/sh
# The archive that `--target package` wrote holds exactly the publisher's
# files, with the program as built. Prints its size.
# $1: cmake, $2: the archive, $3: tandrel.exe, $4: a work folder.
set -u
zip=$2 work=$4
fail() {
    echo "FAILED: $* (build the package target)"
    exit 1
}
[ -f "$zip" ] || fail "no $zip"
echo "release: $(basename "$zip") is $(wc -c <"$zip") bytes"

listing=$("$1" -E tar tf "$zip" | LC_ALL=C sort | paste -sd ' ' -)
expected="LICENSE.txt README.txt panel.bmp tandrel.exe tandrel.ini"
[ "$listing" = "$expected" ] || fail "the archive holds $listing; expected $expected"
rm -rf "$work" && mkdir -p "$work" || exit 1
(cd "$work" && "$1" -E tar xf "$zip") || exit 1
cmp "$3" "$work/tandrel.exe" || fail "the archive's tandrel.exe is not the one built"
