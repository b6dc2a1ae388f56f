# horalia_site: the folder that a web server serves (build/web/site): the
# hand-written page (platform/web/page/), the program (horalia.js and
# horalia.wasm), the icons and the licences (the program carries the fonts), with the service worker stamped by a hash of
# the other files' contents so that each new build replaces the old cache
# as a whole.
set(HORALIA_SITE_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "Folder of the served page")
file(GLOB_RECURSE page_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/web/page/*)
set(site_files ${PROJECT_SOURCE_DIR}/resources/icon/icon-192.png
               ${PROJECT_SOURCE_DIR}/resources/icon/icon-512.png
               ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/LICENSE.fonts)
add_custom_target(horalia_site ALL
  COMMAND ${CMAKE_COMMAND}
          -DSITE=${HORALIA_SITE_DIR}
          -DPAGE=${PROJECT_SOURCE_DIR}/platform/web/page
          "-DFILES=$<TARGET_FILE:horalia>;$<TARGET_FILE_DIR:horalia>/horalia.wasm;${site_files}"
          -P ${PROJECT_SOURCE_DIR}/cmake/WebSiteScript.cmake
  DEPENDS horalia ${page_files} ${site_files} ${PROJECT_SOURCE_DIR}/cmake/WebSiteScript.cmake
  COMMENT "Putting the page together in ${HORALIA_SITE_DIR}"
  VERBATIM)
