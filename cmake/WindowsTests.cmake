# The Qt-free core built for 64-bit Windows with the MinGW-w64 cross compiler
# into windows/ below this build, and its tests run under Wine as tests of
# this build: the core tests (each test a ctest test of its own) and the
# comparison of horonpa-solver.exe with the Linux tool, all with the label
# "windows".
#
# windows/ is an ordinary configuration with the toolchain file, so
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# builds the same on its own. Its programs run through windows/wine-run, which
# makes the Wine prefix and the Japanese locale there on first use and keeps
# them (see cmake/wine-run.in).
include(ExternalProject)

foreach(tool x86_64-w64-mingw32-g++-posix wine localedef)
    find_program(_found_${tool} ${tool})
    if(NOT _found_${tool})
        message(FATAL_ERROR "The Windows tests need ${tool}: run scripts/install-deps")
    endif()
endforeach()

set(HORONPA_WINDOWS_BUILD_DIR ${CMAKE_BINARY_DIR}/windows)

# Optimised a little and without debugging information: the cross build takes
# a third less time than a release build, and the tests run almost as fast.
# The programs are linked statically, so that Wine finds no MinGW run-time
# DLL missing.
ExternalProject_Add(horonpa_windows
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${HORONPA_WINDOWS_BUILD_DIR}
    PREFIX ${CMAKE_BINARY_DIR}/windows-stamps
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
        -DCMAKE_BUILD_TYPE=Release
        "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG"
        -DCMAKE_EXE_LINKER_FLAGS=-static
        -DHORONPA_BUILD_GUI=OFF
        -DHORONPA_BUILD_TESTS=ON
        -DHORONPA_REQUIRE_TEST_LIBS=ON
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    TEST_COMMAND "")

# ctest here also runs the tests of windows/.
file(WRITE ${CMAKE_BINARY_DIR}/WindowsTests.cmake "subdirs(\"${HORONPA_WINDOWS_BUILD_DIR}\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/WindowsTests.cmake)

# horonpa-solver.exe prints what horonpa-solver prints.
add_test(NAME WindowsSolverToolMatchesLinux
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/compare-solver.sh
            $<TARGET_FILE:horonpa-solver> ${HORONPA_WINDOWS_BUILD_DIR}/wine-run
            ${HORONPA_WINDOWS_BUILD_DIR}/tools/horonpa-solver.exe)
set_tests_properties(WindowsSolverToolMatchesLinux PROPERTIES LABELS windows TIMEOUT 300)
