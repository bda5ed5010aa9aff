# Run by cpack on the staged package, before it is packed: Debian keeps the
# programs of a game in /usr/games, so the game and its setup tool move there
# from /usr/bin (a plain `cmake --install` keeps every program in bin/). From
# either folder the programs find the installed data the same way, as
# ../share/veldra.
set(stage "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${stage}/games")
foreach(program Veldra veldra-setup)
  if(NOT EXISTS "${stage}/bin/${program}")
    message(FATAL_ERROR "the staged package has no bin/${program}")
  endif()
  file(RENAME "${stage}/bin/${program}" "${stage}/games/${program}")
endforeach()
