# What `cmake --install` puts where, and the Debian package CPack makes of it
# (scripts/package.sh).
include(GNUInstallDirs)

install(TARGETS pelgar pelgar-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The desktop window: its menu entry and Pelgar's icon, found by name ("pelgar").
install(FILES hosts/qt/pelgar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES hosts/qt/pelgar.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_BINARY_DIR}/docs/pelgar.1 ${CMAKE_BINARY_DIR}/docs/pelgar-sim.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(PELGAR_PACKAGE_MAINTAINER "Pelgar developers" CACHE STRING
    "The Debian package's maintainer, \"Name <address>\"")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelgar)
set(CPACK_PACKAGE_VENDOR "Pelgar developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure magnetic stripe readers on a serial port")
set(CPACK_PACKAGE_DESCRIPTION
    "Pelgar reads and changes the configuration of a magnetic stripe reader (MSR) on a
serial port: options, sentinels, data wrappers, carriage returns, the keyboard-wedge
language. It applies configuration files unattended from a script, sends raw command
frames and replaces the reader's firmware. pelgar-sim, a simulated reader on a
pseudo-terminal, lets all of it be tried without hardware.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PELGAR_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps (dpkg-dev) works out the libraries the executables need.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the window loads at run time, which dpkg-shlibdeps cannot see: the display's platform
# plugin and the SVG plugin that draws the icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
include(CPack)
