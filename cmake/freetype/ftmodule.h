/*
 * The FreeType modules of the WebAssembly and Windows builds: what loads, hints and
 * renders a TrueType face in monochrome, as the game draws its text. The
 * TrueType driver comes first so it is tried first for every face.
 */
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Module_Class, autofit_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )
