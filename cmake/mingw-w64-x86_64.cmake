# Cross-compiles Pelgar for 64-bit Windows with Debian's mingw-w64, the posix thread variant
# (the win32 variant has no std::thread or std::mutex). Everything is linked statically, so
# pelgar.exe needs no MinGW DLL beside it. Programs built here run under Wine on this machine,
# which is how the tests run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELGAR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELGAR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELGAR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PELGAR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PELGAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Debian's 64-bit loader itself: the wine wrapper also looks for a 32-bit Wine and says so.
find_program(PELGAR_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(PELGAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PELGAR_WINE})
endif()
