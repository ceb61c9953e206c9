# Prints the path of every source that a build compiles, one a line:
#
#   cmake -P .ci/compiled-sources.cmake BUILD_DIR
#
# It reads BUILD_DIR/compile_commands.json as JSON, so the build must export it; the fields and
# their layout may grow from one CMake to the next.
cmake_minimum_required(VERSION 3.25)
if(NOT CMAKE_ARGC EQUAL 4)
  message(FATAL_ERROR "usage: cmake -P compiled-sources.cmake BUILD_DIR")
endif()

file(READ "${CMAKE_ARGV3}/compile_commands.json" database)
string(JSON entries LENGTH "${database}")
if(entries EQUAL 0)
  message(FATAL_ERROR "${CMAKE_ARGV3}/compile_commands.json names no source")
endif()
math(EXPR last_entry "${entries} - 1")
set(files "")
foreach(i RANGE ${last_entry})
  string(JSON file GET "${database}" ${i} file)
  list(APPEND files "${file}")
endforeach()
list(REMOVE_DUPLICATES files)
list(JOIN files "\n" files)
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${files}")
