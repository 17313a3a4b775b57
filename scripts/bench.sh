#!/usr/bin/env bash
# Builds the native preset's benchmarks and runs every benchmark executable
# of bench/ (bench/<name>_bench.cpp gives build/native/bench/<name>_bench),
# printing each one's results and summary. Exits non-zero when a benchmark
# fails to build or reports a missed target.
set -uo pipefail
cd "$(dirname "$0")/.."

build="${QUELTA_BENCH_BUILD:-build/native}"
mkdir -p build
echo "== bench: configure and build ($build)"
if ! cmake --preset native -B "$build" >"$build.bench.log" 2>&1; then
  tail -n 40 "$build.bench.log"; exit 1
fi
targets=()
for source in bench/*_bench.cpp; do
  [ -e "$source" ] || continue
  targets+=("$(basename "$source" .cpp)")
done
if [ ${#targets[@]} -eq 0 ]; then echo "no benchmarks"; exit 0; fi
if ! cmake --build "$build" --target "${targets[@]}" >>"$build.bench.log" 2>&1; then
  grep -E 'error' "$build.bench.log" | head -n 40; exit 1
fi

# Without arguments every benchmark runs five times and the summaries use
# the medians: the machines that run this are shared.
args=("$@")
if [ ${#args[@]} -eq 0 ]; then
  args=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
fi
status=0
echo "== bench: load average $(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null)"
for target in "${targets[@]}"; do
  echo "== bench: $target"
  if ! "$build/bench/$target" --benchmark_color=false "${args[@]}"; then
    echo "$target: a target was missed or the run failed"
    status=1
  fi
done
exit $status
