# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Installation where a Linux desktop finds the program, and a Debian package built by cpack.
include(GNUInstallDirs)

install(TARGETS nadelix nadelix-thumbnailer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nadelix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/app/icons/nadelix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nadelix/examples
        FILES_MATCHING PATTERN "*.*" PATTERN "*.py" EXCLUDE)

# Thumbnails in the file managers: the design types, the thumbnailer entry and the AppStream
# metadata that software centres read.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nadelix-designs.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nadelix.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
set(NADELIX_HOMEPAGE "https://nadelix.example.org" CACHE STRING
    "Where the project's pages and the screenshot of the AppStream metadata are published")
set(NADELIX_METAINFO ${CMAKE_BINARY_DIR}/org.example.nadelix.Nadelix.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/packaging/org.example.nadelix.Nadelix.metainfo.xml.in
               ${NADELIX_METAINFO} @ONLY)
install(FILES ${NADELIX_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# A plain install makes the new types known at once. A staged install (DESTDIR, cpack) leaves
# that to the system: dpkg's trigger on share/mime/packages runs update-mime-database.
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "")
        find_program(NADELIX_UPDATE_MIME update-mime-database)
        if(NADELIX_UPDATE_MIME)
            message(STATUS "Updating the MIME database in ${CMAKE_INSTALL_PREFIX}/share/mime")
            execute_process(COMMAND ${NADELIX_UPDATE_MIME} "${CMAKE_INSTALL_PREFIX}/share/mime")
        endif()
    endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nadelix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Nadelix developers <nadelix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sort machine-embroidery design files into category folders")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Nadelix steps through a folder of embroidery designs (PES, PEC, DST, PCS, SEW, ART, HUS, KRZ), draws each design and copies it into the category folders you mark, refusing duplicates and renaming on name clashes. German user interface. nadelix-thumbnailer gives the file managers the same pictures as thumbnails.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The run-time libraries (Qt and the C++ runtime) are found by dpkg-shlibdeps; the German
# translations of Qt's own dialogs come from their own package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# shared-mime-info owns the trigger that builds the MIME database from the installed types.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info")
set(CPACK_STRIP_FILES ON)
include(CPack)
