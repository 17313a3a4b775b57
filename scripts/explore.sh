#!/usr/bin/env bash
# A long random run of real mouse and keys over the window, against the
# sandbox cloud:  make explore SECONDS=600 SEED=7
# It prints the seed and the number of actions, and on a failure the last
# actions, and exits non-zero then.
set -euo pipefail
cd "$(dirname "$0")/.."

run_seconds="${1:-600}"
seed="${2:-1}"
cmake --preset native >/dev/null && cmake --build --preset native --target sandbox-cloud
. scripts/wine-env.sh
quelta_windows_build "the random run drives"
windows="$QUELTA_PRESET"
cmake --preset "$windows" >/dev/null &&
  cmake --build --preset "$windows" --target app_tests queltaService
quelta_own_network
status=0
QUELTA_EXPLORE_SECONDS="$run_seconds" QUELTA_EXPLORE_SEED="$seed" \
  "${QUELTA_NET[@]}" ctest --preset "$windows" -R '^app_explore$' --timeout $((run_seconds + 600)) -V \
  >build/explore.log 2>&1 || status=$?
grep -A 22 'explore: ' build/explore.log | sed 's/^[0-9]*: //' || tail -n 40 build/explore.log
exit $status
