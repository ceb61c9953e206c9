# Where an installed bin2dec puts its files. On Windows everything sits in one folder, as a
# program unpacked from a zip expects; elsewhere the Unix layout, with the manual page and the
# documents a Debian package must carry, or, for a fully static build, which is handed out as a
# tarball for any distribution, the README and the license under their own names.
include(GNUInstallDirs)

# Folders get the same modes whatever the umask of whoever installs or packages.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  install(TARGETS bin2dec RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
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
else()
  install(FILES LICENSE DESTINATION "${CMAKE_INSTALL_DOCDIR}" RENAME copyright)
  bin2dec_install_document("${PROJECT_SOURCE_DIR}/CHANGELOG" "${CMAKE_INSTALL_DOCDIR}" changelog)
endif()
