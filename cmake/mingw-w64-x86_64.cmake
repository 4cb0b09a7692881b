# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compiler, the
# posix-threads flavour (std::thread and std::mutex need it).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HORONPA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HORONPA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HORONPA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${HORONPA_MINGW_PREFIX}-windres)

# Headers and libraries of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${HORONPA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
