# Installation in the usual Linux places and the Debian package.
include(GNUInstallDirs)

set(NOVASTRA_APP_ID org.novastra.Novastra)
set(NOVASTRA_DIST ${CMAKE_SOURCE_DIR}/dist)

install(TARGETS novastra-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# novastra-cli runs it for "novastra-cli graph" (../libexec/novastra beside bin).
install(TARGETS novastra-graph RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/novastra)
if(NOVASTRA_GUI)
  install(TARGETS novastra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The supplied files, read where they are installed (share/novastra).
file(GLOB NOVASTRA_SUPPLIED CONFIGURE_DEPENDS
  ${NOVASTRA_DATA_DIR}/*.DAT ${NOVASTRA_DATA_DIR}/*.HLP
  ${NOVASTRA_DATA_DIR}/OPTIONS.MAS ${NOVASTRA_DATA_DIR}/OPTIONS.OPT ${NOVASTRA_DATA_DIR}/README.TXT)
install(FILES ${NOVASTRA_SUPPLIED} DESTINATION ${CMAKE_INSTALL_DATADIR}/novastra)
# The symbol font where fontconfig finds it, so other programs can show saved files.
install(FILES ${NOVASTRA_DATA_DIR}/EPHEMERI.TTF ${NOVASTRA_DATA_DIR}/EPHEMERIB.TTF
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
  # novastra-cli's page holds every command's own options (tools/man_commands.sh).
  set(commands_h2m ${CMAKE_BINARY_DIR}/man/novastra-cli-commands.h2m)
  add_custom_command(OUTPUT ${commands_h2m}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            ${CMAKE_SOURCE_DIR}/tools/man_commands.sh $<TARGET_FILE:novastra-cli> ${commands_h2m}
    DEPENDS novastra-cli novastra-graph ${CMAKE_SOURCE_DIR}/tools/man_commands.sh
    COMMENT "Collecting novastra-cli's commands for its man page" VERBATIM)
  foreach(prog IN LISTS man_programs)
    set(page ${CMAKE_BINARY_DIR}/man/${prog}.1)
    set(includes --include=${NOVASTRA_DIST}/${prog}.h2m)
    set(extra)
    if(prog STREQUAL "novastra-cli")
      list(APPEND includes --include=${commands_h2m})
      set(extra ${commands_h2m})
    endif()
    # Debian installs man pages gzipped (gzip -n: no name or time stamp inside).
    add_custom_command(OUTPUT ${page} ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
              ${HELP2MAN} --no-info --section=1 ${includes} --output=${page} $<TARGET_FILE:${prog}>
      COMMAND gzip -9nkf ${page}
      DEPENDS ${prog} ${NOVASTRA_DIST}/${prog}.h2m ${extra}
      COMMENT "Making the ${prog}(1) man page" VERBATIM)
    list(APPEND man_pages ${page})
    list(APPEND man_gz ${page}.gz)
  endforeach()
  add_custom_target(man ALL DEPENDS ${man_pages})
  install(FILES ${man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(NOVASTRA_MAN)
  message(WARNING "help2man not found: no man pages (install help2man)")
endif()

# Debian package: cpack -G DEB
set(CPACK_PACKAGE_NAME novastra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The NOVASTRA developers")
# The project has no mail address of its own yet: a reserved .invalid host
# (RFC 2606) until it has one; a packager sets the real one here.
set(NOVASTRA_MAINTAINER "NOVASTRA developers <maintainers@novastra.invalid>" CACHE STRING
    "Maintainer of the Debian package, Name <address>")
set(CPACK_PACKAGE_CONTACT "${NOVASTRA_MAINTAINER}")
# The package's copyright (machine-readable) and changelog, as Debian policy wants them.
string(TIMESTAMP NOVASTRA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${NOVASTRA_DIST}/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/doc/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog VERBATIM)
add_custom_target(package_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${NOVASTRA_DIST}/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "NOVASTRA computes, with its own series theories, a daily ephemeris of the
Sun, the Moon, Mercury to Pluto and the lunar node, an aspectarian to the
minute in Universal Time, the planetary stations and the eclipses, with
Chiron, the main asteroids and the Black Moon, for dates from 1800 to 2100.
The package holds the desktop program novastra, the command line novastra-cli
and the EPHEMERI symbol font.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fontconfig")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
