#!/usr/bin/env bash
# Builds the tester and starts it: px9tester9x, or the build named as the
# first argument (px9tester).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}"

program=${1:-px9tester9x}
case "$program" in
  px9tester9x|px9tester) ;;
  *) echo "usage: $0 [px9tester9x|px9tester]" >&2; exit 2 ;;
esac

cmake -S . -B build -G Ninja -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target "$program"
exec "build/bin/$program"
