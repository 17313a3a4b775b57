#!/usr/bin/env bash
# Runs a Windows test program under Wine in a prefix made anew for it, with
# a wineserver (and, without a display, an Xvfb) of its own, stopped again
# at the end: for a test that installs into the prefix's C: drive, its
# registry and its service control manager, and must find them as a new
# Windows has them.
#
#   wine-fresh.sh PREFIX [--gui] PROGRAM [ARGS...]
set -uo pipefail
runner="$(dirname "$0")/wine-run.sh"
export WINEPREFIX="$1"
shift
rm -rf "$WINEPREFIX"
"$runner" --start >/dev/null || exit 1
"$runner" "$@"
rc=$?
"$runner" --stop >/dev/null
exit $rc
