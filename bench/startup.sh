#!/usr/bin/env bash
# Start-up time (spawn to main window mapped) and peak memory of Quorvane,
# interleaved with a minimal Qt 6 editor window built here, under Xvfb.
# Usage: bench/startup.sh [path/to/quorvane] [runs]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
app="${1:-$here/../build/bin/quorvane}"
runs="${2:-15}"
work="$(mktemp -d)"
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

cc -O2 -o "$work/mapwatch" "$here/startup/mapwatch.c" -lX11
c++ -O2 -std=c++17 -fPIC -o "$work/minimal" "$here/startup/minimal.cpp" \
  $(pkg-config --cflags --libs Qt6Widgets)

. "$here/xvfb-session.sh"

# One warm-up each, so both start from a warm disk cache.
"$work/mapwatch" Minimal "$work/minimal" >/dev/null
"$work/mapwatch" Quorvane "$app" >/dev/null
for i in $(seq "$runs"); do
  echo "minimal $("$work/mapwatch" Minimal "$work/minimal")"
  echo "quorvane $("$work/mapwatch" Quorvane "$app")"
done > "$work/results"

python3 - "$work/results" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, ms, mib = line.split()
    rows.setdefault(name, []).append((float(ms), float(mib)))
med = {n: (statistics.median(m for m, _ in r), statistics.median(b for _, b in r)) for n, r in rows.items()}
for n, (ms, mib) in med.items():
    print(f"{n:9s} median {ms:6.1f} ms to mapped, peak {mib:5.1f} MiB ({len(rows[n])} runs)")
q, m = med["quorvane"], med["minimal"]
print(f"ratio     time {q[0] / m[0]:.2f}x (goal <= 1.2), memory {q[1] / m[1]:.2f}x (goal <= 1.5)")
PY
