# The kzo2c package: find_package(kzo2c) gives the translator as the
# imported target kzo2c::kzo2c, what generated programs link with as
# kzo2c::curses, and the function kzo2c_add_executable (kzo2cFunctions.cmake).
include(CMakeFindDependencyMacro)
find_dependency(Curses)

# This file lives in PREFIX/lib/cmake/kzo2c.
get_filename_component(_kzo2c_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

if(NOT TARGET kzo2c::kzo2c)
  add_executable(kzo2c::kzo2c IMPORTED)
  set_target_properties(kzo2c::kzo2c PROPERTIES
    IMPORTED_LOCATION "${_kzo2c_prefix}/bin/kzo2c")
endif()
if(NOT TARGET kzo2c::curses)
  add_library(kzo2c::curses INTERFACE IMPORTED)
  set_target_properties(kzo2c::curses PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${CURSES_INCLUDE_DIRS}"
    INTERFACE_LINK_LIBRARIES "${CURSES_LIBRARIES};m")
endif()
unset(_kzo2c_prefix)

include("${CMAKE_CURRENT_LIST_DIR}/kzo2cFunctions.cmake")
