# Cross build for 64-bit Windows with MinGW-w64 (posix thread model, for std::thread and std::mutex).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DZELK_BUILD_GUI=OFF \
#         [-DZELK_BUILD_TESTS=OFF | -DGTest_DIR=<GoogleTest built with this file>/lib/cmake/GTest]
# (the windows preset of CMakePresets.json). scripts/windows-check.sh does all of it, GoogleTest
# included, and runs the tests under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees only the MinGW tree, never the build machine's Linux libraries.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${ZELK_MINGW_TRIPLE}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Test discovery and ctest run the programs under Wine (see wine-run.sh).
find_program(ZELK_WINE NAMES wine wine64)
if(ZELK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
