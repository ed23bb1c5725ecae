#!/usr/bin/env bash
# Instructions from exec to the first paint reaching the X server (the first
# image put to the window), of Quorvane and of the minimal Qt window, under
# callgrind and Xvfb: a count that stays the same on a busy machine, split
# into the parts of the start.
# Usage: bench/startup-instructions.sh [path/to/quorvane] [outdir]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
app="${1:-$here/../build/bin/quorvane}"
out="${2:-}"
work="$(mktemp -d)"
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work" ${bench_runtime:+"$bench_runtime"}' EXIT
[ -n "$out" ] || out="$work/out"
mkdir -p "$out"

cc -O2 -o "$work/mapwatch" "$here/startup/mapwatch.c" -lX11 -lXdamage
c++ -O2 -std=c++17 -fPIC -o "$work/minimal" "$here/startup/minimal.cpp" \
  $(pkg-config --cflags --libs Qt6Widgets)

. "$here/xvfb-session.sh"

# One start of each before, as bench/startup.sh does: the counted start is
# a writer's every start but the very first (settings and drafts folder
# already there, what a start remembers for the next one remembered).
"$work/mapwatch" Minimal "$work/minimal" >/dev/null
"$work/mapwatch" Quorvane "$app" >/dev/null

# Runs one program under callgrind until its first image is put to the
# screen, then ends it; leaves the profile of that stretch in $out/NAME.
profile() {
  local name="$1" program="$2"
  rm -f "$out/$name".*
  valgrind --tool=callgrind --dump-before=xcb_shm_put_image --dump-before=xcb_put_image \
    --callgrind-out-file="$out/$name.%p" "$program" >"$out/$name.log" 2>&1 &
  local pid=$!
  for _ in $(seq 1200); do
    compgen -G "$out/$name.$pid.1" >/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  sleep 0.5
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -s "$out/$name.$pid.1" ] || { echo "no paint from $name (see $out/$name.log)" >&2; exit 1; }
  callgrind_annotate --inclusive=yes --threshold=100 "$out/$name.$pid.1" >"$out/$name.txt" 2>/dev/null
}
profile minimal "$work/minimal"
profile quorvane "$app"

python3 - "$out/minimal.txt" "$out/quorvane.txt" <<'PY'
import re, sys

# The parts of a start, each the inclusive count of the function that runs it.
PARTS = [
    ("loading and linking the libraries", r"_dl_start$"),
    ("QApplication", r"QApplication::QApplication\(int&, char\*\*, int\)$"),
    ("the font database (first text laid out)", r"QFontDatabasePrivate::ensureFontDatabase\(\)$"),
    # Quorvane reads it on a second thread while QApplication is made; the
    # whole start still counts it.
    ("  of which the font configuration", r"^FcInit$"),
    ("MainForm (the window built)", r"quorvane::MainForm::MainForm\("),
    ("  of which the commands and menus", r"quorvane::MainForm::buildCommands\(\)$"),
    ("  of which the toolbar and editor", r"quorvane::MainForm::buildLayout\(\)$"),
    ("installCommands (the families)", r"quorvane::installCommands\("),
    ("  of which the editor's font", r"quorvane::Typer::setEditorFont\("),
    ("the drafts check", r"quorvane::DraftCommands::checkAtStart\(\)$"),
    ("the instance server", r"quorvane::InstanceServer::listen\("),
    ("show()", r"QWidget::show\(\)$"),
    ("event loop to the first paint", r"QApplication::exec\(\)$"),
    ("  of which the first paint", r"QWidgetRepaintManager::paintAndFlush\(\)$"),
    ("  of which pictures drawn", r"DeferredIconEngine::pixmap\("),
]

def read(path):
    total, costs = 0, {}
    for line in open(path):
        m = re.match(r"\s*([\d,]+) \([ \d.%]+\)\s+(\S.*?)\s*(\[.*\])?\s*$", line)
        if not m:
            continue
        count = int(m.group(1).replace(",", ""))
        name = m.group(2)
        if name == "PROGRAM TOTALS":
            total = count
            continue
        name = name.split(":", 1)[1] if ":" in name else name
        costs[name] = max(costs.get(name, 0), count)
    return total, costs

def part(costs, pattern):
    found = [c for n, c in costs.items() if re.search(pattern, n)]
    return max(found) if found else 0

runs = [read(p) for p in sys.argv[1:3]]
print(f"{'instructions (millions)':38s} {'minimal':>9s} {'quorvane':>9s}")
print(f"{'whole start to the first paint':38s} {runs[0][0] / 1e6:9.1f} {runs[1][0] / 1e6:9.1f}")
for label, pattern in PARTS:
    a, b = (part(costs, pattern) for _, costs in runs)
    print(f"{label:38s} {a / 1e6:9.1f} {b / 1e6:9.1f}")
print(f"ratio {runs[1][0] / runs[0][0]:.2f}x")
PY
