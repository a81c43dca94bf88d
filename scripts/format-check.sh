#!/bin/sh
# Fails, naming the files, when a C++ source of the tree differs from what clang-format makes of it.
set -eu
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "format-check: clang-format is missing" >&2; exit 1; }
drift=""
for file in $(git ls-files '*.cpp' '*.h'); do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || drift="$drift $file"
done
if [ -n "$drift" ]; then
    echo "format-check: not formatted:$drift" >&2
    exit 1
fi
