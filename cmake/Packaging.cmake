# What `cmake --install` puts where, and the Debian package CPack makes of it
# (scripts/package.sh; tests/package/check_package.sh checks the result).
include(GNUInstallDirs)

# The programs, each installed with its manual page docs/<program>.1.in: a new program is one
# more name here.
set(PELGAR_PROGRAMS pelgar pelgar-sim pelgarctl)

set(PELGAR_PACKAGE_MAINTAINER "Pelgar developers <pelgar@users.noreply.example>" CACHE STRING
    "The Debian package's maintainer, \"Name <address>\"")
if(NOT PELGAR_PACKAGE_MAINTAINER MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$")
  message(FATAL_ERROR "PELGAR_PACKAGE_MAINTAINER is \"${PELGAR_PACKAGE_MAINTAINER}\", "
                      "not \"Name <address>\"")
endif()
set(PELGAR_HOMEPAGE "https://pelgar.example.org" CACHE STRING
    "Where Pelgar is published; its screenshots are under /screenshots there")
# The AppStream component id, reverse-DNS; software centres know the program by it, so it
# never changes once published.
set(PELGAR_APPSTREAM_ID org.example.pelgar)

set(docs ${CMAKE_BINARY_DIR}/docs)

# Compressed as Debian wants them, without a name or time stamp in the header, so that
# every build makes the same bytes.
function(pelgar_gzip out_var)
  set(outputs)
  foreach(file ${ARGN})
    add_custom_command(OUTPUT ${file}.gz
                       COMMAND gzip -9nkf ${file}
                       DEPENDS ${file}
                       VERBATIM)
    list(APPEND outputs ${file}.gz)
  endforeach()
  set(${out_var} ${outputs} PARENT_SCOPE)
endfunction()

# The executables, stripped of the compiler's notes too when the install strips (as CPack's
# does), and their manual pages.
set(pages)
foreach(program ${PELGAR_PROGRAMS})
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${program}>\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  list(APPEND pages ${docs}/${program}.1)
endforeach()
pelgar_gzip(compressed_pages ${pages})
install(FILES ${compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Completion of the command lines in bash, each file named after its program.
install(FILES completions/pelgarctl completions/pelgar-sim
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The desktop window: its menu entry, Pelgar's icon (found by name, "pelgar") and what
# software centres show of it.
install(FILES hosts/qt/pelgar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES hosts/qt/pelgar.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(PELGAR_APPSTREAM_PROVIDES)
foreach(program ${PELGAR_PROGRAMS})
  string(APPEND PELGAR_APPSTREAM_PROVIDES "    <binary>${program}</binary>\n")
endforeach()
string(STRIP "${PELGAR_APPSTREAM_PROVIDES}" PELGAR_APPSTREAM_PROVIDES)
set(PELGAR_APPSTREAM_PROVIDES "    ${PELGAR_APPSTREAM_PROVIDES}")
# The release's date is the build's: the last commit's when SOURCE_DATE_EPOCH says so.
string(TIMESTAMP PELGAR_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(packaging/${PELGAR_APPSTREAM_ID}.metainfo.xml.in
               ${docs}/${PELGAR_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${docs}/${PELGAR_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The documentation: the README, the example configuration files the manual pages point
# at, the licence as a machine-readable copyright file, and the changelog.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES examples/README.md examples/BASIC.DAT examples/CONFIG.DAT examples/WRAPPED.DAT
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# LICENSE's copyright line, and its text as the copyright format wants it: indented, blank
# lines as ".".
file(READ LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${license}")
set(PELGAR_COPYRIGHT "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]+\n" "" license "${license}")
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " PELGAR_LICENSE_TEXT " ${license}")
configure_file(packaging/copyright.in ${docs}/copyright @ONLY)
install(FILES ${docs}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# CHANGELOG.md as a Debian changelog, its newest release dated as the metainfo's.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/debian-changelog.awk)
execute_process(
  COMMAND awk -v package=${PROJECT_NAME} -v "maintainer=${PELGAR_PACKAGE_MAINTAINER}"
          -v "date=${changelog_date}" -f ${PROJECT_SOURCE_DIR}/cmake/debian-changelog.awk
          ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  OUTPUT_FILE ${docs}/changelog.new COMMAND_ERROR_IS_FATAL ANY)
file(COPY_FILE ${docs}/changelog.new ${docs}/changelog ONLY_IF_DIFFERENT)
pelgar_gzip(compressed_changelog ${docs}/changelog)
install(FILES ${compressed_changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})

add_custom_target(pelgar_compressed_docs ALL DEPENDS ${compressed_pages} ${compressed_changelog})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelgar)
set(CPACK_PACKAGE_VENDOR "Pelgar developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure magnetic stripe readers on a serial port")
# Wrapped at 79 columns: the control file puts a blank before each line.
set(CPACK_PACKAGE_DESCRIPTION
    "Pelgar reads and changes the configuration of a magnetic stripe reader (MSR) on
a serial port: options, sentinels, data wrappers, carriage returns and the
keyboard-wedge language. It keeps configurations in files and applies them to
other readers, from its window or unattended from a script, sends raw command
frames and replaces the reader's firmware from an Intel HEX file.
.
pelgar-sim, a simulated reader on a pseudo-terminal, lets all of it be tried
without hardware.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PELGAR_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PELGAR_HOMEPAGE}")
# dpkg-shlibdeps (dpkg-dev) works out the libraries the executables need.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the window loads at run time, which dpkg-shlibdeps cannot see: the display's platform
# plugin and the SVG plugin that draws the icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
include(CPack)
