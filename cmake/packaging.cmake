# cpack packs what the install rules put in place, as each kind of build is handed out: a Debian
# package (bin2dec_<version>_<arch>.deb) where glibc is shared, as Debian's own programs have it;
# a zip on Windows (bin2dec-<version>-win64.zip); and a tarball elsewhere, which for a fully static
# Linux build is bin2dec-<version>-linux-<processor>.tar.gz, for any distribution, and for WASI
# bin2dec-<version>-wasi.tar.gz, for any system with a WASI runtime.

# The changelog's newest entry must name this version, so that no package ships a stale one.
file(READ "${PROJECT_SOURCE_DIR}/CHANGELOG" changelog LIMIT 200)
string(REGEX MATCH "^[^\n]*" newest_entry "${changelog}")
if(NOT newest_entry MATCHES "^bin2dec \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "CHANGELOG begins with '${newest_entry}', which is not an entry for "
                      "bin2dec ${PROJECT_VERSION}, the version in CMakeLists.txt: the two must "
                      "agree, so change whichever is wrong.")
endif()

set(CPACK_PACKAGE_NAME "${PROJECT_NAME}")
set(CPACK_PACKAGE_VENDOR "The bin2dec developers")
set(CPACK_PACKAGE_CONTACT "The bin2dec developers <bin2dec@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert a binary number of eight digits or fewer to decimal")
# The RPM distributions and Arch begin a summary with a capital, as Debian does not.
set(CPACK_BIN2DEC_SUMMARY "Convert a binary number of eight digits or fewer to decimal")
set(CPACK_BIN2DEC_LICENSE MIT)
# The RPM and Arch packages' own release of a version (Debian's package has none, as its own
# project's): 1, until a package is remade of the same version.
set(CPACK_BIN2DEC_PACKAGE_RELEASE 1)
# Debian shows the description on 80-column terminals, one blank before each line.
set(CPACK_PACKAGE_DESCRIPTION
    "bin2dec asks for a binary number of eight digits or fewer, reads it from\n"
    "standard input and writes its decimal value in a small framed report.\n"
    "Each of the lowest eight decimal digits counts as a bit by its parity,\n"
    "and a minus sign carries into the value.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
# A WASI module is linked stripped already, and is packed as it is, the same bytes as the page's.
if(NOT WASI)
  set(CPACK_STRIP_FILES ON)
endif()

# The same sources make the same package, byte for byte: the install rules fix the modes, and
# time stamps come from the last commit; the Debian package's dependency is read from the program
# (see packing.cmake.in).
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
find_package(Git QUIET)
set(BIN2DEC_PROGRAM "${PROJECT_BINARY_DIR}/bin2dec")
configure_file(cmake/packing.cmake.in packing.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/packing.cmake")

if(WIN32)
  # The zip, and with -G External the installer (msi/).
  set(CPACK_GENERATOR ZIP)
  set(BIN2DEC_MSI_UPGRADE_CODE 989B990F-3A47-4502-A4DC-1D694659E59E)
  string(UUID BIN2DEC_MSI_PRODUCT_CODE NAMESPACE "${BIN2DEC_MSI_UPGRADE_CODE}"
         NAME "${PROJECT_NAME} ${PROJECT_VERSION}" TYPE SHA1 UPPER)
  set(CPACK_BIN2DEC_WXS "${PROJECT_BINARY_DIR}/bin2dec.wxs")
  configure_file(cmake/msi/bin2dec.wxs.in "${CPACK_BIN2DEC_WXS}" @ONLY)
  set(CPACK_EXTERNAL_ENABLE_STAGING ON)
  set(CPACK_EXTERNAL_PACKAGE_SCRIPT "${PROJECT_SOURCE_DIR}/cmake/msi/msi.cmake")
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT BIN2DEC_FULLY_STATIC)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
else()
  set(CPACK_GENERATOR TGZ)
  if(WASI)
    set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-wasi")
  elseif(BIN2DEC_FULLY_STATIC)
    string(TOLOWER "${PROJECT_NAME}-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}"
                   CPACK_PACKAGE_FILE_NAME)
    # The same program as the RPM distributions' and Arch Linux's package, where the table names
    # this architecture's there: -G RPM, and -G External (pacman/).
    include(cmake/table.cmake)
    bin2dec_table_row(architectures "${BIN2DEC_DEBIAN_ARCH}")
    include(cmake/rpm/rpm.cmake)
    set(CPACK_BIN2DEC_PACMAN_ARCH "${pacman}")
    set(CPACK_BIN2DEC_FULLY_STATIC ON)
    set(CPACK_EXTERNAL_ENABLE_STAGING ON)
    set(CPACK_EXTERNAL_PACKAGE_SCRIPT "${PROJECT_SOURCE_DIR}/cmake/pacman/pacman.cmake")
  endif()
endif()

# A cross build's package is of the architecture it was built for, not the build machine's.
if(BIN2DEC_DEBIAN_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "${BIN2DEC_DEBIAN_ARCH}")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

include(CPack)
