#!/bin/sh
# Checks the Windows build of the Qt-free part of Zelk: cross-compiles the device library, the core,
# zelk-cli and the GoogleTest programs of hwi, model, catalogue, xml and cli with MinGW-w64 into
# build-windows, runs every test program under Wine, then drives zelk-cli.exe against the virtual
# keyboard, on a console too. scripts/test.sh runs it last. Wine's first run makes a prefix of about
# 700 MB in the build folder. Skipped, and says so, only where MinGW-w64 or Wine cannot be installed.
#   scripts/windows-check.sh            install, build, test, smoke-test
#   BUILD_DIR=... WINEPREFIX=... scripts/windows-check.sh
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${BUILD_DIR:-$ROOT/build-windows}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
TRIPLE=x86_64-w64-mingw32
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
started=$(date +%s)

skip() {
  echo "windows-check: SKIPPED, $*" >&2
  exit 0
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=""
for p in cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64; do
  installed "$p" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  command -v apt-get >/dev/null 2>&1 || skip "not a Debian system; it needs:$missing"
  if ! { $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq \
    --no-install-recommends $missing >/dev/null; }; then
    skip "the MinGW-w64 and Wine packages could not be installed:$missing"
  fi
fi

export WINEPREFIX="${WINEPREFIX:-$BUILD/wine}"
export WINEDEBUG=-all
# No Mono or Gecko: their install prompts would wait for a person.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
mkdir -p "$BUILD"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "windows-check: creating the Wine prefix $WINEPREFIX (first run only, about 700 MB)"
  timeout 600 wineboot --init >/dev/null 2>&1 || true
fi
# One Wine server for every program of the run, ended with it.
wineserver -p >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
WINE="sh $ROOT/cmake/wine-run.sh"

# GoogleTest for Windows, from the sources Debian ships, built once with the same toolchain.
GTEST=$BUILD/googletest
if [ ! -f "$GTEST/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$BUILD/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$GTEST" >/dev/null
  cmake --build "$BUILD/googletest-build" -j2 >/dev/null
  cmake --install "$BUILD/googletest-build" >/dev/null
fi

# The test programs are run below, each as a whole: none is run under Wine while building to list its
# tests, where the first Wine program of a fresh server can take longer to start than listing may.
# nlohmann-json is header-only: the cross build sees its headers alone, not the build machine's others.
mkdir -p "$BUILD/json-include"
ln -sfn /usr/include/nlohmann "$BUILD/json-include/nlohmann"
cmake --preset windows -B "$BUILD" --no-warn-unused-cli -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
  -DGTest_DIR="$GTEST/lib/cmake/GTest" -DZELK_NLOHMANN_JSON_DIR="$BUILD/json-include" >/dev/null
cmake --build "$BUILD" -j2 >"$BUILD/build.log" 2>&1 || {
  tail -50 "$BUILD/build.log"
  echo "windows-check: the cross build failed (all of it in $BUILD/build.log)" >&2
  exit 1
}
BIN=$BUILD/bin
built=$(date +%s)
echo "windows-check: built in $((built - started)) s"

passed=0
failed=0
# Every GoogleTest program, run as it is, under Wine.
for suite in hwi model catalogue xml cli; do
  set +e
  timeout 900 $WINE "$BIN/${suite}_tests.exe" >"$BUILD/${suite}_tests.out" 2>&1
  status=$?
  set -e
  tr -d '\r' <"$BUILD/${suite}_tests.out"
  ran=$(tr -d '\r' <"$BUILD/${suite}_tests.out" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p')
  broke=$(tr -d '\r' <"$BUILD/${suite}_tests.out" | sed -n 's/^ *\([0-9]*\) FAILED TESTS\{0,1\}$/\1/p')
  passed=$((passed + ${ran:-0}))
  failed=$((failed + ${broke:-0}))
  if [ "$status" -ne 0 ] && [ -z "$broke" ]; then
    failed=$((failed + 1))
    echo "FAIL ${suite}_tests.exe: exit $status"
  fi
  echo "windows-check: ${suite}_tests under Wine: ${ran:-0} passed, ${broke:-0} failed"
done
tested=$(date +%s)
echo "windows-check: test programs ran in $((tested - built)) s"

# The MinGW runtime beside the program, as a Windows installation would ship it.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$($TRIPLE-g++-posix -print-file-name=$dll)" "$BIN/"
done

# Legacy code pages take a Windows-only path in the markup engine, which zelk-cli cannot show (its
# profiles are ASCII): a small probe converts known texts through it.
cat >"$BUILD/encoding-probe.cpp" <<'PROBE'
#include "xml/XmlEncoding.h"
#include <cstdio>
using namespace XmlEncoding;
static int failures = 0;
static void Expect(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    failures += ok ? 0 : 1;
}
static bool Encodes(int page, std::u16string_view text, std::string_view bytes, bool lossy) {
    std::string out;
    bool loss = false;
    return ConvertFromUtf16(page, text, out, loss) && out == bytes && loss == lossy;
}
static bool Decodes(int page, std::string_view bytes, std::u16string_view text) {
    std::u16string out;
    return ConvertToUtf16(page, bytes, out) && out == text;
}
int main() {
    Expect(IsCodePageAvailable(936) && IsCodePageAvailable(1252), "GBK and windows-1252 available");
    Expect(IsCodePageAvailable(AnsiCodePage()), "the ANSI code page is available");
    Expect(Encodes(936, u"\u4E2D\u6587", "\xD6\xD0\xCE\xC4", false), "GBK written");
    Expect(Decodes(936, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"), "GBK read");
    Expect(Decodes(936, "a\x81", u"a\uFFFD"), "a cut-off GBK character read as U+FFFD");
    Expect(Decodes(1251, "\xCF\xF0\xE8", u"\u041F\u0440\u0438"), "windows-1251 read");
    Expect(Encodes(1252, u"caf\u00E9 \u20AC", "caf\xE9 \x80", false), "windows-1252 written");
    Expect(Encodes(1252, u"\u0142", "?", true), "a missing character written as ? (no best fit)");
    Expect(Encodes(1252, std::u16string{u'a', char16_t(0xD800)}, "a?", true), "a lone surrogate written as ?");
    Expect(Encodes(20127, u"caf\u00E9", "caf?", true), "us-ascii loses what it lacks");
    return failures;
}
PROBE
$TRIPLE-g++-posix -std=c++20 -O1 -Wall -Wextra -Werror -I app "$BUILD/encoding-probe.cpp" \
  "$BUILD/app/xml/libZelkXml.a" -o "$BIN/encoding-probe.exe"
echo "windows-check: built $BIN/zelk-cli.exe, $BIN/libZelkHWI.dll and $BIN/encoding-probe.exe"


SMOKE=$BUILD/smoke
rm -rf "$SMOKE"
mkdir -p "$SMOKE"
cd "$SMOKE"
cp "$ROOT/res/demo.pro" demo.pro
seq 1 700 >image.bin
$TRIPLE-objcopy -I binary -O ihex image.bin image.hex # records end with CR LF

# expect STATUS NAME ARGS...: runs zelk-cli.exe ARGS (output in NAME.out) and checks its exit status.
expect() {
  want=$1
  name=$2
  shift 2
  set +e
  timeout 300 wine "$BIN/zelk-cli.exe" "$@" >"$name.out" 2>&1
  got=$?
  set -e
  if [ "$got" -eq "$want" ]; then
    passed=$((passed + 1))
    echo "ok   $name: exit $got"
  else
    failed=$((failed + 1))
    echo "FAIL $name: exit $got, wanted $want"
    sed 's/^/     | /' "$name.out" | head -20
  fi
}
# check NAME CONDITION...: one more check that is not an exit status.
check() {
  name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
}
lines() { [ "$(wc -l <"$1")" -eq "$2" ]; }

set +e
timeout 300 wine "$BIN/encoding-probe.exe" >encoding.out 2>&1
probe=$?
set -e
tr -d '\r' <encoding.out | sed 's/^/encoding: /'
passed=$((passed + $(grep -c '^ok' encoding.out || true)))
failed=$((failed + $(grep -c '^FAIL' encoding.out || true)))
check encoding-probe test "$probe" -eq 0

VK=--virtual-keyboard=state.txt
expect 0 help --help
check help-text grep -q "Usage: zelk-cli" help.out
expect 2 no-command
expect 2 unknown-option --frobnicate version
expect 2 write-without-file $VK write
expect 0 version $VK version
check version-text grep -q "Zelk virtual keyboard" version.out
expect 0 write $VK --report-log reports.log write demo.pro
check write-text grep -q "Backlight written." write.out
check report-log test -s reports.log
expect 0 read $VK read OUT.pro
check read-file test -s OUT.pro
expect 0 show $VK show OUT.pro
check show-every-key lines show.out 87
expect 0 show-zh --lang zh-CN show OUT.pro
check show-zh-every-key lines show-zh.out 87
# The same profile declared in a legacy code page goes through the system's code page conversion.
sed 's/encoding="UTF-8"/encoding="GBK"/' OUT.pro >gbk.pro
expect 0 show-gbk show gbk.pro
check show-gbk-same cmp -s show.out show-gbk.out
expect 0 flash $VK flash image.hex
check flash-text grep -q "Firmware sent." flash.out
expect 1 flash-missing-file $VK flash missing.hex
# Saved state replaces the previous state file (a plain rename cannot on Windows).
expect 0 rewrite $VK write demo.pro
check state-kept grep -q "^firmware " state.txt
check state-replaced test ! -e state.txt.tmp
expect 0 version-after-flash $VK version

# On a console, Wine's on a pseudo-terminal that script(1) makes: Chinese shows as Chinese, and a file
# name beyond the code page reaches zelk-cli whole. The screen is read without its terminal controls.
if command -v script >/dev/null 2>&1; then
  cp OUT.pro "键盘Ω.pro"
  cat >console.sh <<CONSOLE
wine "$BIN/zelk-cli.exe" --lang zh-CN show 键盘Ω.pro
wine "$BIN/zelk-cli.exe" show 缺Ω.pro
CONSOLE
  LC_ALL=C.UTF-8 timeout 300 script -qfc "sh console.sh" /dev/null </dev/null 2>&1 |
    sed 's/\x1b\[[?0-9;]*[a-zA-Z]//g' | tr -d '\r' >console.out || true
  check console-chinese grep -q "上档键：操控键" console.out
  check console-file-name grep -q "cannot read 缺Ω.pro: No such file or directory" console.out
else
  echo "windows-check: no script(1), so no console to show zelk-cli on; the console checks are left out"
fi

echo "windows-check: $(($(date +%s) - started)) s in all"
echo "windows-check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
