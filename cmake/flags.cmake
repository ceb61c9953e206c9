# Adds flags to an interface target only where the toolchain accepts them, so that a toolchain
# that does not know one builds with one protection or saving fewer instead of failing.
include_guard(GLOBAL)
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)

# Clang takes a flag meant for another processor with a warning only, so a warning fails the check.
function(bin2dec_add_compile_flags target)
  if(NOT MSVC)
    set(CMAKE_REQUIRED_FLAGS -Werror)
  endif()
  foreach(flag IN LISTS ARGN)
    string(MAKE_C_IDENTIFIER "BIN2DEC_CXX_ACCEPTS${flag}" accepted)
    check_cxx_compiler_flag("${flag}" ${accepted})
    if(${accepted})
      target_compile_options(${target} INTERFACE "${flag}")
    endif()
  endforeach()
endfunction()

# A linker may take a flag it cannot honour with a warning only (binutils 2.40 for 64-bit Arm ignores
# -z pack-relative-relocs so), which CMake's own check passes; so its warnings fail the check,
# where it can make them fatal.
check_linker_flag(CXX LINKER:--fatal-warnings BIN2DEC_LINKER_FATAL_WARNINGS)

# Flags for the linker itself are written LINKER:flag, as the compiler driver must pass them on.
function(bin2dec_add_link_flags target)
  set(strict "")
  if(BIN2DEC_LINKER_FATAL_WARNINGS)
    set(strict LINKER:--fatal-warnings)
  endif()
  foreach(flag IN LISTS ARGN)
    string(REGEX REPLACE "^LINKER:" "" bare "${flag}")
    string(MAKE_C_IDENTIFIER "BIN2DEC_LINKER_ACCEPTS${bare}" accepted)
    set(options ${strict} "${flag}")
    check_linker_flag(CXX "${options}" ${accepted})
    if(${accepted})
      target_link_options(${target} INTERFACE "${flag}")
    endif()
  endforeach()
endfunction()
