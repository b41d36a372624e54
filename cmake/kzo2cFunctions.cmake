# kzo2c_add_executable(NAME SOURCE.bas [OPTIONS kzo2c-options...])
#
# Translates SOURCE.bas with kzo2c at build time into NAME.c in the current
# binary directory and builds the program NAME from it, linked with curses
# and the math library. The translation runs again when the source or
# kzo2c changes. A translation error fails the build with kzo2c's report,
# and no C file is left that a later build could take as up to date.
# OPTIONS go to kzo2c before the source (-g: #line directives naming the
# source lines, for debuggers, sanitizers and compiler messages; --classic:
# a line-numbered classic program, which becomes a console program linked
# with the math library only).
#
# Needs the targets kzo2c::kzo2c (the translator) and kzo2c::curses (what
# generated programs link with), which the package or kzo2c's own build
# define, and the C language enabled in the project.

set_property(GLOBAL PROPERTY KZO2C_TRANSLATE_SCRIPT
             "${CMAKE_CURRENT_LIST_DIR}/kzo2cTranslate.cmake")

function(kzo2c_add_executable name source)
  cmake_parse_arguments(PARSE_ARGV 2 KZO "" "" "OPTIONS")
  if(KZO_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "kzo2c_add_executable(${name}): unexpected arguments "
                        "${KZO_UNPARSED_ARGUMENTS} (usage: NAME SOURCE [OPTIONS ...])")
  endif()
  get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
  if(NOT "C" IN_LIST languages)
    message(FATAL_ERROR "kzo2c_add_executable(${name}): the generated program "
                        "is C; enable the C language in project() first")
  endif()
  get_property(script GLOBAL PROPERTY KZO2C_TRANSLATE_SCRIPT)
  get_filename_component(src "${source}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(c "${CMAKE_CURRENT_BINARY_DIR}/${name}.c")
  add_custom_command(
    OUTPUT "${c}"
    COMMAND "${CMAKE_COMMAND}" "-DKZO2C=$<TARGET_FILE:kzo2c::kzo2c>"
            "-DKZO2C_OPTIONS=${KZO_OPTIONS}" "-DSOURCE=${src}" "-DOUTPUT=${c}"
            -P "${script}"
    DEPENDS "${src}" kzo2c::kzo2c "${script}"
    COMMENT "Translating ${source} with kzo2c"
    VERBATIM)
  add_executable(${name} "${c}")
  if("--classic" IN_LIST KZO_OPTIONS)
    target_link_libraries(${name} PRIVATE m)
  else()
    target_link_libraries(${name} PRIVATE kzo2c::curses)
  endif()
endfunction()
