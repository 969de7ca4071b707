# Cross-compiles for x86_64 Windows with mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVIR_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVIR_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVIR_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVIR_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVIR_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run the 64-bit build under 64-bit Wine (the 32-bit loader cannot run here).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
