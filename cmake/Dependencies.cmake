# Every library the program builds on, as imported targets. Only the layers over
# a library link it: Bullet in src/physics; Ogre, CEGUI, OIS and OpenAL in the
# wrappers code.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(Boost 1.74 REQUIRED COMPONENTS program_options filesystem date_time)
find_package(XercesC REQUIRED)
find_package(ZLIB REQUIRED)
find_package(OpenAL REQUIRED)
find_package(Bullet REQUIRED)
find_package(OGRE 1.12 REQUIRED COMPONENTS Overlay Terrain Paging Bites)
find_package(GTest REQUIRED)
find_package(benchmark QUIET)

pkg_check_modules(CEGUI REQUIRED IMPORTED_TARGET CEGUI-0)
pkg_check_modules(CEGUI_OGRE REQUIRED IMPORTED_TARGET CEGUI-0-OGRE)
# CEGUI's renderer without output, for headless tests of the GUI.
pkg_check_modules(CEGUI_NULL REQUIRED IMPORTED_TARGET CEGUI-0-NULL)
pkg_check_modules(OIS REQUIRED IMPORTED_TARGET OIS)
# luabind's .pc file leaves lua5.2 out of its public libs.
pkg_check_modules(LUABIND REQUIRED IMPORTED_TARGET luabind lua5.2)
# Debian builds luabind in C++11 mode (std::unique_ptr in its interface); its
# headers must be told so, or calls bind to the std::auto_ptr overloads.
set_property(TARGET PkgConfig::LUABIND APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS
  LUABIND_USE_CXX11 BOOST_BIND_GLOBAL_PLACEHOLDERS)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)

if(NOT TARGET sds_bullet)
  add_library(sds_bullet INTERFACE)
  target_include_directories(sds_bullet SYSTEM INTERFACE ${BULLET_INCLUDE_DIRS})
  target_link_libraries(sds_bullet INTERFACE ${BULLET_LIBRARIES})
endif()

if(NOT TARGET sds_openal)
  add_library(sds_openal INTERFACE)
  target_include_directories(sds_openal SYSTEM INTERFACE ${OPENAL_INCLUDE_DIR})
  target_link_libraries(sds_openal INTERFACE ${OPENAL_LIBRARY})
endif()

set(SDS_OGRE_PLUGIN_DIR "${OGRE_PLUGIN_DIR}" CACHE PATH "Folder of the rendering engine's plug-ins")
