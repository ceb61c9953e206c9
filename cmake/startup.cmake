# bin2dec_startup: how the program links, for a start-up close to that of any process. A run
# is one conversion, so its cost is almost all the dynamic loader's: with a shared C++ runtime
# it relocates and binds all of libstdc++ first.
option(BIN2DEC_STATIC_RUNTIME
  "Link the C++ runtime into bin2dec; glibc stays shared (off for distribution packaging)" ON)

add_library(bin2dec_startup INTERFACE)
if(NOT BIN2DEC_STATIC_RUNTIME)
  return()
endif()

target_link_options(bin2dec_startup INTERFACE -static-libstdc++ -static-libgcc)

# Dropping the parts of the runtime that are never called leaves fewer relocations for the
# loader to apply and fewer pages for it to touch.
target_compile_options(bin2dec_startup INTERFACE -ffunction-sections -fdata-sections)
target_link_options(bin2dec_startup INTERFACE LINKER:--gc-sections LINKER:--as-needed)
