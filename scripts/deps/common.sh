# Shared by build-windows.sh and build-web.sh (sourced, not run): where the unpacked Debian
# sources are, and one CMake build per library with a stamp, a timing line and its licence.
#
# deps_init TARGET [PREFIX] fetches the sources (fetch-sources.sh) and sets the directories:
#                           sources in CACHE/src, builds in CACHE/work/TARGET/NAME, the
#                           libraries in PREFIX (default: deps_prefix TARGET). Holds a lock on
#                           the cache until the script ends, so two clones building at once wait.
# deps_prefix TARGET        prints CACHE/TARGET-KEY, where KEY is made of the pinned versions,
#                           the target's build script and its toolchain file: a second clone on
#                           the same machine finds the libraries built, a changed pin builds anew.
#                           CACHE is $HOPLA_DEPS_CACHE, else ~/.cache/hopla-deps (XDG).
# deps_cmake NAME SOURCE [CMAKE ARGS...]
#                           configures, builds and installs one library into PREFIX with
#                           $DEPS_CMAKE (the command that runs cmake for the target). Skipped
#                           when PREFIX's stamp of NAME names the same source and arguments.
#                           A function deps_install_NAME, if defined, replaces the build of all
#                           targets and `cmake --install`; deps_after_NAME (which must do
#                           nothing when run twice) runs after either, and on a skipped one.
set -euo pipefail

deps_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
deps_root=$(cd "$deps_here/../.." && pwd)
DEPS_JOBS=${DEPS_JOBS:-$(nproc)}

deps_die() { echo "$(basename "$0"): $*" >&2; exit 1; }

deps_cache=$(realpath -m "${HOPLA_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/hopla-deps}")

deps_prefix() {
    local target=$1 toolchain key
    case "$target" in
    windows) toolchain=mingw-w64-x86_64.cmake ;;
    web) toolchain=emscripten.cmake ;;
    *) deps_die "no such target: $target (windows or web)" ;;
    esac
    key=$(cat "$deps_here/versions.txt" "$deps_here/build-$target.sh" \
              "$deps_root/cmake/toolchains/$toolchain" | sha256sum | cut -c1-16)
    echo "$deps_cache/$target-$key"
}

deps_init() {
    DEPS_TARGET=$1
    DEPS_PREFIX=$(realpath -m "${2:-$(deps_prefix "$1")}")
    DEPS_SRC=$(realpath -m "${DEPS_SRC:-$deps_cache/src}")
    DEPS_WORK=$(realpath -m "${DEPS_WORK:-$deps_cache/work}/$DEPS_TARGET")
    mkdir -p "$DEPS_PREFIX/share/hopla-deps" "$DEPS_WORK"
    exec {deps_lock}>"$deps_cache/lock"
    flock "$deps_lock"
    bash "$deps_here/fetch-sources.sh" "$DEPS_SRC" >/dev/null
}

# The unpacked source directory of the Debian source package NAME, from versions.txt.
deps_source() {
    local version
    version=$(awk -v n="$1" '$1 == n { print $2 }' "$deps_here/versions.txt")
    [ -n "$version" ] || deps_die "$1 is not pinned in versions.txt"
    version=${version#*:}
    echo "$DEPS_SRC/$1-${version%-*}"
}

# Copies the Debian copyright file and the upstream licence files of SOURCE into
# PREFIX/share/licenses/NAME, for the packages that ship these libraries.
deps_licence() {
    local name=$1 source=$2 f
    case "$name" in sdl2) name=SDL2 ;; sdl2_ttf) name=SDL2_ttf ;; esac
    local dest="$DEPS_PREFIX/share/licenses/$name"
    mkdir -p "$dest"
    cp "$source/debian/copyright" "$dest/copyright"
    for f in LICENSE.txt LICENSE.TXT COPYING LICENSE docs/FTL.TXT docs/LICENSE.TXT; do
        [ -f "$source/$f" ] && cp "$source/$f" "$dest/$(basename "$f")"
    done
    # zlib's and libpng's terms are in their README and LICENSE/png.h.
    [ "$name" != zlib ] || sed -n '/^Copyright notice:/,$p' "$source/README" >"$dest/README-licence"
}

