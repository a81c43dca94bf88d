#!/bin/sh
# Fails, naming the files, when a C++ source of the tree differs from what clang-format makes of it.
# The layout is clang-format 14's (Debian 12's clang-format): another major version lays some code out
# differently, so it is refused rather than let the layout drift with the tool.
set -eu
cd "$(dirname "$0")/.."
. scripts/pinned-llvm-tool.sh
format=$(pinned_llvm_tool clang-format 14 format-check) || exit 1
drift=""
for file in $(git ls-files '*.cpp' '*.h'); do
    "$format" --dry-run --Werror "$file" >/dev/null 2>&1 || drift="$drift $file"
done
if [ -n "$drift" ]; then
    echo "format-check: not formatted:$drift" >&2
    exit 1
fi
