# Run by cpack on the staged packages, before they are packed: Debian keeps
# the programs of a game in /usr/games, so the game and its setup tool move
# there from /usr/bin (a plain `cmake --install` keeps every program in bin/).
# From either folder the programs find the installed data the same way, as
# ../share/veldra. Each package is staged in a folder of its own (named after
# its component); the two programs are in the game's.
set(stage "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
if(EXISTS "${stage}/game${CPACK_PACKAGING_INSTALL_PREFIX}")
  set(stage "${stage}/game")
endif()
set(stage "${stage}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${stage}/games")
foreach(program Veldra veldra-setup)
  if(NOT EXISTS "${stage}/bin/${program}")
    message(FATAL_ERROR "the staged package has no bin/${program}")
  endif()
  file(RENAME "${stage}/bin/${program}" "${stage}/games/${program}")
endforeach()
# Nothing else of the game's is in bin/; an empty folder is no part of it.
file(GLOB left "${stage}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${stage}/bin")
endif()
