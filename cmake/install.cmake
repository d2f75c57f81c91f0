# Installation and the Debian package.
#
# The game installs as a self-contained folder, lib/quellon/, holding the
# executable with everything it reads beside it (catalogue, music, help), so
# the program directory stays the folder of the real executable; the command
# games/quellon, where Debian keeps the commands of games, is a link to it.
# Saved games go to lib/quellon/games when that folder is writable, otherwise
# to the user's data directory.
include(GNUInstallDirs)
set(QUELLON_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/quellon)
set(QUELLON_COMMAND_DIR games CACHE STRING "Folder below the prefix for the quellon command (games, or bin)")
set(QUELLON_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quellon)
set(QUELLON_APP_ID io.quellon.Quellon)

# Installed as targets, so that a stripping install (the package) strips them.
install(TARGETS quellon RUNTIME DESTINATION ${QUELLON_INSTALL_DIR})
install(TARGETS quellon_sounds quellon_help LIBRARY DESTINATION ${QUELLON_INSTALL_DIR}/modules)
# Everything else the build placed beside the executable, but no saved games.
install(DIRECTORY ${QUELLON_RUNTIME_DIR}/ DESTINATION ${QUELLON_INSTALL_DIR}
  USE_SOURCE_PERMISSIONS
  PATTERN "quellon" EXCLUDE
  PATTERN "modules" EXCLUDE
  PATTERN "games" EXCLUDE
  PATTERN "*.zql" EXCLUDE)
file(RELATIVE_PATH QUELLON_COMMAND_TARGET /prefix/${QUELLON_COMMAND_DIR} /prefix/${QUELLON_INSTALL_DIR}/quellon)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUELLON_COMMAND_DIR}\")
  file(CREATE_LINK ${QUELLON_COMMAND_TARGET}
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUELLON_COMMAND_DIR}/quellon\" SYMBOLIC)")

# The manual page, the copyright and the changelog, gzipped the way Debian
# wants them (best compression, no time stamp, so builds stay reproducible).
# The copyright and the changelog are those of the Debian package, whose
# newest entry must name this version (with any package revision after it).
set(QUELLON_PACKAGE_SOURCE ${CMAKE_SOURCE_DIR}/data/package)
set(QUELLON_DEBIAN_SOURCE ${CMAKE_SOURCE_DIR}/debian)
file(STRINGS ${QUELLON_DEBIAN_SOURCE}/changelog QUELLON_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT QUELLON_CHANGELOG_TOP MATCHES "^quellon \\(${PROJECT_VERSION}(-[0-9.]+)?\\) ")
  message(FATAL_ERROR "debian/changelog begins with \"${QUELLON_CHANGELOG_TOP}\", not version ${PROJECT_VERSION}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUELLON_DEBIAN_SOURCE}/changelog)
# The manual page's header names the version.
configure_file(${QUELLON_PACKAGE_SOURCE}/quellon.6 ${CMAKE_BINARY_DIR}/package/quellon.6 @ONLY)
find_program(GZIP gzip REQUIRED)
set(QUELLON_PACKAGE_DOCS)
foreach(source ${CMAKE_BINARY_DIR}/package/quellon.6 ${QUELLON_DEBIAN_SOURCE}/changelog)
  get_filename_component(name ${source} NAME)
  set(zipped ${CMAKE_BINARY_DIR}/package/${name}.gz)
  add_custom_command(OUTPUT ${zipped}
    COMMAND sh -c "\"$1\" -9nc \"$2\" >\"$3\"" gzip ${GZIP} ${source} ${zipped}
    DEPENDS ${source} VERBATIM)
  list(APPEND QUELLON_PACKAGE_DOCS ${zipped})
endforeach()
add_custom_target(package_docs ALL DEPENDS ${QUELLON_PACKAGE_DOCS})
install(FILES ${CMAKE_BINARY_DIR}/package/quellon.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz ${QUELLON_DEBIAN_SOURCE}/copyright
  DESTINATION ${QUELLON_DOC_DIR})

install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/${QUELLON_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/${QUELLON_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/resources/art/quellon.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${QUELLON_APP_ID}.svg)
foreach(size ${QUELLON_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${QUELLON_APP_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# FluidSynth is opened at run time, not linked, so no library scan finds it:
# the Debian build reads here which package holds the library version the
# game was built for.
file(WRITE ${CMAKE_BINARY_DIR}/package/fluidsynth-package "${QUELLON_FLUIDSYNTH_PACKAGE}\n")

# What the game reads beside its executable, for "make play", and everything
# the installation lays down, for the Debian build without its tests: neither
# waits for the tests, fuzzers, benchmarks or catalogue and media tools.
add_custom_target(game_files DEPENDS quellon quellon_sounds quellon_help game_data game_help)
add_custom_target(install_files DEPENDS game_files icons package_docs)
