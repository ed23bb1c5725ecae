#!/usr/bin/env bash
# How long a later start takes to hand its file to the running copy and end
# (spawn to exit), and the CPU time it uses, under Xvfb. The running copy
# holds a clean post, so each file opens without a question.
# Usage: bench/handoff.sh [path/to/quorvane] [runs]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
app="${1:-$here/../build/bin/quorvane}"
runs="${2:-30}"
work="$(mktemp -d)"
xvfb= app_pid=
cleanup() {
  for pid in $app_pid $xvfb; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work" ${bench_runtime:+"$bench_runtime"}
}
trap cleanup EXIT

. "$here/xvfb-session.sh"

printf 'A short post [B]to open[/B]\n' > "$work/post.txt"
"$app" >/dev/null 2>&1 &
app_pid=$!
for _ in $(seq 300); do
  [ -S "$XDG_RUNTIME_DIR/quorvane.socket" ] && xdotool search --onlyvisible --name '^Quorvane$' \
    >/dev/null 2>&1 && break
  sleep 0.1
done

python3 - "$app" "$work/post.txt" "$runs" <<'PY'
import os, resource, statistics, subprocess, sys, time
app, post, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
walls, cpus = [], []
for _ in range(runs + 1):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    started = time.monotonic()
    subprocess.run([app, post], check=True)
    walls.append((time.monotonic() - started) * 1000)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append((after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime) * 1000)
walls, cpus = walls[1:], cpus[1:]  # the first warms the disk cache
print(f"later start with a file: median {statistics.median(walls):.1f} ms wall "
      f"(max {max(walls):.1f}), {statistics.median(cpus):.1f} ms CPU, {runs} runs")
PY
