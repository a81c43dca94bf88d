# Sourced by format-check.sh and tidy-check.sh: pinned_llvm_tool TOOL VERSION CHECK prints the command of
# TOOL (clang-format, clang-tidy) at major VERSION, TOOL-VERSION first, else TOOL when it is that
# version; fails, saying so as CHECK, when neither is installed or TOOL is another version (another
# major version lays code out or names its checks differently).
pinned_llvm_tool() {
    local name=$1 wanted=$2 check=$3 candidate found= version
    for candidate in "$name-$wanted" "$name"; do
        if command -v "$candidate" >/dev/null; then
            found=$candidate
            break
        fi
    done
    [ -n "$found" ] || { echo "$check: $name is missing (scripts/setup.sh test installs it)" >&2; return 1; }
    version=$("$found" --version | sed -n 's/.*version \([0-9][0-9]*\)\..*/\1/p' | head -n 1)
    if [ "$version" != "$wanted" ]; then
        echo "$check: $found is version ${version:-unknown}, but the check is made with $name $wanted;" \
            "install $name-$wanted" >&2
        return 1
    fi
    echo "$found"
}
