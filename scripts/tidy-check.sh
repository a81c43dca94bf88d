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
wanted=14
tidy=
for candidate in clang-tidy-$wanted clang-tidy; do
    if command -v "$candidate" >/dev/null; then
        tidy=$candidate
        break
    fi
done
[ -n "$tidy" ] || { echo "tidy-check: clang-tidy is missing (scripts/setup.sh test installs it)" >&2; exit 1; }
version=$("$tidy" --version | sed -n 's/.*LLVM version \([0-9][0-9]*\)\..*/\1/p')
if [ "$version" != "$wanted" ]; then
    echo "tidy-check: $tidy is version ${version:-unknown}, but the checks are clang-tidy $wanted's;" \
        "install clang-tidy $wanted (clang-tidy-$wanted)" >&2
    exit 1
fi

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
