#!/usr/bin/env bash
# Makes the README's screenshots under Xvfb with the Windows build this
# machine runs (as `make test` chooses it): each fixture directory in
# docs/fixtures/ becomes docs/<name>.png.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
quelta_windows_build "the pictures show"
windows="$QUELTA_PRESET"
cmake --preset "$windows" >/dev/null
cmake --build --preset "$windows" --target screenshots >/dev/null
export WINEPREFIX="$PWD/build/$windows/wineprefix"
unset DISPLAY  # a private Xvfb, so the pictures never depend on the desktop
scripts/wine-run.sh --start >/dev/null
shot() {  # fixture screen output
  local fixture="$1" screen="$2" out="$3" work
  work="$(mktemp -d)"
  cp -r "docs/fixtures/$fixture/." "$work/" 2>/dev/null || true
  local windir
  windir="Z:$(echo "$work" | tr '/' '\\')"
  if ! scripts/wine-run.sh "build/$windows/app/screenshots.exe" "$windir" "$screen" "$windir\\shot.bmp" \
      >"$work/wine.log" 2>&1; then
    cat "$work/wine.log" >&2
    return 1
  fi
  convert "$work/shot.bmp" "$out"
  rm -rf "$work"
  echo "wrote $out"
}
shot login login docs/main-window.png
if [ -d docs/fixtures/config ]; then
  shot config config docs/configuration-screen.png
  # The same screen on a display scaled to 150 %: the prefix's LogPixels,
  # which the Wine runner sets before the program starts.
  QUELTA_WINE_DPI=144 shot config config docs/configuration-screen-144dpi.png
fi
if [ -d docs/fixtures/preview ]; then shot preview preview docs/ticket-preview.png; fi
if [ -d docs/fixtures/config ]; then shot config diagnosis docs/diagnosis.png; fi
if [ -d docs/fixtures/config ]; then shot config progress docs/progress-box.png; fi
scripts/wine-run.sh --stop >/dev/null

# The setup program's first page, in a prefix of its own: its window is
# another program's, taken from the private display once it has stopped
# changing, and cut out of the empty desktop around it.
cmake --build --preset "$windows" --target setup_test_programs >/dev/null
export WINEPREFIX="$PWD/build/$windows/setup-shot-wineprefix"
rm -rf "$WINEPREFIX"
scripts/wine-run.sh --start >/dev/null
display=":$(cut -d' ' -f1 "$WINEPREFIX/.quelta-display")"
work="$(mktemp -d)"
scripts/wine-run.sh "build/$windows/setup-test/new/setup.exe" >/dev/null 2>&1 &
setup_pid=$!
previous=""
for _ in $(seq 60); do
  sleep 1
  DISPLAY="$display" import -window root "$work/shot.png" 2>/dev/null || continue
  # The pixels' signature; an empty desktop trims to one pixel.
  now="$(convert "$work/shot.png" -trim info: 2>/dev/null | cut -d' ' -f3)"
  [ "$now" = "1x1" ] && continue
  now="$(identify -format '%#' "$work/shot.png")"
  [ "$now" = "$previous" ] && break
  previous="$now"
done
convert "$work/shot.png" -trim +repage docs/setup.png
echo "wrote docs/setup.png"
scripts/wine-run.sh --stop >/dev/null
wait "$setup_pid" 2>/dev/null || true
rm -rf "$work" "$WINEPREFIX"
