# Stages the installation folder: the program, tesk.dll, hidapi.dll and the data folders.
# Everything the program needs at run time is inside this folder.
include(${CMAKE_CURRENT_LIST_DIR}/Skins.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/Fonts.cmake)
# Layouts, lighting presets and language files are generated from their tables in data/.
set(TAVIR_DATA_DIR ${CMAKE_SOURCE_DIR}/data/program)
add_custom_target(program_folder ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVIR_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVIR_PROGRAM_DIR}/layouts ${TAVIR_PROGRAM_DIR}/language
          ${TAVIR_PROGRAM_DIR}/profile ${TAVIR_PROGRAM_DIR}/skins/theme1 ${TAVIR_PROGRAM_DIR}/fonts
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TAVIR_DATA_DIR} ${TAVIR_PROGRAM_DIR}
  COMMAND ${TAVIR_PYTHON3} ${CMAKE_SOURCE_DIR}/data/keyboards/make_keyboards.py --layouts ${TAVIR_PROGRAM_DIR}/layouts
          --presets ${TAVIR_PROGRAM_DIR}/profile/default_light.xml
  COMMAND ${TAVIR_PYTHON3} ${CMAKE_SOURCE_DIR}/data/language/make_language.py --out ${TAVIR_PROGRAM_DIR}/language
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tavir_keyboard> $<TARGET_FILE:tesk>
          ${TAVIR_DEPS_PREFIX}/bin/hidapi.dll ${TAVIR_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${TAVIR_PROGRAM_DIR}/skins/theme1
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TAVIR_SKINS_DIR} ${TAVIR_PROGRAM_DIR}/skins/theme1
  DEPENDS tavir_keyboard tesk
  COMMENT "Staging the program folder in ${TAVIR_PROGRAM_DIR}")
add_dependencies(program_folder tavir_skins tavir_fonts)
