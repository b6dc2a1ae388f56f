# horalia_freetype: FreeType for the WebAssembly host, compiled from Debian's
# source package (the same version and patches as the desktop's library) with
# only the modules the game's text needs (cmake/freetype/ftmodule.h and
# ftoption.h). The source is unpacked into the build folder at configure time.
if(NOT HORALIA_FREETYPE_SOURCE)
  execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/tools/web/fetch_freetype.sh ${CMAKE_BINARY_DIR}/deps
    OUTPUT_VARIABLE fetched OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not unpack FreeType's Debian source package (tools/web/fetch_freetype.sh)")
  endif()
  string(REGEX REPLACE ".*\n" "" fetched "${fetched}")  # the folder is the last line
  set(HORALIA_FREETYPE_SOURCE ${fetched} CACHE PATH "Unpacked FreeType source for the web host")
endif()

set(ft ${HORALIA_FREETYPE_SOURCE}/src)
add_library(horalia_freetype STATIC
  ${ft}/base/ftsystem.c
  ${ft}/base/ftinit.c
  ${ft}/base/ftdebug.c
  ${ft}/base/ftbase.c
  ${ft}/truetype/truetype.c
  ${ft}/sfnt/sfnt.c
  ${ft}/autofit/autofit.c
  ${ft}/raster/raster.c
)
# The options and module list replace FreeType's through its own hooks, for
# the library and for the code that includes its headers.
target_compile_definitions(horalia_freetype
  PRIVATE FT2_BUILD_LIBRARY
  PUBLIC "FT_CONFIG_OPTIONS_H=<ftoption.h>" "FT_CONFIG_MODULES_H=<ftmodule.h>")
target_include_directories(horalia_freetype SYSTEM
  PUBLIC ${PROJECT_SOURCE_DIR}/cmake/freetype ${HORALIA_FREETYPE_SOURCE}/include)
target_compile_options(horalia_freetype PRIVATE -w)  # third-party code, built as its authors ship it
