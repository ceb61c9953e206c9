# Prints the emulator that runs a program of a Debian architecture on this machine, as the cross
# toolchain file sets it (nothing for this machine's own architecture):
#
#   cmake -D BIN2DEC_DEBIAN_ARCH=ARCH [-D BIN2DEC_FULLY_STATIC=ON] -P .ci/cross-emulator.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE native
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
if(NOT BIN2DEC_DEBIAN_ARCH STREQUAL native)
  include("${CMAKE_CURRENT_LIST_DIR}/../cmake/toolchains/linux-cross.cmake")
endif()
list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${emulator}")
