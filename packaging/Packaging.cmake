# Install layout and packages. Included from the top-level CMakeLists.txt, so that CPack sees
# its settings.
#
#   bin/                          tavilon, tavilon-cli, tavilon-sim
#   share/tavilon/                APP/Image, APP/StyleSheet, TitleBar, APP/ConfigFile/language-English.ini
#   share/applications/           <id>.desktop
#   share/icons/hicolor/          scalable and 256 x 256 icons
#   share/metainfo/               <id>.metainfo.xml
#   share/man/man1/               the three manual pages
#   share/doc/tavilon/            copyright and changelog
#
# The programs find the data in ../share/tavilon beside bin/, so the same tree works from /usr,
# /usr/local, /opt/... or an unpacked archive in any folder.

include(GNUInstallDirs)

set(TAVILON_APP_ID "org.tavilon.Tavilon")
# The day this version was released; written into the metadata, the man pages and the changelog.
set(TAVILON_RELEASE_DATE "2026-12-09")
set(TAVILON_RELEASE_DATE_RFC2822 "Wed, 09 Dec 2026 00:00:00 +0000")
set(TAVILON_MAINTAINER "The Tavilon developers <tavilon@example.org>"
    CACHE STRING "Maintainer of the Debian package, as Name <address>")
set(TAVILON_HOMEPAGE_URL "https://tavilon.example.org" CACHE STRING "The project's home page")
set(TAVILON_SCREENSHOT_URL "${TAVILON_HOMEPAGE_URL}/screenshots"
    CACHE STRING "Where the screenshots named in the AppStream metadata are published")

set(TAVILON_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/tavilon")
set(TAVILON_DATA_PATH "${CMAKE_INSTALL_FULL_DATADIR}/tavilon")
set(TAVILON_PACKAGING_OUT "${CMAKE_BINARY_DIR}/packaging")

# The default language file, written by the settings code itself so that it always holds the
# compiled-in texts.
add_executable(tavilon-default-language packaging/WriteDefaultLanguage.cpp)
target_link_libraries(tavilon-default-language PRIVATE tavilon_settings)
set_target_properties(tavilon-default-language PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${TAVILON_PACKAGING_OUT}")
set(TAVILON_DEFAULT_LANGUAGE "${TAVILON_PACKAGING_OUT}/data/APP/ConfigFile/language-English.ini")
add_custom_command(OUTPUT "${TAVILON_DEFAULT_LANGUAGE}"
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
        $<TARGET_FILE:tavilon-default-language> "${TAVILON_PACKAGING_OUT}/data"
    DEPENDS tavilon-default-language
    COMMENT "Writing the default language file")

configure_file(packaging/tavilon.desktop.in "${TAVILON_PACKAGING_OUT}/${TAVILON_APP_ID}.desktop" @ONLY)
configure_file(packaging/tavilon.metainfo.xml.in "${TAVILON_PACKAGING_OUT}/${TAVILON_APP_ID}.metainfo.xml" @ONLY)

# Manual pages and the changelog are installed compressed, without a time stamp in the gzip
# header, as Debian wants them.
set(TAVILON_PACKAGING_FILES "${TAVILON_DEFAULT_LANGUAGE}")
foreach(page tavilon tavilon-cli tavilon-sim)
    configure_file(packaging/man/${page}.1.in "${TAVILON_PACKAGING_OUT}/man/${page}.1" @ONLY)
    add_custom_command(OUTPUT "${TAVILON_PACKAGING_OUT}/man/${page}.1.gz"
        COMMAND gzip -9 -n -c "${TAVILON_PACKAGING_OUT}/man/${page}.1" > "${TAVILON_PACKAGING_OUT}/man/${page}.1.gz"
        DEPENDS "${TAVILON_PACKAGING_OUT}/man/${page}.1")
    list(APPEND TAVILON_PACKAGING_FILES "${TAVILON_PACKAGING_OUT}/man/${page}.1.gz")
endforeach()
configure_file(packaging/changelog.in "${TAVILON_PACKAGING_OUT}/changelog" @ONLY)
add_custom_command(OUTPUT "${TAVILON_PACKAGING_OUT}/changelog.gz"
    COMMAND gzip -9 -n -c "${TAVILON_PACKAGING_OUT}/changelog" > "${TAVILON_PACKAGING_OUT}/changelog.gz"
    DEPENDS "${TAVILON_PACKAGING_OUT}/changelog")
list(APPEND TAVILON_PACKAGING_FILES "${TAVILON_PACKAGING_OUT}/changelog.gz")
add_custom_target(tavilon_packaging_files ALL DEPENDS ${TAVILON_PACKAGING_FILES})

foreach(program tavilon tavilon-cli tavilon-sim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(DIRECTORY APP/Image APP/StyleSheet DESTINATION "${TAVILON_INSTALL_DATADIR}/APP")
install(DIRECTORY TitleBar/Image TitleBar/StyleSheet DESTINATION "${TAVILON_INSTALL_DATADIR}/TitleBar")
install(FILES "${TAVILON_DEFAULT_LANGUAGE}" DESTINATION "${TAVILON_INSTALL_DATADIR}/APP/ConfigFile")
install(FILES "${TAVILON_PACKAGING_OUT}/${TAVILON_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${TAVILON_PACKAGING_OUT}/${TAVILON_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES packaging/icons/tavilon.svg
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps" RENAME "${TAVILON_APP_ID}.svg")
install(FILES packaging/icons/tavilon-256.png
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps" RENAME "${TAVILON_APP_ID}.png")
foreach(page tavilon tavilon-cli tavilon-sim)
    install(FILES "${TAVILON_PACKAGING_OUT}/man/${page}.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()
install(FILES packaging/copyright "${TAVILON_PACKAGING_OUT}/changelog.gz" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/tavilon")

# `make package`: a Debian package and a portable archive, both named with the project version.
set(CPACK_PACKAGE_NAME "tavilon")
set(CPACK_PACKAGE_VENDOR "The Tavilon developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${TAVILON_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control tool for a 4K HDMI matrix switcher")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavilon controls the RZ7P52KN HDMI matrix switcher (4 inputs, 4 outputs)
over RS232 or TCP: routing, input and output signal settings, multiview
layouts, video walls, scenes, EDID and the device's link settings.
The package also holds tavilon-cli, a headless client for scripts, and
tavilon-sim, a device simulator to try both without a device.")
set(CPACK_PACKAGE_FILE_NAME "tavilon-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVILON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAVILON_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
