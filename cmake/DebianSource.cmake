# horalia_debian_source(<package> <version> <variable>): unpacks one of
# Debian's source packages (tools/web/fetch_source.sh) into the build folder
# at configure time and sets <variable> (a cache entry) to its folder. The
# browser and Windows builds compile the text libraries from these sources,
# the same versions and patches as the desktop's Debian libraries.
function(horalia_debian_source package version variable)
  if(${variable})
    return()
  endif()
  execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/tools/web/fetch_source.sh ${package} ${version} ${CMAKE_BINARY_DIR}/deps
    OUTPUT_VARIABLE fetched OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not unpack ${package}'s Debian source package (tools/web/fetch_source.sh)")
  endif()
  string(REGEX REPLACE ".*\n" "" fetched "${fetched}")  # the folder is the last line
  set(${variable} ${fetched} CACHE PATH "Unpacked ${package} source for the browser and Windows")
endfunction()
