# Where an installed bin2dec puts its files. On Windows everything sits in one folder, as a
# program unpacked from a zip expects; elsewhere the Unix layout, with the manual page and the
# documents a Debian package must carry, or, for a fully static build, which is handed out as a
# tarball for any distribution, the README, the license and the notice of what the program links
# in under their own names.
include(GNUInstallDirs)

# Folders get the same modes whatever the umask of whoever installs or packages.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# What the program holds of other projects' code, linked in, each with its version, licence and
# Debian source package (see third-party-notice): glibc in a fully static program, GCC's runtime
# where it is linked in, and MinGW-w64's runtime in any Windows program. Only dpkg knows which
# package a library came from, so a build on a machine without it ships no such notice.
set(linked_in "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  if(BIN2DEC_FULLY_STATIC)
    list(APPEND linked_in glibc)
  endif()
  if(BIN2DEC_FULLY_STATIC OR BIN2DEC_STATIC_RUNTIME)
    list(APPEND linked_in gcc)
  endif()
  if(MINGW)
    list(APPEND linked_in mingw-w64)
  endif()
elseif(WASI)
  list(APPEND linked_in wasi-libc llvm)
endif()
find_program(BIN2DEC_DPKG_QUERY dpkg-query)
mark_as_advanced(BIN2DEC_DPKG_QUERY)
if(linked_in AND NOT BIN2DEC_DPKG_QUERY)
  message(STATUS "No dpkg-query: the notice of what bin2dec links in is left out")
  set(linked_in "")
endif()

# Writes that notice to output, for a download that may land anywhere (any) or for a Debian
# package (debian).
set(compiler "${CMAKE_CXX_COMPILER}")
if(CMAKE_CXX_COMPILER_TARGET)
  string(APPEND compiler " --target=${CMAKE_CXX_COMPILER_TARGET}")
endif()
function(bin2dec_third_party_notice output form)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${PROJECT_SOURCE_DIR}/cmake/third-party-notice" "${output}" "${PROJECT_VERSION}"
            "${compiler}" ${form} ${linked_in}
    DEPENDS "${PROJECT_SOURCE_DIR}/cmake/third-party-notice"
    VERBATIM)
  get_filename_component(name "${output}" NAME)
  add_custom_target("bin2dec_${name}" ALL DEPENDS "${output}")
endfunction()

# A Windows program and a WASI module are each unpacked into a folder of their own and run from
# there, with no manual page for a system that has no man.
if(WIN32 OR WASI)
  set(notice THIRD-PARTY-NOTICES)
  if(WIN32)
    string(APPEND notice .txt)
  endif()
  install(TARGETS bin2dec RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
  if(WASI)
    # Node.js runs a module through a launcher, which no other WASI runtime needs; with the
    # package's manifest, the same folder is the npm package (npm pack in it).
    configure_file(cmake/package.json.in package.json @ONLY)
    install(PROGRAMS src/bin2dec.mjs DESTINATION .)
    install(FILES "${PROJECT_BINARY_DIR}/package.json" DESTINATION .)
  endif()
  if(linked_in)
    bin2dec_third_party_notice("${PROJECT_BINARY_DIR}/${notice}" any)
    install(FILES "${PROJECT_BINARY_DIR}/${notice}" DESTINATION .)
  endif()
  return()
endif()

install(TARGETS bin2dec RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# Debian keeps manual pages and changelogs compressed; -n leaves out the name and time stamp, so
# that the same file always compresses to the same bytes. Without gzip they are installed as
# they are, which man and any reader take just as well.
find_program(BIN2DEC_GZIP gzip)
mark_as_advanced(BIN2DEC_GZIP)

function(bin2dec_install_document source destination name)
  if(NOT BIN2DEC_GZIP)
    install(FILES "${source}" DESTINATION "${destination}" RENAME "${name}")
    return()
  endif()
  set(compressed "${PROJECT_BINARY_DIR}/${name}.gz")
  add_custom_command(
    OUTPUT "${compressed}"
    COMMAND "${BIN2DEC_GZIP}" -9nc "${source}" > "${compressed}"
    DEPENDS "${source}"
    VERBATIM)
  add_custom_target("bin2dec_${name}_gz" ALL DEPENDS "${compressed}")
  install(FILES "${compressed}" DESTINATION "${destination}")
endfunction()

bin2dec_install_document("${PROJECT_SOURCE_DIR}/docs/bin2dec.1" "${CMAKE_INSTALL_MANDIR}/man1"
                         bin2dec.1)
if(BIN2DEC_FULLY_STATIC)
  install(FILES README.md LICENSE DESTINATION "${CMAKE_INSTALL_DOCDIR}")
  if(linked_in)
    bin2dec_third_party_notice("${PROJECT_BINARY_DIR}/THIRD-PARTY-NOTICES" any)
    install(FILES "${PROJECT_BINARY_DIR}/THIRD-PARTY-NOTICES" DESTINATION "${CMAKE_INSTALL_DOCDIR}")
  endif()
  return()
endif()

# A Debian package's copyright file covers all that it holds: bin2dec's licence, then the notice.
bin2dec_install_document("${PROJECT_SOURCE_DIR}/CHANGELOG" "${CMAKE_INSTALL_DOCDIR}" changelog)
if(NOT linked_in)
  install(FILES LICENSE DESTINATION "${CMAKE_INSTALL_DOCDIR}" RENAME copyright)
  return()
endif()
set(notice "${PROJECT_BINARY_DIR}/third-party-notice")
bin2dec_third_party_notice("${notice}" debian)
add_custom_command(
  OUTPUT "${PROJECT_BINARY_DIR}/copyright"
  COMMAND "${CMAKE_COMMAND}" -E cat "${PROJECT_SOURCE_DIR}/LICENSE" "${notice}"
          > "${PROJECT_BINARY_DIR}/copyright"
  DEPENDS "${PROJECT_SOURCE_DIR}/LICENSE" "${notice}"
  VERBATIM)
add_custom_target(bin2dec_copyright ALL DEPENDS "${PROJECT_BINARY_DIR}/copyright")
install(FILES "${PROJECT_BINARY_DIR}/copyright" DESTINATION "${CMAKE_INSTALL_DOCDIR}")
