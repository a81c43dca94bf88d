# The Debian package (scripts/package.sh runs `cpack -G DEB` on a build configured for /usr).
set(CPACK_PACKAGE_NAME zelk)
set(CPACK_PACKAGE_VENDOR "Zelk")
set(CPACK_PACKAGE_CONTACT "Zelk maintainers <maintainers@zelk.invalid>" CACHE STRING "Maintainer of the package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for the Zelk 87-key USB gaming keyboard")
set(CPACK_PACKAGE_DESCRIPTION
    "Zelk sets the key assignments (single keys, combinations, recorded macros, emulated keystrokes,\n"
    "multimedia, mouse, function and power keys) on both layers of the Zelk 87-key keyboard\n"
    "(USB 0483:5021), the backlight colour of every key, saves and opens profiles, reads the\n"
    "settings back and updates the firmware. It comes as a desktop program (Zelk), a command-line\n"
    "tool (zelk-cli) and the device library both use. Both run on a built-in virtual keyboard\n"
    "when no keyboard is attached.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "${ZELK_PROJECT_URL}")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies (Qt 6 widgets and gui with its X11 platform plugin, hidapi's hidraw
# library, the C++ runtime) come from dpkg-shlibdeps; the CJK font the Chinese texts need from here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
# Wayland sessions need Qt's Wayland platform; without it the program runs through Xwayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, qt6-wayland")
# The udev rule takes effect when installed or removed (postinst, postrm); the library cache is renewed
# by the ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/cmake/debian/postinst
    ${PROJECT_SOURCE_DIR}/cmake/debian/postrm
    ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
