# Sourced by the benchmark scripts: starts a private Xvfb (its display chosen
# by Xvfb itself) and points HOME and the XDG folders into $work (the runtime
# folder into memory), so a run never touches a real user's files. Needs
# $work; sets $xvfb, DISPLAY and $bench_runtime (the runtime folder, which
# the caller removes).
xvfb=
for attempt in 1 2 3 4 5; do
  rm -f "$work/fd"
  exec 3<> "$work/fd"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/fd" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$work/fd")"
  if xdpyinfo >/dev/null 2>&1 && kill -0 "$xvfb" 2>/dev/null; then break; fi
  kill "$xvfb" 2>/dev/null || true
done
# The runtime folder is in memory, as a desktop session's /run/user/UID is:
# what a start keeps there (its lock) costs no disk write.
runtime_parent=/dev/shm
[ -d "$runtime_parent" ] && [ -w "$runtime_parent" ] || runtime_parent="$work"
bench_runtime="$(mktemp -d "$runtime_parent/quorvane-bench-run.XXXXXX")"
export HOME="$work/home" XDG_RUNTIME_DIR="$bench_runtime"
export XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache"
mkdir -p "$HOME"; chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
