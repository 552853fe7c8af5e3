# The package preset builds as Debian builds its own packages: with the compiler and linker
# flags that dpkg-buildflags gives for PELGAR_DEB_BUILD_MAINT_OPTIONS (the preset asks for
# hardening=+all: the stack protector, fortified C library calls, read-only relocations and
# immediate binding; executables are position independent by the compiler's default). They
# are asked for at every configure, so they follow the system's dpkg and DEB_BUILD_OPTIONS.
set(PELGAR_DEB_BUILD_MAINT_OPTIONS "" CACHE STRING
    "Build with the flags dpkg-buildflags gives for these maintainer options (empty: no)")
if(NOT PELGAR_DEB_BUILD_MAINT_OPTIONS)
  return()
endif()

find_program(PELGAR_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
# Each kind of flags as dpkg-buildflags prints it; run from the source folder, so that the
# debugging information names the sources relative to it (-ffile-prefix-map).
function(pelgar_dpkg_buildflags kind out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=${PELGAR_DEB_BUILD_MAINT_OPTIONS}"
            ${PELGAR_DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(${out} "${flags}" PARENT_SCOPE)
endfunction()

# CMake passes no CPPFLAGS of its own: the preprocessor's (_FORTIFY_SOURCE) go with the
# compiler's.
pelgar_dpkg_buildflags(CPPFLAGS cppflags)
pelgar_dpkg_buildflags(CXXFLAGS cxxflags)
pelgar_dpkg_buildflags(LDFLAGS ldflags)
string(APPEND CMAKE_CXX_FLAGS " ${cppflags} ${cxxflags}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${ldflags}")
message(STATUS "Debian build flags (${PELGAR_DEB_BUILD_MAINT_OPTIONS}): ${cppflags} ${cxxflags} ${ldflags}")
