# CMake toolchain for 64-bit Windows with Debian's mingw-w64 cross compiler, posix thread model
# (g++-mingw-w64-x86-64-posix), which C++ std::thread and std::mutex need. Used by
# scripts/deps/build-windows.sh for the libraries and by the game's own Windows build:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
#         -DCMAKE_PREFIX_PATH=$(scripts/deps/prefix.sh windows) ...
# Programs are found on the build machine, libraries and headers only in the target's root
# (Debian's mingw sysroot and the CMAKE_PREFIX_PATH prefixes, e.g. the one scripts/deps/prefix.sh prints).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HOPLA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HOPLA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HOPLA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HOPLA_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${HOPLA_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "archiver")
set(CMAKE_RANLIB ${HOPLA_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "ranlib")

# Programs link statically, libstdc++, libgcc and winpthread included, so that one .exe runs
# without mingw's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The prefixes given in CMAKE_PREFIX_PATH are roots of their own, searched as they are.
set(CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH} /usr/${HOPLA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must look at the Windows prefixes only, never at the build machine's .pc files.
set(ENV{PKG_CONFIG_LIBDIR} "")
foreach(prefix ${CMAKE_PREFIX_PATH})
    set(ENV{PKG_CONFIG_LIBDIR} "$ENV{PKG_CONFIG_LIBDIR}:${prefix}/lib/pkgconfig")
endforeach()

# Run test programs (try_run, tests) under wine when it is installed.
find_program(HOPLA_WINE NAMES wine64 wine)
if(HOPLA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${HOPLA_WINE})
endif()
