# GoogleTest for the tests: the installed one where it fits the target, otherwise built here
# from its sources (Debian's googletest package puts them in /usr/src/googletest). Debian's
# installed libraries are built for the host with libstdc++, so a cross build, which looks for
# packages in the target's root only, or a build with libc++ builds its own.
include(CheckCXXSourceCompiles)

set(BIN2DEC_GOOGLETEST_SOURCE_DIR "/usr/src/googletest"
    CACHE PATH "GoogleTest's sources, for targets that the installed GoogleTest does not fit")

check_cxx_source_compiles(
  "#include <version>\n#ifndef _LIBCPP_VERSION\n#error libstdc++\n#endif\nint main() {}"
  BIN2DEC_WITH_LIBCXX)
if(NOT BIN2DEC_WITH_LIBCXX)
  find_package(GTest QUIET)
endif()

# Without either, the program still builds and the tests are left out: the presets' test steps
# then fail, as they find no tests.
set(BIN2DEC_HAVE_GOOGLETEST ON)
if(NOT GTest_FOUND)
  if(NOT EXISTS "${BIN2DEC_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(WARNING "The tests are not built: no GoogleTest fits this target, and there are no "
                    "sources to build it from in BIN2DEC_GOOGLETEST_SOURCE_DIR "
                    "(${BIN2DEC_GOOGLETEST_SOURCE_DIR}).")
    set(BIN2DEC_HAVE_GOOGLETEST OFF)
    return()
  endif()
  set(BUILD_GMOCK OFF)
  set(INSTALL_GTEST OFF)
  add_subdirectory("${BIN2DEC_GOOGLETEST_SOURCE_DIR}" googletest EXCLUDE_FROM_ALL SYSTEM)
  # Its code is not ours to hold to our warnings. Built for every cross target, it is most of such
  # a build's time; unoptimised it builds in half of it, and no test waits on its speed.
  set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
  if(NOT MSVC)
    target_compile_options(gtest PRIVATE -O0)
    target_compile_options(gtest_main PRIVATE -O0)
  endif()
  if(WASI)
    # WASI has no dup() or mkstemp(), with which GoogleTest captures a test's standard streams,
    # and its C++ library has no exceptions. Its signals are an emulation, which the C library
    # keeps apart: GoogleTest 1.16 (Debian 13's) includes <signal.h>. The program needs none.
    target_compile_definitions(gtest PUBLIC GTEST_HAS_STREAM_REDIRECTION=0 _WASI_EMULATED_SIGNAL)
    target_compile_options(gtest PUBLIC -fno-exceptions)
    target_link_libraries(gtest PUBLIC wasi-emulated-signal)
    # The C library calls a main(argc, argv), which WebAssembly names __main_argc_argv, through a
    # weak reference, which takes no member out of an archive: gtest_main's must be asked for.
    target_link_options(gtest_main INTERFACE LINKER:--undefined=__main_argc_argv)
  endif()
  if(NOT TARGET GTest::gtest_main)  # older GoogleTest releases do not name it
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endif()
