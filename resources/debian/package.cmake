# The Debian package: `cpack -G DEB` in a build folder (scripts/package.sh builds a release one).
set(CPACK_PACKAGE_NAME tarvenor)
set(CPACK_PACKAGE_VENDOR "The Tarvenor developers")
set(CPACK_PACKAGE_CONTACT "The Tarvenor developers <maintainers@tarvenor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration program of the Tarvenor gaming keyboard")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvenor sets up the Tarvenor gaming keyboard: key assignments, macros
stored in the keyboard, per-key RGB lighting, the report rate and the three
hardware profiles, with import and export of the whole configuration. It
lives in the notification area; tarvenor-cli does the same without windows.
.
The udev rule included gives the user logged in at the seat access to the
keyboard. A virtual keyboard is included, so the program can be tried
without the hardware.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The program finds its files relative to /usr/bin, and the autostart entry goes to /etc.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TARVENOR_HOMEPAGE})
# The libraries every installed file links; the service library that the program loads by name
# is one of those files, so its hidapi is among them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# What a desktop needs beyond the libraries: Qt's platform plugin for Wayland sessions, a font
# with Chinese characters (the language file's other language; a system with only DejaVu shows
# empty boxes) and Qt's own translations for its standard dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-wayland, fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
# Reload the udev rules so that a keyboard plugged in already gets (or loses) the access. The
# libraries are private, so there is no ldconfig to run.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/postinst
    ${CMAKE_CURRENT_LIST_DIR}/postrm ${CMAKE_CURRENT_LIST_DIR}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
