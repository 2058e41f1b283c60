# The Windows build's zip (`make windows`, or the `zip` target in a Windows build tree):
# hopla-VERSION-windows-x64.zip holding one folder with hopla.exe, the wave files, the font, the
# shipped stage files in stages\ (where --stages NAME looks beside the programs), hopla-sim.exe
# in tools\, README.txt for players and the licences as .txt files, the programs stripped. The
# folder runs where it is unzipped; the installer (cmake/Installer.cmake) installs the same
# folder. The font is Debian's IPAPGothic (fonts-ipafont-gothic), the face Linux finds through
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

# The stage files lie beside the programs; there is no shared data folder to look in.
target_compile_definitions(hopla_shell PRIVATE HOPLA_STAGES_FROM_EXE="")

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

# README.txt: its keys, options, controllers and settings are the manual page's, in the words
# it has for Windows (scripts/man-text.py), so the two cannot drift apart.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(HOPLA_README ${CMAKE_BINARY_DIR}/packaging/README.txt)
add_custom_command(OUTPUT ${HOPLA_README}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/man-text.py text windows
            ${CMAKE_SOURCE_DIR}/packaging/man/hopla.6.scd
            ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt.in ${HOPLA_README}
            VERSION=${PROJECT_VERSION}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/man-text.py ${CMAKE_SOURCE_DIR}/packaging/man/hopla.6.scd
            ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt.in
    COMMENT "Writing README.txt from the manual page")
add_custom_target(hopla_readme DEPENDS ${HOPLA_README})

set(HOPLA_ZIP_NAME hopla-${PROJECT_VERSION}-windows-x64)
set(zip_files $<TARGET_FILE:hopla> ${HOPLA_WAVES} ${CMAKE_BINARY_DIR}/ipagp.ttf)
add_custom_target(zip
    COMMAND ${CMAKE_COMMAND} -DNAME=${HOPLA_ZIP_NAME} -DOUT=${CMAKE_BINARY_DIR}
            "-DFILES=${zip_files}" "-DTOOLS=$<TARGET_FILE:hopla-sim>"
            "-DSTAGES=${HOPLA_STAGE_PACKS}" -DREADME=${HOPLA_README}
            -DLICENSE=${CMAKE_SOURCE_DIR}/LICENSE
            "-DLICENCES=IPAfont/copyright=${HOPLA_FONT_LICENCE};mingw-w64/copyright=${HOPLA_MINGW_LICENCE}"
            -DLIBRARIES=${HOPLA_DEPS_LICENCES} -DSTRIP=${CMAKE_STRIP} -P ${CMAKE_SOURCE_DIR}/cmake/WindowsZip.cmake
    DEPENDS hopla hopla-sim hopla_waves hopla_font hopla_readme ${HOPLA_STAGE_PACKS}
    COMMENT "Packing ${HOPLA_ZIP_NAME}.zip"
    VERBATIM)

# The installer from the zip's folder (NSIS, Debian's nsis): `make windows` makes both.
find_program(HOPLA_MAKENSIS makensis)
if(NOT HOPLA_MAKENSIS)
    message(FATAL_ERROR "makensis is missing: scripts/install-deps.sh windows installs nsis")
endif()
set(HOPLA_INSTALLER ${CMAKE_BINARY_DIR}/hopla-${PROJECT_VERSION}-windows-x64-setup.exe)
add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${CMAKE_BINARY_DIR}/zip/${HOPLA_ZIP_NAME} -DOUT=${HOPLA_INSTALLER}
            -DVERSION=${PROJECT_VERSION} -DICON=${HOPLA_ICO}
            -DSCRIPT=${CMAKE_SOURCE_DIR}/packaging/windows/hopla.nsi -DMAKENSIS=${HOPLA_MAKENSIS}
            -P ${CMAKE_SOURCE_DIR}/cmake/WindowsInstaller.cmake
    DEPENDS zip hopla_ico
    COMMENT "Making hopla-${PROJECT_VERSION}-windows-x64-setup.exe"
    VERBATIM)
