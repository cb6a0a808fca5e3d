# The release's documents and checks, included by cmake/install.cmake before CPack:
#   the manual pages and changelog.gz (scripts/make_docs, from siacci-cli's own help and
#   packaging/changelog), the machine-readable copyright, all under the package's paths;
#   release_texts: the version of src/common/version.hpp is the changelog's, the metainfo's
#   latest release and the package's; the desktop entry and the metainfo pass their validators.
# `make package` runs lintian on the .deb, `make package-check` installs it in a bare Debian 12
# root (scripts/package_check).

set(SIACCI_DOCS_DIR ${CMAKE_CURRENT_BINARY_DIR}/docs)
# The package's name, not the project's (GNUInstallDirs would say doc/Siacci).
set(SIACCI_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/siacci)
find_program(SIACCI_HELP2MAN help2man)
find_program(SIACCI_PARSECHANGELOG dpkg-parsechangelog)
if(SIACCI_HELP2MAN AND SIACCI_PARSECHANGELOG)
  set(SIACCI_DOC_FILES ${SIACCI_DOCS_DIR}/changelog.gz
      ${SIACCI_DOCS_DIR}/man/siacci.1.gz ${SIACCI_DOCS_DIR}/man/siacci-cli.1.gz
      ${SIACCI_DOCS_DIR}/man/it/siacci.1.gz ${SIACCI_DOCS_DIR}/man/it/siacci-cli.1.gz
      ${SIACCI_DOCS_DIR}/man/siacci-cli-qt.1.gz ${SIACCI_DOCS_DIR}/man/it/siacci-cli-qt.1.gz)
  file(GLOB SIACCI_MAN_SOURCES CONFIGURE_DEPENDS ${SIACCI_PACKAGING}/man/*)
  # The help of the printed commands comes from siacci-cli-qt, which siacci-cli runs for them.
  set(SIACCI_HELP_PROGRAMS siacci-cli)
  if(TARGET siacci-cli-qt)
    list(APPEND SIACCI_HELP_PROGRAMS siacci-cli-qt)
  endif()
  add_custom_command(OUTPUT ${SIACCI_DOC_FILES}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_docs ${CMAKE_CURRENT_SOURCE_DIR}
            ${SIACCI_DOCS_DIR} $<TARGET_FILE:siacci-cli>
    DEPENDS ${SIACCI_HELP_PROGRAMS} ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_docs
            ${SIACCI_PACKAGING}/changelog ${SIACCI_MAN_SOURCES}
    COMMENT "Manual pages and changelog" VERBATIM)
  add_custom_target(siacci_docs ALL DEPENDS ${SIACCI_DOC_FILES})
  install(FILES ${SIACCI_DOCS_DIR}/changelog.gz DESTINATION ${SIACCI_DOC_DIR})
  install(FILES ${SIACCI_DOCS_DIR}/man/siacci-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${SIACCI_DOCS_DIR}/man/it/siacci-cli.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1)
  if(TARGET siacci-cli-qt)
    install(FILES ${SIACCI_DOCS_DIR}/man/siacci-cli-qt.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${SIACCI_DOCS_DIR}/man/it/siacci-cli-qt.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1)
  endif()
  if(TARGET siacci)
    install(FILES ${SIACCI_DOCS_DIR}/man/siacci.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${SIACCI_DOCS_DIR}/man/it/siacci.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1)
  endif()
else()
  message(WARNING "help2man or dpkg-parsechangelog not found (run scripts/bootstrap): "
                  "no manual pages and no changelog in the install")
endif()
install(FILES ${SIACCI_PACKAGING}/copyright DESTINATION ${SIACCI_DOC_DIR})
# Lintian's notes that do not apply, each with its reason (packaging/lintian-overrides).
install(FILES ${SIACCI_PACKAGING}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME siacci)

# The package's programs stripped as Debian strips them: the symbols and also the compilers'
# .comment and .note sections (CPACK_STRIP_FILES strips the symbols alone).
install(CODE [[
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program siacci siacci-cli siacci-cli-qt)
      set(path "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/${program}")
      if(EXISTS "${path}")
        execute_process(COMMAND objcopy --remove-section=.comment --remove-section=.note
                                "${path}" COMMAND_ERROR_IS_FATAL ANY)
      endif()
    endforeach()
  endif()
]])

add_test(NAME release_texts
         COMMAND ${CMAKE_COMMAND} -E env SIACCI_CLI=$<TARGET_FILE:siacci-cli>
                 SIACCI_PACKAGE_VERSION=${PROJECT_VERSION}
                 bash ${SIACCI_PACKAGING}/release_test.sh ${CMAKE_CURRENT_SOURCE_DIR})

# The probe that `make package-check` loads into the installed program (src/main/
# qt_package_probe.cpp): a Qt plugin in the build only, never installed.
if(TARGET siacci)
  add_library(siacci_package_probe MODULE ${SIACCI_PACKAGE_PROBE})
  target_link_libraries(siacci_package_probe PRIVATE Qt6::Widgets)
  set_target_properties(siacci_package_probe PROPERTIES OUTPUT_NAME siacciprobe
                        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/probe/generic)
endif()
