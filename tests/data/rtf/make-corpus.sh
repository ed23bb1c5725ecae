#!/bin/sh
# Remakes the rich-text corpus from the documents in sources/ with tools from
# Debian's packages: pandoc, libreoffice-writer-nogui, abiword, enscript,
# highlight and latex2rtf. The expected texts (*.txt) are not remade: each was
# checked by hand against its source and against LibreOffice's own reading.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src="$here/sources"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
office() {
    soffice --headless --norestore "-env:UserInstallation=file://$work/profile" "$@" >/dev/null 2>&1
}

pandoc -s -t rtf "$src/forum-post.md" -o "$here/pandoc-forum-post.rtf"

office --convert-to rtf --outdir "$work" "$src/writer-features.fodt"
mv "$work/writer-features.rtf" "$here/libreoffice-writer-features.rtf"

pandoc "$src/forum-post.md" -o "$work/forum-post.docx"
office --convert-to rtf --outdir "$work" "$work/forum-post.docx"
mv "$work/forum-post.rtf" "$here/libreoffice-forum-post.rtf"

abiword --to=rtf --to-name="$here/abiword-announcement.rtf" "$src/announcement.html"

enscript --quiet --language=rtf --encoding=latin1 \
    --output="$here/enscript-release-notes.rtf" "$src/release-notes.latin1.txt"

highlight -O rtf -i "$src/snippet.cpp" -o "$here/highlight-snippet.rtf"

cp "$src/notice.tex" "$work/notice.tex"
(cd "$work" && latex2rtf notice.tex >/dev/null 2>&1)
mv "$work/notice.rtf" "$here/latex2rtf-notice.rtf"
