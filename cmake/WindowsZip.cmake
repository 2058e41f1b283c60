# Lays out the Windows zip's folder and packs it; run by the `zip` target of
# cmake/PackageWindows.cmake with -P and these variables:
#   NAME       the folder and zip name (hopla-VERSION-windows-x64)
#   OUT        the directory the zip is written to
#   FILES      the files that lie beside hopla.exe (the game, waves, font)
#   TOOLS      the programs for testers, which go to tools/ (they find the game's files above)
#   STAGES     the shipped stage files, which go to stages/ beside hopla.exe
#   README     the players' README, written with Windows line ends as README.txt
#   LICENSE    the game's licence, written as LICENSE.txt
#   LICENCES   NAME=PATH pairs: each file goes to licenses/NAME.txt
#   LIBRARIES  the deps prefix's share/licenses, copied under licenses/ as it is, each file
#              named .txt so that Windows opens it as text
#   STRIP      the target's strip, which takes the symbols and debugging information out
# The laid-out folder stays in OUT/zip/NAME, where the installer takes its files from.
set(stage ${OUT}/zip/${NAME})
file(REMOVE_RECURSE ${OUT}/zip)
file(MAKE_DIRECTORY ${stage}/licenses)
file(COPY ${FILES} DESTINATION ${stage})
file(COPY ${TOOLS} DESTINATION ${stage}/tools)
file(COPY ${STAGES} DESTINATION ${stage}/stages)
file(GLOB_RECURSE programs ${stage}/*.exe)
foreach(program ${programs})
    execute_process(COMMAND ${STRIP} --strip-all ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
foreach(text README LICENSE)
    file(READ ${${text}} body)
    string(REPLACE "\r\n" "\n" body "${body}")
    string(REPLACE "\n" "\r\n" body "${body}")
    file(WRITE ${stage}/${text}.txt "${body}")
endforeach()
foreach(pair ${LICENCES})
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 path)
    get_filename_component(dir ${name} DIRECTORY)
    file(MAKE_DIRECTORY ${stage}/licenses/${dir})
    file(COPY_FILE ${path} ${stage}/licenses/${name}.txt)
endforeach()
file(GLOB libraries LIST_DIRECTORIES true ${LIBRARIES}/*)
file(COPY ${libraries} DESTINATION ${stage}/licenses)
file(GLOB_RECURSE licence_files ${stage}/licenses/*)
foreach(licence ${licence_files})
    string(TOLOWER "${licence}" lower)
    if(NOT lower MATCHES "\\.txt$")
        file(RENAME ${licence} ${licence}.txt)
    endif()
endforeach()
file(REMOVE ${OUT}/${NAME}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT}/${NAME}.zip --format=zip ${NAME}
                WORKING_DIRECTORY ${OUT}/zip COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Windows zip: ${OUT}/${NAME}.zip")
