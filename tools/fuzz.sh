#!/bin/sh
# Runs a fuzzer for the given number of seconds (default 60), building it
# first if needed: the picture reader's (dib, the default) or the signature
# reader's (signature). New inputs gather in build/native/fuzz/corpus (or
# corpus-signature; kept between runs), crashes in build/native/fuzz/artifacts.
#   tools/fuzz.sh [SECONDS] [dib|signature]
set -eu

seconds="${1:-60}"
target="${2:-dib}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/native"
cd "$root"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset native
fi
work="$build/fuzz"
mkdir -p "$work/artifacts"
if [ "$target" = signature ]; then
    cmake --build --preset native --target fuzz_signature
    mkdir -p "$work/corpus-signature"
    echo "fuzz: $seconds s; corpus $work/corpus-signature"
    exec "$build/tests/fuzz/fuzz_signature" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/" -dict="$root/tests/fuzz/signature.dict" \
        "$work/corpus-signature"
fi
cmake --build --preset native --target fuzz_dib dib_seed_corpus

mkdir -p "$work/corpus"
echo "fuzz: $seconds s; corpus $work/corpus; seeds $build/tests/fuzz/seeds"
exec "$build/tests/fuzz/fuzz_dib" \
    -max_total_time="$seconds" \
    -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" \
    "$work/corpus" "$build/tests/fuzz/seeds"
