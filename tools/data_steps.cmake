# Generated assets go into the build's data tree after the hand-written files.
set(VOVARO_ASSETS_STAMP ${CMAKE_BINARY_DIR}/assets.stamp)
add_custom_command(OUTPUT ${VOVARO_ASSETS_STAMP}
  COMMAND $<TARGET_FILE:assetgen> ${VOVARO_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${VOVARO_ASSETS_STAMP}
  DEPENDS assetgen
  COMMENT "Generating assets")
add_custom_target(generated_assets DEPENDS ${VOVARO_ASSETS_STAMP})
add_dependencies(generated_assets data_tree)
add_custom_target(game_data ALL)
add_dependencies(game_data data_tree generated_assets)
add_dependencies(vovaro game_data)

# The levels: the level tool checks the designs of data/LevelDesigns against
# the assembled data tree and writes Levels\ into it; a broken level fails the
# build.
file(GLOB vovaro_level_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/LevelDesigns/*.txt
  ${CMAKE_SOURCE_DIR}/data/Settings/*.xml ${CMAKE_SOURCE_DIR}/data/Settings/Bases/*)
set(VOVARO_LEVELS_STAMP ${CMAKE_BINARY_DIR}/levels.stamp)
add_custom_command(OUTPUT ${VOVARO_LEVELS_STAMP}
  COMMAND $<TARGET_FILE:leveltool> ${VOVARO_DATA_DIR} ${VOVARO_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${VOVARO_LEVELS_STAMP}
  DEPENDS leveltool ${vovaro_level_inputs}
  COMMENT "Checking and writing the levels")
add_custom_target(game_levels DEPENDS ${VOVARO_LEVELS_STAMP})
add_dependencies(game_levels data_tree generated_assets)
add_dependencies(game_data game_levels)
