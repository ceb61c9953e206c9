# WASI as CMake 3.31 and later know it, for the earlier ones, which do not (wasi.cmake puts this
# folder on their module path). wasi-rules.cmake says the rest.
set(WASI 1)
