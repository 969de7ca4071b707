# Stages the fonts the program loads from its fonts folder under the names it asks for.
# The face is Droid Sans Fallback (Debian package fonts-droid-fallback, Apache License 2.0):
# TrueType outlines with CJK coverage, which the platform's private font collections load on
# Windows as under Wine (CFF-outline OpenType fonts are refused by them on Windows). It has
# one weight, so every weight name gets the same face.
set(TAVIR_FONT_SOURCE /usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf)
set(TAVIR_FONT_NAMES Regular Normal Bold ExtraLight Medium Light Heavy)
set(font_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVIR_PROGRAM_DIR}/fonts)
foreach(weight ${TAVIR_FONT_NAMES})
  list(APPEND font_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TAVIR_FONT_SOURCE}
       ${TAVIR_PROGRAM_DIR}/fonts/SourceHanSansCN-${weight}.otf)
endforeach()
add_custom_target(tavir_fonts ${font_commands} COMMENT "Staging the fonts in ${TAVIR_PROGRAM_DIR}/fonts")
