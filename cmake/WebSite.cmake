# horalia_site: the folder that a web server serves (build/web/site): the
# hand-written page (platform/web/page/, its scripts minified), the program
# (horalia.js and horalia.wasm), each language's own resources
# (languages/<language>.res, which the page fetches for its language), the
# icons and the licences (the program carries the fonts), with the service worker
# stamped by a hash of the other files' contents so that each new build
# replaces the old cache as a whole.
set(HORALIA_SITE_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "Folder of the served page")
file(GLOB_RECURSE page_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/web/page/*)
set(site_files ${PROJECT_SOURCE_DIR}/resources/icon/icon-192.png
               ${PROJECT_SOURCE_DIR}/resources/icon/icon-512.png
               ${PROJECT_SOURCE_DIR}/resources/icon/icon-maskable-512.png
               ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/LICENSE.fonts)
# The minifier runs with the node that emscripten runs with, and the terser
# that Debian's emscripten carries.
find_program(HORALIA_NODE NAMES nodejs node REQUIRED)
set(minifier ${PROJECT_SOURCE_DIR}/tools/web/minify_script.js)
add_custom_target(horalia_site ALL
  COMMAND ${CMAKE_COMMAND}
          -DSITE=${HORALIA_SITE_DIR}
          -DPAGE=${PROJECT_SOURCE_DIR}/platform/web/page
          "-DMINIFY=${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs;${HORALIA_NODE};${minifier};${EMSCRIPTEN_ROOT_PATH}/third_party/terser"
          "-DFILES=$<TARGET_FILE:horalia>;$<TARGET_FILE_DIR:horalia>/horalia.wasm;${site_files}"
          "-DPACKS=${HORALIA_LANGUAGE_PACKS}"
          "-DON_DEMAND=icon-512.png;icon-maskable-512.png;LICENSE;LICENSE.fonts"
          -P ${PROJECT_SOURCE_DIR}/cmake/WebSiteScript.cmake
  DEPENDS horalia horalia_language_packs ${page_files} ${site_files} ${minifier}
          ${PROJECT_SOURCE_DIR}/cmake/WebSiteScript.cmake
  COMMENT "Putting the page together in ${HORALIA_SITE_DIR}"
  VERBATIM)
