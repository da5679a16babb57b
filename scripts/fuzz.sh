#!/usr/bin/env bash
# Builds the libFuzzer targets with AddressSanitizer and UndefinedBehavior-
# Sanitizer in build-fuzz and runs each for a fixed number of inputs (default
# 20000), starting from a copy of its committed seed corpus. Any finding fails;
# the input that caused it is left in build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20000}

# The libraries get coverage instrumentation (fuzzer-no-link) so that the
# fuzzer sees inside the production code; the targets link libFuzzer.
cmake -S . -B build-fuzz -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -DPX9_SANITIZE=ON \
  -DBUILD_TESTING=ON -DPX9_E2E_TESTS=OFF -DPX9_FUZZ=ON >/dev/null
cmake --build build-fuzz --target px9_fuzz_repeat_count px9_fuzz_cp936

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
# target, longest generated input
for entry in "repeat_count 64" "cp936 512"; do
  read -r target max_len <<<"$entry"
  cp -r "autotests/fuzz/corpus/$target" "$work/$target"
  findings="build-fuzz/findings/$target"
  mkdir -p "$findings"
  echo "== px9_fuzz_$target: $runs runs"
  if "build-fuzz/autotests/fuzz/px9_fuzz_$target" -runs="$runs" -max_len="$max_len" \
      -artifact_prefix="$findings/" -print_final_stats=1 "$work/$target" 2>"$work/$target.log"; then
    grep -E '^Done' "$work/$target.log" || true
  else
    grep -v -E '^#[0-9]+' "$work/$target.log" | tail -n 40 >&2
    echo "px9_fuzz_$target found a problem; the input is in $findings/" >&2
    status=1
  fi
done
exit $status
