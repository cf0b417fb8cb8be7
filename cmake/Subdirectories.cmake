# Adds every folder below the current source folder that has a CMakeLists.txt,
# so a new area joins the build by having one.
function(sds_add_subdirectories)
  file(GLOB dirs LIST_DIRECTORIES true "${CMAKE_CURRENT_SOURCE_DIR}/*")
  foreach(dir IN LISTS dirs)
    if(IS_DIRECTORY "${dir}" AND EXISTS "${dir}/CMakeLists.txt")
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
