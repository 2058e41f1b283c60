# The layers, their ranks and the views that keep every include pointing down.

# Each layer's rank, lowest first; layers named together share a rank. A layer links only
# layers of a lower rank (a link sideways or up is a configure error), so layers of one rank
# (play and sequences) never see each other.
#   toolkit, platform  the window-toolkit stand-in, and the operating system's answers
#   text, assets, png  SDL2_ttf text (its own layer: the game never draws text itself), artwork,
#                      the PNG writer of the tools and the frontend
#   form ... app       the game, which never sees SDL or the platform
#   demo               demos over the game's seam
#   headless, shell    the virtual-clock runner; the shell around the game without SDL (options,
#                      settings, the menu, pause, records, the demo beside the window, and
#                      where stage files, demos and wave files are found and read)
#   frontend sim solve the window's runner, hopla-sim's script driver, the stage solver
#   editor             the stage editor: the window's pieces with the solver as its check
#   apps               the composition root: hopla's start-up wiring and every program's main
# Every executable is made with hopla_program, whose main lives in apps/ and whose links are
# checked as those of a layer above all the others.
set(HOPLA_LAYER_RANKS
    "toolkit platform"
    "text assets png"
    form
    stage
    "play sequences"
    app
    demo
    "headless shell"
    "frontend sim solve"
    editor
    apps
    program)

# The platform is asked by the runners: the window's, the script driver's, the solver's, the
# editor's, the composition root and the programs, and headless's users (the tests and
# benchmarks) through them; by the shell for the settings, the records and the files it finds and reads. Below them only text links it,
# privately, for font files, so that headless and the game see none of it: the headless game stays a
# function of its seed and its input.
set(HOPLA_PLATFORM_USERS text shell frontend sim solve editor apps program)

# The rank of `layer` in `out`; empty when it is no layer (a system library).
function(hopla_layer_rank layer out)
    set(rank 0)
    foreach(names ${HOPLA_LAYER_RANKS})
        string(REPLACE " " ";" names "${names}")
        if(layer IN_LIST names)
            set(${out} ${rank} PARENT_SCOPE)
            return()
        endif()
        math(EXPR rank "${rank} + 1")
    endforeach()
    set(${out} "" PARENT_SCOPE)
endfunction()

# Stops the configure when layer `name` links a layer that is not below it, or the platform
# without being one of its users.
function(hopla_check_links name)
    hopla_layer_rank(${name} rank)
    if(rank STREQUAL "")
        message(FATAL_ERROR "layer ${name} has no rank: add it to HOPLA_LAYER_RANKS in cmake/Layers.cmake")
    endif()
    foreach(link ${ARGN})
        hopla_layer_rank(${link} linked)
        if(linked STREQUAL "")
            continue()
        endif()
        if(NOT linked LESS rank)
            message(FATAL_ERROR "layer ${name} (rank ${rank}) links layer ${link} (rank ${linked}): "
                                "a layer links only layers below it (cmake/Layers.cmake)")
        endif()
        if(link STREQUAL "platform" AND NOT name IN_LIST HOPLA_PLATFORM_USERS)
            message(FATAL_ERROR "layer ${name} links layer platform, which only the runners and "
                                "text may link (HOPLA_PLATFORM_USERS in cmake/Layers.cmake)")
        endif()
    endforeach()
endfunction()

# hopla_view(NAME FOLDER OUT): a directory holding FOLDER's files (not its subfolders) under
# their own path, e.g. <view>/toolkit/Rect.h, to put on an include path in place of the source
# tree. A subfolder is a layer of its own (toolkit/text) or holds no source, so a library that
# sees toolkit does not see toolkit/text. A header added later re-runs the configure.
function(hopla_view name folder out)
    set(view ${CMAKE_BINARY_DIR}/layers/${name})
    # Made afresh each time: links of files that are gone go too (links are removed, never
    # followed).
    file(REMOVE_RECURSE ${view})
    file(MAKE_DIRECTORY ${view}/${folder})
    file(GLOB entries CONFIGURE_DEPENDS LIST_DIRECTORIES false ${CMAKE_SOURCE_DIR}/${folder}/*)
    foreach(entry ${entries})
        get_filename_component(file ${entry} NAME)
        file(CREATE_LINK ${entry} ${view}/${folder}/${file} SYMBOLIC)
    endforeach()
    set(${out} ${view} PARENT_SCOPE)
endfunction()

# hopla_layer(NAME GLOB [EXCLUDE file...] [EXTRA source...] [LINKS target...]
#             [PRIVATE target...]): the static library hopla_NAME of one folder. Its headers are
# reached as "folder/File.h" through its view, so a library sees the headers of its own folder
# and of the layers it links, and nothing above. LINKS are passed on to whoever links this
# layer; PRIVATE ones are not (their headers stay unseen above).
function(hopla_layer name glob)
    cmake_parse_arguments(PARSE_ARGV 2 LAYER "" "" "EXCLUDE;EXTRA;LINKS;PRIVATE")
    hopla_check_links(${name} ${LAYER_LINKS} ${LAYER_PRIVATE})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${glob})
    foreach(excluded ${LAYER_EXCLUDE})
        list(FILTER sources EXCLUDE REGEX ".*/${excluded}$")
    endforeach()
    get_filename_component(folder ${glob} DIRECTORY)  # e.g. toolkit/text
    hopla_view(${name} ${folder} view)
    add_library(hopla_${name} STATIC ${sources} ${LAYER_EXTRA})
    target_include_directories(hopla_${name} PUBLIC ${view})
    foreach(scope PUBLIC PRIVATE)
        set(links)
        if(scope STREQUAL "PUBLIC")
            set(names ${LAYER_LINKS})
        else()
            set(names ${LAYER_PRIVATE})
        endif()
        foreach(link ${names})
            if(TARGET hopla_${link})
                list(APPEND links hopla_${link})
            else()
                list(APPEND links ${link})
            endif()
        endforeach()
        if(links)
            target_link_libraries(hopla_${name} ${scope} ${links})
        endif()
    endforeach()
endfunction()

# hopla_program(NAME MAIN LINKS layer...): the executable NAME from its one source MAIN, which
# lives in apps/ (the composition root), linking the given layers. Its links are checked as those
# of the top rank, so a program cannot sit below a layer it uses and a layer cannot hold a main.
function(hopla_program name main)
    cmake_parse_arguments(PARSE_ARGV 2 PROGRAM "" "" "LINKS")
    if(NOT main MATCHES "^apps/")
        message(FATAL_ERROR "program ${name}: its main ${main} belongs in apps/ (cmake/Layers.cmake)")
    endif()
    hopla_check_links(program ${PROGRAM_LINKS})
    add_executable(${name} ${main})
    foreach(link ${PROGRAM_LINKS})
        target_link_libraries(${name} PRIVATE hopla_${link})
    endforeach()
endfunction()
