#!/bin/sh
# Builds the benchmarks in release mode and runs them.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q "ok installed" ||
  $SUDO apt-get install -y -qq libbenchmark-dev
dpkg-query -W -f='${Status}' libpugixml-dev 2>/dev/null | grep -q "ok installed" ||
  $SUDO apt-get install -y -qq libpugixml-dev
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DZELK_BUILD_BENCH=ON -DZELK_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j2 --target hwi_bench
./build-bench/bin/hwi_bench "$@"

# Loading and saving a large profile against pugixml (target: within 3x, well under a second).
cmake --build build-bench -j2 --target profile_bench
./build-bench/bin/profile_bench

# Cold start of the desktop program to the main window's first paint with the virtual keyboard, and
# its resident memory then (targets: under 300 ms, under 100 MB). Under Xvfb when it is installed, as
# on a desktop; else on the offscreen platform.
cmake --build build-bench -j2 --target shell_bench
runtime="$(mktemp -d)"; chmod 700 "$runtime"
if command -v Xvfb >/dev/null 2>&1; then
  Xvfb :93 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  sleep 1
  DISPLAY=:93 QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" ./build-bench/bin/shell_bench || status=$?
  kill "$xvfb" 2>/dev/null || true
  [ "${status:-0}" -eq 0 ] || exit "$status"
else
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" ./build-bench/bin/shell_bench
fi
rm -rf "$runtime"
