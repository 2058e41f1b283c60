# Makes the Windows installer from the zip's laid-out folder; run by the `installer` target of
# cmake/PackageWindows.cmake with -P and these variables:
#   FOLDER    the zip's folder (OUT/zip/NAME), every file of which is installed
#   OUT       the installer's path (hopla-VERSION-windows-x64-setup.exe)
#   VERSION   the game's version, MAJOR.MINOR.PATCH
#   ICON      the game's .ico, the installer's and uninstaller's own
#   SCRIPT    packaging/windows/hopla.nsi
#   MAKENSIS  the NSIS compiler
# The files to install and to remove are listed for the script by name, so that the uninstaller
# removes exactly what was installed and leaves anything else in the folder.
cmake_minimum_required(VERSION 3.25)
get_filename_component(work ${OUT} DIRECTORY)
set(install_list ${work}/installer-files.nsh)
set(remove_list ${work}/installer-unfiles.nsh)
file(GLOB_RECURSE files RELATIVE ${FOLDER} ${FOLDER}/*)
list(SORT files)
set(install "")
set(remove "")
set(dirs "")
foreach(file ${files})
    get_filename_component(dir ${file} DIRECTORY)
    string(REPLACE "/" "\\" win_file "${file}")
    set(out "$INSTDIR")
    if(dir)
        string(REPLACE "/" "\\" win_dir "${dir}")
        set(out "$INSTDIR\\${win_dir}")
    endif()
    string(APPEND install "SetOutPath \"${out}\"\nFile \"${FOLDER}/${file}\"\n")
    string(APPEND remove "Delete \"$INSTDIR\\${win_file}\"\n")
    # Every folder up to the top, deepest first when removed.
    while(dir AND NOT dir IN_LIST dirs)
        list(APPEND dirs ${dir})
        get_filename_component(dir ${dir} DIRECTORY)
    endwhile()
endforeach()
list(SORT dirs)
list(REVERSE dirs)
foreach(dir ${dirs})
    string(REPLACE "/" "\\" win_dir "${dir}")
    string(APPEND remove "RMDir \"$INSTDIR\\${win_dir}\"\n")
endforeach()
file(WRITE ${install_list} "${install}")
file(WRITE ${remove_list} "${remove}")

string(REGEX MATCH "^[0-9]+\\.[0-9]+\\.[0-9]+" plain ${VERSION})
execute_process(
    COMMAND ${MAKENSIS} -V2 -NOCD -DVERSION=${VERSION} -DVERSION4=${plain}.0 -DSOURCE=${FOLDER}
            -DFILES=${install_list} -DUNFILES=${remove_list} -DOUTFILE=${OUT} -DICON=${ICON}
            ${SCRIPT}
    WORKING_DIRECTORY ${work}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "makensis could not make ${OUT}")
endif()
message(STATUS "Windows installer: ${OUT}")
