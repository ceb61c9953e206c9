# bin2dec_startup: how the program links, for a start-up close to that of any process and a
# program that runs when copied alone. A run is one conversion, so its cost is almost all the
# dynamic loader's: with a shared C++ runtime it relocates and binds all of libstdc++ first.
include("${CMAKE_CURRENT_LIST_DIR}/flags.cmake")
include(CheckCXXSourceCompiles)

option(BIN2DEC_STATIC_RUNTIME
  "Link the C++ runtime into bin2dec; glibc stays shared (off for distribution packaging)" ON)
option(BIN2DEC_FULLY_STATIC
  "Link glibc in as well, as a static PIE: one program for any Linux, with no dynamic loader" OFF)
option(BIN2DEC_STATIC_PIE
  "With BIN2DEC_FULLY_STATIC: a static PIE; off, a plain -static program at a fixed address" ON)

add_library(bin2dec_startup INTERFACE)

# Packed relative relocations (DT_RELR) shrink the table that the loader (or, in a static
# program, the C library) applies at every start, whichever way the runtime is linked. A
# program that has them runs only on a C library that reads them: glibc 2.36 or later.
check_cxx_source_compiles([[
  #include <cstdlib>
  #if !defined(__GLIBC__) || __GLIBC__ < 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ < 36)
  #error "this C library does not read DT_RELR"
  #endif
  int main() {}]] BIN2DEC_LIBC_READS_RELR)
if(BIN2DEC_LIBC_READS_RELR)
  bin2dec_add_link_flags(bin2dec_startup LINKER:-z,pack-relative-relocs)
endif()

if(BIN2DEC_FULLY_STATIC)
  # Without the loader, the C library relocates the program itself, which glibc does for a PIE
  # only when linked -static-pie. A C library without the start file for that (rcrt1.o; the
  # table of architectures says which have it) can still link a plain -static program, which
  # gives up address randomisation of its own code, and must be asked for by turning
  # BIN2DEC_STATIC_PIE off (as the Linux toolchain file does where the table says so). The
  # toolchain must take either without a warning.
  if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    message(FATAL_ERROR "BIN2DEC_FULLY_STATIC is for Linux, not ${CMAKE_SYSTEM_NAME}")
  endif()
  if(BIN2DEC_STATIC_PIE)
    bin2dec_add_link_flags(bin2dec_startup -static-pie)
    if(NOT BIN2DEC_LINKER_ACCEPTS_static_pie)
      message(FATAL_ERROR "BIN2DEC_FULLY_STATIC: this toolchain cannot link a static PIE "
                          "(-static-pie); build without it, which keeps glibc shared, or turn "
                          "BIN2DEC_STATIC_PIE off for a plain -static program.")
    endif()
    # Every object of a static PIE must be position-independent, the tests' as well.
    bin2dec_add_compile_flags(bin2dec_startup -fPIE)
  else()
    bin2dec_add_link_flags(bin2dec_startup -static)
    if(NOT BIN2DEC_LINKER_ACCEPTS_static)
      message(FATAL_ERROR "BIN2DEC_FULLY_STATIC: this toolchain cannot link a -static program")
    endif()
  endif()
elseif(WASI)
  # A WASI module holds all that it runs: there is no shared library to link or load. What it
  # costs to start is compiling it, so it is kept as small as the toolchain makes it. Debian's C++
  # library for WASI is built without exceptions, so nothing may throw one.
  target_compile_options(bin2dec_startup INTERFACE -fno-exceptions)
  target_link_options(bin2dec_startup INTERFACE
                      "$<$<CONFIG:Release,MinSizeRel>:LINKER:--strip-all>")
elseif(NOT BIN2DEC_STATIC_RUNTIME)
  return()
elseif(MSVC)
  # For every target, so that the tests and the program's library agree. Written for MSVC,
  # not yet built with it.
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  return()
elseif(APPLE)
  return()  # The C++ runtime is part of the system, and Apple's linker has no -static-libgcc.
elseif(MINGW)
  # libstdc++, libgcc and winpthread linked in: bin2dec.exe then needs Windows' own DLLs only.
  bin2dec_add_link_flags(bin2dec_startup -static)
else()
  bin2dec_add_link_flags(bin2dec_startup -static-libstdc++ -static-libgcc)
endif()

# Dropping the parts of the runtime that are never called leaves fewer relocations for the
# loader to apply and fewer pages for it to touch.
bin2dec_add_compile_flags(bin2dec_startup -ffunction-sections -fdata-sections)
bin2dec_add_link_flags(bin2dec_startup LINKER:--gc-sections LINKER:--as-needed)
