# Hardening of the builds that players run (Release, RelWithDebInfo, and so the Debian
# package): the flags Debian's own packages are built with. Not in the sanitizer and fuzzing
# builds, whose runtimes bring their own checks (and clash with _FORTIFY_SOURCE), and not in
# Debug, where _FORTIFY_SOURCE does nothing without optimisation.
# In the browser the code runs in the browser's own sandbox, where none of it applies.
if(EMSCRIPTEN)
    return()
endif()
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

# Position-independent executables, so that the loader can place them anywhere.
check_pie_supported(OUTPUT_VARIABLE pie_error LANGUAGES C CXX)
if(CMAKE_CXX_LINK_PIE_SUPPORTED)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    # That makes the layers' static libraries -fPIC, but they end up only in executables,
    # where no function can be interposed: the compiler may inline and clone as it does in
    # an executable.
    check_cxx_compiler_flag(-fno-semantic-interposition HOPLA_HAS_NO_INTERPOSITION)
    if(HOPLA_HAS_NO_INTERPOSITION)
        add_compile_options(-fno-semantic-interposition)
    endif()
else()
    message(STATUS "Executables are not position-independent: ${pie_error}")
endif()

if(NOT HOPLA_SANITIZE AND NOT HOPLA_FUZZ)
    set(release_configs "$<CONFIG:Release,RelWithDebInfo>")
    # Overflow checks on the C library's string and memory calls, whatever the compiler's own
    # default was.
    add_compile_options("$<${release_configs}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
    add_compile_options("$<${release_configs}:-fstack-protector-strong>")
    # Only on the targets that have them (-fcf-protection is x86's). mingw-w64's GCC 12 takes
    # both but fails on them inside functions with exception unwinding (an internal error in
    # its SEH output), so the Windows build goes without.
    set(hopla_hardening_flags -fstack-clash-protection -fcf-protection)
    if(WIN32)
        set(hopla_hardening_flags)
    endif()
    foreach(flag ${hopla_hardening_flags})
        string(MAKE_C_IDENTIFIER "HOPLA_HAS${flag}" has_flag)
        check_cxx_compiler_flag(${flag} ${has_flag})
        if(${has_flag})
            add_compile_options("$<${release_configs}:${flag}>")
        endif()
    endforeach()
    if(WIN32)
        # The stack protector's and _FORTIFY_SOURCE's checks live in libssp there. The loader's
        # address randomisation and no-execute data are the linker's defaults for PE.
        add_link_options("$<${release_configs}:-fstack-protector-strong>")
    else()
        # Relocations resolved at start-up and then read-only.
        add_link_options("$<${release_configs}:LINKER:-z,relro,-z,now>")
    endif()
endif()
