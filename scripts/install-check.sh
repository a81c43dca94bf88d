#!/bin/sh
# Checks the installation of a build: installs it into a temporary prefix, moves that prefix, runs the
# installed programs from their new place, validates the desktop entry and the metainfo, and builds
# the .deb with CPack. Needs what `scripts/setup.sh test` installs.
# Usage: scripts/install-check.sh [BUILD_DIR]   (default: build)
set -eu
build=${1:-build}
work=$(mktemp -d)
zelk=
finish() {
  [ -z "$zelk" ] || kill "$zelk" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "install-check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/installed" >/dev/null
mv "$work/installed" "$work/moved"
prefix=$work/moved
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
"$prefix/bin/zelk-cli" --version | grep -qx "zelk-cli [0-9.]*" || fail "zelk-cli --version"
readelf -d "$prefix/bin/zelk-cli" | grep -q 'RUNPATH.*\$ORIGIN' || fail "zelk-cli has no relative RUNPATH"
# A profile round trip on the virtual keyboard exercises the installed library.
"$prefix/bin/zelk-cli" --virtual-keyboard="$work/keyboard" read "$work/read.pro" >/dev/null || fail "zelk-cli read"
"$prefix/bin/zelk-cli" show --json "$work/read.pro" | grep -q '"format": 1' || fail "zelk-cli show --json"

for file in share/man/man1/zelk-cli.1.gz lib/udev/rules.d/70-zelk.rules share/bash-completion/completions/zelk-cli; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
bash -c '. "$1" && complete -p zelk-cli' sh "$prefix/share/bash-completion/completions/zelk-cli" >/dev/null ||
  fail "the bash completion does not load"

if [ -x "$prefix/bin/Zelk" ]; then
  "$prefix/bin/Zelk" --version | grep -qx "Zelk [0-9.]*" || fail "Zelk --version"
  for file in share/zelk/ZelkRES.rcc share/zelk/manual/index.html share/zelk/manual/index.zh-CN.html \
      share/icons/hicolor/16x16/apps/zelk.png share/icons/hicolor/256x256/apps/zelk.png share/man/man1/Zelk.1.gz; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
  done
  report=$(desktop-file-validate "$prefix/share/applications/zelk.desktop" 2>&1) || fail "desktop entry: $report"
  report=$(appstream-util validate-relax --nonet "$prefix/share/metainfo/zelk.metainfo.xml" 2>&1) ||
    fail "metainfo: $report"
  # Started without a keyboard, the moved program finds its pictures under share/zelk and goes on to
  # say that the keyboard is missing (a missing picture file says so instead); it then waits on the
  # message, so it is stopped here.
  if "$prefix/bin/zelk-cli" detect >/dev/null 2>&1; then
    echo "install-check: a keyboard is attached; the start without one is not checked"
  else
    : >"$work/zelk.err"
    "$prefix/bin/Zelk" 2>>"$work/zelk.err" &
    zelk=$!
    tries=0
    until grep -q "^Zelk: " "$work/zelk.err" || ! kill -0 "$zelk" 2>/dev/null || [ "$tries" -ge 600 ]; do
      sleep 0.1
      tries=$((tries + 1))
    done
    kill "$zelk" 2>/dev/null || true
    wait "$zelk" 2>/dev/null || true
    zelk=
    grep -q "^Zelk: Keyboard is not connected!" "$work/zelk.err" || fail "the moved Zelk: $(cat "$work/zelk.err")"
    grep -q -- "--virtual-keyboard" "$work/zelk.err" || fail "Zelk names no way to try it without a keyboard"
  fi
fi

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null 2>"$work/cpack.err" ||
  fail "cpack: $(cat "$work/cpack.err")"
deb=$(ls "$work"/package/*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
for package in libhidapi-hidraw0 libqt6widgets6 fonts-noto-cjk; do
  case $depends in *"$package"*) ;; *) fail "the package does not depend on $package" ;; esac
done
contents=$(dpkg-deb --contents "$deb")
case $contents in *"/lib/udev/rules.d/70-zelk.rules"*) ;; *) fail "the package has no udev rule" ;; esac
echo "install-check: installed, moved and packaged $(basename "$deb")"
