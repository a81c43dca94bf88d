#!/bin/sh
# Fails, naming the files, when a C++ source of the tree differs from what clang-format makes of it.
# The layout is clang-format 14's (Debian 12's clang-format): another major version lays some code out
# differently, so it is refused rather than let the layout drift with the tool.
set -eu
cd "$(dirname "$0")/.."
wanted=14
format=
for candidate in clang-format-$wanted clang-format; do
    if command -v "$candidate" >/dev/null; then
        format=$candidate
        break
    fi
done
[ -n "$format" ] || { echo "format-check: clang-format is missing (scripts/setup.sh test installs it)" >&2; exit 1; }
version=$("$format" --version | sed -n 's/.*clang-format version \([0-9][0-9]*\)\..*/\1/p')
if [ "$version" != "$wanted" ]; then
    echo "format-check: $format is version ${version:-unknown}, but the layout is clang-format $wanted's;" \
        "install clang-format $wanted (clang-format-$wanted) to check it" >&2
    exit 1
fi
drift=""
for file in $(git ls-files '*.cpp' '*.h'); do
    "$format" --dry-run --Werror "$file" >/dev/null 2>&1 || drift="$drift $file"
done
if [ -n "$drift" ]; then
    echo "format-check: not formatted:$drift" >&2
    exit 1
fi
