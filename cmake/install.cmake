# Installation in the usual Linux places and the Debian package.
include(GNUInstallDirs)

set(NOVASTRA_APP_ID org.novastra.Novastra)
set(NOVASTRA_DIST ${CMAKE_SOURCE_DIR}/dist)

install(TARGETS novastra-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOVASTRA_GUI)
  install(TARGETS novastra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The supplied files, read where they are installed (share/novastra).
file(GLOB NOVASTRA_SUPPLIED CONFIGURE_DEPENDS
  ${NOVASTRA_DATA_DIR}/*.DAT ${NOVASTRA_DATA_DIR}/*.HLP
  ${NOVASTRA_DATA_DIR}/OPTIONS.MAS ${NOVASTRA_DATA_DIR}/OPTIONS.OPT ${NOVASTRA_DATA_DIR}/README.TXT)
install(FILES ${NOVASTRA_SUPPLIED} DESTINATION ${CMAKE_INSTALL_DATADIR}/novastra)
# The symbol font where fontconfig finds it, so other programs can show saved files.
install(FILES ${NOVASTRA_DATA_DIR}/EPHEMERI.TTF
  DESTINATION ${CMAKE_INSTALL_DATADIR}/fonts/truetype/novastra)
install(FILES ${NOVASTRA_DATA_DIR}/EPHEMERI-LICENSE.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Desktop integration.
configure_file(${NOVASTRA_DIST}/${NOVASTRA_APP_ID}.metainfo.xml
  ${CMAKE_BINARY_DIR}/dist/${NOVASTRA_APP_ID}.metainfo.xml @ONLY)
if(NOVASTRA_GUI)
  install(FILES ${NOVASTRA_DIST}/${NOVASTRA_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${NOVASTRA_DIST}/${NOVASTRA_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_BINARY_DIR}/dist/${NOVASTRA_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
install(FILES ${NOVASTRA_DIST}/novastra-cli.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME novastra-cli)

# Man pages, made from the programs' own --help and --version.
option(NOVASTRA_MAN "Make the man pages with help2man" ON)
find_program(HELP2MAN help2man)
if(NOVASTRA_MAN AND HELP2MAN)
  set(man_pages)
  set(man_programs novastra-cli)
  if(NOVASTRA_GUI)
    list(APPEND man_programs novastra)
  endif()
  foreach(prog IN LISTS man_programs)
    set(page ${CMAKE_BINARY_DIR}/man/${prog}.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
              ${HELP2MAN} --no-info --section=1
              --include=${NOVASTRA_DIST}/${prog}.h2m --output=${page} $<TARGET_FILE:${prog}>
      DEPENDS ${prog} ${NOVASTRA_DIST}/${prog}.h2m
      COMMENT "Making the ${prog}(1) man page" VERBATIM)
    list(APPEND man_pages ${page})
  endforeach()
  add_custom_target(man ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(NOVASTRA_MAN)
  message(WARNING "help2man not found: no man pages (install help2man)")
endif()

# Debian package: cpack -G DEB
set(CPACK_PACKAGE_NAME novastra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The NOVASTRA developers")
set(CPACK_PACKAGE_CONTACT "The NOVASTRA developers <novastra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "NOVASTRA computes, with its own series theories, a daily ephemeris of the Sun, the Moon,
Mercury to Pluto and the lunar node, an aspectarian to the minute in Universal Time and the
list of planetary stations, for dates from 1800 to 2100. The package holds the desktop
program novastra, the command line novastra-cli and the EPHEMERI symbol font.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fontconfig")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
