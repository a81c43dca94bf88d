#!/bin/sh
# Installs what testing needs, builds (the asan preset: AddressSanitizer and UndefinedBehaviorSanitizer,
# warnings as errors) into build-test, runs every test, and checks an installation of that build; the
# sources must be as clang-format lays them out and pass clang-tidy's checks.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh test
./scripts/format-check.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
./scripts/tidy-check.sh build-test
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
ctest --preset asan
./scripts/install-check.sh build-test
./scripts/windows-check.sh
