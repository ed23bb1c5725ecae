#!/usr/bin/env bash
# Installs what is missing, builds Quorvane with its tests and runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/deps.sh"
build="$here/build-test"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVANE_TESTS=ON -DQUORVANE_BENCH=ON -DQUORVANE_WERROR=ON
cmake --build "$build" -j2
cd "$build"
ctest -j2 --output-on-failure --timeout 300
