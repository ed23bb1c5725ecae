#!/usr/bin/env bash
# Installs what is missing, builds Quorvane with its tests and runs every test:
# once in a normal build, once built with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/deps.sh"
"$here/scripts/check-format.sh"

build="$here/build-test"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVANE_TESTS=ON -DQUORVANE_BENCH=ON -DQUORVANE_WERROR=ON
cmake --build "$build" -j2
(cd "$build" && ctest -j2 --output-on-failure --timeout 300)

sanitized="$here/build-sanitize"
cmake -S "$here" -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUORVANE_TESTS=ON -DQUORVANE_BENCH=OFF -DQUORVANE_WERROR=ON \
  -DQUORVANE_SANITIZE=address,undefined
cmake --build "$sanitized" -j2
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/support/lsan.supp:print_suppressions=0"
(cd "$sanitized" && ctest -j2 --output-on-failure --timeout 600)
