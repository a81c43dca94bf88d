#!/bin/sh
# Builds the libFuzzer harnesses with clang (every one of them, so none stops linking unnoticed) and
# runs one, or each in turn, for the given number of seconds.
# Usage: scripts/fuzz.sh TARGET|all SECONDS [extra libFuzzer options]
#   TARGET   fuzz_xml (parsing, navigation, attributes, building), fuzz_profile (LoadProfile),
#            fuzz_firmware (firmware text through the facade to the virtual keyboard), fuzz_key_read
#            (the key read's, light read's and version query's replies from a fake device, rebuilt
#            into a model) or fuzz_state (the virtual keyboard's state file)
# The build goes to build-fuzz (ZELK_FUZZ_BUILD_DIR to change it); the growing corpus is kept in
# BUILD/corpus-TARGET, seeded from tests/fuzz/seeds-TARGET (the test documents for fuzz_xml); crashes
# land in BUILD/crashes-TARGET.
set -eu
[ $# -ge 2 ] || { echo "usage: $0 TARGET SECONDS [libFuzzer options]" >&2; exit 2; }
target=$1
seconds=$2
shift 2
cd "$(dirname "$0")/.."
root=$(pwd)
build=${ZELK_FUZZ_BUILD_DIR:-$root/build-fuzz}

SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
missing=""
for p in clang libclang-rt-14-dev cmake libhidapi-dev pkg-config; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
fi

cmake --preset fuzz -B "$build" >/dev/null
nice -n 10 cmake --build "$build" -j2

if [ "$target" = all ]; then
  for each in fuzz_xml fuzz_profile fuzz_firmware fuzz_key_read fuzz_state; do
    "$root/scripts/fuzz.sh" "$each" "$seconds" "$@"
  done
  exit 0
fi

corpus=$build/corpus-$target
crashes=$build/crashes-$target
mkdir -p "$corpus" "$crashes"
case $target in
  fuzz_xml) seeds=$root/tests/xml/corpus ;;
  *) seeds=$root/tests/fuzz/seeds-$target ;;
esac
if [ -d "$seeds" ]; then
  cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
fi
# The demo profile is a seed of the profile reader too.
[ "$target" = fuzz_profile ] && cp -n "$root/res/demo.pro" "$corpus"/ 2>/dev/null || true

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
exec nice -n 10 "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix="$crashes/" "$@" "$corpus"
