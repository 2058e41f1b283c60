#!/usr/bin/env bash
# Cross-builds the game's libraries for 64-bit Windows from Debian's source packages, as static
# libraries, with Debian's mingw-w64 compiler (posix threads) and cmake/toolchains/
# mingw-w64-x86_64.cmake:
#
#   scripts/deps/build-windows.sh [PREFIX]      PREFIX defaults to the cache (common.sh's deps_prefix)
#
# zlib, libpng, freetype (with zlib and png, as Debian's but without brotli), harfbuzz (with
# freetype, its own Unicode tables), SDL2 (video, events, audio, joystick and game controller,
# timer; no render backends, OpenGL, Vulkan, haptic, sensor or power) and SDL2_ttf with harfbuzz,
# as Debian builds it. Each library's licence goes to PREFIX/share/licenses/NAME. A library whose
# stamp in PREFIX/share/hopla-deps matches is skipped; a failed build leaves its log in
# the cache's work/windows. At the end a small SDL_ttf program is linked against PREFIX and run
# under wine when wine is installed (scripts/deps/check). Needs the `windows` set of
# scripts/install-deps.sh.
set -euo pipefail
. "$(dirname "$0")/common.sh"

toolchain="$deps_root/cmake/toolchains/mingw-w64-x86_64.cmake"
command -v x86_64-w64-mingw32-gcc-posix >/dev/null ||
    deps_die "the mingw-w64 compiler is missing (scripts/install-deps.sh windows)"
total=$SECONDS
deps_init windows "${1:-}"
DEPS_CMAKE=(cmake -DCMAKE_TOOLCHAIN_FILE="$toolchain")

# zlib's CMake always builds a DLL too, whose resource file Debian's source leaves out: build
# only the static library and install it as libz.a, which find_package(ZLIB) and -lz take.
deps_install_zlib() {
    local build=$1 source=$2
    nice cmake --build "$build" -j "$DEPS_JOBS" --target zlibstatic
    install -D -m644 "$build/libzlibstatic.a" "$DEPS_PREFIX/lib/libz.a"
    install -D -m644 -t "$DEPS_PREFIX/include" "$source/zlib.h" "$build/zconf.h"
    install -D -m644 -t "$DEPS_PREFIX/lib/pkgconfig" "$build/zlib.pc"
}
deps_cmake zlib "$(deps_source zlib)"

deps_cmake libpng "$(deps_source libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON

deps_cmake freetype "$(deps_source freetype)" -DFT_REQUIRE_ZLIB=ON -DFT_REQUIRE_PNG=ON \
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_HARFBUZZ=ON

# harfbuzz checks freetype's functions by linking against the static freetype, which needs png
# and zlib after it.
deps_cmake harfbuzz "$(deps_source harfbuzz)" -DHB_HAVE_FREETYPE=ON -DHB_BUILD_SUBSET=OFF \
    -DHB_BUILD_UTILS=OFF -DHB_HAVE_GLIB=OFF -DHB_HAVE_ICU=OFF -DHB_HAVE_GOBJECT=OFF \
    -DFREETYPE_LIBRARY="$DEPS_PREFIX/lib/libfreetype.a;$DEPS_PREFIX/lib/libpng16.a;$DEPS_PREFIX/lib/libz.a"

deps_cmake sdl2 "$(deps_source libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_RENDER=OFF -DSDL_RENDER_D3D=OFF -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF \
    -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_CCACHE=OFF

deps_cmake sdl2_ttf "$(deps_source libsdl2-ttf)" -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF \
    -DSDL2TTF_HARFBUZZ=ON

echo "windows: libraries in $DEPS_PREFIX after $((SECONDS - total)) s"

# The check runs under wine in a private prefix beside the builds, on the X display there is or
# else on a virtual one, and opens the font through wine's Z: drive.
deps_run_check() {
    local exe="$1/sdl_ttf_check.exe" font="Z:${2//\//\\}"
    command -v wine >/dev/null || deps_die "wine is missing (scripts/install-deps.sh windows)"
    export WINEPREFIX="$deps_root/build-deps/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    if [ -n "${DISPLAY:-}" ]; then
        wine "$exe" "$font"
    else
        command -v xvfb-run >/dev/null || deps_die "xvfb-run is missing (apt-get install xvfb)"
        xvfb-run -a -s "-screen 0 640x480x24 -noreset" wine "$exe" "$font"
    fi
}
deps_check
