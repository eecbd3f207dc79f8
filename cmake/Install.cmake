# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Installation where a Linux desktop finds the program, and a Debian package built by cpack.
include(GNUInstallDirs)
# Directories in the package are rwxr-xr-x whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS nadelix nadelix-thumbnailer nadelix-katalog RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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

# What Debian expects beside every package: the machine-readable copyright record, the
# changelog and manual pages, compressed without a time stamp so that builds are reproducible.
set(NADELIX_MAINTAINER "Nadelix developers <nadelix@nadelix.example.org>" CACHE STRING
    "Maintainer of the Debian package and signer of its changelog")
execute_process(COMMAND date -u -R -d "${NADELIX_RELEASE_DATE}"
                OUTPUT_VARIABLE NADELIX_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(NADELIX_DOC_FILES)
foreach(doc changelog man/nadelix.1 man/nadelix-thumbnailer.1 man/nadelix-katalog.1)
    get_filename_component(name ${doc} NAME)
    set(in ${PROJECT_SOURCE_DIR}/packaging/${doc})
    if(EXISTS ${in}.in)
        set(in ${in}.in)
    endif()
    configure_file(${in} ${CMAKE_BINARY_DIR}/packaging/${name} @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${name}.gz
        COMMAND sh -c "gzip -9n -c ${name} > ${name}.gz"
        DEPENDS ${CMAKE_BINARY_DIR}/packaging/${name}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging VERBATIM)
    list(APPEND NADELIX_DOC_FILES ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
endforeach()
add_custom_target(nadelix_docs ALL DEPENDS ${NADELIX_DOC_FILES})
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nadelix)
install(FILES ${CMAKE_BINARY_DIR}/packaging/nadelix.1.gz
              ${CMAKE_BINARY_DIR}/packaging/nadelix-thumbnailer.1.gz
              ${CMAKE_BINARY_DIR}/packaging/nadelix-katalog.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nadelix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${NADELIX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${NADELIX_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sort machine-embroidery design files into category folders")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Nadelix steps through a folder of machine-embroidery designs (Brother PES
and PEC, Tajima DST, Pfaff PCS, Janome SEW; Bernina ART, Viking HUS and KRZ
by name), draws each design and copies it into the category folders you
mark, refusing duplicates and renaming on name clashes. Its user interface
is German.

nadelix-thumbnailer gives the desktop's file managers the same pictures as
thumbnails, and nadelix-katalog prints a folder's designs as a PDF
catalogue: each design's picture with its size, stitches and thread colours.]])
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The control files get the modes dpkg expects (0644; 0755 for maintainer scripts).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The run-time libraries (Qt and the C++ runtime) are found by dpkg-shlibdeps; Qt Gui's
# library also holds the PDF writer and the offscreen platform the catalogue draws on. The
# German translations of Qt's own dialogs come from their own package, and the catalogue's
# font, which it asks for by name so that its pages look alike everywhere, from its own too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-dejavu-core")
# shared-mime-info owns the trigger that builds the MIME database from the installed types.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info")
set(CPACK_STRIP_FILES ON)
include(CPack)
