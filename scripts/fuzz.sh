#!/usr/bin/env bash
# Fuzzes what a user can hand the program (the state loaders, MIDI input through the processor,
# the settings file) in two builds made with clang-14:
#  1. a timed campaign in build-fuzz, a coverage-only build (libFuzzer, no sanitizers), which runs
#     several times faster and grows a working corpus from the committed seeds;
#  2. a replay of that whole grown corpus in build-asan (AddressSanitizer and
#     UndefinedBehaviorSanitizer, the folder shared with the sanitizer tests).
# Any crash, timeout, oversized allocation, sanitizer report or broken loader promise fails the
# run. The executions per second and totals of the campaign are printed at the end.
#
#   scripts/fuzz.sh [--werror] [seconds per target, default 60]
#   scripts/fuzz.sh [--werror] --build   only configure and build build-fuzz (CI builds it beside
#                                        build-asan)
#
# --werror makes warnings in lumenfold's code errors in build-fuzz (and in build-asan when this
# script configures it); without it each folder keeps its own setting (off when first configured).
#
# With LUMENFOLD_ASAN_BUILT=1 the script takes build-asan as built (CI builds it once in an
# earlier stage) and neither configures nor builds it.
set -euo pipefail
werror=()
werror_define=()
build_only=0
seconds=60
for arg in "$@"; do
  case "$arg" in
    --werror) werror=(--werror); werror_define=(-DLUMENFOLD_WERROR=ON) ;;
    --build) build_only=1 ;;
    *[!0-9]*|"") echo "unknown option '$arg' (--werror, --build or seconds)" >&2; exit 2 ;;
    *) seconds=$arg ;;
  esac
done
top=$(cd "$(dirname "$0")/.." && pwd)
fast="$top/build-fuzz"
asan="$top/build-asan"
targets=(bank_loader program_loader fx_chunks midi_input settings_file)

"$top/scripts/ensure-packages.sh" "$top/scripts/packages.txt" "$top/scripts/packages-clang.txt"
target_names=$(printf 'lumenfold_fuzz_%s ' "${targets[@]}")

# Large enough for inputs past the loader's limits (texts of 4096 characters, 1024 attributes
# to an element); no single allocation may exceed the malloc limit for inputs of that size.
# MIDI inputs are runs of blocks, each a few bytes long: 16 KiB already make thousands of blocks.
max_len_of() {
  case $1 in
    midi_input) echo 16384 ;;
    *) echo 131072 ;;
  esac
}
common_options=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256)
# The words of each target's input; MIDI bytes need none.
dict_options_of() {
  case $1 in
    midi_input) ;;
    settings_file) echo "-dict=$top/fuzz/settings.dict" ;;
    *) echo "-dict=$top/fuzz/state.dict" ;;
  esac
}

build_fast() {
  cmake -S "$top" -B "$fast" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DLUMENFOLD_BUILD_FUZZ=ON -DLUMENFOLD_FUZZ_SANITIZERS= \
    -DLUMENFOLD_BUILD_APP=OFF -DLUMENFOLD_BUILD_TESTS=OFF "${werror_define[@]}" >/dev/null
  cmake --build "$fast" --target $target_names
}

if [ "$build_only" = 1 ]; then
  build_fast
  exit 0
fi

build_fast
if [ "${LUMENFOLD_ASAN_BUILT:-0}" != "1" ]; then
  "$top/scripts/configure-asan.sh" "${werror[@]}"
  cmake --build "$asan" --target $target_names
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

runs="$fast/fuzz-runs"
rm -rf "$runs"
mkdir -p "$runs"

# Runs one command per target side by side; prints the log tail of each that failed.
run_all() {
  local phase=$1 pids=() failed=0 i target
  for target in "${targets[@]}"; do
    ( cd "$runs/$target" && "$phase" "$target" >"$runs/$target/$phase.log" 2>&1 ) &
    pids+=($!)
  done
  for i in "${!targets[@]}"; do
    target=${targets[$i]}
    if ! wait "${pids[$i]}"; then
      failed=1
      echo "fuzz target $target failed in $phase:"
      tail -n 60 "$runs/$target/$phase.log"
    fi
  done
  return "$failed"
}

# The campaign: every target gets its own working corpus, so the committed seeds stay as they are.
campaign() {
  "$fast/fuzz/lumenfold_fuzz_$1" "${common_options[@]}" -max_len="$(max_len_of "$1")" \
    -max_total_time="$seconds" \
    -print_final_stats=1 $(dict_options_of "$1") -artifact_prefix="$runs/$1/artifacts/" \
    "$runs/$1/corpus" "$top/fuzz/corpus/$1"
}

# The replay: every input the campaign kept, and the seeds, once each under the sanitizers.
replay() {
  "$asan/fuzz/lumenfold_fuzz_$1" "${common_options[@]}" -max_len="$(max_len_of "$1")" -runs=0 \
    -artifact_prefix="$runs/$1/artifacts/asan-" "$runs/$1/corpus" "$top/fuzz/corpus/$1"
}

for target in "${targets[@]}"; do
  mkdir -p "$runs/$target/corpus" "$runs/$target/artifacts"
done

failed=0
run_all campaign || failed=1
run_all replay || failed=1

for target in "${targets[@]}"; do
  log="$runs/$target/campaign.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  kept=$(find "$runs/$target/corpus" -type f | wc -l)
  replayed=$(sed -n 's/.*INITED.*corp: \([0-9]*\).*/\1/p' "$runs/$target/replay.log" | tail -n 1)
  echo "fuzz $target: ${execs:-?} executions, ${rate:-?} per second in ${seconds} s;" \
    "corpus ${kept} inputs, replayed under ASan/UBSan (${replayed:-?} distinct)"
done

exit "$failed"
