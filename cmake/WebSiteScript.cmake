# Fills SITE with the files of the folder PAGE and the FILES (a list of
# paths), and SITE/languages with the language PACKS (a list of paths),
# minifies the page's scripts with the command MINIFY (given the file), then
# stamps SITE/sw.js: HORALIA_CACHE_STAMP becomes a hash of the contents of
# every other file, HORALIA_CACHE_FILES a JavaScript array of the names of
# those that every visit needs to play, offline too: not the languages' own
# packs, words and manifests (of which a visit needs one), nor the files
# named ON_DEMAND (kept once something asks for them).
file(REMOVE_RECURSE "${SITE}")
file(MAKE_DIRECTORY "${SITE}")
if(EXISTS "${PAGE}")
  file(COPY "${PAGE}/" DESTINATION "${SITE}")
endif()
foreach(path IN LISTS FILES)
  if(EXISTS "${path}")
    file(COPY "${path}" DESTINATION "${SITE}")
  else()
    message(WARNING "Not in the site (missing): ${path}")
  endif()
endforeach()

foreach(path IN LISTS PACKS)
  file(COPY "${path}" DESTINATION "${SITE}/languages")
endforeach()

foreach(script IN ITEMS horalia_page.js words.js)
  if(MINIFY AND EXISTS "${SITE}/${script}")
    execute_process(COMMAND ${MINIFY} "${SITE}/${script}" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "The page's ${script} could not be minified")
    endif()
  endif()
endforeach()

file(GLOB_RECURSE names RELATIVE "${SITE}" "${SITE}/*")
list(REMOVE_ITEM names sw.js)
list(SORT names)
set(digests "")
set(array "")
foreach(name IN LISTS names)
  file(SHA256 "${SITE}/${name}" digest)
  string(APPEND digests "${digest} ${name}\n")
  list(FIND ON_DEMAND "${name}" on_demand)
  if(NOT name MATCHES "^(languages|manifests|words)/" AND on_demand EQUAL -1)
    list(APPEND array "\"${name}\"")
  endif()
endforeach()
string(SHA256 stamp "${digests}")
string(SUBSTRING "${stamp}" 0 16 stamp)
list(JOIN array ", " array)

if(EXISTS "${SITE}/sw.js")
  file(READ "${SITE}/sw.js" worker)
  string(REPLACE "HORALIA_CACHE_STAMP" "${stamp}" worker "${worker}")
  string(REPLACE "HORALIA_CACHE_FILES" "[${array}]" worker "${worker}")
  file(WRITE "${SITE}/sw.js" "${worker}")
endif()
message(STATUS "Site ${stamp}: ${names}")
