#!/usr/bin/env bash
# CPU used by an idle Quorvane holding a 10 MB post, under Xvfb. The post is
# pasted through the real clipboard; once the program has settled, its CPU
# time and wake-ups are read from /proc over ten idle seconds. Goal: 0.0 %.
# Usage: bench/idle-cpu.sh [path/to/quorvane]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
app="${1:-$here/../build/bin/quorvane}"
work="$(mktemp -d)"
xvfb= app_pid= xclip_pid=
cleanup() {
  for pid in $app_pid $xclip_pid $xvfb; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work" ${bench_runtime:+"$bench_runtime"}
}
trap cleanup EXIT

. "$here/xvfb-session.sh"

# 100 000 lines of 99 characters and a line break: 10 000 000 characters
# once each break counts as CR LF.
python3 -c '
import sys
line = ("The quick brown fox jumps over the lazy cat, then runs off into the hills "
        "beyond the old windmill")[:98]
sys.stdout.write((line + "\n") * 100000)' > "$work/post.txt"

"$app" >/dev/null 2>&1 &
app_pid=$!
window=
for _ in $(seq 300); do
  window="$(xdotool search --onlyvisible --name '^Quorvane$' 2>/dev/null | head -n1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }

ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat"; }
switches() {
  awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n }' \
    "/proc/$app_pid/status"
}
rss_kib() { awk '/^VmRSS/ { print $2 }' "/proc/$app_pid/status"; }
# Waits until the CPU time stays still for two seconds (at most a minute).
settle() {
  local last now still=0
  last="$(ticks)"
  for _ in $(seq 120); do
    sleep 0.5
    now="$(ticks)"
    if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0; fi
    last="$now"
    [ "$still" -ge 4 ] && return 0
  done
  echo "the program did not settle" >&2
  return 1
}

settle
rss_before="$(rss_kib)"
xclip -i -selection clipboard -loops 0 < "$work/post.txt" >/dev/null 2>&1 &
xclip_pid=$!
xdotool windowfocus --sync "$window"
xdotool key --delay 50 ctrl+v
# The paste is in once the post's text lives in the program.
for _ in $(seq 600); do
  [ "$(( $(rss_kib) - rss_before ))" -gt 20000 ] && break
  sleep 0.1
done
settle
rss_after="$(rss_kib)"
if [ "$(( rss_after - rss_before ))" -le 20000 ]; then
  echo "the post was not pasted" >&2
  exit 1
fi

hz="$(getconf CLK_TCK)"
# Ten idle seconds; prints CPU time and wake-ups.
measure() {
  local t0 t1 s0 s1
  t0="$(ticks)"; s0="$(switches)"
  sleep 10
  t1="$(ticks)"; s1="$(switches)"
  python3 -c '
import sys
label, t0, t1, s0, s1, hz = sys.argv[1], *map(int, sys.argv[2:])
cpu = (t1 - t0) / hz
print(f"{label}: CPU {cpu * 1000:.0f} ms in 10 s = {cpu / 10 * 100:.1f} %, {s1 - s0} context switches")
' "$1" "$t0" "$t1" "$s0" "$s1" "$hz"
}

echo "post pasted: memory $((rss_before / 1024)) -> $((rss_after / 1024)) MiB"
# In front with the keyboard in the editor, the caret blinks for ten seconds
# after the last key and then rests; nothing else may run.
measure "idle in front, first ten seconds (caret blinking)"
measure "idle in front, after that (caret at rest)"
# In the background nothing at all may wake the program (goal 0.0 %, no wake-ups).
root="$(xwininfo -root | awk '/Window id:/ { print $4 }')"
xdotool windowfocus --sync "$root"
settle
measure "idle in the background"

# With the Live Preview open beside the editor (F6): once its page is made,
# it too must stay still.
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool windowfocus --sync "$window"
xdotool key F6
for _ in $(seq 300); do
  xdotool search --onlyvisible --name '^Quorvane - Live Preview$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool windowfocus --sync "$window"
settle
measure "idle with the Live Preview open, first ten seconds (caret blinking)"
measure "idle with the Live Preview open, after that"
