#!/usr/bin/env bash
# The installed tree: put into a DESTDIR, moved elsewhere, it still plays without --data; its
# desktop entry, metainfo, icons and manual pages pass the desktop's own validators; the
# options of --help are all documented.
# Usage: Install_test.sh BUILD_DIR SOURCE_DIR APP_ID
set -euo pipefail
build=$1 source=$2 id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/stage" cmake --install "$build" --prefix /opt/zelgora >/dev/null
mv "$work/stage/opt/zelgora" "$work/moved"
tree=$work/moved
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
unset ZELGORA_DATA

echo "-- layout"
for f in bin/zelgora bin/zelgora-dxg share/zelgora/Bitmaps/ZelgoraTobrin.dxg \
  share/zelgora/Bitmaps/SetupBars.dxg share/zelgora/Bitmaps/FaceMask.dxg \
  share/doc/zelgora/copyright share/doc/zelgora/changelog.gz \
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
  share/man/man6/zelgora.6.gz share/man/man1/zelgora-dxg.1.gz \
  "share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -f "$tree/$f" ] || fail "$f not installed"
done
ls "$tree"/share/zelgora/*.ttf >/dev/null 2>&1 || fail "no font in share/zelgora"
[ -n "$(ls "$tree/share/doc/zelgora/fonts")" ] || fail "no font licence in share/doc/zelgora/fonts"
for size in 16 32 48 64 128 256; do
  png="$tree/share/icons/hicolor/${size}x${size}/apps/$id.png"
  file "$png" | grep -q "PNG image data, $size x $size" || fail "$png is not a $size x $size PNG"
done

echo "-- the moved tree plays without --data"
(cd / && "$tree/bin/zelgora" --headless --renderer gl --frames 60 --screenshot "$work/shot.png") ||
  fail "installed game did not run"
[ -s "$work/shot.png" ] || fail "no screenshot from the installed game"
"$tree/bin/zelgora" --headless --renderer null --frames 30 --dump-state "$work/state.json"
grep -qE '"Frame": ?30\b' "$work/state.json" || fail "installed game did not play 30 frames"

echo "-- an empty ZELGORA_DATA is reported on one line, --data wins over it"
mkdir "$work/empty"
if ZELGORA_DATA="$work/empty" "$tree/bin/zelgora" --headless --renderer null --frames 1 \
  2>"$work/err"; then fail "ran with ZELGORA_DATA naming an empty folder"; fi
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "$work/empty" "$work/err" ||
  fail "message: $(cat "$work/err")"
ZELGORA_DATA="$work/empty" "$tree/bin/zelgora" --headless --renderer null --frames 1 \
  --data "$tree/share/zelgora" || fail "--data did not win over ZELGORA_DATA"

echo "-- no data anywhere: one line naming the folders tried, status 1"
mv "$tree/share/zelgora/Bitmaps" "$work/Bitmaps"
set +e
"$tree/bin/zelgora" --headless --renderer null --frames 1 2>"$work/err"
status=$?
set -e
installed=$(grep -o 'in .*;' "$work/err" | tr ',' '\n' | tail -1 | tr -d ' ;')
if [ -f "$installed/Bitmaps/SetupBars.dxg" ]; then
  echo "   (skipped: the compiled-in folder $installed holds data on this machine)"
else
  [ "$status" -eq 1 ] || fail "status $status without data"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "message is not one line: $(cat "$work/err")"
  for d in "$tree/bin" "$tree/share/zelgora"; do
    grep -qF "$d" "$work/err" || fail "message does not name $d: $(cat "$work/err")"
  done
fi
mv "$work/Bitmaps" "$tree/share/zelgora/Bitmaps"

echo "-- validators"
desktop-file-validate "$tree/share/applications/$id.desktop"
appstreamcli validate --no-net "$tree/share/metainfo/$id.metainfo.xml"
for page in man6/zelgora.6.gz man1/zelgora-dxg.1.gz; do
  warnings=$(zcat "$tree/share/man/$page" | LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
done
grep -q "^Icon=$id$" "$tree/share/applications/$id.desktop" || fail "desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
  "$tree/share/metainfo/$id.metainfo.xml" || fail "metainfo launches another desktop id"

echo "-- one version everywhere"
version=$("$tree/bin/zelgora" --version | awk '{print $2}')
grep -q "<release version=\"$version\"" "$tree/share/metainfo/$id.metainfo.xml" ||
  fail "metainfo has no release $version"
zcat "$tree/share/doc/zelgora/changelog.gz" | head -1 | grep -qF "zelgora ($version)" ||
  fail "changelog does not start at $version"
"$tree/bin/zelgora-dxg" --version | grep -qx "zelgora-dxg $version" || fail "zelgora-dxg version"

echo "-- every option of --help is in the README and the manual page"
page=$(zcat "$tree/share/man/man6/zelgora.6.gz" | sed 's/\\-/-/g')
for option in $("$tree/bin/zelgora" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
  grep -qF -- "\`$option" "$source/README.md" || fail "$option missing from the README's options"
  grep -qF -- "$option" <<<"$page" || fail "$option missing from zelgora(6)"
done
echo "install tree ok"
