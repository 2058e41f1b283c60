# The game's icon as a Windows .ico, made at build time from the window and desktop icons that
# tools/gen-assets drew (assets/icons): 16, 32, 48, 64 and 128 pixels as bitmaps, 256 as PNG, as
# Explorer expects; and alike the icons of its file types, .demo and .stages. Sets HOPLA_ICO
# (the game's), HOPLA_DEMO_ICO, HOPLA_STAGES_ICO and the target hopla_ico that makes them;
# icotool comes from Debian's icoutils (scripts/install-deps.sh windows).
find_program(HOPLA_ICOTOOL icotool)
if(NOT HOPLA_ICOTOOL)
    message(FATAL_ERROR "icotool is missing: scripts/install-deps.sh windows installs icoutils")
endif()
set(HOPLA_ICO ${CMAKE_BINARY_DIR}/resources/hopla.ico)
set(HOPLA_DEMO_ICO ${CMAKE_BINARY_DIR}/resources/document-demo.ico)
set(HOPLA_STAGES_ICO ${CMAKE_BINARY_DIR}/resources/document-stages.ico)
set(icos)
foreach(icon hopla document-demo document-stages)
    set(pngs)
    foreach(size 16 32 48 64 128)
        list(APPEND pngs ${CMAKE_SOURCE_DIR}/assets/icons/${icon}-${size}.png)
    endforeach()
    set(large ${CMAKE_SOURCE_DIR}/assets/icons/${icon}-256.png)
    set(ico ${CMAKE_BINARY_DIR}/resources/${icon}.ico)
    add_custom_command(OUTPUT ${ico}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
                       COMMAND ${HOPLA_ICOTOOL} --create --output=${ico} ${pngs} --raw=${large}
                       DEPENDS ${pngs} ${large}
                       COMMENT "Making the icon ${icon}.ico")
    list(APPEND icos ${ico})
endforeach()
add_custom_target(hopla_ico DEPENDS ${icos})
