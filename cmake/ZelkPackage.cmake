# The Debian package (scripts/package.sh runs `cpack -G DEB` on a build configured for /usr).
set(CPACK_PACKAGE_NAME zelk)
set(CPACK_PACKAGE_VENDOR "Zelk")
set(CPACK_PACKAGE_CONTACT "${ZELK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for the Zelk 87-key USB gaming keyboard")
# Lines of at most 79 characters: the control file indents each by one.
set(CPACK_PACKAGE_DESCRIPTION
    "Zelk sets the key assignments (single keys, combinations, recorded macros,\n"
    "emulated keystrokes, multimedia, mouse, function and power keys) on both\n"
    "layers of the Zelk 87-key keyboard (USB 0483:5021) and the backlight colour\n"
    "of every key, saves and opens profiles, reads the settings back and updates\n"
    "the firmware. It comes as a desktop program (Zelk) and a command-line tool\n"
    "(zelk-cli), with the private device library both use. Both run on a\n"
    "built-in virtual keyboard when no keyboard is attached.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(ZELK_PROJECT_URL)
  set(CPACK_PACKAGE_HOMEPAGE_URL "${ZELK_PROJECT_URL}")
endif()
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies (Qt 6 widgets and gui with its X11 platform plugin, hidapi's hidraw
# library, the C++ runtime) come from dpkg-shlibdeps; the CJK font the Chinese texts need from here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# The program starts in Chinese, so a CJK font is needed from the start; any of three will do.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-wqy-microhei | fonts-arphic-ukai")
# Wayland sessions need Qt's Wayland platform (without it the program runs through Xwayland); Qt's own
# dialogs need its translations to speak Chinese; Help opens the manual through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, qt6-wayland, qt6-translations-l10n, xdg-utils")
# The udev rule takes effect when installed or removed (postinst, postrm). The library lies outside
# the linker's search path (found through the programs' RUNPATH), so no ldconfig trigger is needed.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/cmake/debian/postinst
    ${PROJECT_SOURCE_DIR}/cmake/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
