#!/usr/bin/env bash
# Builds the state loader fuzz targets with clang-14 (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in the build folder they share with the sanitizer tests
# (build-asan) and runs each of them for a fixed time
# on a copy of its seed corpus. Any crash, leak, sanitizer report or broken loader promise fails
# the run. The executions per second and totals are printed at the end.
#
#   scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-asan"
seconds="${1:-60}"
targets=(bank_loader program_loader fx_chunks)

"$top/scripts/configure-asan.sh"
cmake --build "$build" --target $(printf 'lumenfold_fuzz_%s ' "${targets[@]}")

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

runs="$build/fuzz-runs"
rm -rf "$runs"
mkdir -p "$runs"

# The targets run side by side, one process each; every one gets its own working corpus so that
# the committed seeds stay as they are.
pids=()
for target in "${targets[@]}"; do
  mkdir -p "$runs/$target/corpus" "$runs/$target/artifacts"
  (
    cd "$runs/$target"
    "$build/fuzz/lumenfold_fuzz_$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -dict="$top/fuzz/state.dict" \
      -artifact_prefix="$runs/$target/artifacts/" \
      "$runs/$target/corpus" "$top/fuzz/corpus/$target" >"$runs/$target/log" 2>&1
  ) &
  pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  if ! wait "${pids[$i]}"; then
    failed=1
    echo "fuzz target $target failed:"
    tail -n 60 "$runs/$target/log"
  fi
done

for target in "${targets[@]}"; do
  log="$runs/$target/log"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  echo "fuzz $target: ${execs:-?} executions, ${rate:-?} per second in ${seconds} s"
done

exit "$failed"
