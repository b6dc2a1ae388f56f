# horalia_harfbuzz and horalia_fribidi: what lays out a line of text before
# FreeType draws it. HarfBuzz shapes (the glyphs of Arabic and Devanagari
# letters in their joined forms and conjuncts); FriBidi orders a line of
# mixed directions by the Unicode bidirectional rules. The desktop links
# Debian's libraries. The browser (WebAssembly) and Windows builds compile
# them from Debian's source packages of the same versions, HarfBuzz as its
# single-file build in its smallest configuration (HB_TINY: OpenType shaping
# of every script, without the parts that drawing, subsetting, variable or
# colour fonts need), so every host lays out the same glyphs.
if(NOT HORALIA_HOST STREQUAL "web" AND NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(HARFBUZZ REQUIRED IMPORTED_TARGET harfbuzz)
  pkg_check_modules(FRIBIDI REQUIRED IMPORTED_TARGET fribidi)
  add_library(horalia_harfbuzz INTERFACE)
  target_link_libraries(horalia_harfbuzz INTERFACE PkgConfig::HARFBUZZ)
  add_library(horalia_fribidi INTERFACE)
  target_link_libraries(horalia_fribidi INTERFACE PkgConfig::FRIBIDI)
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
horalia_debian_source(harfbuzz 6.0.0+dfsg-3 HORALIA_HARFBUZZ_SOURCE)
horalia_debian_source(fribidi 1.0.8-2.1 HORALIA_FRIBIDI_SOURCE)

add_library(horalia_harfbuzz STATIC ${HORALIA_HARFBUZZ_SOURCE}/src/harfbuzz.cc)
target_compile_definitions(horalia_harfbuzz PUBLIC HB_TINY)
target_compile_options(horalia_harfbuzz PRIVATE -w -fno-exceptions -fno-rtti)
# The game includes <hb.h>, as Debian's package puts it in harfbuzz/.
target_include_directories(horalia_harfbuzz SYSTEM PUBLIC ${HORALIA_HARFBUZZ_SOURCE}/src)

# The library's own tables come generated with the source; the configuration
# that its build system would write is in cmake/fribidi/.
set(fb ${HORALIA_FRIBIDI_SOURCE}/lib)
add_library(horalia_fribidi STATIC
  ${fb}/fribidi.c
  ${fb}/fribidi-bidi.c
  ${fb}/fribidi-bidi-types.c
  ${fb}/fribidi-brackets.c
  ${fb}/fribidi-mirroring.c
  ${fb}/fribidi-run.c
)
target_compile_definitions(horalia_fribidi PRIVATE HAVE_CONFIG_H)
target_include_directories(horalia_fribidi SYSTEM
  PUBLIC ${PROJECT_SOURCE_DIR}/cmake/fribidi ${fb})
target_compile_options(horalia_fribidi PRIVATE -w)
