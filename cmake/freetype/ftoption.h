/*
 * FreeType's options for the WebAssembly and Windows builds: Debian's own ftoption.h,
 * less everything that only other font formats, compressed fonts or other
 * render modes need. What shapes the glyphs of a TrueType face in
 * monochrome (the bytecode interpreter with its Debian settings and the
 * automatic hinter's Latin and CJK scripts) stays as the desktop's library has it,
 * so both draw the same pixels.
 */
#ifndef HORALIA_FTOPTION_H
#define HORALIA_FTOPTION_H

#include <freetype/config/ftoption.h>

/* The faces are uncompressed TrueType files in memory. */
#undef FT_CONFIG_OPTION_USE_LZW
#undef FT_CONFIG_OPTION_USE_ZLIB
#undef FT_CONFIG_OPTION_MAC_FONTS
#undef FT_CONFIG_OPTION_GUESSING_EMBEDDED_RFORK
#undef FT_CONFIG_OPTION_INCREMENTAL
#undef FT_CONFIG_OPTION_SVG
#undef FT_CONFIG_OPTION_ENVIRONMENT_PROPERTIES

/* Glyphs are found by character code, never by name. */
#undef FT_CONFIG_OPTION_POSTSCRIPT_NAMES
#undef FT_CONFIG_OPTION_ADOBE_GLYPH_LIST
#undef TT_CONFIG_OPTION_POSTSCRIPT_NAMES

/* Outline glyphs only: no bitmap strikes, colour layers, variations or BDF. */
#undef TT_CONFIG_OPTION_EMBEDDED_BITMAPS
#undef TT_CONFIG_OPTION_COLOR_LAYERS
#undef TT_SUPPORT_COLRV1
#undef TT_CONFIG_OPTION_GX_VAR_SUPPORT
#undef TT_CONFIG_OPTION_BDF

/* The faces carry a format 4 and a format 12 character map at most. */
#undef TT_CONFIG_CMAP_FORMAT_0
#undef TT_CONFIG_CMAP_FORMAT_2
#undef TT_CONFIG_CMAP_FORMAT_6
#undef TT_CONFIG_CMAP_FORMAT_8
#undef TT_CONFIG_CMAP_FORMAT_10
#undef TT_CONFIG_CMAP_FORMAT_13
#undef TT_CONFIG_CMAP_FORMAT_14

/* The automatic hinter needs its Latin script (Liberation Sans's small text)
 * and its CJK one (the Chinese and Japanese faces, which carry no hinting
 * instructions); Arabic and Devanagari come with instructions of their own. */
#undef AF_CONFIG_OPTION_INDIC

#endif
