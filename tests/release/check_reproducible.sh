#!/bin/sh
# Builds tandrel.exe once more, later and in another folder, with the win32
# preset's settings, and compares: the same sources must give the same bytes.
# $1: cmake, $2: the source folder, $3: the second build folder, $4: the first
# build's tandrel.exe.
set -u
second=$3
rm -rf "$second" && mkdir -p "$second" || exit 1
if ! { "$1" -S "$2" -B "$second" --preset win32 -DTANDREL_TESTS=OFF &&
    "$1" --build "$second" --target tandrel -j 2; } >"$second.log" 2>&1; then
    cat "$second.log"
    echo "FAILED: the second build"
    exit 1
fi
echo "release: SHA-256 $(sha256sum <"$4" | cut -d ' ' -f 1) first build"
echo "release: SHA-256 $(sha256sum <"$second/tandrel.exe" | cut -d ' ' -f 1) second build"
cmp -s "$4" "$second/tandrel.exe" && exit 0
echo "FAILED: two builds of the same sources differ (offset, bytes):"
cmp -l "$4" "$second/tandrel.exe" | head -n 8
exit 1
