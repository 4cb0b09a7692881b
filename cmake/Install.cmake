# What `cmake --install` puts where, and the Debian package built from it
# (`make package`).
include(GNUInstallDirs)

if(TARGET horonpa)
    install(TARGETS horonpa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES resources/horonpa.html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/horonpa)
    install(FILES resources/icons/horonpa.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
    install(FILES resources/icons/horonpa.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES resources/horonpa.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES resources/com.brevantis.horonpa.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME horonpa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brevantis")
set(CPACK_PACKAGE_CONTACT "Brevantis <numari@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour-panel puzzle: bring every panel to one colour")
set(CPACK_PACKAGE_DESCRIPTION
    "Horonpa (ホロンパ) is a colour-panel puzzle with a Japanese interface. Clicking a panel\n\
advances it and its orthogonal neighbours one step along a cycle of colours; the game is\n\
won when every panel shows the same colour. Won games are ranked per board size.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${HORONPA_AUTHOR_URL}")
# The Qt libraries it links come from dpkg-shlibdeps; the platform plugins,
# the Japanese font and Qt's Japanese texts are needed at run time but not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
