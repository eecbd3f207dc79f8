# Installation where a Linux desktop finds the program, and a Debian package built by cpack.
include(GNUInstallDirs)

install(TARGETS nadelix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nadelix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/app/icons/nadelix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nadelix/examples
        FILES_MATCHING PATTERN "*.*" PATTERN "*.py" EXCLUDE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nadelix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Nadelix developers <nadelix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sort machine-embroidery design files into category folders")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Nadelix steps through a folder of embroidery designs (PES, PEC, DST, PCS, SEW, ART, HUS, KRZ), draws each design and copies it into the category folders you mark, refusing duplicates and renaming on name clashes. German user interface.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The run-time libraries (Qt and the C++ runtime) are found by dpkg-shlibdeps; the German
# translations of Qt's own dialogs come from their own package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
