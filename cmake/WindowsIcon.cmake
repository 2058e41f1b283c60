# The game's icon as a Windows .ico, made at build time from the window and desktop icons that
# tools/gen-assets drew (assets/icons): 16, 32, 48, 64 and 128 pixels as bitmaps, 256 as PNG, as
# Explorer expects. Sets HOPLA_ICO (the file) and the target hopla_ico that makes it; icotool
# comes from Debian's icoutils (scripts/install-deps.sh windows).
find_program(HOPLA_ICOTOOL icotool)
if(NOT HOPLA_ICOTOOL)
    message(FATAL_ERROR "icotool is missing: scripts/install-deps.sh windows installs icoutils")
endif()
set(HOPLA_ICO ${CMAKE_BINARY_DIR}/resources/hopla.ico)
set(icon_sizes 16 32 48 64 128)
set(icon_pngs)
foreach(size ${icon_sizes})
    list(APPEND icon_pngs ${CMAKE_SOURCE_DIR}/assets/icons/hopla-${size}.png)
endforeach()
set(icon_large ${CMAKE_SOURCE_DIR}/assets/icons/hopla-256.png)
add_custom_command(OUTPUT ${HOPLA_ICO}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
                   COMMAND ${HOPLA_ICOTOOL} --create --output=${HOPLA_ICO} ${icon_pngs}
                           --raw=${icon_large}
                   DEPENDS ${icon_pngs} ${icon_large}
                   COMMENT "Making the program icon hopla.ico")
add_custom_target(hopla_ico DEPENDS ${HOPLA_ICO})
