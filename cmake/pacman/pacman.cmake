# Run by cpack (its External generator) once it has installed a fully static Linux build into a
# folder of its own, to make the Arch Linux package of that folder, under /usr (see make-pkg).
if(NOT CPACK_BIN2DEC_PACMAN_ARCH OR CPACK_BIN2DEC_PACMAN_ARCH STREQUAL "-")
  message(FATAL_ERROR "cmake/architectures.txt names no Arch Linux architecture for this build's")
endif()
set(version "${CPACK_PACKAGE_VERSION}-${CPACK_BIN2DEC_PACKAGE_RELEASE}")
set(package "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_NAME}-${version}-${CPACK_BIN2DEC_PACMAN_ARCH}.pkg.tar.zst")
execute_process(
  COMMAND "${CMAKE_CURRENT_LIST_DIR}/make-pkg" "${CPACK_TEMPORARY_DIRECTORY}" "${package}"
          "${CPACK_PACKAGE_NAME}" "${version}" "${CPACK_BIN2DEC_PACMAN_ARCH}"
          "${CPACK_BIN2DEC_SUMMARY}" "${CPACK_BIN2DEC_LICENSE}" "${CPACK_PACKAGE_CONTACT}"
  COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES "${package}")
