#!/bin/sh
# Builds the Debian package of Zelk: a release build for /usr, packed by CPack into dist/.
#   scripts/package.sh         then: sudo apt install ./dist/zelk_*.deb
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh package
cmake --preset package >/dev/null
cmake --build --preset package
mkdir -p dist
cpack --config build-package/CPackConfig.cmake -G DEB -B "$(pwd)/build-package/cpack" >/dev/null
mv build-package/cpack/*.deb dist/
ls dist/*.deb
