#!/usr/bin/env bash
# Builds the game's libraries for the web from Debian's source packages, as static wasm
# libraries, with Debian's emscripten and cmake/toolchains/emscripten.cmake:
#
#   scripts/deps/build-web.sh [PREFIX]      PREFIX defaults to the cache (common.sh's deps_prefix)
#
# freetype (no zlib, png, bzip2, brotli: only needed for compressed or colour-bitmap fonts),
# harfbuzz (with freetype), SDL2 (emscripten video, audio and joystick, timer, events; no
# threads, render backends, OpenGL ES, haptic, sensor or power) and SDL2_ttf with harfbuzz, as
# Debian builds it. emscripten's own SDL port is not used: it downloads its sources. Each
# library's licence goes to PREFIX/share/licenses/NAME. A library whose stamp in
# PREFIX/share/hopla-deps matches is skipped; a failed build leaves its log in the cache's work/web.
# At the end a small SDL_ttf program is linked against PREFIX and run under node
# (scripts/deps/check). Needs the `web` set of scripts/install-deps.sh.
set -euo pipefail
. "$(dirname "$0")/common.sh"

toolchain="$deps_root/cmake/toolchains/emscripten.cmake"
command -v emcc >/dev/null || deps_die "emscripten is missing (scripts/install-deps.sh web)"
# emcc runs Debian's acorn under node, which only Debian's own node finds by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
total=$SECONDS
deps_init web "${1:-}"
DEPS_CMAKE=(cmake -DCMAKE_TOOLCHAIN_FILE="$toolchain")

deps_cmake freetype "$(deps_source freetype)" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_HARFBUZZ=ON

deps_cmake harfbuzz "$(deps_source harfbuzz)" -DHB_HAVE_FREETYPE=ON -DHB_BUILD_SUBSET=OFF \
    -DHB_BUILD_UTILS=OFF -DHB_HAVE_GLIB=OFF -DHB_HAVE_ICU=OFF -DHB_HAVE_GOBJECT=OFF

deps_cmake sdl2 "$(deps_source libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_THREADS=OFF -DSDL_RENDER=OFF -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF \
    -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_CCACHE=OFF

deps_cmake sdl2_ttf "$(deps_source libsdl2-ttf)" -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF \
    -DSDL2TTF_HARFBUZZ=ON

echo "web: libraries in $DEPS_PREFIX after $((SECONDS - total)) s"

# The check runs under node, which has no canvas: SDL falls back to its dummy video driver. The
# program reads the font straight from the disk (NODERAWFS, see check/CMakeLists.txt). emscripten
# 3.1.6 loads its .wasm with fetch() when there is one, which node 18 and later have but which
# takes no file names: node runs without it.
deps_run_check() {
    node --no-experimental-fetch "$1/sdl_ttf_check.js" "$2"
}
deps_check
