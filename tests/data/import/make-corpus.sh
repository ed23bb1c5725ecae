#!/bin/sh
# Remakes the files of the import corpus that other programs write, from the
# documents in sources/, with Debian 12's packages: pandoc,
# libreoffice-writer-nogui (or libreoffice-writer), chromium, and for the
# clipboard snapshots libreoffice-writer (with its window), xvfb, xdotool
# and xclip. The expected BBCode (*.bbcode)
# is not remade: each was checked by hand against its source. The Word files
# (word-*.html) and clip-*.html fragments are written by hand and kept as they are.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src="$here/sources"
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
office() {
    soffice --headless --norestore "-env:UserInstallation=file://$work/profile" "$@" >/dev/null 2>&1
}

# Converters and office programs writing HTML files.
pandoc -s -t html --metadata title="Posting guide" "$src/forum-guide.md" -o "$here/pandoc-forum-guide.html"

office --convert-to html --outdir "$work" "$src/writer-features.fodt"
mv "$work/writer-features.html" "$here/libreoffice-writer-features.html"

pandoc "$src/forum-guide.md" -o "$work/forum-guide.docx"
office --convert-to html --outdir "$work" "$work/forum-guide.docx"
mv "$work/forum-guide.html" "$here/libreoffice-from-docx.html"

# A page as the browser holds it once loaded (what "save page" writes for the document).
chromium --headless --no-sandbox --disable-gpu --dump-dom "file://$src/forum-page.html" \
    >"$here/chromium-saved-page.html" 2>/dev/null

# Clipboard snapshots: a real selection copied in a real window, read back as text/html.
Xvfb :47 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:47
sleep 2
snapshot() { # window title, then the command that opens the window
    title=$1
    shift
    "$@" >/dev/null 2>&1 &
    app=$!
    # Wait for the window, select everything, copy.
    for _ in $(seq 60); do
        xdotool search --name "$title" >/dev/null 2>&1 && break
        sleep 1
    done
    sleep 6
    # LibreOffice greets a new profile with a tip; it goes first.
    tip=$(xdotool search --name "Tip of the Day" 2>/dev/null | head -1 || true)
    [ -n "$tip" ] && xdotool windowfocus --sync "$tip" key Escape && sleep 2
    window=$(xdotool search --name "$title" | head -1)
    xdotool windowfocus --sync "$window"
    sleep 1
    xdotool key --window "$window" ctrl+a
    sleep 1
    xdotool key --window "$window" ctrl+c
    sleep 3
}
snapshot "Announcement" chromium --no-sandbox --disable-gpu --no-first-run \
    --user-data-dir="$work/chromium" "file://$src/forum-page.html"
xclip -selection clipboard -o -t text/html >"$here/clip-chromium-page.html"
kill "$app"
wait "$app" 2>/dev/null || true

cp "$src/writer-features.fodt" "$work/clip.fodt"
snapshot "clip.fodt - LibreOffice Writer" \
    /usr/lib/libreoffice/program/soffice.bin --norestore \
    "-env:UserInstallation=file://$work/profile" "$work/clip.fodt"
xclip -selection clipboard -o -t text/html >"$here/clip-libreoffice-writer.html"
xclip -selection clipboard -o -t text/rtf >"$here/clip-libreoffice-writer-rich.rtf"
kill "$app"
wait "$app" 2>/dev/null || true
