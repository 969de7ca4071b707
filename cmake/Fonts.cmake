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

# tesk.dll embeds the balloon tip's face as its resource 106 (ui/tesk.rc): Open Sans Semibold
# (Debian package fonts-open-sans, Apache License 2.0), TrueType outlines. It is copied into
# the build at configure time, where windres finds it through the include folder.
set(TESK_TIP_FONT_SOURCE /usr/share/fonts/truetype/open-sans/OpenSans-Semibold.ttf)
if(NOT EXISTS ${TESK_TIP_FONT_SOURCE})
  message(FATAL_ERROR "${TESK_TIP_FONT_SOURCE} (Debian package fonts-open-sans) is missing: run scripts/setup")
endif()
set(TESK_FONTS_BUILD ${CMAKE_BINARY_DIR}/fonts/tesk)
configure_file(${TESK_TIP_FONT_SOURCE} ${TESK_FONTS_BUILD}/tip_font.ttf COPYONLY)
target_include_directories(tesk PRIVATE ${TESK_FONTS_BUILD})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/ui/tesk.rc APPEND PROPERTY OBJECT_DEPENDS ${TESK_FONTS_BUILD}/tip_font.ttf)
