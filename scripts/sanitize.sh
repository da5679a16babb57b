#!/usr/bin/env bash
# Builds the whole project and its automated tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitize and runs every test there. The
# programs the end-to-end tests start are the sanitized ones too; whatever
# process reports, the run fails and the reports are printed. (Qt and the
# other libraries are not instrumented, so only our own code is checked.)
#   scripts/sanitize.sh [ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

reports=$(mktemp -d)
trap 'rm -rf "$reports"' EXIT
# Every process writes its reports to $reports/<tool>.<pid>, so that reports
# from programs started by tests are not lost in their output files.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:log_path=$reports/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="suppressions=$PWD/autotests/sanitize/lsan.supp:print_suppressions=0"

# clang, because its UndefinedBehaviorSanitizer writes to log_path as well
# (gcc 12's writes only to stderr, which the end-to-end tests do not show).
cmake -S . -B build-sanitize -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DPX9_SANITIZE=ON -DBUILD_TESTING=ON >/dev/null
status=0
cmake --build build-sanitize && ctest --test-dir build-sanitize --output-on-failure --timeout 300 "$@" || status=1

if compgen -G "$reports/*" >/dev/null; then
  for report in "$reports"/*; do
    echo "==== $(basename "$report")" >&2
    cat "$report" >&2
  done
  status=1
fi
exit $status
