#!/usr/bin/env bash
# `make run`: builds, lays out a demo application directory with the tool and
# the stand-ins beside it, and opens the tool under Wine: on $DISPLAY when
# there is one, otherwise on Xvfb, saving a screenshot after a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset win32 >/dev/null
cmake --build --preset win32
if [ -d standins/cloud ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native
fi

demo="$PWD/build/demo"
mkdir -p "$demo"
cp build/win32/app/queltaConfig.exe "$demo/"
for f in build/win32/standins/*/queltaService.exe build/win32/standins/*/InterfaceEpsonNF.dll; do
  [ -f "$f" ] && cp "$f" "$demo/"
done
[ -x scripts/run-extras.sh ] && . scripts/run-extras.sh

export WINEPREFIX="$PWD/build/demo-prefix"
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.ready" ]; then
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.ready"
fi

echo "demo application directory: $demo"
if [ -n "${DISPLAY:-}" ]; then
  wine "$demo/queltaConfig.exe"
else
  shot="$demo/screenshot.png"
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wine "$1/queltaConfig.exe" </dev/null >/dev/null 2>&1 &
    sleep 8
    import -window root "$2"
    wineserver -k
  ' run "$demo" "$shot"
  echo "no display: the tool ran on Xvfb; screenshot saved to $shot"
fi
