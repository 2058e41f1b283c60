# What differs between the systems the game is built for: where its libraries come from, the
# platform layer's implementation and what it links, and how executables are finished. Every
# target system sets the same variables, so CMakeLists.txt names none of them:
#   HOPLA_SDL2, HOPLA_SDL2_TTF, HOPLA_PNG   the libraries' targets (HOPLA_PNG empty where
#                                           there is no libpng: no tools, no screenshots)
#   HOPLA_PLATFORM_SOURCE, HOPLA_PLATFORM_LIBS          the platform layer (its sources, a list)
#   hopla_finish_executable(TARGET)                     what each program needs besides its code
# A cross build names its system with a toolchain file (cmake/toolchains) and its libraries'
# prefix with CMAKE_PREFIX_PATH (scripts/deps builds one).
find_package(PkgConfig REQUIRED)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
    pkg_check_modules(SDL2_TTF REQUIRED IMPORTED_TARGET SDL2_ttf)
    pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
    pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
    pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
    set(HOPLA_SDL2 PkgConfig::SDL2)
    set(HOPLA_SDL2_TTF PkgConfig::SDL2_TTF)
    set(HOPLA_PNG PkgConfig::PNG)
    set(HOPLA_PLATFORM_SOURCE platform/PlatformLinux.cpp platform/PlatformPosix.cpp)
    set(HOPLA_PLATFORM_LIBS PkgConfig::SDL2 PkgConfig::FONTCONFIG PkgConfig::X11)
    function(hopla_finish_executable target)
    endfunction()

elseif(CMAKE_SYSTEM_NAME STREQUAL "Windows")
    # Static libraries only: SDL2's and SDL2_ttf's own CMake packages carry what their static
    # libraries need after them (harfbuzz, freetype, libpng, zlib, the Windows libraries), which
    # their .pc files' plain Libs do not.
    find_package(SDL2 CONFIG REQUIRED)
    find_package(SDL2_ttf CONFIG REQUIRED)
    find_package(PNG REQUIRED)
    set(HOPLA_SDL2 SDL2::SDL2-static)
    set(HOPLA_SDL2_TTF SDL2_ttf::SDL2_ttf-static)
    set(HOPLA_PNG PNG::PNG)
    set(HOPLA_PLATFORM_SOURCE platform/PlatformWindows.cpp)
    # The known folders (shell32, ole32 and their ids in uuid), the 1 ms timer period (winmm), the
    # message box (user32).
    set(HOPLA_PLATFORM_LIBS SDL2::SDL2-static shell32 ole32 uuid winmm user32)
    # The programs' own main() is the entry point (SDL's would rename it and want SDL2main); the
    # manifest below already gives it the command line in UTF-8.
    add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN UNICODE _UNICODE SDL_MAIN_HANDLED)
    # One .exe that needs no DLL: the C and C++ runtimes and winpthread linked in.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # The manifest makes UTF-8 the programs' code page (Windows 10 1903 and later), so that the
    # command line, and the standard library's narrow file names (std::ifstream, fopen,
    # std::filesystem), carry every letter of a path; the platform layer's own calls are UTF-16.
    # Each program has its own resource file, made from platform/windows/hopla.rc.in: the
    # manifest, the game's icon (16 to 256 pixels, made by cmake/WindowsIcon.cmake) and the
    # version information with the program's own description.
    include(${CMAKE_SOURCE_DIR}/cmake/WindowsIcon.cmake)
    set(HOPLA_DESCRIPTION_hopla "Hopla")
    set(HOPLA_DESCRIPTION_hopla-sim "Hopla on a virtual clock, for scripts and demos")
    function(hopla_finish_executable target)
        set(HOPLA_RC_NAME ${target})
        set(HOPLA_RC_DESCRIPTION "${HOPLA_DESCRIPTION_${target}}")
        if(NOT HOPLA_RC_DESCRIPTION)
            set(HOPLA_RC_DESCRIPTION "Hopla's ${target}")
        endif()
        set(HOPLA_RC_MANIFEST ${CMAKE_SOURCE_DIR}/platform/windows/hopla.manifest)
        set(HOPLA_RC_ICON ${HOPLA_ICO})
        set(HOPLA_RC_MORE_ICONS "")
        if(target STREQUAL "hopla")
            set(HOPLA_RC_MORE_ICONS "2 ICON \"${HOPLA_DEMO_ICO}\"\n3 ICON \"${HOPLA_STAGES_ICO}\"")
        endif()
        set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
        configure_file(${CMAKE_SOURCE_DIR}/platform/windows/hopla.rc.in ${rc} @ONLY)
        target_sources(${target} PRIVATE ${rc})
        set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
                                    "${HOPLA_ICO};${HOPLA_DEMO_ICO};${HOPLA_STAGES_ICO};${HOPLA_RC_MANIFEST}")
        add_dependencies(${target} hopla_ico)
    endfunction()

elseif(CMAKE_SYSTEM_NAME STREQUAL "Emscripten")
    # The static wasm libraries of scripts/deps/build-web.sh (CMAKE_PREFIX_PATH); never
    # emscripten's own SDL port, which downloads its sources.
    find_package(SDL2 CONFIG REQUIRED)
    find_package(SDL2_ttf CONFIG REQUIRED)
    set(HOPLA_SDL2 SDL2::SDL2-static)
    set(HOPLA_SDL2_TTF SDL2_ttf::SDL2_ttf-static)
    set(HOPLA_PNG "")  # no libpng: no hopla-sim, PNG writer or screenshots in the browser
    set(HOPLA_PLATFORM_SOURCE platform/PlatformWeb.cpp platform/PlatformPosix.cpp)
    # IDBFS for the settings and records kept in the browser.
    set(HOPLA_PLATFORM_LIBS SDL2::SDL2-static idbfs.js)
    # Every program: memory that grows with the game, and C++ exceptions caught (bad demo
    # files, bad settings).
    add_compile_options(-fexceptions)
    add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)
    function(hopla_finish_executable target)
    endfunction()

else()
    message(FATAL_ERROR
            "hopla builds for Linux, Windows and the web (Emscripten), not ${CMAKE_SYSTEM_NAME}")
endif()
