#!/bin/sh
# Runs a fuzzer for the given number of seconds (default 60), building it first
# if needed: the picture reader's (dib, the default) or the settings reader's
# (settings). New inputs gather in build/native/fuzz/corpus (or
# corpus-settings; kept between runs), crashes in build/native/fuzz/artifacts.
#   tools/fuzz.sh [SECONDS] [dib|settings]
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
if [ "$target" = settings ]; then
    cmake --build --preset native --target fuzz_settings
    corpus="$work/corpus-settings" seeds="$root/tests/fuzz/settings_seeds"
else
    cmake --build --preset native --target fuzz_dib dib_seed_corpus
    corpus="$work/corpus" seeds="$build/tests/fuzz/seeds"
fi
mkdir -p "$corpus" "$work/artifacts"
echo "fuzz: $target, $seconds s; corpus $corpus; seeds $seeds"
exec "$build/tests/fuzz/fuzz_$target" \
    -max_total_time="$seconds" \
    -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" \
    "$corpus" "$seeds"
