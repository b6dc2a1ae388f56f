# How the browser build is compiled and linked (emscripten): small code,
# a fixed memory, no file system. The web host's own needs (Asyncify,
# exported functions, JavaScript libraries) come with the platform_web
# target. Included before the game's libraries are defined, so the compile
# options reach all of them; horalia_web_link() is called on the executable.

# Debian's emscripten runs its JavaScript optimiser with node, which finds
# the acorn parser only in Debian's module folder: every link is told so,
# whoever starts the build.
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# Link-time optimisation over the game, the platform layer and FreeType.
option(HORALIA_WEB_LTO "Optimise the browser build across all its code at link time" ON)
if(HORALIA_WEB_LTO)
  add_compile_options(-flto)
  add_link_options(-flto)
endif()

# Memory is fixed: the game's pictures, glyphs and resources fit with room
# to spare, and a memory that cannot grow keeps the heap views simple and
# fast. Running out aborts, as growth would at the browser's limit.
set(HORALIA_WEB_MEMORY 16777216 CACHE STRING "Bytes of WebAssembly memory of the browser build")

function(horalia_web_link target)
  target_link_options(${target} PRIVATE
    -sENVIRONMENT=web
    -sFILESYSTEM=0
    -sINITIAL_MEMORY=${HORALIA_WEB_MEMORY}
    -sALLOW_MEMORY_GROWTH=0)
  # horalia.js loads horalia.wasm; the page is written by hand.
  set_target_properties(${target} PROPERTIES SUFFIX ".js")
endfunction()
