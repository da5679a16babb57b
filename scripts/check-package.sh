#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree, checks what it
# holds and what it depends on, unpacks it into a scratch root and starts each
# program of the package from there on a private X display until its window
# shows up. Only starts the programs: no printer test runs, no port is opened.
#
#   scripts/check-package.sh <build-dir>
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 <build-dir>" >&2; exit 2; }
build=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/..")
output=$build/package

scratch=$(mktemp -d "${TMPDIR:-/tmp}/px9-package-check.XXXXXX")
xvfb_pid=
program_pid=
cleanup() {
  # Runs on every exit, failures included: a killed child's status must not
  # stop it half way.
  set +e
  for pid in $program_pid $xvfb_pid; do
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'echo "check-package: line $LINENO failed: $BASH_COMMAND" >&2' ERR
trap 'exit 1' INT TERM HUP

fail() {
  echo "check-package: $*" >&2
  exit 1
}

# cpack packs the programs as they are built in <build-dir> (it builds
# nothing itself). Build the package afresh, so the one .deb in the output
# folder is this one.
rm -f "$output"/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$output" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$output"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb in $output, found: ${debs[*]}"
deb=${debs[0]}
echo "package: $deb"

# What the package holds.
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
icon_path=./usr/share/icons/hicolor/scalable/apps/kestrova-px9-tester.svg
for path in ./usr/bin/px9tester9x ./usr/bin/px9tester \
            ./usr/share/applications/kestrova-px9tester9x.desktop \
            ./usr/share/applications/kestrova-px9tester.desktop "$icon_path"; do
  grep -qxF "$path" <<<"$contents" || fail "package lacks $path"
done

# What it declares: the project's version, the Qt widgets library found by
# dpkg-shlibdeps, and what Qt loads at run time.
project_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
version=$(dpkg-deb -f "$deb" Version)
[ "$version" = "$project_version" ] || fail "package version $version, project version $project_version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dependency in 'libqt6widgets6[a-z0-9]*' qt6-qpa-plugins fonts-wqy-microhei; do
  grep -Eq "(^|, )$dependency( |,|\$)" <<<"$depends" || fail "Depends lacks $dependency"
done

# Unpack as dpkg would install it.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop entries do not validate"

# Installed programs must find their libraries in the system, not in this
# build or source tree (CMake drops the build RPATH on install).
for program in "$root"/usr/bin/*; do
  run_paths=$(readelf -d "$program" | grep -E '\((RPATH|RUNPATH)\)' || true)
  if grep -qF -e "$build" -e "$source_dir" <<<"$run_paths"; then
    fail "$(basename "$program") keeps a run path into the build: $run_paths"
  fi
done

# A private X server; it takes a free display number itself and writes it
# to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp \
  3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  grep -q '^[0-9][0-9]*$' "$scratch/display" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; fail "Xvfb did not start"; }
  sleep 0.1
done
grep -q '^[0-9][0-9]*$' "$scratch/display" || fail "Xvfb gave no display number"
display=:$(cat "$scratch/display")
echo "Xvfb on $display"

# Each desktop entry's program, started from the unpacked root with nothing
# from the caller's environment, must open a window captioned with the
# entry's Name.
for entry in "$root"/usr/share/applications/*.desktop; do
  exec_name=$(sed -n 's/^Exec=//p' "$entry")
  name=$(sed -n 's/^Name=//p' "$entry")
  icon=$(sed -n 's/^Icon=//p' "$entry")
  program=$root/usr/bin/$exec_name
  [ -x "$program" ] || fail "$(basename "$entry"): Exec=$exec_name is not a program of the package"
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    fail "$(basename "$entry"): Icon=$icon is not in the package"

  runtime=$(mktemp -d "$scratch/runtime.XXXXXX")
  chmod 0700 "$runtime"
  env -i PATH=/usr/bin:/bin HOME="$scratch" LANG=C.UTF-8 DISPLAY="$display" \
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" \
    "$program" >"$scratch/$exec_name.log" 2>&1 &
  program_pid=$!

  # xdotool matches names as extended regular expressions.
  pattern="^$(sed 's/[][\.*^$()+?{}|]/\\&/g' <<<"$name")\$"
  window=
  deadline=$((SECONDS + 20))
  while [ "$SECONDS" -lt "$deadline" ]; do
    window=$(DISPLAY=$display xdotool search --name "$pattern" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$program_pid" 2>/dev/null ||
      { cat "$scratch/$exec_name.log" >&2; fail "$exec_name exited before showing its window"; }
    sleep 0.1
  done
  [ -n "$window" ] || { cat "$scratch/$exec_name.log" >&2; fail "no window named '$name' from $exec_name within 20 s"; }
  echo "$exec_name: window $window '$name'"

  kill -TERM "$program_pid"
  wait "$program_pid" 2>/dev/null || true
  program_pid=
done
echo "check-package: ok"
