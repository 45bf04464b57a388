#!/usr/bin/env bash
# Runs each fuzz target of a VX_FUZZ build for the given number of seconds
# (default 60), one after the other, starting from the seed corpora here.
# New inputs go to a scratch corpus, findings to the artifacts folder.
# Exits non-zero on the first crash, leak, timeout or round-trip mismatch.
# VX_FUZZ_SEED fixes libFuzzer's random seed and VX_FUZZ_RUNS caps the
# number of inputs, so that a gate run explores the same inputs on every
# machine (a slower one stops earlier, on the same path) and a failure
# there can be replayed.
#   bash tests/fuzz/run.sh BUILD_DIR [SECONDS] [TARGET...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
seconds="${2:-60}"
shift $(( $# < 2 ? $# : 2 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(session plots user_data)
work="${VX_FUZZ_WORK:-$build/fuzz-work}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
seed=()
[ -n "${VX_FUZZ_SEED:-}" ] && seed+=(-seed="$VX_FUZZ_SEED")
[ -n "${VX_FUZZ_RUNS:-}" ] && seed+=(-runs="$VX_FUZZ_RUNS")
for target in "${targets[@]}"; do
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  max_len=2048
  [ "$target" = user_data ] && max_len=8192
  echo "== fuzzing $target for ${seconds}s"
  "$build/tests/fuzz/vx_fuzz_$target" "$work/$target/corpus" "$here/corpus/$target" \
    -dict="$here/vexalo.dict" -max_len="$max_len" -max_total_time="$seconds" -timeout=120 \
    "${seed[@]}" -print_final_stats=1 -artifact_prefix="$work/$target/artifacts/"
done
