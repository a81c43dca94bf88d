#!/bin/sh
# Installs what running needs, builds and starts Zelk. Without a keyboard attached it starts on the
# virtual keyboard, keeping its settings in ~/.zelk-virtual-keyboard.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZELK_BUILD_TESTS=OFF >/dev/null
cmake --build build -j2
DEVICE=""
if ! ./build/bin/zelk-cli detect >/dev/null 2>&1; then
  echo "No keyboard attached: using the virtual keyboard."
  DEVICE="--virtual-keyboard=$HOME/.zelk-virtual-keyboard"
fi
if [ -x build/bin/Zelk ]; then
  echo "Zelk starts in Chinese; the language button at the top right switches to English."
  exec ./build/bin/Zelk $DEVICE "$@"
fi
exec ./build/bin/zelk-cli $DEVICE version
