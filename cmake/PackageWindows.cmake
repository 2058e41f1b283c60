# The Windows build's zip (`make windows`, or the `zip` target in a Windows build tree):
# hopla-VERSION-windows-x64.zip holding one folder with hopla.exe, hopla-sim.exe, the wave files,
# the font, the shipped stage files in stages\ (where --stages NAME looks beside the programs),
# README.txt for players and the licences. No installer: the folder runs where it is
# unzipped. The font is Debian's IPAPGothic (fonts-ipafont-gothic), the face Linux finds through
# fontconfig; it also lies in the build tree beside the programs, where the platform looks.
set(HOPLA_FONT_FILE /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf CACHE FILEPATH
    "The font shipped beside hopla.exe (Debian's fonts-ipafont-gothic)")
set(HOPLA_FONT_LICENCE /usr/share/doc/fonts-ipafont-gothic/copyright CACHE FILEPATH
    "The shipped font's licence")
# The static C++ and thread run-time libraries' terms (winpthreads asks for its notice).
set(HOPLA_MINGW_LICENCE /usr/share/doc/mingw-w64-common/copyright CACHE FILEPATH
    "mingw-w64's licences, winpthreads' among them")
foreach(file HOPLA_FONT_FILE HOPLA_FONT_LICENCE HOPLA_MINGW_LICENCE)
    if(NOT EXISTS ${${file}})
        message(FATAL_ERROR "${${file}} is missing: scripts/install-deps.sh windows installs it")
    endif()
endforeach()

add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/ipagp.ttf
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HOPLA_FONT_FILE}
                           ${CMAKE_BINARY_DIR}/ipagp.ttf
                   DEPENDS ${HOPLA_FONT_FILE})
add_custom_target(hopla_font ALL DEPENDS ${CMAKE_BINARY_DIR}/ipagp.ttf)
add_dependencies(hopla hopla_font)
add_dependencies(hopla-sim hopla_font)

# The libraries' licences, from the prefix scripts/deps/build-windows.sh made.
set(HOPLA_DEPS_LICENCES "")
foreach(prefix ${CMAKE_PREFIX_PATH})
    if(IS_DIRECTORY ${prefix}/share/licenses)
        set(HOPLA_DEPS_LICENCES ${prefix}/share/licenses)
    endif()
endforeach()
if(NOT HOPLA_DEPS_LICENCES)
    message(FATAL_ERROR "no share/licenses in CMAKE_PREFIX_PATH: the zip needs the libraries' "
                        "licences (scripts/deps/build-windows.sh)")
endif()

configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt.in
               ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY)
set(HOPLA_ZIP_NAME hopla-${PROJECT_VERSION}-windows-x64)
set(zip_files $<TARGET_FILE:hopla> $<TARGET_FILE:hopla-sim> ${HOPLA_WAVES}
              ${CMAKE_BINARY_DIR}/ipagp.ttf)
add_custom_target(zip
    COMMAND ${CMAKE_COMMAND} -DNAME=${HOPLA_ZIP_NAME} -DOUT=${CMAKE_BINARY_DIR}
            "-DFILES=${zip_files}" "-DSTAGES=${HOPLA_STAGE_PACKS}" -DREADME=${CMAKE_BINARY_DIR}/packaging/README.txt
            -DLICENSE=${CMAKE_SOURCE_DIR}/LICENSE
            "-DLICENCES=IPAfont/copyright=${HOPLA_FONT_LICENCE};mingw-w64/copyright=${HOPLA_MINGW_LICENCE}"
            -DLIBRARIES=${HOPLA_DEPS_LICENCES} -DSTRIP=${CMAKE_STRIP} -P ${CMAKE_SOURCE_DIR}/cmake/WindowsZip.cmake
    DEPENDS hopla hopla-sim hopla_waves hopla_font ${HOPLA_STAGE_PACKS}
    COMMENT "Packing ${HOPLA_ZIP_NAME}.zip"
    VERBATIM)
