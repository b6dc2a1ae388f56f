// The font files built into the program (cut from Debian's
// fonts-liberation2 when the program is built; see cmake/EmbedFont.cmake).
#pragma once

#include <cstddef>

extern const unsigned char horalia_font_sans_regular[];
extern const std::size_t horalia_font_sans_regular_size;
extern const unsigned char horalia_font_sans_bold[];
extern const std::size_t horalia_font_sans_bold_size;
