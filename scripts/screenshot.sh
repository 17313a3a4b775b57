#!/usr/bin/env bash
# Makes the README's screenshots under Xvfb with the win32 build: each
# fixture directory in docs/fixtures/ becomes docs/<name>.png.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target screenshots >/dev/null
export WINEPREFIX="$PWD/build/win32/wineprefix"
unset DISPLAY  # a private Xvfb, so the pictures never depend on the desktop
scripts/wine-run.sh --start >/dev/null
shot() {  # fixture screen output
  local fixture="$1" screen="$2" out="$3" work
  work="$(mktemp -d)"
  cp -r "docs/fixtures/$fixture/." "$work/" 2>/dev/null || true
  local windir
  windir="Z:$(echo "$work" | tr '/' '\\')"
  if ! scripts/wine-run.sh build/win32/app/screenshots.exe "$windir" "$screen" "$windir\\shot.bmp" \
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
scripts/wine-run.sh --stop >/dev/null
