#!/bin/sh
# Builds the Debian package of Zelk: a release build for /usr, packed by CPack into dist/.
#   scripts/package.sh         then: sudo apt install ./dist/zelk_*.deb
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh package
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DZELK_BUILD_TESTS=OFF >/dev/null
cmake --build build-package -j2
mkdir -p dist
cpack --config build-package/CPackConfig.cmake -G DEB -B "$(pwd)/build-package/cpack" >/dev/null
mv build-package/cpack/*.deb dist/
ls dist/*.deb
