#!/bin/sh
# Builds the rich-text fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in its own build folder and runs it.
#   fuzz/run.sh [SECONDS] [BUILD_DIR]
# The corpus grows in BUILD_DIR/corpus, seeded from tests/data/rtf; findings
# land in BUILD_DIR/findings. Exits non-zero when the fuzzer found something.
set -eu
seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build-fuzz}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_rtf

mkdir -p "$build/corpus" "$build/findings"
cp "$here"/../tests/data/rtf/*.rtf "$build/corpus/"

cd "$build/findings"
exec "$build/fuzz_rtf" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -dict="$here/rtf.dict" -print_final_stats=1 \
    -artifact_prefix="$build/findings/" "$build/corpus"
