# bin2dec_hardening: the protections of a Debian package built with hardening=+all, or their
# counterparts on Windows, for the targets that go into the shipped program. A packager who
# brings their own flags can turn it off with -DBIN2DEC_HARDENING=OFF.
include(CheckPIESupported)
include("${CMAKE_CURRENT_LIST_DIR}/flags.cmake")

option(BIN2DEC_HARDENING "Build bin2dec with stack, control-flow and relocation protections" ON)

add_library(bin2dec_hardening INTERFACE)
if(NOT BIN2DEC_HARDENING)
  return()
endif()

# A WebAssembly module keeps its code and return addresses out of the memory it can write, and
# its runtime checks every access against that memory's bounds: it has by design what these flags
# give elsewhere, and its toolchain has none of them (WASI's C library has no stack protector).
if(WASI)
  return()
endif()

if(MSVC)
  # The stack protector (/GS), ASLR and DEP are on by default; control-flow guard and
  # shadow-stack compatibility are not. Written for MSVC, not yet built with it.
  bin2dec_add_compile_flags(bin2dec_hardening /guard:cf)
  bin2dec_add_link_flags(bin2dec_hardening LINKER:/guard:cf LINKER:/CETCOMPAT)
  return()
endif()

# Every target that links this one is built as position-independent code and linked as a PIE.
# A fully static build is a PIE of its own kind (see startup.cmake), which the -pie that CMake
# adds for this property would undo.
if(NOT BIN2DEC_FULLY_STATIC)
  check_pie_supported()
  set_property(TARGET bin2dec_hardening PROPERTY INTERFACE_POSITION_INDEPENDENT_CODE ON)
endif()

# Control-flow protection is -fcf-protection on x86 and -mbranch-protection on 64-bit Arm; each
# compiler refuses the other's.
bin2dec_add_compile_flags(bin2dec_hardening -fstack-protector-strong -fstack-clash-protection
                          -fcf-protection -mbranch-protection=standard)

# The C library checks buffer sizes only where the optimiser can see them, and warns at -O0.
# Some compilers define it already (Ubuntu's GCC does): undefining it first avoids a warning.
target_compile_options(bin2dec_hardening
  INTERFACE "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")

# ELF: full RELRO, immediate binding, no executable stack. PE: ASLR, high-entropy ASLR, DEP.
# Each linker knows only its own.
bin2dec_add_link_flags(bin2dec_hardening
  LINKER:-z,relro LINKER:-z,now LINKER:-z,noexecstack
  LINKER:--dynamicbase LINKER:--high-entropy-va LINKER:--nxcompat)

if(MINGW)
  # MinGW-w64 has the stack protector and the fortified functions in libssp: linked in from
  # its archive, they need no libssp DLL beside the program.
  target_link_libraries(bin2dec_hardening INTERFACE -l:libssp.a)
endif()
