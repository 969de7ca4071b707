# Compares the primary virtual table of CLASS, as g++ -fdump-lang-class describes it in
# DUMP, with the operation names listed in SLOTS (one a line, '#' starts a comment line;
# "~*" is the destructor of CLASS).
#   cmake -DDUMP=<file> -DCLASS=<Namespace::Name> -DSLOTS=<file> -P CheckSlots.cmake
file(READ ${DUMP} dump)
string(FIND "${dump}" "Vtable for ${CLASS}\n" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${DUMP} describes no virtual table of ${CLASS}")
endif()
string(SUBSTRING "${dump}" ${start} 20000 table)
string(FIND "${table}" "\n\n" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(REPLACE "\n" ";" lines "${table}")

# Entries: offset to top, type info, then the functions until the next base's offset.
set(actual "")
set(index 0)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^[0-9]+ +\\(int \\(\\*\\)\\(\\.\\.\\.\\)\\)(.*)$")
    continue()
  endif()
  set(value "${CMAKE_MATCH_1}")
  math(EXPR index "${index} + 1")
  if(index LESS_EQUAL 2)
    continue()
  endif()
  if(value MATCHES "^-?[0-9]+$" OR value MATCHES "^\\(&")
    break()
  endif()
  string(REGEX MATCH "[^:]+$" name "${value}")
  list(LENGTH actual n)
  if(n GREATER 0)
    list(GET actual -1 previous)
    if(previous STREQUAL name)
      continue()  # the destructor's second entry
    endif()
  endif()
  list(APPEND actual "${name}")
endforeach()

file(STRINGS ${SLOTS} expected REGEX "^[^#]")
# "~*" stands for the destructor of the class checked, so one file serves a family of classes.
string(REGEX MATCH "[^:]+$" short_name "${CLASS}")
list(TRANSFORM expected REPLACE "^~\\*$" "~${short_name}")
if(NOT actual STREQUAL expected)
  list(LENGTH expected want)
  list(LENGTH actual have)
  string(REPLACE ";" " " actual_text "${actual}")
  message(FATAL_ERROR "${CLASS} has ${have} virtual operations where ${SLOTS} lists ${want}, or another order:\n"
                      "${actual_text}")
endif()
