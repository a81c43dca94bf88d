#!/bin/sh
# Builds the benchmarks in release mode and runs them.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q "ok installed" ||
  $SUDO apt-get install -y -qq libbenchmark-dev
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DZELK_BUILD_BENCH=ON -DZELK_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j2 --target hwi_bench
./build-bench/bin/hwi_bench "$@"
