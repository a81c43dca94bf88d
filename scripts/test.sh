#!/bin/sh
# Installs what testing needs, builds (with AddressSanitizer and UndefinedBehaviorSanitizer), runs
# every test, and checks an installation of that build; the sources must be as clang-format lays
# them out.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh test
./scripts/format-check.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DZELK_SANITIZE=ON >/dev/null
cmake --build build-test -j2
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir build-test --output-on-failure -j2
./scripts/install-check.sh build-test
./scripts/windows-check.sh
