# hopla_layer(NAME GLOB [EXCLUDE file...] [EXTRA source...] [LINKS target...]): the static
# library hopla_NAME of one folder. Its headers are reached as "folder/File.h" through a view
# directory that holds only that folder, so a library sees the headers of its own folder and of
# the layers it links, and nothing above.
function(hopla_layer name glob)
    cmake_parse_arguments(PARSE_ARGV 2 LAYER "" "" "EXCLUDE;EXTRA;LINKS")
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${glob})
    foreach(excluded ${LAYER_EXCLUDE})
        list(FILTER sources EXCLUDE REGEX ".*/${excluded}$")
    endforeach()
    get_filename_component(folder ${glob} DIRECTORY)  # e.g. toolkit/text
    string(REGEX REPLACE "/.*" "" top ${folder})      # the top folder the includes name
    set(view ${CMAKE_BINARY_DIR}/layers/${name})
    if(folder STREQUAL top)
        file(MAKE_DIRECTORY ${view})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${top} ${view}/${top} SYMBOLIC)
    else()
        # A subfolder (toolkit/text) sits in a view of its own beside its parent's.
        get_filename_component(parent ${view}/${folder} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
    endif()
    add_library(hopla_${name} STATIC ${sources} ${LAYER_EXTRA})
    target_include_directories(hopla_${name} PUBLIC ${view})
    set(links)
    foreach(link ${LAYER_LINKS})
        if(TARGET hopla_${link})
            list(APPEND links hopla_${link})
        else()
            list(APPEND links ${link})
        endif()
    endforeach()
    target_link_libraries(hopla_${name} PUBLIC ${links})
endfunction()
