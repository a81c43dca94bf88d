#!/bin/sh
# Runs a program of the MinGW-w64 cross build under Wine; the toolchain's CMAKE_CROSSCOMPILING_EMULATOR,
# so test discovery and ctest use it. Headless, quiet, without Wine's install prompts, and with the
# MinGW runtime (libstdc++, libgcc, winpthread) found where the compiler keeps it. The Wine prefix is
# the caller's WINEPREFIX (Wine's default: ~/.wine).
#   cmake/wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -eu
runtime=""
for dll in libstdc++-6.dll libwinpthread-1.dll; do
  file=$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)
  folder=$(cd "$(dirname "$file")" && pwd -P)
  runtime="$runtime;Z:$(printf '%s' "$folder" | tr / '\\')"
done
WINEPATH="${runtime#;}${WINEPATH:+;$WINEPATH}"
WINEDEBUG=${WINEDEBUG:--all}
WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPATH WINEDEBUG WINEDLLOVERRIDES
unset DISPLAY
if command -v wine >/dev/null 2>&1; then
  exec wine "$@"
fi
exec wine64 "$@"
