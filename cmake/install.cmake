# Installation and the Debian package.
#
# The game installs as a self-contained folder, lib/quellon/, holding the
# executable with everything it reads beside it (catalogue, music, help), so
# the program directory stays the folder of the real executable; bin/quellon
# is a link to it. Saved games go to lib/quellon/games when that folder is
# writable, otherwise to the user's data directory.
include(GNUInstallDirs)
set(QUELLON_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/quellon)
set(QUELLON_APP_ID io.quellon.Quellon)

install(TARGETS quellon RUNTIME DESTINATION ${QUELLON_INSTALL_DIR})
# Everything the build placed beside the executable, but no saved games.
install(DIRECTORY ${QUELLON_RUNTIME_DIR}/ DESTINATION ${QUELLON_INSTALL_DIR}
  USE_SOURCE_PERMISSIONS
  PATTERN "quellon" EXCLUDE
  PATTERN "games" EXCLUDE
  PATTERN "*.zql" EXCLUDE)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ../${QUELLON_INSTALL_DIR}/quellon
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quellon\" SYMBOLIC)")

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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quellon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Quellon developers <games@quellon.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game: cover a silhouette with eight triangles")
set(CPACK_PACKAGE_DESCRIPTION "Eight identical right-angled triangles wait at the edges of the board.\nPick them up, move and turn them until they cover the silhouette of\nthe current puzzle. 950 puzzles, saved progress, help, statistics,\nsound, music, six backgrounds, German and English.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot find them: FluidSynth and the
# SoundFont for the music, the SQLite driver of the help engine, the X11
# platform plugin, SVG rendering of the artwork and a media back end for the
# sound effects.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${QUELLON_FLUIDSYNTH_PACKAGE}, timgm6mb-soundfont, libqt6sql6-sqlite, qt6-qpa-plugins, libqt6svg6, qt6-image-formats-plugins | libqt6gui6")
include(CPack)
