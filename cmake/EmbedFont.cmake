# The faces that draw the game's words, each cut at build time to exactly the
# characters that the translation table gives it (tools/fonts/subset_font.py:
# hinting kept, the family renamed as its licence asks). Every host carries
# the same cut faces, so text has the same pixels everywhere.
#   horalia_cut_face(<face> <output.ttf>): a face of tools/fonts/faces.py, cut.
#   embed_font(<output.cpp> <face> <symbol>): a cut face embedded like embed_file.
find_program(HORALIA_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)  # Debian's, with Debian's fonttools
execute_process(COMMAND ${HORALIA_PYTHON3} -c "import fontTools.subset"
                RESULT_VARIABLE fonttools_missing OUTPUT_QUIET ERROR_QUIET)
if(fonttools_missing)
  message(FATAL_ERROR "fonttools not found: install the Debian package python3-fonttools")
endif()
set(HORALIA_TRANSLATIONS ${PROJECT_SOURCE_DIR}/resources/translations.tsv)

function(horalia_cut_face face output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${HORALIA_PYTHON3} ${PROJECT_SOURCE_DIR}/tools/fonts/subset_font.py ${HORALIA_TRANSLATIONS} ${face} ${output}
    DEPENDS ${HORALIA_TRANSLATIONS} ${PROJECT_SOURCE_DIR}/tools/fonts/subset_font.py
            ${PROJECT_SOURCE_DIR}/tools/fonts/faces.py
    COMMENT "Cutting the face ${face} down to the table's characters"
    VERBATIM)
endfunction()

function(embed_font output face symbol)
  set(cut ${CMAKE_CURRENT_BINARY_DIR}/faces/${face}.ttf)
  horalia_cut_face(${face} ${cut})
  embed_file(${output} ${cut} ${symbol})
endfunction()
