#!/bin/sh
# Runs a fuzzer for the given number of seconds (default 60), building it
# first if needed: the picture reader's (dib, the default), the settings
# reader's (settings) or the signature reader's (signature). New inputs
# gather in build/native/fuzz/corpus (corpus-settings, corpus-signature; kept
# between runs), crashes in build/native/fuzz/artifacts.
#   tools/fuzz.sh [SECONDS] [dib|settings|signature]
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
options=""
case "$target" in
settings)
    cmake --build --preset native --target fuzz_settings
    corpus="$work/corpus-settings" seeds="$root/tests/fuzz/settings_seeds"
    ;;
signature)
    cmake --build --preset native --target fuzz_signature
    corpus="$work/corpus-signature" seeds=""
    options="-dict=$root/tests/fuzz/signature.dict"
    ;;
*)
    target=dib
    cmake --build --preset native --target fuzz_dib dib_seed_corpus
    corpus="$work/corpus" seeds="$build/tests/fuzz/seeds"
    ;;
esac
mkdir -p "$corpus" "$work/artifacts"
echo "fuzz: $target, $seconds s; corpus $corpus${seeds:+; seeds $seeds}"
# shellcheck disable=SC2086
exec "$build/tests/fuzz/fuzz_$target" \
    -max_total_time="$seconds" \
    -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" \
    $options "$corpus" $seeds
