# WebAssembly for WASI (preview 1), built with Debian's Clang and its WASI sysroot (packages
# clang, lld, wasi-libc, libc++-dev-wasm32, libclang-rt-dev-wasm32), its programs run under
# Node.js's WASI (package nodejs) through wasi-run.mjs beside this file; the triple is the wasi
# row's of cmake/platforms.txt.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/wasi.cmake
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
list(APPEND CMAKE_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")
set(CMAKE_USER_MAKE_RULES_OVERRIDE "${CMAKE_CURRENT_LIST_DIR}/wasi-rules.cmake")

include("${CMAKE_CURRENT_LIST_DIR}/../table.cmake")
bin2dec_table_row(platforms wasi)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})

set(CMAKE_FIND_ROOT_PATH /usr/lib/${triple} /usr/include/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The same module on every machine, whatever is installed: see wasm-opt-none/wasm-opt.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -B${CMAKE_CURRENT_LIST_DIR}/wasm-opt-none/")

find_program(BIN2DEC_NODE node)
if(NOT BIN2DEC_NODE)
  message(FATAL_ERROR "The WASI build runs its tests under Node.js, and node is not installed "
                      "(on Debian: the nodejs package).")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR "${BIN2DEC_NODE}" "${CMAKE_CURRENT_LIST_DIR}/wasi-run.mjs")
