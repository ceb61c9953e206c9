# bin2dec_hardening: the protections of a Debian package built with hardening=+all, for the
# targets that go into the shipped program. A packager who brings their own flags can turn it
# off with -DBIN2DEC_HARDENING=OFF.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

option(BIN2DEC_HARDENING "Build bin2dec with stack, control-flow and relocation protections" ON)

add_library(bin2dec_hardening INTERFACE)
if(NOT BIN2DEC_HARDENING)
  return()
endif()

# Every target that links this one is built as position-independent code and linked as a PIE.
check_pie_supported()
set_property(TARGET bin2dec_hardening PROPERTY INTERFACE_POSITION_INDEPENDENT_CODE ON)

# -fcf-protection exists on x86 only; the others on every target GCC and Clang build for.
foreach(flag IN ITEMS -fstack-protector-strong -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "have${flag}" have_flag)
  check_cxx_compiler_flag("${flag}" "${have_flag}")
  if(${have_flag})
    target_compile_options(bin2dec_hardening INTERFACE "${flag}")
  endif()
endforeach()

# glibc checks buffer sizes only where the optimiser can see them, and warns at -O0.
target_compile_definitions(bin2dec_hardening
  INTERFACE "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>")
target_link_options(bin2dec_hardening INTERFACE LINKER:-z,relro LINKER:-z,now LINKER:-z,noexecstack)
