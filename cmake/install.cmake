# Installation into a prefix laid out the way a Linux desktop expects:
#   bin/spanwright               launcher: runs the game in the player's data directory
#   bin/spanwright-verify        headless level checker
#                                (SPANWRIGHT_BINDIR moves both, e.g. to games/)
#   lib/spanwright/spanwright    the game itself
#   share/spanwright/            shipped data the launcher copies from
#   share/applications, share/metainfo, share/icons/hicolor
# Destinations are relative so `cmake --install --prefix` and DESTDIR both work.
set(SPANWRIGHT_APPID org.spanwright.Spanwright)
# A distribution may keep games in a directory of their own; the launcher
# finds the rest of the installation from its parent, so any one level below
# the prefix works.
set(SPANWRIGHT_BINDIR bin CACHE STRING "Directory below the prefix for the launcher and the checker")

install(PROGRAMS ${CMAKE_SOURCE_DIR}/dist/spanwright.sh
  DESTINATION ${SPANWRIGHT_BINDIR} RENAME spanwright)

if(TARGET spanwright-verify)
  install(TARGETS spanwright-verify RUNTIME DESTINATION ${SPANWRIGHT_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/dist/man/spanwright.6 ${CMAKE_SOURCE_DIR}/dist/man/spanwright-verify.6
  DESTINATION share/man/man6)

# Reference bridges stay with the tests; only the levels, their hints and
# the images ship.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/level
  DESTINATION share/spanwright
  FILES_MATCHING PATTERN "*.qzl" PATTERN "*.txt")
# What the launcher needs to bring a player's copies of earlier levels up to
# date (tools/shipped-levels.sh writes both).
install(FILES ${CMAKE_SOURCE_DIR}/dist/shipped-levels.sha256 ${CMAKE_SOURCE_DIR}/dist/level-renames.txt
  DESTINATION share/spanwright)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/texture
  DESTINATION share/spanwright
  FILES_MATCHING PATTERN "*.png")
if(EXISTS ${CMAKE_SOURCE_DIR}/data/bridge.bmp)
  install(FILES ${CMAKE_SOURCE_DIR}/data/bridge.bmp DESTINATION share/spanwright)
endif()

# The desktop entry names the launcher by its full installed path: a prefix
# such as ~/.local is not always on the PATH a desktop session starts menu
# entries with. The path is the prefix given at install time, which a
# DESTDIR staging install leaves as the final one.
install(CODE "set(spanwright_desktop \"${CMAKE_SOURCE_DIR}/dist/${SPANWRIGHT_APPID}.desktop\")")
install(CODE "set(spanwright_bindir \"${SPANWRIGHT_BINDIR}\")")
install(CODE [[
  # Written straight to its destination (and recorded in the manifest) so
  # that two installs from one build tree never share a scratch file.
  get_filename_component(name "${spanwright_desktop}" NAME)
  set(dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications")
  file(READ "${spanwright_desktop}" entry)
  string(REPLACE "Exec=spanwright" "Exec=\"${CMAKE_INSTALL_PREFIX}/${spanwright_bindir}/spanwright\"" entry "${entry}")
  message(STATUS "Installing: ${dir}/${name}")
  file(MAKE_DIRECTORY "${dir}")
  file(WRITE "${dir}/${name}" "${entry}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${dir}/${name}")
]])
install(FILES ${CMAKE_SOURCE_DIR}/dist/${SPANWRIGHT_APPID}.metainfo.xml
  DESTINATION share/metainfo)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/${SPANWRIGHT_APPID}-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps
    RENAME ${SPANWRIGHT_APPID}.png)
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION share/doc/spanwright)
