#!/bin/sh
# Builds every fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for SECONDS, one after another.
#   fuzz/run-all.sh [SECONDS] [BUILD_DIR]
# Exits non-zero as soon as one target finds something; findings land in
# BUILD_DIR/findings-<target>.
set -eu
seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build-fuzz}
mkdir -p "$build"
build=$(cd "$build" && pwd)
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

run() {
  target=$1; shift
  mkdir -p "$build/corpus-$target" "$build/findings-$target"
  echo "== $target for $seconds s"
  (cd "$build/findings-$target" && "$build/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings-$target/" \
    "$@" "$build/corpus-$target")
}
cp "$here"/../tests/data/rtf/*.rtf "$build/corpus-fuzz_rtf/" 2>/dev/null || \
  { mkdir -p "$build/corpus-fuzz_rtf" && cp "$here"/../tests/data/rtf/*.rtf "$build/corpus-fuzz_rtf/"; }
run fuzz_rtf -max_len=65536 -dict="$here/rtf.dict"
run fuzz_convert -max_len=4096 -dict="$here/bbcode.dict"
run fuzz_strip -max_len=4096 -dict="$here/bbcode.dict"
run fuzz_mail -max_len=1024
mkdir -p "$build/corpus-fuzz_html"
cp "$here"/../tests/data/import/*.html "$build/corpus-fuzz_html/"
run fuzz_html -max_len=65536 -dict="$here/html.dict"
run fuzz_markup -max_len=4096 -dict="$here/bbcode.dict"
run fuzz_split -max_len=4096 -dict="$here/bbcode.dict"
run fuzz_prosewords -max_len=4096 -dict="$here/bbcode.dict"
