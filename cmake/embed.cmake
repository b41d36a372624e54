# Turns the file IN into a C++ source OUT that defines kzo_runtime_text,
# holding the file's bytes exactly.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR len "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from runtime/runtime.c: do not edit.\n#include <cstddef>\nextern const char kzo_runtime_text[];\nextern const std::size_t kzo_runtime_size;\nconst char kzo_runtime_text[] = {\n${bytes}0x00};\nconst std::size_t kzo_runtime_size = ${len};\n")
