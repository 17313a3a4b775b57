#!/usr/bin/env bash
# Runs a Windows test program under Wine, in the private prefix named by
# WINEPREFIX (set by ctest to one inside the build tree), with the loader of
# the build that QUELTA_WINE_BITS names (32, the default, or 64: a 64-bit
# prefix of its own, WINEARCH=win64).
#
#   wine-run.sh --start            create the prefix once, start a warm wineserver
#                                  (and, when there is no X display, a private Xvfb)
#   wine-run.sh --stop             stop that wineserver, every Wine process of the
#                                  prefix and the private Xvfb
#   wine-run.sh [--gui] prog args  run prog
#
# Every Wine process of one run must share one X display: the prefix's
# desktop and services are started with the first of them, and a program on
# another display (or on none) then gets no usable windows. So the run's
# display is chosen once, by --start, and kept in the prefix.
#
# A GoogleTest program writes its XML report into QUELTA_TEST_RESULTS, named
# QUELTA_TEST_NAME.xml when that is set (a program run twice), else after the
# program.
#
# Wine runs under the restaurant's locale, Portuguese (Brazil): LCID 0416,
# ANSI code page 1252, OEM code page 850, long time "HH:mm:ss". Wine takes
# it from LC_ALL; QUELTA_WINE_LOCALE names another one (C.UTF-8 is English,
# United States).
set -uo pipefail

: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEPREFIX
export LC_ALL="${QUELTA_WINE_LOCALE:-pt_BR.UTF-8}"
if ! locale -a 2>/dev/null | grep -qix "$(echo "$LC_ALL" | sed 's/UTF-8$/utf8/')"; then
  echo "the locale $LC_ALL is missing: run 'make setup'" >&2
  exit 1
fi
. "$(dirname "$0")/wine-env.sh"
quelta_wine "${QUELTA_WINE_BITS:-32}"

display_file="$WINEPREFIX/.quelta-display"

use_run_display() {
  if [ -z "${DISPLAY:-}" ] && [ -f "$display_file" ]; then
    export DISPLAY=":$(cut -d' ' -f1 "$display_file")"
  fi
}

start_private_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=90 pid
  # Another run may take the same free number at the same moment; the
  # server that loses the lock ends, and this run tries the next number.
  while :; do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    sleep 0.3
    kill -0 "$pid" 2>/dev/null && break
    n=$((n + 1))
  done
  echo "$n $pid" >"$display_file"
  export DISPLAY=":$n"
}

stop_private_display() {
  if [ -f "$display_file" ]; then
    kill "$(cut -d' ' -f2 "$display_file")" 2>/dev/null || true
    rm -f "$display_file"
  fi
}

# A prefix is made for one architecture; one made for the other is made anew.
init_prefix() {
  if [ "$(cat "$WINEPREFIX/.quelta-ready" 2>/dev/null)" = "$WINEARCH" ]; then return 0; fi
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  # A crashing test ends with a failure, never with the crash dialog.
  "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    </dev/null >/dev/null 2>&1
  wineserver -w
  echo "$WINEARCH" >"$WINEPREFIX/.quelta-ready"
}

case "${1:-}" in
  --start)
    init_prefix
    stop_private_display
    start_private_display
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p </dev/null >/dev/null 2>&1
    # The prefix's own services (services.exe, winedevice, ...) outlive the
    # program that starts them and keep its output open; started here with
    # their output going nowhere, they never hold a test's output pipe.
    "$WINELOADER" wineboot </dev/null >/dev/null 2>&1 || true
    echo "wine prefix ready: $WINEPREFIX"
    exit 0
    ;;
  --stop)
    use_run_display
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    stop_private_display
    echo "wineserver stopped"
    exit 0
    ;;
esac

gui=0
if [ "${1:-}" = "--gui" ]; then gui=1; shift; fi
prog="$1"; shift
init_prefix
use_run_display
# The layout test sets the prefix's DPI for its child runs; one that ended
# in the middle leaves it so, and the pixel-exact tests after it would fail.
# Every program starts at 96 DPI, set on the display it runs on, unless
# QUELTA_WINE_DPI names another (the README's picture of a scaled display).
export QUELTA_WINE_DPI="${QUELTA_WINE_DPI:-96}"
at_dpi='"$WINELOADER" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD \
  /d "$QUELTA_WINE_DPI" /f </dev/null >/dev/null 2>&1; exec "$WINELOADER" "$@"'

if [ -n "${QUELTA_TEST_RESULTS:-}" ]; then
  mkdir -p "$QUELTA_TEST_RESULTS"
  win_results="Z:$(echo "$QUELTA_TEST_RESULTS" | tr '/' '\\')\\"
  export GTEST_OUTPUT="xml:$win_results${QUELTA_TEST_NAME:+$QUELTA_TEST_NAME.xml}"
fi

# Wine may leave helper processes (the desktop, services) running after the
# program ends; they inherit its output. The output therefore goes to a file
# that is shown afterwards, so no lingering process holds the caller's pipe.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
run() {
  if [ "$gui" = 1 ] && [ -z "${DISPLAY:-}" ]; then
    # Not inside a run started by --start: a display of its own.
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$at_dpi" - "$prog" "$@" \
      </dev/null >"$out" 2>&1
  else
    bash -c "$at_dpi" - "$prog" "$@" </dev/null >"$out" 2>&1
  fi
}
run "$@"
rc=$?
# A test program that failed without writing a single byte never reached its
# first test (Wine, rarely, loses a process as it starts): said, and run once
# more.
if [ "$rc" != 0 ] && [ ! -s "$out" ] && [ -n "${QUELTA_TEST_RESULTS:-}" ]; then
  echo "wine-run: $(basename "$prog") ended with code $rc before writing anything; running it again"
  run "$@"
  rc=$?
fi
cat "$out"
exit $rc
