# The site of the browser build (target `site`, all of it in ${CMAKE_BINARY_DIR}/site): our own
# page (frontend/web/index.html) with its manifest, app icons and service worker (sw.js), the
# game's hopla.js and hopla.wasm, and hopla.data, which
# the page's loader puts at /hopla/ (the game's ExecutableDir there): the eight wave files, the
# font cut to the glyphs the game shows, renamed and with its licence beside it, and the shipped
# stage files in stages/, where --stages NAME finds them beside the game (the page's ?stages=).
set(HOPLA_SITE ${CMAKE_BINARY_DIR}/site)
set(HOPLA_SITE_DATA ${CMAKE_BINARY_DIR}/site-data)
set(HOPLA_FONT /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf CACHE FILEPATH
    "The font the site's subset is cut from (IPAPGothic, Debian's fonts-ipafont-gothic)")
set(HOPLA_FONT_LICENCE /usr/share/doc/fonts-ipafont-gothic/copyright CACHE FILEPATH
    "The font's licence, shipped beside the subset")
find_program(HOPLA_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

# The glyphs come from the string literals of the layers that draw text, and the menu's.
set(font_sources)
foreach(dir sequences stage app play form frontend)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    list(APPEND font_sources ${sources})
endforeach()
set(subset ${HOPLA_SITE_DATA}/hopla-gothic-subset.ttf)
add_custom_command(
    OUTPUT ${subset}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HOPLA_SITE_DATA}
    COMMAND ${HOPLA_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/web/subset-font.py ${HOPLA_FONT} ${subset}
            sequences stage app play form frontend
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/web/subset-font.py ${HOPLA_FONT} ${font_sources}
    COMMENT "Cutting the site's font to the game's glyphs")
add_custom_target(hopla_font DEPENDS ${subset})

# The data the page preloads: the waves, the font and the stage files, nothing else.
set(data_files ${subset})
foreach(pack ${HOPLA_STAGE_PACKS})
    get_filename_component(name ${pack} NAME)
    add_custom_command(OUTPUT ${HOPLA_SITE_DATA}/stages/${name}
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${pack}
                               ${HOPLA_SITE_DATA}/stages/${name}
                       DEPENDS ${pack})
    list(APPEND data_files ${HOPLA_SITE_DATA}/stages/${name})
endforeach()
foreach(wave ${HOPLA_WAVES})
    get_filename_component(name ${wave} NAME)
    add_custom_command(OUTPUT ${HOPLA_SITE_DATA}/${name}
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${wave} ${HOPLA_SITE_DATA}/${name}
                       DEPENDS ${wave})
    list(APPEND data_files ${HOPLA_SITE_DATA}/${name})
endforeach()
add_custom_target(hopla_site_data DEPENDS ${data_files})

# The game: no threads, the loop in rounds (WebMain.cpp), the file system in memory with IDBFS
# for what the browser keeps, FS for the page (a recorded demo), SDL's own canvas "#canvas".
add_dependencies(hopla hopla_site_data)
set_target_properties(hopla PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${HOPLA_SITE} SUFFIX .js)
target_link_options(hopla PRIVATE
    "SHELL:--preload-file ${HOPLA_SITE_DATA}@/hopla/"
    "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/frontend/web/pre.js"
    "-sEXPORTED_RUNTIME_METHODS=['FS']"
    -sINITIAL_MEMORY=33554432)
set_property(TARGET hopla APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/frontend/web/pre.js
             ${data_files})

# The page, which is told the names of the stage files it may offer, the icon and the font's
# licence beside the game.
set(HOPLA_WEB_STAGES)
foreach(pack ${HOPLA_STAGE_PACKS})
    get_filename_component(name ${pack} NAME_WLE)
    list(APPEND HOPLA_WEB_STAGES "\"${name}\"")
endforeach()
string(JOIN ", " HOPLA_WEB_STAGES ${HOPLA_WEB_STAGES})
configure_file(${CMAKE_SOURCE_DIR}/frontend/web/index.html ${HOPLA_SITE}/index.html @ONLY)
set(site_files ${HOPLA_SITE}/index.html)
foreach(copy assets/icons/hopla-64.png=favicon.png
             assets/icons/hopla-192.png=hopla-192.png
             assets/icons/hopla-512.png=hopla-512.png
             frontend/web/manifest.webmanifest=manifest.webmanifest
             frontend/web/sound-worklet.js=sound-worklet.js
             frontend/web/font-notice.txt=hopla-gothic-subset.txt)
    string(REPLACE "=" ";" copy ${copy})
    list(GET copy 0 from)
    list(GET copy 1 to)
    add_custom_command(OUTPUT ${HOPLA_SITE}/${to}
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/${from}
                               ${HOPLA_SITE}/${to}
                       DEPENDS ${CMAKE_SOURCE_DIR}/${from})
    list(APPEND site_files ${HOPLA_SITE}/${to})
endforeach()
add_custom_command(OUTPUT ${HOPLA_SITE}/IPA_Font_License.txt
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HOPLA_FONT_LICENCE}
                           ${HOPLA_SITE}/IPA_Font_License.txt
                   DEPENDS ${HOPLA_FONT_LICENCE})
list(APPEND site_files ${HOPLA_SITE}/IPA_Font_License.txt)

# The service worker, which keeps every file of the site for play without the network, named
# for a hash of them all (cmake/SiteVersion.cmake).
set(kept_files)
foreach(file ${site_files})
    get_filename_component(name ${file} NAME)
    list(APPEND kept_files ${name})
endforeach()
list(APPEND kept_files hopla.js hopla.wasm hopla.data)
string(REPLACE ";" "\\;" kept_list "${kept_files}")
add_custom_command(
    OUTPUT ${HOPLA_SITE}/sw.js
    COMMAND ${CMAKE_COMMAND} -DSITE=${HOPLA_SITE} -DTEMPLATE=${CMAKE_SOURCE_DIR}/frontend/web/sw.js
            "-DFILES=${kept_list}" -P ${CMAKE_SOURCE_DIR}/cmake/SiteVersion.cmake
    DEPENDS ${site_files} hopla ${CMAKE_SOURCE_DIR}/frontend/web/sw.js
            ${CMAKE_SOURCE_DIR}/cmake/SiteVersion.cmake $<TARGET_FILE:hopla>
    COMMENT "Writing the site's service worker")
add_custom_target(site ALL DEPENDS ${site_files} ${HOPLA_SITE}/sw.js hopla)
