# CMake toolchain for the web with Debian's emscripten (package emscripten): Debian's own
# Emscripten.cmake, plus what this machine's node needs. Used by scripts/deps/build-web.sh for the
# libraries and by the game's own web build:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/emscripten.cmake
#         -DCMAKE_PREFIX_PATH=$(scripts/deps/prefix.sh web) ...
set(HOPLA_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "Debian's emscripten")
include(${HOPLA_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

# The prefixes given in CMAKE_PREFIX_PATH are roots of their own, searched as they are and
# before emscripten's sysroot, whose SDL2 package stands for emscripten's downloaded SDL port.
list(PREPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})

# emcc runs Debian's acorn (node-acorn) under node when it links; a node that is not Debian's
# own does not look in /usr/share/nodejs, so every link gets NODE_PATH.
set(HOPLA_NODE_PATH /usr/share/nodejs)
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${HOPLA_NODE_PATH})
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${HOPLA_NODE_PATH})

# SDL 2.26's audio calls two emscripten library functions that emscripten 3.1.6 leaves out
# unless asked.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=['$autoResumeAudioContext','$dynCall']")

# Test programs run under node, without node's fetch(), which emscripten 3.1.6 would try to load
# the .wasm file with.
find_program(HOPLA_NODE NAMES node nodejs)
if(HOPLA_NODE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${HOPLA_NODE} --no-experimental-fetch)
endif()
