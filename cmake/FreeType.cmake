# horalia_freetype: the FreeType that draws the game's text. The desktop links
# Debian's library. The browser (WebAssembly) and Windows builds compile it
# from Debian's source package (the same version and patches) with only the
# modules the game's text needs (cmake/freetype/ftmodule.h and ftoption.h),
# so every host draws the same pixels. The source is unpacked into the build
# folder at configure time.
if(NOT HORALIA_HOST STREQUAL "web" AND NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
  add_library(horalia_freetype INTERFACE)
  target_link_libraries(horalia_freetype INTERFACE PkgConfig::FREETYPE)
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
horalia_debian_source(freetype 2.12.1+dfsg-5+deb12u4 HORALIA_FREETYPE_SOURCE)

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
