# Reads a row of one of the project's tables (architectures.txt, platforms.txt, downloads.txt
# beside this file): bin2dec_table_row(TABLE KEY) sets, in the caller's scope, a variable named
# for each column to its value in the row whose first column is KEY, and <TABLE>_keys to every
# row's first column. Toolchain files include it, so it needs nothing but CMake itself.
function(bin2dec_table_row table key)
  file(STRINGS "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${table}.txt" rows REGEX "^[^#]")
  list(POP_FRONT rows header)
  string(REGEX MATCHALL "[^ ]+" header "${header}")
  set(keys "")
  foreach(row IN LISTS rows)
    string(REGEX MATCHALL "[^ ]+" row "${row}")
    list(GET row 0 first)
    list(APPEND keys "${first}")
    if(first STREQUAL key)
      foreach(name value IN ZIP_LISTS header row)
        set(${name} "${value}" PARENT_SCOPE)
      endforeach()
    endif()
  endforeach()
  set(${table}_keys "${keys}" PARENT_SCOPE)
endfunction()
