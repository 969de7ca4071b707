# The skin set (skins\theme1 of the program folder) and the program icon are drawn at build
# time by skins/generate.py from skins/manifest.txt, with Debian's python3-pil and fonts.
# Debian's own interpreter is preferred: another python3 on the PATH may lack PIL.
find_program(TAVIR_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(TAVIR_PYTHON3 NAMES python3)
execute_process(COMMAND ${TAVIR_PYTHON3} -c "import PIL" RESULT_VARIABLE tavir_pil_missing OUTPUT_QUIET ERROR_QUIET)
if(NOT TAVIR_PYTHON3 OR tavir_pil_missing)
  message(FATAL_ERROR "python3 with PIL (Debian package python3-pil) is needed to draw the skins: run scripts/setup")
endif()

set(TAVIR_SKINS_BUILD ${CMAKE_BINARY_DIR}/skins)
set(TAVIR_SKINS_DIR ${TAVIR_SKINS_BUILD}/theme1)
add_custom_command(OUTPUT ${TAVIR_SKINS_BUILD}/skins.stamp ${TAVIR_SKINS_BUILD}/app.ico
    ${TAVIR_SKINS_BUILD}/tesk/scroll_h.png ${TAVIR_SKINS_BUILD}/tesk/scroll_v.png
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${TAVIR_SKINS_DIR}
  COMMAND ${TAVIR_PYTHON3} ${CMAKE_SOURCE_DIR}/skins/generate.py ${TAVIR_SKINS_DIR}
          --icon ${TAVIR_SKINS_BUILD}/app.ico --resources ${TAVIR_SKINS_BUILD}/tesk
          --sheet ${TAVIR_SKINS_BUILD}/contact_sheet.png
  COMMAND ${CMAKE_COMMAND} -E touch ${TAVIR_SKINS_BUILD}/skins.stamp
  DEPENDS ${CMAKE_SOURCE_DIR}/skins/generate.py ${CMAKE_SOURCE_DIR}/skins/manifest.txt
  COMMENT "Drawing the skin set into ${TAVIR_SKINS_DIR}")
add_custom_target(tavir_skins DEPENDS ${TAVIR_SKINS_BUILD}/skins.stamp)

# app/AppIcon.rc names "app.ico" and ui/tesk.rc the scroll-bar strips, which windres finds
# through these include folders.
add_dependencies(tavir_keyboard tavir_skins)
add_dependencies(tesk tavir_skins)
target_include_directories(tavir_keyboard PRIVATE ${TAVIR_SKINS_BUILD})
target_include_directories(tesk PRIVATE ${TAVIR_SKINS_BUILD}/tesk)
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/AppIcon.rc ${CMAKE_SOURCE_DIR}/ui/tesk.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/skins/generate.py)
