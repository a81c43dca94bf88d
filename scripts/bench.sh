#!/bin/sh
# Builds the benchmarks in release mode and runs them; arguments go to every benchmark program (for
# example --benchmark_filter=Fresh). On a shared machine, run it under nice and read the ratios, which
# the paired benchmarks measure side by side.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q "ok installed" ||
  $SUDO apt-get install -y -qq libbenchmark-dev
dpkg-query -W -f='${Status}' libpugixml-dev 2>/dev/null | grep -q "ok installed" ||
  $SUDO apt-get install -y -qq libpugixml-dev
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DZELK_BUILD_BENCH=ON -DZELK_BUILD_TESTS=OFF >/dev/null

# Packet encoding and the transfers: keys, light, firmware (its host side apart from the virtual
# keyboard's image assembly).
cmake --build build-bench -j2 --target hwi_bench
./build-bench/bin/hwi_bench "$@"

# Loading and saving a 27.6 MB profile against pugixml doing the same work, in one process and as fresh
# processes (with peak memory), and how both grow with the file. Targets: load plus save as fresh
# processes within 1.2 times pugixml's time and no more memory; repeated in one process within 1.5.
cmake --build build-bench -j2 --target profile_bench
./build-bench/bin/profile_bench "$@"

# The undo history of 100 steps on the largest profile: the heap it holds beside the model's.
cmake --build build-bench -j2 --target history_bench
./build-bench/bin/history_bench "$@"

# Cold start of the desktop program to the main window's first paint with the virtual keyboard, and its
# resident memory then. Under Xvfb (on a display it finds free) when it is installed, as on a desktop;
# else on the offscreen platform.
cmake --build build-bench -j2 --target shell_bench
runtime="$(mktemp -d)"; chmod 700 "$runtime"
status=0
if command -v Xvfb >/dev/null 2>&1; then
  work=$runtime
  . scripts/private-xvfb.sh
  if start_private_xvfb 90 1280x1024x24; then
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" ./build-bench/bin/shell_bench "$@" || status=$?
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  else
    echo "bench.sh: Xvfb did not start" >&2
    status=1
  fi
else
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" ./build-bench/bin/shell_bench "$@" || status=$?
fi
rm -rf "$runtime"
exit "$status"
