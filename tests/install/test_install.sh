#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop expects:
# the files and their places, valid desktop and AppStream entries, manual
# pages of the installed version, a program that finds its data relative to
# itself after the tree is moved, and a Debian package whose dependencies come
# from the binaries.
# Usage: test_install.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/usr" >/dev/null
id=org.example.Quorvane
for file in bin/quorvane bin/quorvane-convert \
  "share/quorvane/License Agreement.rtf" \
  share/quorvane/Smilies/Smile.gif "share/quorvane/Smilies/Stick Out Tongue.gif" \
  share/quorvane/Smilies/Grin.gif "share/quorvane/Smilies/Roll Eyes.gif" \
  share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
  share/metainfo/$id.metainfo.xml share/man/man1/quorvane.1 share/man/man1/quorvane-convert.1; do
  [ -e "$work/usr/$file" ] || fail "missing $file"
done
[ "$(ls "$work/usr/share/quorvane/Smilies" | wc -l)" -eq 10 ] || fail "not ten smilies"
# The network is a module loaded on first use, never part of a start.
module="$(find "$work/usr/lib" -path '*/quorvane/webfetch.so')"
[ -n "$module" ] || fail "missing the web fetching module"
readelf -d "$work/usr/bin/quorvane" | grep -q 'NEEDED.*Network' && fail "the program links Qt Network"
readelf -d "$work/usr/bin/quorvane" | grep -Eq 'NEEDED.*(enchant|gumbo)' &&
  fail "the program loads spelling's or import's library at every start"
readelf -d "$module" | grep -q 'NEEDED.*libQt6Network' || fail "the module lacks Qt Network"
desktop-file-validate "$work/usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$work/usr/share/metainfo/$id.metainfo.xml" >/dev/null \
  || fail "AppStream entry"

grep -qx 'Exec=quorvane %F' "$work/usr/share/applications/$id.desktop" || fail "Exec takes no files"
version="$("$work/usr/bin/quorvane" --version)"
for page in quorvane quorvane-convert; do
  warnings="$(groff -man -ww -z "$work/usr/share/man/man1/$page.1" 2>&1)"
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  grep -qF "\"Quorvane ${version#quorvane }\"" "$work/usr/share/man/man1/$page.1" \
    || fail "$page.1 is not of version $version"
done

# Moved elsewhere, the tree still finds its own data.
mv "$work/usr" "$work/moved"
page="$(printf ':)' | "$work/moved/bin/quorvane-convert")"
case "$page" in
  *"$work/moved/share/quorvane/Smilies/Smile.gif"*) ;;
  *) fail "smiley source not in the moved tree: $page" ;;
esac

# The installed program starts and keeps running (offscreen, private home).
mkdir -p "$work/home/run"; chmod 700 "$work/home/run"
set +e
HOME="$work/home" XDG_RUNTIME_DIR="$work/home/run" XDG_CONFIG_HOME="$work/home/.config" \
  QT_QPA_PLATFORM=offscreen timeout 5 "$work/moved/bin/quorvane"
rc=$?
set -e
[ "$rc" -eq 124 ] || fail "the installed program ended with $rc instead of running"

# The Debian package.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack"
deb="$(ls "$work"/package/quorvane_*.deb)"
contents="$(dpkg-deb -c "$deb")"
for file in ./usr/bin/quorvane ./usr/bin/quorvane-convert ./usr/share/quorvane/Smilies/Smile.gif \
  ./usr/share/applications/$id.desktop ./usr/share/man/man1/quorvane.1; do
  grep -qF "$file" <<<"$contents" || fail "package lacks $file"
done
depends="$(dpkg-deb -f "$deb" Depends)"
grep -q libqt6widgets6 <<<"$depends" || fail "dependencies not worked out: $depends"
grep -q libqt6network6 <<<"$depends" || fail "the module's dependencies are missing: $depends"
for library in libenchant-2-2 libgumbo1; do
  grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
echo "1 passed, 0 failed"
