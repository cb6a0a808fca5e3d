# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local     the two programs, desktop entry, icons, metainfo
#   make package                                  build/siacci_<version>_<arch>.deb
#
# The application id (desktop entry and metainfo file names) is it.siacci.Siacci; the icon's
# theme name is siacci.

include(GNUInstallDirs)

set(SIACCI_APP_ID it.siacci.Siacci)
set(SIACCI_PACKAGING ${CMAKE_CURRENT_SOURCE_DIR}/packaging)

# --- programs -------------------------------------------------------------------------------
install(TARGETS siacci-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET siacci-cli-qt)
  install(TARGETS siacci-cli-qt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET siacci)
  install(TARGETS siacci RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# --- desktop integration --------------------------------------------------------------------
install(FILES ${SIACCI_PACKAGING}/siacci.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${SIACCI_APP_ID}.desktop)
install(FILES ${SIACCI_PACKAGING}/siacci.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${SIACCI_APP_ID}.metainfo.xml)

# The icon: the program's own drawing (src/print/siacci.svg, shown in the about box) when it
# is there, else the packaging copy. The glob makes the build reconfigure when it appears.
file(GLOB SIACCI_PRINT_ICON CONFIGURE_DEPENDS ${SRC}/print/siacci.svg)
if(SIACCI_PRINT_ICON)
  set(SIACCI_ICON_SVG ${SIACCI_PRINT_ICON})
else()
  set(SIACCI_ICON_SVG ${SIACCI_PACKAGING}/siacci.svg)
endif()
set(SIACCI_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${SIACCI_ICON_SVG} DESTINATION ${SIACCI_ICON_DIR}/scalable/apps RENAME siacci.svg)

# PNG sizes rendered from the SVG at build time (rsvg-convert, Debian's librsvg2-bin).
set(SIACCI_ICON_SIZES 16 22 24 32 48 64 128 256)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  set(SIACCI_ICON_PNGS)
  foreach(size ${SIACCI_ICON_SIZES})
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/siacci.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --keep-aspect-ratio
              --output ${png} ${SIACCI_ICON_SVG}
      DEPENDS ${SIACCI_ICON_SVG}
      COMMENT "Icon ${size}x${size}" VERBATIM)
    list(APPEND SIACCI_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${SIACCI_ICON_DIR}/${size}x${size}/apps)
  endforeach()
  add_custom_target(siacci_icons ALL DEPENDS ${SIACCI_ICON_PNGS})
  set(SIACCI_HAVE_PNG_ICONS 1)
else()
  message(WARNING "rsvg-convert not found (Debian package librsvg2-bin): "
                  "only the SVG icon is installed")
  set(SIACCI_HAVE_PNG_ICONS 0)
endif()

# --- the install test -----------------------------------------------------------------------
# Installs this build into a fresh temporary prefix and runs what was installed from there.
set(SIACCI_TEST_ICON_SIZES "")
if(SIACCI_HAVE_PNG_ICONS)
  string(REPLACE ";" "," SIACCI_TEST_ICON_SIZES "${SIACCI_ICON_SIZES}")
endif()
if(TARGET siacci)
  set(SIACCI_HAVE_GUI 1)
else()
  set(SIACCI_HAVE_GUI 0)
endif()
add_test(NAME install_tree
         COMMAND ${CMAKE_COMMAND} -E env
                 CMAKE=${CMAKE_COMMAND} BUILD_DIR=${CMAKE_BINARY_DIR}
                 APP_ID=${SIACCI_APP_ID} BINDIR=${CMAKE_INSTALL_BINDIR}
                 DATADIR=${CMAKE_INSTALL_DATADIR} HAVE_GUI=${SIACCI_HAVE_GUI}
                 ICON_SIZES=${SIACCI_TEST_ICON_SIZES}
                 bash ${SIACCI_PACKAGING}/install_test.sh)
set_tests_properties(install_tree PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)

# --- Debian package -------------------------------------------------------------------------
# The manual pages, changelog and copyright, and the release's checks.
include(${CMAKE_CURRENT_LIST_DIR}/release.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME siacci)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Siacci")
set(CPACK_PACKAGE_CONTACT "Siacci <siacci@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exterior-ballistics calculator with firing tables (Italian)")
# The extended description: lines under 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
  "Siacci computes the trajectory of small-arms bullets and its firing table:\n"
  "remaining velocity, time of flight, deviation from the point of aim, wind\n"
  "drift, energy, drop and maximum ordinate, distance by distance, in metric,\n"
  "imperial and terminal-ballistics tables, and a range card by the point-mass\n"
  "method, with a catalogue of 722 factory loads. The user interface is in\n"
  "Italian. siacci-cli gives the same tables from the shell.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link against are found by dpkg-shlibdeps. What Qt loads at run
# time is named here: the platform plugins (xcb on the desktop, offscreen for siacci-cli-qt's
# PDF) and Qt's own Italian texts (qtbase_it: Annulla, Sì, the print and file dialogs), which
# the program loads at start-up. `make package-check` installs the package on a bare system.
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  if(TARGET siacci)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
  endif()
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
  if(TARGET siacci)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
           ", libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6charts6"
           ", qt6-qpa-plugins, qt6-translations-l10n")
  endif()
endif()
include(CPack)
