# Linux on another processor than the build machine's, cross-compiled with Debian's GCC for it
# (package g++-<triple>), its programs run under qemu's user-mode emulator (package qemu-user).
# The processor is given by its Debian architecture name:
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/linux-cross.cmake -DBIN2DEC_DEBIAN_ARCH=armhf
set(BIN2DEC_DEBIAN_ARCH "" CACHE STRING "The Debian architecture to build for (arm64, armhf, ...)")
# CMake's checks configure projects of their own, which see only what is listed here.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BIN2DEC_DEBIAN_ARCH)

# Debian's name, the GNU triple of its compilers, the processor as the downloads name it, and
# the suffix of its qemu-<suffix>.
set(targets
  "arm64    aarch64-linux-gnu       aarch64     aarch64"
  "armhf    arm-linux-gnueabihf     armv7       arm"
  "armel    arm-linux-gnueabi       armv5te     arm"
  "i386     i686-linux-gnu          i686        i386"
  "mipsel   mipsel-linux-gnu        mipsel      mipsel"
  "mips64el mips64el-linux-gnuabi64 mips64el    mips64el"
  "ppc64el  powerpc64le-linux-gnu   powerpc64le ppc64le"
  "s390x    s390x-linux-gnu         s390x       s390x"
  "riscv64  riscv64-linux-gnu       riscv64     riscv64")

set(known "")
foreach(row IN LISTS targets)
  string(REGEX MATCHALL "[^ ]+" row "${row}")
  list(GET row 0 arch)
  list(APPEND known "${arch}")
  if(arch STREQUAL BIN2DEC_DEBIAN_ARCH)
    list(GET row 1 triple)
    list(GET row 2 processor)
    list(GET row 3 qemu)
  endif()
endforeach()
if(NOT DEFINED triple)
  list(JOIN known ", " known)
  message(FATAL_ERROR
    "BIN2DEC_DEBIAN_ARCH is '${BIN2DEC_DEBIAN_ARCH}': set it to one of ${known}")
endif()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${processor})
set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A fully static program needs no loader and no C library, and is run without them, as on a
# machine that has none of this processor. Any other finds both in the cross C library: -L for
# the loader, and LD_LIBRARY_PATH for the libraries, as the loader would otherwise take them from
# the build machine's /etc/ld.so.cache, which lists the i386 C library of an x86-64 machine (a
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
