# The run tree: the program runs from run/bin, a sibling of run/conf and
# run/data, so "../conf/conf.xml" resolves; logs and profiles are written beside.
set(SDS_RUN_DIR "${CMAKE_BINARY_DIR}/run")
set(SDS_RUN_BIN_DIR "${SDS_RUN_DIR}/bin")
# Files the build makes (meshes, sounds, physics-editor files) go here.
set(SDS_GENERATED_DATA_DIR "${SDS_RUN_DIR}/data")

file(MAKE_DIRECTORY "${SDS_RUN_BIN_DIR}" "${SDS_RUN_DIR}/logs" "${SDS_RUN_DIR}/profiles")

add_custom_target(run_tree ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/conf -DDEST=${SDS_RUN_DIR}/conf
          -P ${CMAKE_SOURCE_DIR}/cmake/CopyTree.cmake
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/data -DDEST=${SDS_RUN_DIR}/data
          -P ${CMAKE_SOURCE_DIR}/cmake/CopyTree.cmake
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SDS_RUN_DIR}/logs ${SDS_RUN_DIR}/profiles
  COMMENT "Updating the run tree"
  VERBATIM)
