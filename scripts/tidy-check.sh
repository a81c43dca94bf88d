#!/bin/sh
# Runs clang-tidy 14 (Debian 12's clang-tidy) with the checks of .clang-tidy over the product's sources
# (hwi/, app/ and cli/; not the tests), two files at a time, as the build compiles them (its
# compile_commands.json); fails on any warning. The test command runs it after its build.
#   scripts/tidy-check.sh BUILD_DIR
set -eu
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(realpath "$1")
cd "$(dirname "$0")/.."
root=$(pwd)
[ -f "$build/compile_commands.json" ] || { echo "tidy-check: no $build/compile_commands.json" >&2; exit 1; }

# Another major version brings other checks under the same names: the set was chosen with 14.
. scripts/pinned-llvm-tool.sh
tidy=$(pinned_llvm_tool clang-tidy 14 tidy-check) || exit 1

files=$(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" |
    grep -E "^$root/(hwi|app|cli)/" | sort -u)
[ -n "$files" ] || { echo "tidy-check: the build compiles none of the product's sources" >&2; exit 1; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
started=$(date +%s)
status=0
# GCC's own warning options in the compile commands are unknown to clang, and not a finding.
printf '%s\n' $files | xargs -P2 -n1 "$tidy" -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option \
    >"$log" 2>&1 || status=$?
grep -v '^[0-9]* warnings\{0,1\} generated\.$' "$log" || true
echo "tidy-check: $(printf '%s\n' $files | wc -l) files in $(($(date +%s) - started)) s"
if [ "$status" -ne 0 ]; then
    echo "tidy-check: clang-tidy found problems (above)" >&2
    exit 1
fi
