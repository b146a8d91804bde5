#!/bin/sh
# Runs the picture reader's fuzzer for the given number of seconds (default
# 60), building it first if needed. New inputs gather in build/native/fuzz/
# corpus (kept between runs), crashes in build/native/fuzz/artifacts.
set -eu

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/native"
cd "$root"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset native
fi
cmake --build --preset native --target fuzz_dib dib_seed_corpus

work="$build/fuzz"
mkdir -p "$work/corpus" "$work/artifacts"
echo "fuzz: $seconds s; corpus $work/corpus; seeds $build/tests/fuzz/seeds"
exec "$build/tests/fuzz/fuzz_dib" \
    -max_total_time="$seconds" \
    -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" \
    "$work/corpus" "$build/tests/fuzz/seeds"
