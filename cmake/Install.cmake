# Install rules and the Debian package (cpack -G DEB).
#
#   cmake --install build --prefix /usr/local     # or DESTDIR=... for a staging root
#   cd build && cpack -G DEB                       # orvane_<version>_amd64.deb
#
# What goes where (below the prefix):
#   bin/orvane, bin/orvane-cli
#   share/orvane/help/                   the HTML help (the Help menu looks here)
#   share/applications/                  the desktop entry
#   share/metainfo/                      the AppStream metadata
#   share/mime/packages/orvane.xml       the MIME types of the simulator's files
#   share/icons/hicolor/*/apps/          the icon, SVG and PNG sizes
#   share/man/man1/                      orvane(1), orvane-cli(1)
#   share/bash-completion/completions/   orvane-cli's completion
#   share/doc/orvane/                    copyright and changelog
include(GNUInstallDirs)
# Folders 0755 whatever the umask of the machine that builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})


set(ORVANE_APP_ID org.orvane.Orvane)
set(ORVANE_DEB_MAINTAINER "Orvane developers <orvane@example.org>"
    CACHE STRING "The Debian package's maintainer (name and e-mail)")
set(ORVANE_GENERATED ${CMAKE_BINARY_DIR}/generated)
# Generated files are made once per build, by a target of the default build.
set(ORVANE_GENERATED_FILES)

# Manual pages and the changelog, compressed as Debian wants them (-n: no
# name or time stamp inside, so the same sources give the same bytes).
find_program(GZIP_PROGRAM gzip)
function(orvane_gzip source output)
  if(GZIP_PROGRAM)
    add_custom_command(OUTPUT ${output}
      COMMAND ${GZIP_PROGRAM} -9n -c ${source} > ${output}
      DEPENDS ${source} VERBATIM)
    set(ORVANE_GENERATED_FILES ${ORVANE_GENERATED_FILES} ${output} PARENT_SCOPE)
  endif()
endfunction()
file(MAKE_DIRECTORY ${ORVANE_GENERATED})
configure_file(${CMAKE_SOURCE_DIR}/data/debian/changelog.in ${ORVANE_GENERATED}/changelog @ONLY)
orvane_gzip(${CMAKE_SOURCE_DIR}/docs/man/orvane-cli.1 ${ORVANE_GENERATED}/orvane-cli.1.gz)
orvane_gzip(${ORVANE_GENERATED}/changelog ${ORVANE_GENERATED}/changelog.gz)

install(TARGETS orvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/orvane-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME orvane-cli)
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane)

if(TARGET orvane)
  orvane_gzip(${CMAKE_SOURCE_DIR}/docs/man/orvane.1 ${ORVANE_GENERATED}/orvane.1.gz)
  install(TARGETS orvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane/help)
  install(FILES ${CMAKE_SOURCE_DIR}/data/${ORVANE_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/data/${ORVANE_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/data/orvane-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME orvane.xml)
  install(FILES ${CMAKE_SOURCE_DIR}/data/${ORVANE_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The PNG sizes are drawn from the SVG by rsvg-convert (librsvg2-bin).
  find_program(RSVG_CONVERT rsvg-convert)
  if(RSVG_CONVERT)
    foreach(size 16 24 32 48 64 128 256)
      set(png ${ORVANE_GENERATED}/icons/${size}x${size}/${ORVANE_APP_ID}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANE_GENERATED}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
                ${CMAKE_SOURCE_DIR}/data/${ORVANE_APP_ID}.svg
        DEPENDS ${CMAKE_SOURCE_DIR}/data/${ORVANE_APP_ID}.svg VERBATIM)
      list(APPEND ORVANE_GENERATED_FILES ${png})
      install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
  else()
    message(WARNING "rsvg-convert not found: only the SVG icon is installed")
  endif()
endif()

if(GZIP_PROGRAM)
  install(FILES ${ORVANE_GENERATED}/orvane-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  if(TARGET orvane)
    install(FILES ${ORVANE_GENERATED}/orvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  install(FILES ${ORVANE_GENERATED}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane)
endif()
add_custom_target(orvane_install_files ALL DEPENDS ${ORVANE_GENERATED_FILES})

# --- The Debian package ----------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVANE_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvane.example.org/")
# The libraries the programs link come from dpkg-shlibdeps. Qt's display
# plugins are loaded, not linked, so no tool finds them: named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET orvane)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
endif()
# The summary, then the long description (CPack indents its lines and turns
# the empty one into " .").
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"editor of the Fly! flight simulators' navigation database
Orvane edits the airports, runways, navaids, ILS and radio frequencies of
the Fly! and Fly! II flight simulators. It reads the simulator's archives
(EPD and POD), their templates and record files (DBT, DBD), shows the
records in an editable grid and on a map, checks them, and saves DBD, DEX
and CSV files.

The batch tool orvane-cli lists, extracts, converts, checks and compares
the same files without a window.")
include(CPack)

# The package built, checked and tried from a scratch root (tools/package-test.sh).
if(TARGET orvane AND UNIX AND NOT CMAKE_CROSSCOMPILING AND NOT ORVANE_SANITIZE AND NOT ORVANE_FUZZ)
  add_test(NAME package_install COMMAND ${CMAKE_SOURCE_DIR}/tools/package-test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package_install PROPERTIES TIMEOUT 600)
endif()
