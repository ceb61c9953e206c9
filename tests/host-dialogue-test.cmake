# The end-to-end tests of a WASI build: the same dialogue_test, built for the build machine with
# its own compiler and GoogleTest in a build of its own (host/), started with the module's path
# and the runtime that runs it, which the toolchain names as the build's emulator.
include(ExternalProject)

list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
set(host "${CMAKE_CURRENT_BINARY_DIR}/host")
ExternalProject_Add(
  host_dialogue_test
  SOURCE_DIR "${PROJECT_SOURCE_DIR}"
  BINARY_DIR "${host}"
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
             -DBUILD_TESTING=ON
             "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
             "-DCMAKE_COMPILE_WARNING_AS_ERROR=${CMAKE_COMPILE_WARNING_AS_ERROR}"
             "-DBIN2DEC_TESTED_PROGRAM=$<TARGET_FILE:bin2dec>"
             "-DBIN2DEC_TESTED_EMULATOR=${emulator}"
             -DBIN2DEC_TESTED_SYSTEM=WASI
  BUILD_COMMAND "${CMAKE_COMMAND}" --build "${host}" --target dialogue_test
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  DEPENDS bin2dec)

# A test for each of its tests, named as GoogleTest names them: the test program is not this
# build's to list them.
foreach(source IN ITEMS dialogue_test.cpp posix_dialogue_test.cpp)
  file(STRINGS "${source}" declarations REGEX "^TEST\\(")
  foreach(declaration IN LISTS declarations)
    string(REGEX REPLACE "^TEST\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\).*" "\\1.\\2" name
                         "${declaration}")
    add_test(NAME "${name}" COMMAND "${host}/tests/dialogue_test" "--gtest_filter=${name}")
    set_tests_properties("${name}" PROPERTIES LABELS end-to-end TIMEOUT ${test_timeout}
                                              SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
  endforeach()
endforeach()
