#!/usr/bin/env bash
# Installs what is missing, builds Quorvane and starts it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF
cmake --build "$here/build" -j2
exec "$here/build/bin/quorvane" "$@"
