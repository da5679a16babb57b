#!/usr/bin/env bash
# Builds the tester and runs every automated test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DBUILD_TESTING=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure --timeout 300
