# The installed game, laid out as Linux games are packaged:
#   bin/brimble                      the game; it finds its data in ../share/brimble
#   libexec/brimble/levelrun         the level runner of the editor's check
#   share/brimble/                   data/, gfx/, txt/, snd/, music/ from game/
#   share/applications/ID.desktop    the menu entry
#   share/icons/hicolor/NxN/apps/    the icon, 16 to 512 px, and scalable/
#   share/metainfo/ID.metainfo.xml   AppStream data for software centres
#   share/man/man6/brimble.6         the manual page
# `make install PREFIX=...` and `cmake --install build --prefix ...` use it;
# CPack (`make package`) packs the same files into a Debian package.
include(GNUInstallDirs)
# Installing (and CPack) takes what is built: `make install` and `make
# package` build the game first, and a check that packs the build during the
# suite starts no second build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

# Reverse-DNS id of the menu entry, icon and AppStream data (lower case: AppStream asks for it).
set(BRIMBLE_APP_ID org.brimble.brimble)
set(BRIMBLE_HOMEPAGE "https://brimble.org" CACHE STRING "The game's web page (AppStream; screenshots under /screenshots/)")

if(NOT TARGET brimble)
  return()  # a build without the game (Windows without SDL) installs nothing
endif()

install(TARGETS brimble RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS levelrun RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/brimble)

# The content must have been generated (by this build or, for a build with
# BRIMBLE_CONTENT off, by the plain one): a package without pictures would
# start to an empty screen.
install(CODE "
  foreach(f gfx/icon/brimble-256.png gfx/fonts/Bookman.ttf data/levels/level01.lvl)
    if(NOT EXISTS \"${BRIMBLE_GAME_DIR}/\${f}\")
      message(FATAL_ERROR \"${BRIMBLE_GAME_DIR}/\${f} is missing: build the content first (make)\")
    endif()
  endforeach()")
# Hidden files (build stamps) and half-written pictures stay behind.
install(DIRECTORY ${BRIMBLE_GAME_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/brimble
  PATTERN ".*" EXCLUDE
  PATTERN "*.part.png" EXCLUDE)

if(UNIX)
  set(dist ${CMAKE_SOURCE_DIR}/dist)
  configure_file(${dist}/brimble.metainfo.xml.in ${CMAKE_BINARY_DIR}/dist/${BRIMBLE_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/dist/${BRIMBLE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The menu entry and the manual page name installed paths, so they are
  # written when installing: `cmake --install --prefix P` may pick another
  # prefix than the one configured.
  install(CODE "
    set(BRIMBLE_APP_ID \"${BRIMBLE_APP_ID}\")
    set(PROJECT_VERSION \"${PROJECT_VERSION}\")
    set(BRIMBLE_RELEASE_DATE \"${BRIMBLE_RELEASE_DATE}\")
    set(BRIMBLE_INSTALLED_GAME \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brimble\")
    set(BRIMBLE_INSTALLED_DATA \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/brimble\")
    set(BRIMBLE_INSTALLED_LIBEXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}/brimble\")
    configure_file(\"${dist}/brimble.desktop.in\" \"${CMAKE_BINARY_DIR}/dist/${BRIMBLE_APP_ID}.desktop\" @ONLY)
    configure_file(\"${dist}/brimble.6.in\" \"${CMAKE_BINARY_DIR}/dist/brimble.6\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\" TYPE FILE
         FILES \"${CMAKE_BINARY_DIR}/dist/${BRIMBLE_APP_ID}.desktop\")
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man6\" TYPE FILE
         FILES \"${CMAKE_BINARY_DIR}/dist/brimble.6\")")
  foreach(n ${BRIMBLE_ICON_SIZES})
    install(FILES ${BRIMBLE_GAME_DIR}/gfx/icon/brimble-${n}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${n}x${n}/apps RENAME ${BRIMBLE_APP_ID}.png)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/assets/art/icon/brimble.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${BRIMBLE_APP_ID}.svg)
endif()

# ---------------------------------------------------------------------------
# The Debian package (make package): the files above under /usr, the library
# dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brimble)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Brimble team")
set(CPACK_PACKAGE_CONTACT "The Brimble team <team@brimble.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "casual match-3 game with dogs and jigsaw pictures")
set(CPACK_PACKAGE_DESCRIPTION
  "Move coloured chips on a board of plates to form matches, break the plates' layers and
set off bonus chips. A quest of 191 levels leads through stages, one dog and its owner
each; won levels earn the pieces of a jigsaw picture that dresses the dog up.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Installed into a staging DESTDIR with the prefix /usr itself, so the menu
# entry and the manual page name /usr/bin/brimble, not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRIMBLE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
