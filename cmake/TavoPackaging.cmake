# Installation (make install) and the Debian package (make package): the three programs, the
# desktop entry, the MIME type, the icons, the AppStream metainfo, the help documents and the
# manual pages.
include(GNUInstallDirs)
set(desktop_dir ${CMAKE_SOURCE_DIR}/resources/desktop)
set(pkg_dir ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS tavo tavo-cli lxp-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop_dir}/tavo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/tavo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
configure_file(${desktop_dir}/org.tavo.Tavo.metainfo.xml ${pkg_dir}/org.tavo.Tavo.metainfo.xml @ONLY)
install(FILES ${pkg_dir}/org.tavo.Tavo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/tavo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${TAVO_HELP_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tavo/help)

# Icons in the theme's fixed sizes, rendered from the SVG.
set(icon_pngs)
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${pkg_dir}/icons/${size}x${size}/tavo.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_dir}/icons/${size}x${size}
        COMMAND svg2png ${desktop_dir}/tavo.svg ${png} ${size}
        DEPENDS svg2png ${desktop_dir}/tavo.svg
        VERBATIM)
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages, compressed as Debian keeps them.
set(man_pages)
foreach(page tavo tavo-cli lxp-sim)
    configure_file(${CMAKE_SOURCE_DIR}/resources/man/${page}.1 ${pkg_dir}/man/${page}.1 @ONLY)
    add_custom_command(OUTPUT ${pkg_dir}/man/${page}.1.gz
        COMMAND gzip -9 -n -f -k ${pkg_dir}/man/${page}.1
        DEPENDS ${pkg_dir}/man/${page}.1
        VERBATIM)
    list(APPEND man_pages ${pkg_dir}/man/${page}.1.gz)
    install(FILES ${pkg_dir}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The package's maintainer, in the copyright file, the changelog and the control file. Packagers
# set their own: -DTAVO_PACKAGE_MAINTAINER="Name <address>". The default is DEBFULLNAME and
# DEBEMAIL from the environment (as Debian's own tools use them) when set, else the project's
# maintainers.
set(tavo_default_maintainer "Tavo maintainers <maintainers@users.noreply.c-seed-01ba03c0.example>")
if(DEFINED ENV{DEBEMAIL} AND DEFINED ENV{DEBFULLNAME})
    set(tavo_default_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
endif()
set(TAVO_PACKAGE_MAINTAINER "${tavo_default_maintainer}" CACHE STRING
    "Maintainer of the Debian package, as \"Name <address>\"")

# Debian's documentation of the package: a machine-readable copyright file and a changelog made
# from the version (dated from SOURCE_DATE_EPOCH when set, so that builds repeat).
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tavo)
configure_file(${CMAKE_SOURCE_DIR}/resources/packaging/copyright.in ${pkg_dir}/copyright @ONLY)
install(FILES ${pkg_dir}/copyright DESTINATION ${doc_dir})
string(TIMESTAMP TAVO_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_SOURCE_DIR}/resources/packaging/changelog.in ${pkg_dir}/changelog @ONLY)
add_custom_command(OUTPUT ${pkg_dir}/changelog.gz
    COMMAND gzip -9 -n -f -k ${pkg_dir}/changelog
    DEPENDS ${pkg_dir}/changelog
    VERBATIM)
install(FILES ${pkg_dir}/changelog.gz DESTINATION ${doc_dir})

add_custom_target(package_files ALL DEPENDS ${icon_pngs} ${man_pages} ${pkg_dir}/changelog.gz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavo)
set(CPACK_PACKAGE_VENDOR Tavo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "page designer and downloader for LXP serial LCD modules")
# Lines of at most 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION "Tavo designs the pages of LXP serial colour LCD modules and downloads
pages, pictures and boot settings to them over a serial port.

The package also holds tavo-cli, for checks, rendering and downloads without
a window, and lxp-sim, a virtual module on a pseudo-terminal.")
set(CPACK_PACKAGE_CONTACT "${TAVO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Chinese texts and the "SimSun" previews need a CJK font, and Qt's own texts (file dialogs,
# standard buttons) their Chinese translation; the update tools are run by their own dpkg
# triggers once installed.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qttranslations5-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)

# The package must satisfy Debian's own checker, where it is installed.
find_program(LINTIAN_PROGRAM lintian)
if(LINTIAN_PROGRAM)
    add_test(NAME package_lintian
        COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DVERSION=${PROJECT_VERSION} -DLINTIAN=${LINTIAN_PROGRAM}
                -P ${CMAKE_SOURCE_DIR}/cmake/LintPackage.cmake)
    set_tests_properties(package_lintian PROPERTIES TIMEOUT 900)
endif()
