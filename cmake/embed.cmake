# Turns the file IN into a C++ source OUT that defines NAME_text (default
# kzo_runtime_text) and NAME_size, holding the file's bytes exactly.
if(NOT DEFINED NAME)
  set(NAME kzo_runtime)
endif()
get_filename_component(inname ${IN} NAME)
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR len "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from runtime/${inname}: do not edit.\n#include <cstddef>\nextern const char ${NAME}_text[];\nextern const std::size_t ${NAME}_size;\nconst char ${NAME}_text[] = {\n${bytes}0x00};\nconst std::size_t ${NAME}_size = ${len};\n")
