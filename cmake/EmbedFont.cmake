# embed_font(<output.cpp> <face.ttf> <symbol>): cuts the face down to the
# characters the game can show (tools/fonts/subset_font.py, hinting kept and
# the family renamed as its licence asks) and embeds the result like
# embed_file. Every host carries the same cut faces, so text has the same
# pixels everywhere.
find_program(HORALIA_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)  # Debian's, with Debian's fonttools
execute_process(COMMAND ${HORALIA_PYTHON3} -c "import fontTools.subset"
                RESULT_VARIABLE fonttools_missing OUTPUT_QUIET ERROR_QUIET)
if(fonttools_missing)
  message(FATAL_ERROR "fonttools not found: install the Debian package python3-fonttools")
endif()

function(embed_font output input symbol)
  get_filename_component(name ${input} NAME)
  set(face ${CMAKE_CURRENT_BINARY_DIR}/subset-${name})
  add_custom_command(
    OUTPUT ${face}
    COMMAND ${HORALIA_PYTHON3} ${PROJECT_SOURCE_DIR}/tools/fonts/subset_font.py ${input} ${face}
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/tools/fonts/subset_font.py
    COMMENT "Cutting ${name} down to the game's characters"
    VERBATIM)
  embed_file(${output} ${face} ${symbol})
endfunction()
