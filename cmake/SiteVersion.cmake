# Run with cmake -P after the site is built (cmake/Web.cmake): writes SITE/sw.js from the
# service worker's template with the site's version, a hash of every file it keeps, so that any
# change to the site makes a new service worker.
#   -DSITE=dir -DTEMPLATE=frontend/web/sw.js -DFILES="index.html;hopla.js;..."
set(hashes "")
set(HOPLA_SITE_FILES "\"./\"")
foreach(name ${FILES})
    file(SHA256 ${SITE}/${name} hash)
    string(APPEND hashes "${hash}")
    string(APPEND HOPLA_SITE_FILES ", \"${name}\"")
endforeach()
string(SHA256 HOPLA_SITE_VERSION "${hashes}")
string(SUBSTRING ${HOPLA_SITE_VERSION} 0 16 HOPLA_SITE_VERSION)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
