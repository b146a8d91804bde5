#!/bin/sh
# The archive that `--target package` wrote holds exactly the publisher's
# files, with the program as built. Prints its size.
# $1: cmake, $2: the archive, $3: tandrel.exe, $4: a work folder.
set -u
zip=$2 work=$4
if [ ! -f "$zip" ]; then
    echo "FAILED: no $zip (build the package target)"
    exit 1
fi
echo "release: $(basename "$zip") is $(wc -c <"$zip") bytes"

listing=$("$1" -E tar tf "$zip" | LC_ALL=C sort | paste -sd ' ' -)
expected="LICENSE.txt README.txt panel.bmp tandrel.exe tandrel.ini"
if [ "$listing" != "$expected" ]; then
    echo "FAILED: the archive holds $listing; expected $expected"
    exit 1
fi
rm -rf "$work" && mkdir -p "$work" || exit 1
(cd "$work" && "$1" -E tar xf "$zip") || exit 1
cmp "$3" "$work/tandrel.exe" || {
    echo "FAILED: the archive's tandrel.exe is not the one built (build the package target)"
    exit 1
}
