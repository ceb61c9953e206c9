# Prints the emulator that runs a program of a Debian architecture on this machine, as the
# toolchain file sets it (nothing for this machine's own architecture):
#
#   cmake -D BIN2DEC_DEBIAN_ARCH=ARCH [-D BIN2DEC_FULLY_STATIC=ON] -P .ci/cross-emulator.cmake
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/toolchains/linux.cmake")
list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${emulator}")
