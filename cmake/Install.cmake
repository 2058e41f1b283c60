# Install rules: `cmake --install` gives a working game under any prefix, DESTDIR included.
#
# The game plays its wave files from the directory of its own executable, resolved through
# /proc/self/exe. So the real executables and the waves go together into a private directory,
# and the games path holds relative symlinks to them: whoever starts `hopla` from the games
# path, the game resolves the link and finds its sounds, and a prefix moved as a whole after
# installing still works. hopla-sim runs the same game code and reads the same waves (their
# lengths time the waiting sounds), so it lives beside the game under the same rule, and so does
# hopla-solve.
include(GNUInstallDirs)

# Debian keeps the commands of games in /usr/games and their private programs in
# /usr/lib/games/PACKAGE; the same names work under any other prefix.
set(HOPLA_INSTALL_GAMESDIR "games" CACHE STRING
    "Where the hopla, hopla-sim and hopla-solve commands go, relative to the prefix")
set(HOPLA_INSTALL_PKGDIR "lib/games/hopla" CACHE STRING
    "Where the executables and their wave files go, relative to the prefix")
# HOPLA_APP_ID, the one name of the game for desktops, is set in CMakeLists.txt.
set(HOPLA_SCREENSHOT_URL "" CACHE STRING
    "Web address of packaging/screenshot.png for the AppStream data (none: no screenshot)")

foreach(dir HOPLA_INSTALL_GAMESDIR HOPLA_INSTALL_PKGDIR)
    if(IS_ABSOLUTE "${${dir}}")
        message(FATAL_ERROR "${dir} must be relative to the prefix, so that the links between "
                            "the games path and the game's own directory survive a move")
    endif()
endforeach()

# The links are made in the build tree and installed as they are (install copies a symlink as
# a symlink).
file(RELATIVE_PATH link_target /prefix/${HOPLA_INSTALL_GAMESDIR} /prefix/${HOPLA_INSTALL_PKGDIR})
set(link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${link_dir})
set(HOPLA_COMMAND_LINKS)
foreach(program hopla hopla-sim hopla-solve)
    file(CREATE_LINK ${link_target}/${program} ${link_dir}/${program} SYMBOLIC)
    list(APPEND HOPLA_COMMAND_LINKS ${link_dir}/${program})
endforeach()

install(TARGETS hopla hopla-sim hopla-solve RUNTIME DESTINATION ${HOPLA_INSTALL_PKGDIR})
# A stripped install (the package's, `cmake --install --strip`) drops the compilers' notes of
# their versions too, as Debian's own packages do: strip leaves them.
if(CMAKE_OBJCOPY)
    foreach(program hopla hopla-sim hopla-solve)
        install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${HOPLA_INSTALL_PKGDIR}/$<TARGET_FILE_NAME:${program}>\"
        COMMAND_ERROR_IS_FATAL ANY)
endif()")
    endforeach()
endif()

# Stage files shipped with the game, found by name (hopla --stages NAME) through the path from
# the executables' directory, so that a moved prefix still finds them.
set(HOPLA_INSTALL_STAGESDIR "${CMAKE_INSTALL_DATADIR}/games/hopla/stages")
file(RELATIVE_PATH stages_from_exe /prefix/${HOPLA_INSTALL_PKGDIR}
     /prefix/${HOPLA_INSTALL_STAGESDIR})
target_compile_definitions(hopla_shell PRIVATE HOPLA_STAGES_FROM_EXE="${stages_from_exe}")
install(FILES ${HOPLA_STAGE_PACKS} DESTINATION ${HOPLA_INSTALL_STAGESDIR})
install(FILES ${HOPLA_WAVES} DESTINATION ${HOPLA_INSTALL_PKGDIR})
install(FILES ${HOPLA_COMMAND_LINKS} DESTINATION ${HOPLA_INSTALL_GAMESDIR})

# The menu entry, the icon in every size of the hicolor theme, the AppStream data.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/hopla.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${HOPLA_APP_ID}.desktop)
foreach(size 16 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/hopla-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME hopla.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/hopla.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The date of the release built, for the AppStream data and the Debian changelog:
# SOURCE_DATE_EPOCH when set, else the date of the commit built (so that one commit always gives
# the same files), else the time of configuring.
find_package(Git QUIET)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE commit_time
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
endif()
string(TIMESTAMP HOPLA_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP HOPLA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
if(commit_time MATCHES "^[0-9]+$")
    unset(ENV{SOURCE_DATE_EPOCH})
endif()

if(HOPLA_SCREENSHOT_URL)
    string(CONCAT HOPLA_SCREENSHOTS
           "<screenshots>\n"
           "    <screenshot type=\"default\">\n"
           "      <caption>Stage 3: the ball bouncing beside a launcher</caption>\n"
           "      <image>${HOPLA_SCREENSHOT_URL}</image>\n"
           "    </screenshot>\n"
           "  </screenshots>\n  ")
else()
    set(HOPLA_SCREENSHOTS "")
endif()
configure_file(${CMAKE_SOURCE_DIR}/packaging/hopla.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${HOPLA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${HOPLA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages from their scdoc sources, compressed as Debian wants them; each keeps only its
# Linux words first (scripts/man-text.py: hopla's page is also the Windows README's source).
find_program(HOPLA_SCDOC scdoc)
find_program(HOPLA_GZIP gzip)
find_package(Python3 COMPONENTS Interpreter)
if(HOPLA_SCDOC AND HOPLA_GZIP AND Python3_FOUND)
    set(pages)
    foreach(page hopla.6 hopla-sim.6 hopla-solve.6)
        set(source ${CMAKE_SOURCE_DIR}/packaging/man/${page}.scd)
        set(out ${CMAKE_BINARY_DIR}/man/${page}.gz)
        set(raw ${CMAKE_BINARY_DIR}/man/${page})
        add_custom_command(
            OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/man-text.py man linux
                    ${source} ${raw}.scd
            COMMAND sh -c [["$1" < "$2" > "$3"]] scdoc ${HOPLA_SCDOC} ${raw}.scd ${raw}
            COMMAND ${HOPLA_GZIP} -9nf ${raw}
            DEPENDS ${source} ${CMAKE_SOURCE_DIR}/scripts/man-text.py
            COMMENT "Writing the manual page ${page}"
            VERBATIM)
        list(APPEND pages ${out})
    endforeach()
    add_custom_target(hopla_man ALL DEPENDS ${pages})
    install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
else()
    message(STATUS "Manual pages are not built and not installed: scdoc, gzip or python3 is missing")
endif()
