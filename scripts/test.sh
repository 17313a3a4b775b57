#!/usr/bin/env bash
# Builds the native preset and the Windows preset this machine runs, and runs
# every test: natively, then the Windows programs under Wine. Ends with one
# line 'N passed, N failed, N skipped' over both; exits non-zero when
# anything failed or did not build.
#
# The Windows preset is win32 where this machine runs 32-bit programs (the
# 32-bit Wine loader starts), otherwise win64, said in one line before the
# tests. WINDOWS=64 runs win64 on any machine; WINDOWS=32 runs win32 or fails
# saying why it cannot.
#
# A whole run has every prerequisite: configuring without one (the print
# service stand-in, a download host on this computer) is an error rather
# than a smaller suite, and a case that would skip for want of its set-up
# fails instead (QUELTA_WHOLE_SUITE).
set -uo pipefail
cd "$(dirname "$0")/.."
export QUELTA_WHOLE_SUITE=1
. scripts/wine-env.sh

quelta_windows_build "the Windows tests run"
windows="$QUELTA_PRESET"

quelta_own_network
if [ "${#QUELTA_NET[@]}" -gt 0 ]; then
  # In a namespace of its own only a display on a local socket is reached.
  case "${DISPLAY:-}" in :*) ;; *) unset DISPLAY ;; esac
fi

status=0
for preset in native "$windows"; do
  build="build/$preset"
  # A run that cannot configure or build must not show an older run's count.
  rm -rf "$build/test-results" "$build/ctest-junit.xml" "$build/ctest-registered.json"
  echo "== $preset: configure and build"
  mkdir -p build
  if ! cmake --preset "$preset" -DQUELTA_WHOLE_SUITE=ON >"build/$preset.log" 2>&1; then
    tail -n 40 "build/$preset.log"; status=1; continue
  fi
  if ! cmake --build --preset "$preset" >>"build/$preset.log" 2>&1; then
    grep -E 'error|Error' "build/$preset.log" | head -n 40; status=1; continue
  fi
  mkdir -p "$build/test-results"
  echo "== $preset: test"
  # What ran is checked against what is registered.
  ctest --preset "$preset" --show-only=json-v1 >"$build/ctest-registered.json" || status=1
  # Under Wine the GUI tests run on the private X display the run's first
  # test (wine_start) opens when there is none.
  if ! "${QUELTA_NET[@]}" ctest --preset "$preset" \
          --output-junit "$PWD/$build/ctest-junit.xml" >"$build/ctest.log" 2>&1; then
    tail -n 80 "$build/ctest.log"
    status=1
  fi
  if grep -q 'failures="[1-9]' "$build/ctest-junit.xml" 2>/dev/null; then status=1; fi
done
if [ -n "$QUELTA_NET_WHY" ]; then
  echo "the tests ran in this machine's own network ($QUELTA_NET_WHY): a program on ports" \
    "7777 or 8443-8446 beside them can make them fail"
fi
python3 scripts/test-summary.py build/native "build/$windows" || status=1
exit $status
