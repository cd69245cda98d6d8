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
