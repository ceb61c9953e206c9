# Windows on x86-64, cross-compiled with Debian's MinGW-w64 GCC (package
# g++-mingw-w64-x86-64-posix: the posix thread model has std::thread), its programs run under
# wine (package wine); the triple is the windows row's of cmake/platforms.txt.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

include("${CMAKE_CURRENT_LIST_DIR}/../table.cmake")
bin2dec_table_row(platforms windows)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(BIN2DEC_WINE wine)
if(NOT BIN2DEC_WINE)
  message(FATAL_ERROR "The Windows build runs its tests under wine, which is not installed (on "
                      "Debian: the wine and wine64 packages).")
endif()
# Its programs run under wine, quietly (see wine-run).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run" ${CMAKE_CXX_COMPILER})
