#!/usr/bin/env bash
# Builds the tester and runs every automated test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${CHECK_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DBUILD_TESTING=ON >/dev/null
cmake --build build

# Operator text through the fuzz targets, a short fixed number of runs.
scripts/fuzz.sh
# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
scripts/sanitize.sh
# The plain build's tests last, so their summary closes the run.
ctest --test-dir build --output-on-failure --timeout 300
