#!/usr/bin/env bash
# Installs into a temporary DESTDIR and checks what the desktop reads (desktop entry, MIME
# types, icons, manual page), then builds the Debian package and checks its contents and
# dependencies.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d /tmp/glidtavla-install-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
passed=0

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >"$tmp/install.log"
share="$tmp/root/usr/share"
for file in usr/bin/glidtavla usr/bin/glidtavla-cli usr/libexec/glidtavla/glidtavla-cli-pictures \
            usr/libexec/glidtavla/glidtavla-draw \
            usr/share/applications/glidtavla.desktop \
            usr/share/mime/packages/glidtavla.xml usr/share/man/man1/glidtavla-cli.1.gz \
            usr/share/man/man1/glidtavla.1.gz usr/share/doc/glidtavla/copyright \
            usr/share/glidtavla/sv-words.model usr/share/glidtavla/sv-words-large.model \
            usr/share/glidtavla/boards/svenska-7x7-skift.tab \
            usr/share/glidtavla/builtin-board.pbm \
            usr/share/icons/hicolor/scalable/apps/glidtavla.svg \
            usr/share/icons/hicolor/48x48/apps/glidtavla.png; do
  [ -e "$tmp/root/$file" ] || fail "not installed: /$file"
done
passed=$((passed + 1))

# The installed glidtavla-cli finds the program that draws boards in its own folder.
printf '60 120\r\n50 100\r\n97 98\r\n99 100\r\n' >"$tmp/t.tab"
"$tmp/root/usr/bin/glidtavla-cli" board draw "$tmp/t.tab" "$tmp/board.png" ||
  fail "installed board draw"
file -b "$tmp/board.png" | grep -q "354 x 284" || fail "installed board draw: $(file -b "$tmp/board.png")"
# The window starts without the SVG renderer and the metafile decoders: glidtavla-draw has them.
needed=$(readelf -d "$tmp/root/usr/bin/glidtavla" | grep NEEDED || true)
! grep -Eq 'Svg|wmf|emf2svg' <<<"$needed" || fail "glidtavla links a picture decoder: $needed"
grep -q 'emf2svg' <(readelf -d "$tmp/root/usr/libexec/glidtavla/glidtavla-draw") ||
  fail "glidtavla-draw does not link the metafile decoders"
# ... and that one the program that draws SVG and metafiles, beside it.
size=$("$tmp/root/usr/bin/glidtavla-cli" board picture "$share/icons/hicolor/scalable/apps/glidtavla.svg")
[[ "$size" =~ ^[0-9]+x[0-9]+$ ]] || fail "installed board picture of an SVG: $size"
passed=$((passed + 1))

desktop-file-validate "$share/applications/glidtavla.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$share/metainfo/se.glidtavla.glidtavla.metainfo.xml" \
  >"$tmp/appstream.txt" 2>&1 || fail "AppStream: $(cat "$tmp/appstream.txt")"
passed=$((passed + 1))

# Debian ships no schema for shared-mime-info: well-formed XML, then the database builder.
xmllint --noout "$share/mime/packages/glidtavla.xml" "$share/icons/hicolor/scalable/apps/glidtavla.svg" ||
  fail "XML"
XDG_DATA_DIRS="$share" update-mime-database "$share/mime" 2>"$tmp/mime.log" ||
  fail "MIME: $(cat "$tmp/mime.log")"
[ ! -s "$tmp/mime.log" ] || fail "MIME warnings: $(cat "$tmp/mime.log")"
grep -q 'x-glidtavla-document' "$share/mime/globs2" || fail "no glob for .gtv"
grep -q '\*\.tab' "$share/mime/globs2" && grep -q '\*\.dem' "$share/mime/globs2" || fail "globs"
passed=$((passed + 1))

for size in 16 32 48 64 128 256; do
  file -b "$share/icons/hicolor/${size}x${size}/apps/glidtavla.png" | grep -q "$size x $size" ||
    fail "icon ${size}x${size}"
done
for page in glidtavla glidtavla-cli; do
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" \
    >"$tmp/man.txt" 2>"$tmp/man.err" || fail "manual page $page"
  [ ! -s "$tmp/man.err" ] || fail "manual page $page warnings: $(cat "$tmp/man.err")"
done
grep -q 'board check' <(LC_ALL=C.UTF-8 man -l "$share/man/man1/glidtavla-cli.1.gz") || fail "manual page text"
passed=$((passed + 1))

(cd "$build" && cpack -G DEB -B "$tmp/package" >"$tmp/cpack.log" 2>&1) ||
  fail "cpack: $(tail -20 "$tmp/cpack.log")"
deb=$(ls "$tmp"/package/glidtavla_*.deb)
dpkg-deb --info "$deb" >"$tmp/info.txt"
depends=$(awk -F': ' '/^ Depends:/ { print $2 }' "$tmp/info.txt")
for lib in libqt6widgets6 libqt6gui6 libqt6svg6 libxtst6 libwmf libemf2svg libc6 qt6-translations-l10n; do
  echo "$depends" | grep -q "$lib" || fail "$lib is not among the dependencies: $depends"
done
dpkg-deb --contents "$deb" >"$tmp/contents.txt"
for file in ./usr/bin/glidtavla ./usr/bin/glidtavla-cli ./usr/libexec/glidtavla/glidtavla-cli-pictures \
            ./usr/libexec/glidtavla/glidtavla-draw \
            ./usr/share/applications/glidtavla.desktop ./usr/share/doc/glidtavla/changelog.gz \
            ./usr/share/mime/packages/glidtavla.xml ./usr/share/man/man1/glidtavla-cli.1.gz; do
  grep -q " $file\$" "$tmp/contents.txt" || fail "not in the package: $file"
done
passed=$((passed + 1))

# Debian's own checks: no error, and the warnings that remain are printed.
lintian --fail-on error --no-tag-display-limit "$deb" >"$tmp/lintian.txt" 2>&1 ||
  fail "lintian: $(grep -v 'root privileges' "$tmp/lintian.txt")"
grep -E '^[WI]:' "$tmp/lintian.txt" || true
passed=$((passed + 1))
echo "install and package: $passed passed, 0 failed"
