#!/bin/sh
# Times quorvane-convert on a realistic 10 MB post, as a whole process (read,
# convert, write), beside the npm package "bbcode" 0.1.5 on the same post,
# both in-process and as a whole node process.
#
#   bench/compare-npm.sh [BUILD_DIR]     (default: build)
#
# Needs node and npm; uses hyperfine when it is installed, a loop otherwise.
# The npm package goes into bench/node/, which git ignores.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(cd "${1:-$root/build}" && pwd)
convert="$build/bin/quorvane-convert"
writer="$build/bin/bench_conversion"
for program in "$convert" "$writer"; do
    [ -x "$program" ] || { echo "missing $program: build quorvane-convert and bench_conversion" >&2; exit 1; }
done

if [ ! -f "$here/node/node_modules/bbcode/package.json" ]; then
    mkdir -p "$here/node"
    npm install --silent --no-audit --no-fund --prefix "$here/node" bbcode@0.1.5 >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
post="$work/post.txt"
"$writer" --write-post="$post" --size=10485760
echo "post: $(wc -c < "$post") bytes"

cat > "$work/bbcode.js" <<'JS'
// node bbcode.js POST OUT [ROUNDS]: converts POST with the "bbcode" package
// and writes OUT; with ROUNDS, also prints the in-process times.
const fs = require('fs');
const bbcode = require(process.env.BBCODE_MODULE);
const text = fs.readFileSync(process.argv[2], 'utf8');
let html = '';
const rounds = Number(process.argv[4] || 0);
const times = [];
for (let i = 0; i < Math.max(rounds, 1); ++i) {
    const start = process.hrtime.bigint();
    bbcode.parse(text, (out) => { html = out; });
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
}
fs.writeFileSync(process.argv[3], html);
if (rounds > 0) {
    times.sort((a, b) => a - b);
    console.log(`bbcode ${require(process.env.BBCODE_MODULE + '/package.json').version} in-process: ` +
                `median ${times[times.length >> 1].toFixed(1)} ms, best ${times[0].toFixed(1)} ms ` +
                `over ${rounds} rounds`);
}
JS
BBCODE_MODULE="$here/node/node_modules/bbcode"
export BBCODE_MODULE

node "$work/bbcode.js" "$post" "$work/npm.htm" 10

if command -v hyperfine > /dev/null; then
    hyperfine --warmup 2 --runs 15 \
        --command-name "quorvane-convert (whole process)" "'$convert' '$post' > '$work/page.htm'" \
        --command-name "node + bbcode 0.1.5 (whole process)" "node '$work/bbcode.js' '$post' '$work/npm.htm'"
else
    for name in quorvane node; do
        start=$(date +%s%N)
        for i in 1 2 3 4 5 6 7 8 9 10; do
            if [ $name = quorvane ]; then
                "$convert" "$post" > "$work/page.htm"
            else
                node "$work/bbcode.js" "$post" "$work/npm.htm"
            fi
        done
        end=$(date +%s%N)
        echo "$name (whole process): $(( (end - start) / 10000000 )) ms per run"
    done
fi
echo "page: $(wc -c < "$work/page.htm") bytes; npm output: $(wc -c < "$work/npm.htm") bytes"
