#!/usr/bin/env bash
# Builds every libFuzzer target of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in its own configuration (build/fuzz), then runs
# each for a bounded time: FUZZ_SECONDS (default 600) per target. The seed
# corpus of a target is fuzz/corpus/<target>/; what the fuzzer learns goes to
# build/fuzz/corpus/<target>/. Exits non-zero on any crash, leak or
# sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS="${FUZZ_SECONDS:-600}"
build=build/fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

echo "== fuzz: configure and build ($build)"
mkdir -p build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DQUELTA_FUZZ=ON >"$build.log" 2>&1 ||
  { tail -n 40 "$build.log"; exit 1; }

targets=()
for source in fuzz/*_fuzzer.cpp; do
  [ -e "$source" ] || continue
  targets+=("$(basename "$source" .cpp)")
done
if [ ${#targets[@]} -eq 0 ]; then echo "no fuzz targets"; exit 0; fi
cmake --build "$build" --target "${targets[@]}" >>"$build.log" 2>&1 ||
  { grep -E 'error' "$build.log" | head -n 40; exit 1; }

status=0
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  mkdir -p "$work" "$build/artifacts/$target"
  seeds=()
  [ -d "fuzz/corpus/$target" ] && seeds=("fuzz/corpus/$target")
  echo "== fuzz: $target for ${FUZZ_SECONDS}s"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
  if "$build/fuzz/$target" -max_total_time="$FUZZ_SECONDS" -timeout=20 -rss_limit_mb=2048 \
       -max_len=65536 -print_final_stats=1 \
       -artifact_prefix="$build/artifacts/$target/" "$work" "${seeds[@]}" \
       >"$build/$target.log" 2>&1; then
    echo "$target: clean ($(grep -E '^stat::number_of_executed_units' "$build/$target.log" |
      awk '{print $2}') runs)"
  else
    echo "$target: FAILED; see $build/$target.log"
    grep -E 'ERROR|SUMMARY|runtime error' "$build/$target.log" | head -n 20
    status=1
  fi
done
exit $status
