# embed_file(<output.cpp> <input> <symbol>): turns a file into a C++ source that
# defines `extern const unsigned char <symbol>[]` and `<symbol>_size`, so the
# program carries the file and needs nothing at run time.
function(embed_file output input symbol)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    COMMENT "Embedding ${input}"
    VERBATIM)
endfunction()
