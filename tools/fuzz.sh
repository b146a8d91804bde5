#!/bin/sh
# Runs a fuzzer for the given number of seconds (default 60), building it first
# if needed: `dib`, the picture reader (the default), or `settings`, the
# settings file's reader:
#   tools/fuzz.sh [dib|settings] [SECONDS]
# New inputs gather in build/native/fuzz/TARGET/corpus (kept between runs),
# crashes in build/native/fuzz/TARGET/artifacts.
set -eu

target=dib
case "${1:-}" in
dib | settings)
    target=$1
    shift
    ;;
esac
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/native"
cd "$root"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset native
fi
if [ "$target" = dib ]; then
    cmake --build --preset native --target fuzz_dib dib_seed_corpus
    seeds="$build/tests/fuzz/seeds"
else
    cmake --build --preset native --target fuzz_settings
    seeds="$root/tests/fuzz/settings_seeds"
fi

work="$build/fuzz/$target"
mkdir -p "$work/corpus" "$work/artifacts"
echo "fuzz: $target, $seconds s; corpus $work/corpus; seeds $seeds"
exec "$build/tests/fuzz/fuzz_$target" \
    -max_total_time="$seconds" \
    -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" \
    "$work/corpus" "$seeds"