deps_cmake() {
    local name=$1 source=$2
    shift 2
    local stamp="$DEPS_PREFIX/share/hopla-deps/$name.stamp"
    local build="$DEPS_WORK/$name" log="$DEPS_WORK/$name.log"
    local want
    want=$(printf '%s\n' "$source" "$@")
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
        deps_licence "$name" "$source"
        [ "$(type -t "deps_after_$name")" != function ] || "deps_after_$name"
        echo "$DEPS_TARGET: $name $(basename "$source") is up to date"
        return
    fi
    [ -d "$source" ] || deps_die "no sources of $name in $source"
    local start=$SECONDS
    rm -rf "$build" "$stamp"
    if ! { "${DEPS_CMAKE[@]}" -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
               -DCMAKE_INSTALL_PREFIX="$DEPS_PREFIX" -DCMAKE_PREFIX_PATH="$DEPS_PREFIX" \
               -DBUILD_SHARED_LIBS=OFF "$@" &&
           if [ "$(type -t "deps_install_$name")" = function ]; then
               "deps_install_$name" "$build" "$source"
           else
               nice cmake --build "$build" -j "$DEPS_JOBS" && cmake --install "$build"
           fi; } >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        deps_die "building $name failed; the whole log is $log"
    fi
    deps_licence "$name" "$source"
    [ "$(type -t "deps_after_$name")" != function ] || "deps_after_$name"
    echo "$want" >"$stamp"
    echo "$DEPS_TARGET: $name $(basename "$source") built in $((SECONDS - start)) s"
}

# The smoke test: builds scripts/deps/check against PREFIX with $DEPS_CMAKE, runs it through the
# target's runner `deps_run_check PROGRAM FONT` and compares the text it rendered with the same
# program built natively against Debian's own SDL2 and SDL2_ttf (when their -dev packages are
# installed): the libraries must render the very same pixels. Skipped when it passed before
# with the same libraries and the same test.
DEPS_FONT=${DEPS_FONT:-/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf}
deps_check() {
    local build="$DEPS_WORK/check" log="$DEPS_WORK/check.log" stamp
    stamp="$DEPS_PREFIX/share/hopla-deps/check.stamp"
    local want
    want=$(find "$deps_here/check" "$DEPS_PREFIX/share/hopla-deps" "$deps_here/common.sh" "$0" \
               -type f ! -name check.stamp | LC_ALL=C sort | xargs cat | sha256sum)
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
        echo "$DEPS_TARGET: the SDL_ttf check passed before with these libraries"
        return
    fi
    [ -f "$DEPS_FONT" ] || deps_die "$DEPS_FONT is missing (apt-get install fonts-ipafont-gothic)"
    local start=$SECONDS
    rm -rf "$build" "$stamp"
    if ! { "${DEPS_CMAKE[@]}" -S "$deps_here/check" -B "$build" -G Ninja \
               -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$DEPS_PREFIX" &&
           nice cmake --build "$build"; } >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        deps_die "the SDL_ttf check does not build against $DEPS_PREFIX; the whole log is $log"
    fi
    # Windows programs end their lines with CR LF. What the runner says on stderr (wine's
    # complaints about a machine without a sound card) is shown only when the check fails.
    local out="$DEPS_WORK/check.out"
    if ! deps_run_check "$build" "$DEPS_FONT" 2>"$out.err" | tr -d '\r' >"$out"; then
        cat "$out" "$out.err" >&2
        deps_die "the SDL_ttf check failed on $DEPS_TARGET"
    fi
    sed "s/^/$DEPS_TARGET check: /" "$out"
    local text native
    text=$(grep '^text: ' "$out") || deps_die "the SDL_ttf check printed no text line"
    native=$(deps_native_text) || true
    if [ -z "$native" ]; then
        echo "$DEPS_TARGET: no native SDL2_ttf to compare with (libsdl2-ttf-dev); not compared"
    elif [ "$native" != "$text" ]; then
        deps_die "$DEPS_TARGET renders \"$text\" where Debian's SDL2_ttf renders \"$native\""
    else
        echo "$DEPS_TARGET: the text renders as with Debian's own SDL2_ttf"
    fi
    echo "$want" >"$stamp"
    echo "$DEPS_TARGET: the SDL_ttf check passed in $((SECONDS - start)) s"
}

# The text line of the check built for this machine against Debian's SDL2 and SDL2_ttf.
deps_native_text() {
    pkg-config --exists sdl2 SDL2_ttf 2>/dev/null || return 1
    local exe="$DEPS_WORK/../native-check/sdl_ttf_check"
    mkdir -p "$(dirname "$exe")"
    # shellcheck disable=SC2046
    cc -O2 -o "$exe" "$deps_here/check/sdl_ttf_check.c" $(pkg-config --cflags --libs sdl2 SDL2_ttf) ||
        return 1
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$exe" "$DEPS_FONT" | grep '^text: '
}

# harfbuzz 6.0's installed CMake package, which SDL2_ttf's package loads, is broken: it links
# Threads::Threads without looking for it, and names "/harfbuzz" as its include directory.
deps_after_harfbuzz() {
    local config="$DEPS_PREFIX/lib/cmake/harfbuzz/harfbuzzConfig.cmake"
    grep -q 'find_dependency(Threads)' "$config" && return
    { echo 'include(CMakeFindDependencyMacro)'; echo 'find_dependency(Threads)'
      sed 's|INTERFACE_INCLUDE_DIRECTORIES "/harfbuzz"|INTERFACE_INCLUDE_DIRECTORIES "${_IMPORT_PREFIX}/include/harfbuzz"|' \
          "$config"; } >"$config.new"
    mv "$config.new" "$config"
}
