# Turns a binary file into a C++ source holding its bytes: cmake -DIN= -DOUT= -DNAME= -P Embed.cmake
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hex_len)
math(EXPR size "${hex_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n#include <cstddef>\n#include <cstdint>\n#include <span>\n\nnamespace hopla::assets {\nstatic const std::uint8_t kBytes[${size}] = {\n${bytes}};\nstd::span<const std::uint8_t> ${NAME}() { return {kBytes, ${size}}; }\n}  // namespace hopla::assets\n")
