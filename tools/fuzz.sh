#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/, clang, build-fuzz/) and runs each for a
# bounded time on its committed seed corpus. A crash, a sanitizer report, a
# broken property (the targets abort), a slow input or too much memory fails
# the script; the input that did it is left in build-fuzz/artifacts/.
#   tools/fuzz.sh [seconds per target, default 60]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TAMVEX_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${1:-60}"

cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build "$build" -j"$(nproc)"

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p "$build/artifacts"

# The Jet test fixtures (whole files, a truncated and a damaged one) seed
# the Jet reader target too.
jet_seeds=("$root/tests/fixtures/jet")

status=0
run() {
  local target="$1"; shift
  local work="$build/corpus/$target"
  mkdir -p "$work"
  echo "== $target: ${seconds}s"
  # New inputs go to the work folder (the first one); the committed seeds
  # and the fixtures are only read.
  if ! "$build/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "$@" \
      "$work" "$root/fuzz/corpus/${target#fuzz_}" ${extra_dirs[@]+"${extra_dirs[@]}"} \
      > "$build/$target.log" 2>&1; then
    echo "fuzz.sh: $target failed; see $build/$target.log" >&2
    tail -40 "$build/$target.log" >&2
    status=1
  fi
  grep -E "^Done|stat::number_of_executed_units|stat::peak_rss_mb" "$build/$target.log" || true
}

extra_dirs=(); run fuzz_query -max_len=16384
extra_dirs=(); run fuzz_pagemark -max_len=16384
extra_dirs=(); run fuzz_conditionfile -max_len=16384
extra_dirs=(); run fuzz_postings -max_len=65536
extra_dirs=(${jet_seeds[@]+"${jet_seeds[@]}"}); run fuzz_jetreader
exit $status
