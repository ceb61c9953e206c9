# Linux on any architecture of cmake/architectures.txt, given by its Debian name: for the build
# machine's own with its own GCC, for any other with Debian's cross GCC (package g++-<triple>),
# its programs run under qemu's user-mode emulator (package qemu-user).
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux.cmake -DBIN2DEC_DEBIAN_ARCH=<arch>
#
# The presets take the architecture from the environment: BIN2DEC_ARCH=<arch> cmake --preset linux
set(BIN2DEC_DEBIAN_ARCH "" CACHE STRING "The Debian architecture to build for (see cmake/architectures.txt)")
# CMake's checks configure projects of their own, which see only what is listed here.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BIN2DEC_DEBIAN_ARCH)

# The architecture's row of the table, its columns named by the table's first row.
include("${CMAKE_CURRENT_LIST_DIR}/../table.cmake")
bin2dec_table_row(architectures "${BIN2DEC_DEBIAN_ARCH}")
if(NOT DEFINED triple)
  list(JOIN architectures_keys ", " known)
  message(FATAL_ERROR "BIN2DEC_DEBIAN_ARCH is '${BIN2DEC_DEBIAN_ARCH}': set it (or BIN2DEC_ARCH, "
                      "for the presets) to one of ${known}")
endif()

# A fully static program is a static PIE where the table says that this Debian release's C library
# links one, and a plain -static program elsewhere; on other systems, a static PIE unless asked.
set(debian_release "")
if(EXISTS /etc/debian_version)
  file(STRINGS /etc/debian_version debian_release LIMIT_COUNT 1)
  string(REGEX MATCH "^[0-9]+" debian_release "${debian_release}")
endif()
if(debian_release AND NOT DEFINED CACHE{BIN2DEC_STATIC_PIE})
  set(static_pie ON)
  if(pie STREQUAL "-" OR debian_release LESS pie)
    set(static_pie OFF)
  endif()
  set(BIN2DEC_STATIC_PIE ${static_pie} CACHE BOOL "With BIN2DEC_FULLY_STATIC: a static PIE")
endif()

set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE native
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(BIN2DEC_DEBIAN_ARCH STREQUAL native)
  return()
endif()

string(REGEX REPLACE ",.*" "" processor "${uname}")
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${processor})
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A fully static program needs no loader and no C library, and is run without them, as on a
# machine that has none of this processor. Any other finds both in the cross C library: -L for
# the loader, and LD_LIBRARY_PATH for the libraries, as the loader would otherwise take them from
# the build machine's /etc/ld.so.cache, which lists the 32-bit C library of a 64-bit machine (a
# mismatched pair under which a child hangs after fork).
find_program(BIN2DEC_QEMU_${qemu} qemu-${qemu})
if(NOT BIN2DEC_QEMU_${qemu})
  message(FATAL_ERROR "The ${BIN2DEC_DEBIAN_ARCH} build runs its tests under qemu-${qemu}, which is "
                      "not installed (on Debian: the qemu-user package).")
endif()
if(BIN2DEC_FULLY_STATIC)
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${qemu})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR
      qemu-${qemu} -L /usr/${triple} -E LD_LIBRARY_PATH=/usr/${triple}/lib)
endif()
