# Run by cpack (its External generator) once it has installed the Windows build into a folder of
# its own, to make the installer of that folder (see make-msi).
set(msi "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi")
execute_process(
  COMMAND "${CMAKE_CURRENT_LIST_DIR}/make-msi" "${CPACK_BIN2DEC_WXS}" "${CPACK_TEMPORARY_DIRECTORY}"
          "${msi}" COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES "${msi}")
