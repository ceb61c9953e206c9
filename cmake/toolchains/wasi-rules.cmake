# Read after CMake's own files for the platform, of which CMake before 3.31 has none for WASI, and
# whose WASI file since then gives programs no suffix: a WASI program is a .wasm module, and there
# are no shared libraries.
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
set_property(GLOBAL PROPERTY TARGET_SUPPORTS_SHARED_LIBS FALSE)
