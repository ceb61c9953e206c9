# Prints a value that CMake found when it configured a build folder, such as CMAKE_CXX_COMPILER,
# CMAKE_SYSTEM_PROCESSOR or CMAKE_CROSSCOMPILING_EMULATOR, which a toolchain file sets without
# putting it in the cache:
#
#   cmake -P .ci/build-value.cmake BUILD_DIR NAME
cmake_minimum_required(VERSION 3.25)
if(NOT CMAKE_ARGC EQUAL 5)
  message(FATAL_ERROR "usage: cmake -P build-value.cmake BUILD_DIR NAME")
endif()
file(GLOB found "${CMAKE_ARGV3}/CMakeFiles/*/CMakeSystem.cmake"
     "${CMAKE_ARGV3}/CMakeFiles/*/CMakeCXXCompiler.cmake")
if(NOT found)
  message(FATAL_ERROR "${CMAKE_ARGV3} is not a configured build folder")
endif()
# The cross toolchain file reads these from the cache, as it did when the folder was configured.
load_cache("${CMAKE_ARGV3}" READ_WITH_PREFIX "" BIN2DEC_DEBIAN_ARCH BIN2DEC_FULLY_STATIC)
foreach(file IN LISTS found)
  include("${file}")
endforeach()
list(JOIN ${CMAKE_ARGV4} " " value)
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${value}")
