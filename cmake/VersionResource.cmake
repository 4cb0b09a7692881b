# Attaches the version information of resources/version.rc to the horonpa
# executable.
#
# Windows: see below; the rest of this file is for Linux.
#
# The resource script stays the one source, exactly as a Windows build would
# compile it. Here windres compiles it into a .res file, ResToVersionSection.cmake
# takes the VS_VERSIONINFO bytes out of that file and writes them as a byte
# array placed in the section named below, and that object is linked into the
# executable. framework/VersionResource finds the section by name in the
# executable file.
#
# The object library horonpa_version_section can be linked into any other
# executable (a test program, say) that should carry the same information.

# On Windows the resource compiler compiles the script into each program
# that carries the version information, where the system's version service
# finds it: the game, and horonpa-solver.exe beside it.
if(WIN32)
    enable_language(RC)
    function(horonpa_attach_version target)
        target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/resources/version.rc)
    endfunction()
    if(TARGET horonpa)
        horonpa_attach_version(horonpa)
    endif()
    return()
endif()

if(NOT TARGET horonpa)
    return()
endif()

set(HORONPA_VERSION_SECTION ".horonpa_version")

find_program(HORONPA_WINDRES x86_64-w64-mingw32-windres)
find_program(HORONPA_RC_PREPROCESSOR cpp)
if(NOT HORONPA_WINDRES OR NOT HORONPA_RC_PREPROCESSOR)
    message(FATAL_ERROR "The version resource needs x86_64-w64-mingw32-windres and cpp "
                        "(Debian binutils-mingw-w64-x86-64, build-essential): run scripts/install-deps")
endif()

set(_version_rc ${CMAKE_SOURCE_DIR}/resources/version.rc)
set(_version_dir ${CMAKE_BINARY_DIR}/version)
set(_version_res ${_version_dir}/version.res)
set(_version_cpp ${_version_dir}/VersionSection.cpp)
set(_version_script ${CMAKE_CURRENT_LIST_DIR}/ResToVersionSection.cmake)

add_custom_command(
    OUTPUT ${_version_res}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_version_dir}
    COMMAND ${HORONPA_WINDRES} --preprocessor=${HORONPA_RC_PREPROCESSOR}
            -J rc -O res -i ${_version_rc} -o ${_version_res}
    DEPENDS ${_version_rc}
    COMMENT "Compiling the version resource"
    VERBATIM)

add_custom_command(
    OUTPUT ${_version_cpp}
    COMMAND ${CMAKE_COMMAND} -DRES=${_version_res} -DOUT=${_version_cpp}
            -DSECTION=${HORONPA_VERSION_SECTION} -P ${_version_script}
    DEPENDS ${_version_res} ${_version_script}
    COMMENT "Extracting VS_VERSIONINFO from the version resource"
    VERBATIM)

add_library(horonpa_version_section OBJECT ${_version_cpp})
set_target_properties(horonpa_version_section PROPERTIES AUTOMOC OFF)
target_link_libraries(horonpa PRIVATE horonpa_version_section)
