#!/bin/sh
# Checks the installation of a build: installs it into a temporary prefix, moves that prefix, runs the
# installed programs from their new place, validates the desktop entry, the metainfo and the profiles'
# MIME type, and builds the .deb with CPack and checks it with lintian (and, for a build with
# ZELK_DPKG_BUILDFLAGS such as the package preset's, its binaries' hardening). Needs what
# `scripts/setup.sh test` installs.
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
readelf -d "$prefix/bin/zelk-cli" | grep -q 'RUNPATH.*\$ORIGIN/\.\./lib.*/zelk' || fail "zelk-cli has no relative RUNPATH"
# The library is private: in a folder of its own, none in the linker's search path.
[ -n "$(find "$prefix" -path '*/lib*/zelk/libZelkHWI.so.1')" ] || fail "libZelkHWI.so.1 is not under lib/zelk"
[ -z "$(find "$prefix" -path '*/lib*/libZelkHWI.so*' ! -path '*/zelk/*')" ] || fail "libZelkHWI is in a public folder"
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
  bash -c '. "$1" && complete -p Zelk' sh "$prefix/share/bash-completion/completions/Zelk" >/dev/null ||
    fail "the program's bash completion does not load"
  for file in share/zelk/ZelkRES.rcc share/zelk/manual/index.html share/zelk/manual/index.zh-CN.html \
      share/icons/hicolor/16x16/apps/zelk.png share/icons/hicolor/256x256/apps/zelk.png share/man/man1/Zelk.1.gz; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
  done
  # One profile may follow the options; a second operand is a usage error.
  status=0
  "$prefix/bin/Zelk" --virtual-keyboard one.pro two.pro 2>"$work/zelk.err" || status=$?
  [ "$status" -eq 2 ] && grep -q "^Zelk: unexpected argument two.pro" "$work/zelk.err" ||
    fail "Zelk with two profiles: $status $(cat "$work/zelk.err")"
  id=io.github.zelk.Zelk
  report=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) || fail "desktop entry: $report"
  report=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) ||
    fail "metainfo: $report"
  # A profile is known by its root element; another .pro file (a qmake project, other XML) is not.
  XDG_DATA_DIRS="$prefix/share:/usr/share" update-mime-database "$prefix/share/mime" || fail "update-mime-database"
  cp "$(dirname "$0")/../res/demo.pro" "$work/profile.pro"
  printf 'TEMPLATE = app\nSOURCES += main.cpp\n' >"$work/qmake.pro"
  printf '<?xml version="1.0"?>\n<Project/>\n' >"$work/other.pro"
  for file in profile:application/x-zelk-profile qmake:text/plain other:application/xml; do
    type=$(XDG_DATA_DIRS="$prefix/share:/usr/share" xdg-mime query filetype "$work/${file%%:*}.pro")
    [ "$type" = "${file#*:}" ] || fail "${file%%:*}.pro is $type, not ${file#*:}"
  done
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
for package in libhidapi-hidraw0 libqt6widgets6 "fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-ukai"; do
  case $depends in *"$package"*) ;; *) fail "the package does not depend on $package" ;; esac
done
recommends=$(dpkg-deb --field "$deb" Recommends)
[ "$recommends" = "udev, qt6-wayland, qt6-translations-l10n, xdg-utils" ] || fail "Recommends: $recommends"
report=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $report"
if grep -q '^ZELK_DPKG_BUILDFLAGS:BOOL=ON' "$build/CMakeCache.txt"; then
  dpkg-deb --extract "$deb" "$work/deb"
  for binary in "$work"/deb/usr/bin/zelk-cli "$work"/deb/usr/bin/Zelk "$work"/deb/usr/lib/*/zelk/libZelkHWI.so.1; do
    [ -f "$binary" ] || continue
    name=$(basename "$binary")
    readelf -lW "$binary" | grep -q GNU_RELRO || fail "$name: no RELRO"
    readelf -dW "$binary" | grep -q 'FLAGS.*NOW' || fail "$name: no BIND_NOW"
    readelf -hW "$binary" | grep -q 'Type:.*DYN' || fail "$name: not position independent"
    symbols=$(readelf --dyn-syms -W "$binary")
    case $symbols in *__stack_chk_fail*) ;; *) fail "$name: no stack protector" ;; esac
    # The library calls no function that has a fortified form; the programs do.
    case $name:$symbols in libZelkHWI* | *_chk@*) ;; *) fail "$name: no fortified functions" ;; esac
  done
fi
contents=$(dpkg-deb --contents "$deb")
case $contents in *"/lib/udev/rules.d/70-zelk.rules"*) ;; *) fail "the package has no udev rule" ;; esac
echo "install-check: installed, moved and packaged $(basename "$deb")"
